// Target rings: their facing, picking, their looks and supports, and their ring-list chunk.
#include "Source/World/coTargetRingList.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coTrackTestSupport.h"
#include "coPropTestBytes.h"
#include "coWorldTestSupport.h"

#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <tuple>

namespace {

std::string Ring(i8 kind, f32 radius, f32 x = 0) {
    return coPropChunk("CRNG", coPropBytes().U8(u8(kind)).F({radius, x, 2, 3, 0.5f, 0.25f}).Str());
}

// The rings' textures in the effects folder, on the test device.
class coTargetRingListTest : public coWorldRendererTest {
  protected:
    void SetUp() override {
        coWorldRendererTest::SetUp();
        fsResetRootTable();
        fsAddRootDirectory(coRootEffects, m_folder.Locator("Effects"));
        for (const char* name : {"ringgreen.png", "ringred.png", "ringgold.png"})
            m_folder.Write(std::string("Effects/Texture/") + name,
                           g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')}));
    }
    void TearDown() override {
        coTargetRingList::Clear();
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        fsResetRootTable();
        coWorldRendererTest::TearDown();
    }
    void Read(const std::string& bytes,
              const std::function<void(chReader&)>& read = coTargetRingList::ReadRings) {
        auto file = std::make_unique<gfFile>(m_folder.Write("in", bytes), gfFileRead, gfByteOrderData);
        chBinReader reader(file.get());
        u32 id, size;
        u16 version;
        ASSERT_TRUE(reader.BeginChunk(&id, &version, &size));
        read(reader);
    }
    std::string Write(const std::function<void(chWriter&)>& write = coTargetRingList::WriteRings) {
        auto file = std::make_unique<gfFile>(m_folder.Write("out", ""), gfFileReadWrite, gfByteOrderData);
        chBinWriter writer(file.get());
        write(writer);
        file.reset();
        return m_folder.Read("out");
    }
    fsTestFolder m_folder;
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
        ExpectVectorNear(ring.GetNormal(), c.normal, 1e-5f);
        // The models turn as the normal does.
        maVector3d turned(0, 0, 1);
        ring.GetRotation().Rotate(turned);
        EXPECT_NEAR(maDot(turned, ring.GetNormal()), 1.0f, 1e-5f);
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
    EXPECT_EQ(std::tuple(coTargetRingList::GetRings()[1]->GetRadius(), Write()), std::tuple(5.0f, two));
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

TEST_F(coTargetRingListTest, RingsGlowInTheirColoursAndStandOnSupportsUntilCleared) {
    Read(coPropChunk("CTRL", Ring(0, 10) + Ring(1, 5)));
    const auto& rings = coTargetRingList::GetRings();
    ASSERT_EQ(rings.size(), 2u);
    const g3dFragment* oneWay = rings[0]->GetShownObject()->GetFragment();
    ASSERT_EQ(oneWay->GetMaterialCount(), 2u);
    EXPECT_EQ(rings[1]->GetShownObject()->GetFragment()->GetMaterialCount(), 1u);
    EXPECT_EQ(rings[0]->GetShownObject()->GetScale().x, 10.0f);

    // The pulses run ping-pong: green and red share their colours at their own pace, gold is slower.
    g3dMaterial drawn;
    g3dApplyMaterialAnimations(*oneWay->GetMaterial(0), 0.3f, drawn);
    EXPECT_NEAR(drawn.GetDiffuse().a, 0.35f, 1e-5f);
    g3dApplyMaterialAnimations(*oneWay->GetMaterial(1), 0.9f, drawn);
    EXPECT_NEAR(drawn.GetDiffuse().a, 0.45f, 1e-5f);
    EXPECT_EQ(drawn.GetDiffuse().g, 0.5f);
    rings[0]->SetPassed(true);
    const scSimpleMovableObject* gold = rings[0]->GetShownObject();
    EXPECT_TRUE(gold->IsVisible());
    g3dApplyMaterialAnimations(*gold->GetFragment()->GetMaterial(0), 4.5f, drawn);
    EXPECT_NEAR(drawn.GetDiffuse().a, 0.6f, 1e-5f);
    // Hiding the world reaches only the shown look; passing back shows the idle one hidden as the gold was.
    coSetWorldVisible(false);
    rings[0]->SetPassed(false);
    EXPECT_FALSE(rings[0]->GetShownObject()->IsVisible());

    const size_t registered = coGetObjectSets().size();
    coTargetRingList::BuildSupports();
    EXPECT_EQ(coGetObjectSets().size(), registered + 2);
    coTargetRingList::Clear();
    EXPECT_EQ(coGetObjectSets().size(), registered);
    EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);
}

// The missions read their rings before the world is cleared and add them after.
TEST_F(coTargetRingListTest, TheMissionsRingsAreTheRingLists) {
    coMissionWorld& world = coGetMissionWorld();
    const std::string two = coPropChunk("CTRL", Ring(0, 10) + Ring(1, 5));
    std::unique_ptr<coPendingRings> pending;
    Read(two, [&](chReader& reader) { pending = world.ReadRings(reader); });
    ASSERT_NE(pending, nullptr);
    EXPECT_TRUE(coTargetRingList::GetRings().empty());
    const size_t registered = coGetObjectSets().size();
    world.AddRings(*pending);
    world.PrepareRings();
    EXPECT_EQ(coTargetRingList::GetRings().size(), 2u);
    EXPECT_EQ(coGetObjectSets().size(), registered + 2);
    EXPECT_FALSE(world.AllRingsPassed()); // no track runs through them
    EXPECT_EQ(Write([&](chWriter& writer) { world.WriteRings(writer); }), two);
}

} // namespace
