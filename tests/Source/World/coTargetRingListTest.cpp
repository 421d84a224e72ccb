// Target rings: their facing, picking and their ring-list chunk.
#include "Source/World/coTargetRingList.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chTestFile.h"
#include "Source/Career/coMissionWorld.h"
#include "coPropTestBytes.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace {

std::string Ring(i8 kind, f32 radius, f32 x = 0) {
    return coPropChunk("CRNG", coPropBytes().U8(u8(kind)).F({radius, x, 2, 3, 0.5f, 0.25f}).Str());
}

class coTargetRingListTest : public chTestFile {
  protected:
    void TearDown() override { coTargetRingList::Clear(); }
    void Read(const std::string& bytes) {
        auto file = Open(bytes);
        chBinReader reader(file.get());
        u32 id, size;
        u16 version;
        ASSERT_TRUE(reader.BeginChunk(&id, &version, &size));
        coTargetRingList::ReadRings(reader);
    }
    std::string Write() {
        auto file = Create();
        chBinWriter writer(file.get());
        coTargetRingList::WriteRings(writer);
        file.reset();
        return Written();
    }
};

TEST(coTargetRingTest, NormalsFollowHeadingThenPitch) {
    constexpr f32 deg = std::numbers::pi_v<f32> / 180.0f;
    const struct {
        f32 heading, pitch;
        maVector3d normal;
    } cases[] = {{0, 0, {0, 0, 1}},
                 {90 * deg, 0, {1, 0, 0}},
                 {0, 90 * deg, {0, -1, 0}},
                 {45 * deg, 30 * deg, {0.612372f, -0.5f, 0.612372f}}};
    for (const auto& c : cases) {
        coTargetRing ring(0);
        ring.SetHeading(c.heading);
        ring.SetPitch(c.pitch);
        EXPECT_NEAR(ring.GetNormal().x, c.normal.x, 1e-5f);
        EXPECT_NEAR(ring.GetNormal().y, c.normal.y, 1e-5f);
        EXPECT_NEAR(ring.GetNormal().z, c.normal.z, 1e-5f);
    }
}

TEST(coTargetRingTest, PickingHitsStrictlyInsideTheDisc) {
    coTargetRing ring(1);
    ring.SetRadius(2.0f);
    f32 t = -1.0f;
    EXPECT_TRUE(ring.RayTest({1, 0, -1}, {0, 0, 4}, t));
    EXPECT_FLOAT_EQ(t, 0.25f);
    EXPECT_FALSE(ring.RayTest({2, 0, -1}, {0, 0, 4}, t)); // exactly at the radius
    EXPECT_FALSE(ring.RayTest({0, 0, 1}, {0, 0, 4}, t));  // behind the start
    EXPECT_FALSE(ring.RayTest({0, 0, -1}, {1, 0, 0}, t)); // parallel
}

TEST_F(coTargetRingListTest, RingsReadWriteAndRefuseBadValues) {
    EXPECT_TRUE(coTargetRingList::AllPassed(false)); // no rings: met at once
    const std::string two = coPropChunk("CTRL", Ring(0, 10) + Ring(1, 5));
    ASSERT_EQ(two.size(), 80u);
    Read(two);
    ASSERT_EQ(coTargetRingList::GetRings().size(), 2u);
    EXPECT_EQ(coTargetRingList::GetRings()[1]->GetRadius(), 5.0f);
    EXPECT_EQ(Write(), two);
    coTargetRingList::Clear();

    Read(coPropChunk("CTRL", Ring(7, 10)));
    EXPECT_EQ(coTargetRingList::GetRings().at(0)->GetKind(), 1);
    EXPECT_EQ(Write(), coPropChunk("CTRL", Ring(1, 10)));

    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    EXPECT_THROW(Read(coPropChunk("CTRL", Ring(0, 4) + Ring(0, 4, nan))), chInvalidChunkX);
    EXPECT_THROW(Read(coPropChunk("CTRL", coPropChunk("CRNG", coPropBytes().U8(0).F({1, 2}).Str()))),
                 chInvalidChunkX);
    EXPECT_EQ(coTargetRingList::GetRings().size(), 1u);
}

} // namespace
