#include "Source/TrackGeom/coSupportMakerWood.h"

#include "Source/Collision/coTrackCollision.h"
#include "Source/Track/coCoasterPieceLoop.h"

#include "Source/Collision/coCollisionTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "coTrackSceneTestSupport.h"

namespace {

// Flat ground at 0, counting its height queries.
class CountingPark : public coFakePark {
  public:
    CountingPark() { hasTerrain = true; }
    bool GetHeightAt(float x, float z, float& height) const override {
        ++queries;
        return coFakePark::GetHeightAt(x, z, height);
    }
    mutable int queries = 0;
};

class coSupportMakerWoodTest : public coTrackSceneTest {
  protected:
    void TearDown() override {
        maker.reset();
        coCollisionClearMarkers();
        coTrackSceneTest::TearDown();
    }
    coSupportPlane& AddPlane(float spacing, int group) {
        auto plane = std::make_unique<coSupportPlane>();
        plane->spacing = spacing;
        plane->group = group;
        coSupportPlane& added = *plane;
        maker->AddPlane(std::move(plane));
        return added;
    }

    CountingPark park;
    coFakeCollisionPark collisionPark{-1000.0f, 1000.0f, 0.0f};
    std::unique_ptr<coSupportMakerWood> maker = std::make_unique<coSupportMakerWood>();
};

} // namespace

TEST(coSupportMakerWood, SampleCountsAndFragmentSplits) {
    dbgLogCapture log;
    EXPECT_EQ(
        std::tuple(coSupportMakerWood::SampleCount(10.0f, 4.0f), coSupportMakerWood::SampleCount(9.0f, 4.0f),
                   coSupportMakerWood::SampleCount(1.0f, 4.0f), coSupportMakerWood::SampleCount(10.0f, 0.0f)),
        std::tuple(4, 3, 1, 2));
    EXPECT_FALSE(log.Holds("Warning"));
    EXPECT_EQ(coSupportMakerWood::SampleCount(1.0e6f, 1.0e-4f), 1024);
    EXPECT_TRUE(log.Holds("wall samples cut to 1024"));

    const struct {
        int segments;
        std::vector<int> starts;
    } cases[] = {{8, {0, 4}}, {1, {0}}, {3, {0}}, {4, {0}}, {5, {0, 3}}, {20, {0, 4, 8, 12, 16}}, {0, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(coWoodWallFragmentStarts(c.segments), c.starts) << c.segments;
}

// Each wall faces its own side: every triangle turns about the vertex normal; group 0 draws both windings.
TEST_F(coSupportMakerWoodTest, WallsFaceTheirSidesAndGroupZeroIsTwoSided) {
    for (int group : {1, 0}) {
        maker = std::make_unique<coSupportMakerWood>();
        AddPlane(4.0f, group);
        coExactLinePiece piece(10.0f, maVector3d(0.0f, 12.0f, 0.0f));
        coSceneObjectSet set;
        ASSERT_TRUE(maker->MakeSupports(piece, set));
        const auto objects = Objects(set, group);
        ASSERT_EQ(objects.size(), 2u);
        for (size_t side = 0; side < 2; ++side) {
            const g3dFragment& wall = *objects[side]->GetFragment();
            EXPECT_EQ(objects[side]->GetKind(), coTrackObjectKind::Movable);
            EXPECT_EQ(wall.GetVertexCount(), 12u); // 4 points, 3 segments
            EXPECT_EQ(wall.GetIndexCount(), group == 0 ? 36u : 18u);
            const auto first = VertexAt<g3dVertexPNT2>(wall, 0);
            EXPECT_FLOAT_EQ(first.position.x, side == 0 ? 2.5f : -2.5f);
            EXPECT_FLOAT_EQ(first.uv.y, 3.0f); // 12 / spacing
            EXPECT_FLOAT_EQ(VertexAt<g3dVertexPNT2>(wall, 3).position.y, -10.0f);
            if (group == 0)
                continue;
            for (u32 t = 0; t < wall.GetIndexCount() / 3u; ++t) {
                const u16* c = wall.GetIndices() + 3 * t;
                const auto a = VertexAt<g3dVertexPNT2>(wall, c[0]);
                maVector3d turn;
                (VertexAt<g3dVertexPNT2>(wall, c[1]).position - a.position)
                    .Cross(VertexAt<g3dVertexPNT2>(wall, c[2]).position - a.position, turn);
                EXPECT_GT(maDot(turn, a.normal), 0.0f) << side << " " << t;
            }
        }
    }
}

// Upside-down stretches have no wall; a Loop is sampled over twice its span.
TEST_F(coSupportMakerWoodTest, UpsideDownSkippedAndLoopSpanDoubled) {
    AddPlane(4.0f, 1);
    coExactLinePiece inverted(10.0f, maVector3d(0.0f, 12.0f, 0.0f), maPiF);
    coSceneObjectSet none;
    EXPECT_FALSE(maker->MakeSupports(inverted, none));
    EXPECT_EQ(none.GetGroupCount(), 0);

    coCoasterPieceLoop loop;
    loop.Place(maVector3d(0.0f, 5.0f, 0.0f), 0.0f);
    const int n = coSupportMakerWood::SampleCount(2.0f * loop.GetSpan(), 4.0f);
    park.queries = 0;
    coSceneObjectSet set;
    maker->MakeSupports(loop, set);
    // Two ground points a segment, two walls.
    EXPECT_EQ(park.queries, 2 * 2 * (n - 1));
}

// A prop below the track lifts the wall to the next beam line above its top plus the extrusion scale; a
// line at or above the track's lower top point leaves the segment out.
TEST_F(coSupportMakerWoodTest, PropLiftsOrBlocksTheWall) {
    coCollisionProp prop;
    prop.box = coMakeOrientedBox(maVector3d(0.0f, 1.6f, 2.0f), maVector3d(1.0f, 1.6f, 1.0f)); // top 3.2
    collisionPark.props = {prop};
    const maVector3d n(1.0f, 0.0f, 0.0f);
    const struct {
        float top;
        bool blocked;
        float bottom;
    } cases[] = {{12.0f, false, 8.0f}, {8.5f, false, 8.0f}, {8.0f, true, -10.0f}, {3.0f, true, -10.0f}};
    for (const auto& c : cases) {
        maVector3d b0(0.0f, -10.0f, 0.0f), b1(0.0f, -10.0f, 4.0f);
        EXPECT_EQ(coWoodWallBlocked(maVector3d(0.0f, c.top, 0.0f), maVector3d(0.0f, c.top + 1.0f, 4.0f), b0,
                                    b1, n, 4.0f),
                  c.blocked)
            << c.top;
        if (!c.blocked) {
            EXPECT_EQ(b0.y, c.bottom);
        }
        EXPECT_EQ(b0.y, b1.y);
    }
    collisionPark.props.clear();
    maVector3d b0(0.0f, -10.0f, 0.0f), b1(0.0f, -10.0f, 4.0f);
    EXPECT_FALSE(
        coWoodWallBlocked(maVector3d(0.0f, 12.0f, 0.0f), maVector3d(0.0f, 12.0f, 4.0f), b0, b1, n, 4.0f));
    EXPECT_EQ(b0.y, -10.0f);
}
