#include "Source/TrackGeom/coTrackShadows.h"

#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"

#include "Source/Track/coCircuitTestSupport.h"
#include "coTrackGeomTestSupport.h"
#include "coTrackSceneTestSupport.h"

#include <tuple>

namespace {

class coTrackShadowsTest : public coTrackSceneTest {
  protected:
    coTrackShadowsTest() { park.hasTerrain = true; }
    void TearDown() override {
        coSetShadowsEnabled(coShadowsOff);
        coSetShadowDirection(maVector3d(0.0f, -1.0f, 0.0f));
        coPrefs::SetBool(coPrefTrackShadows, m_shadowsPref);
        coTrackSceneTest::TearDown();
    }
    static const g3dFragment& Shadow(const coSceneObjectSet& set) {
        const auto objects = Objects(set, 0);
        EXPECT_EQ(std::tuple(objects.size(), objects[0]->GetRenderList()),
                  std::tuple(1u, coShadowRenderList));
        return *objects[0]->GetFragment();
    }
    // Every triangle faces up, every normal is up.
    static void ExpectFacingUp(const g3dFragment& shadow) {
        for (u32 t = 0; t < shadow.GetIndexCount() / 3u; ++t) {
            const u16* c = shadow.GetIndices() + 3 * t;
            const auto a = VertexAt<g3dVertexPNT2>(shadow, c[0]);
            maVector3d turn;
            (VertexAt<g3dVertexPNT2>(shadow, c[1]).position - a.position)
                .Cross(VertexAt<g3dVertexPNT2>(shadow, c[2]).position - a.position, turn);
            EXPECT_GE(turn.y, 0.0f) << t;
            EXPECT_EQ(a.normal, maVector3d(0.0f, 1.0f, 0.0f));
        }
    }

    coFakePark park;

  private:
    bool m_shadowsPref = coPrefs::GetBool(coPrefTrackShadows);
};

} // namespace

TEST(coTrackShadows, DirectionIsTiltedThenMadeUnit) {
    const struct {
        maVector3d in, out;
    } cases[] = {{{1.0f, 1.0f, 0.0f}, {0.57735f, 0.81650f, 0.0f}},
                 {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},
                 {{1.0f, 0.0f, 0.0f}, {0.70711f, -0.70711f, 0.0f}},
                 {{0.0f, -3.0f, 4.0f}, {0.0f, -0.6f, 0.8f}}};
    for (const auto& c : cases) {
        coSetShadowDirection(c.in);
        ExpectVectorNear(coGetShadowDirection(), c.out, 1e-5f);
    }
    coSetShadowDirection(maVector3d(0.0f, -1.0f, 0.0f));
}

// Bands take 0.8 samples a unit, at least 2, face up whichever way they run, and hide with the preference.
TEST_F(coTrackShadowsTest, PieceBandsCountFaceUpAndFollowThePreference) {
    coSetShadowsEnabled(coShadowsDown);
    const struct {
        float length, roll;
        bool shown;
        u32 vertices, indices;
    } cases[] = {{10.0f, 0.0f, true, 16, 42}, {2.0f, 0.0f, true, 4, 6}, {10.0f, maPiF, false, 16, 42}};
    for (const auto& c : cases) {
        coPrefs::SetBool(coPrefTrackShadows, c.shown);
        coExactLinePiece piece(c.length, maVector3d(0.0f, 5.0f, 0.0f), c.roll);
        coSceneObjectSet set;
        coMakePieceShadow(piece, set);
        const g3dFragment& shadow = Shadow(set);
        EXPECT_EQ(std::tuple(shadow.GetVertexCount(), shadow.GetIndexCount(), Objects(set)[0]->IsVisible()),
                  std::tuple(c.vertices, c.indices, c.shown));
        EXPECT_FLOAT_EQ(VertexAt<g3dVertexPNT2>(shadow, 0).position.y, 0.45f);
        ExpectFacingUp(shadow);
    }
    EXPECT_FALSE(log.Holds("Warning"));
    EXPECT_EQ(coShadowSampleCount(1.0e6f), 10923);
    EXPECT_TRUE(log.Holds("shadow samples cut to 10923"));
}

TEST_F(coTrackShadowsTest, GroundPointByMode) {
    park.holeCentre = maVector3d(50.0f, 0.0f, 0.0f);
    park.holeRadius = 5.0f;
    coSetShadowsEnabled(coShadowsDown);
    ExpectVectorNear(coShadowGroundPoint(maVector3d(0.0f, 9.0f, 0.0f)), {0.0f, 0.45f, 0.0f}, 1e-6f);
    // Never above the point it is cast from.
    ExpectVectorNear(coShadowGroundPoint(maVector3d(0.0f, 0.2f, 0.0f)), {0.0f, 0.2f, 0.0f}, 1e-6f);
    ExpectVectorNear(coShadowGroundPoint(maVector3d(50.0f, 9.0f, 0.0f)), {50.0f, 0.45f, 0.0f}, 1e-6f);

    coSetShadowsEnabled(coShadowsAlongDirection);
    coSetShadowDirection(maVector3d(1.0f, -1.0f, 0.0f));
    const maVector3d cast = coShadowGroundPoint(maVector3d(0.0f, 10.0f, 0.0f));
    // The terrain's hit (the fake samples the cast coarsely) lies on the ray, 0.45 below the shadow point.
    EXPECT_NEAR(cast.x / (10.0f - (cast.y - 0.45f)), std::sqrt(0.5f), 1e-4f);
    EXPECT_GT(cast.x, 0.0f);
    EXPECT_EQ(cast.z, 0.0f);
    park.hasTerrain = false;
    ExpectVectorNear(coShadowGroundPoint(maVector3d(3.0f, 10.0f, 4.0f)), {3.0f, 0.45f, 4.0f}, 1e-6f);
}

TEST_F(coTrackShadowsTest, RingsPitchedTenDegreesGetTheDisc) {
    coSetShadowsEnabled(coShadowsDown);
    const struct {
        float degrees;
        u32 vertices, indices;
    } cases[] = {{10.0f, 17, 48}, {-10.0f, 17, 48}, {9.0f, 8, 18}};
    for (const auto& c : cases) {
        coShadowRing ring;
        ring.position = maVector3d(0.0f, 8.0f, 0.0f);
        ring.radius = 2.0f; // band length 5.6: 4 samples
        ring.pitch = coDegrees(c.degrees);
        ring.rotation.SetAxisAngle(maVector3d(1.0f, 0.0f, 0.0f), ring.pitch);
        coSceneObjectSet set;
        coMakeTargetRingShadow(ring, set);
        const g3dFragment& shadow = Shadow(set);
        EXPECT_EQ(shadow.GetVertexCount(), c.vertices) << c.degrees;
        EXPECT_EQ(shadow.GetIndexCount(), c.indices) << c.degrees;
        ExpectFacingUp(shadow);
    }
}

// The texture is taken once and given back once; without the material the builders still build.
TEST_F(coTrackShadowsTest, MaterialTakesAndGivesBackItsTexture) {
    coFakeTextureCache textures;
    textures.known = {"shadow.png"};
    coCreateShadowMaterial();
    coCreateShadowMaterial();
    EXPECT_EQ(textures.references["shadow.png"], 1);
    ASSERT_NE(coGetShadowMaterial(), nullptr);
    EXPECT_EQ(coGetShadowMaterial()->GetStageCount(), 1u);
    coDestroyShadowMaterial();
    EXPECT_EQ(std::tuple(textures.references["shadow.png"], coGetShadowMaterial()), std::tuple(0, nullptr));
    coSceneObjectSet set;
    coMakeStripShadow(maVector3d(0.0f, 3.0f, 0.0f), maVector3d(1.0f, 0.0f, 0.0f), 10.0f, set);
    EXPECT_EQ(Shadow(set).GetVertexCount(), 16u);
}
