// What the prop and dock tools share: the pick ray and the screen projection, the track pick.
#include "Source/Modes/coModeTool.h"

#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include "Source/Modes/coToolTestSupport.h"

#include <cmath>

namespace {

TEST(coModeToolProjection, ProjectsMirroredAndRefusesPointsAtOrBehindTheEye) {
    g3dCamera camera; // identity view, 90 degrees across
    float x = 0.0f;
    float y = 0.0f;
    ASSERT_TRUE(coProjectToScreen(camera, maVector3d(5.0f, 0.0f, 10.0f), 800, 600, x, y));
    EXPECT_FLOAT_EQ(x, 200.0f);
    EXPECT_FLOAT_EQ(y, 300.0f);
    for (const maVector3d behind : {maVector3d(5.0f, 0.0f, 0.0f), maVector3d(5.0f, 1.0f, -10.0f)})
        EXPECT_FALSE(coProjectToScreen(camera, behind, 800, 600, x, y));

    // The ray through a pixel projects back onto that pixel.
    camera.LookAt(maVector3d(3.0f, 40.0f, -70.0f), maVector3d(10.0f, 0.0f, 5.0f),
                  maVector3d(0.0f, 1.0f, 0.0f));
    for (const auto& [px, py] : {std::pair{10.0f, 20.0f}, {400.0f, 300.0f}, {790.0f, 555.0f}}) {
        const coPickRay ray = coCastPickRay(camera, px, py, 800, 600);
        ASSERT_TRUE(coProjectToScreen(camera, ray.start + (ray.end - ray.start) * 0.001f, 800, 600, x, y));
        EXPECT_NEAR(x, px, 0.05f);
        EXPECT_NEAR(y, py, 0.05f);
    }
}

TEST(coModeToolPick, SegmentTestKeepsToTheSegmentAndTheRadius) {
    const maVector3d S(0.0f, 10.0f, 0.0f);
    const maVector3d R(0.0f, -20.0f, 0.0f); // straight down through y = 0
    const struct {
        maVector3d P, D;
        float r;
        bool hit;
        float s, u;
    } cases[] = {
        {{-5.0f, 0.0f, 0.0f}, {10.0f, 0.0f, 0.0f}, 1.0f, true, 0.5f, 0.5f},   // crosses the ray
        {{-5.0f, 0.0f, 0.9f}, {10.0f, 0.0f, 0.0f}, 1.0f, true, 0.5f, 0.5f},   // passes within reach
        {{-5.0f, 0.0f, 1.0f}, {10.0f, 0.0f, 0.0f}, 1.0f, false, 0.0f, 0.0f},  // exactly at the radius
        {{1.0f, 0.0f, 0.0f}, {10.0f, 0.0f, 0.0f}, 2.0f, false, 0.0f, 0.0f},   // the line, not the segment
        {{-5.0f, 30.0f, 0.0f}, {10.0f, 0.0f, 0.0f}, 1.0f, false, 0.0f, 0.0f}, // above the start: s clamped to
                                                                              // 0
        {{0.0f, 0.0f, 0.5f}, {0.0f, 5.0f, 0.0f}, 1.0f, false, 0.0f, 0.0f},    // parallel
    };
    for (const auto& c : cases) {
        float s = -1.0f;
        float u = -1.0f;
        EXPECT_EQ(coPickTestSegment(S, R, c.P, c.D, c.r, s, u), c.hit) << c.P.z << " " << c.P.y;
        if (c.hit) {
            EXPECT_FLOAT_EQ(s, c.s);
            EXPECT_FLOAT_EQ(u, c.u);
        }
    }
    EXPECT_FLOAT_EQ(coPathFraction(5, 3, 0.5f), 0.625f);
}

class coTrackPickTest : public coToolTest {
  protected:
    // A pick path for the piece along x at height 0 from -10 to 10 in n points.
    coPickPathMesh& Path(coCoasterPiece* piece, float z, int n) {
        std::vector<maVector3d> points;
        for (int i = 0; i < n; ++i)
            points.emplace_back(-10.0f + 20.0f * float(i) / float(n - 1), 0.0f, z);
        auto& mesh = meshes.emplace_back(std::make_unique<coPickPathMesh>());
        mesh->SetPoints(points.data(), n);
        coRegisterPlacedPiece(mesh.get(), piece);
        builder.owners[mesh.get()] = piece;
        return *mesh;
    }
    void TearDown() override {
        for (auto& mesh : meshes)
            coUnregisterPlacedPiece(mesh.get());
        coSetCoasterDefinition(nullptr);
        coToolTest::TearDown();
    }
    std::vector<std::unique_ptr<coPickPathMesh>> meshes;
};

struct coRadiusDefinition : coCoasterDefinition {
    float GetPickPathRadius() const override { return pick; }
    float GetExtrusionScale() const override { return extrusion; }
    float pick = 0.0f;
    float extrusion = 3.0f;
};

TEST_F(coTrackPickTest, NearestSegmentWithinTheRadiusSetsTheFraction) {
    coRadiusDefinition definition;
    coSetCoasterDefinition(&definition);
    coAppendStraight(20.0f);
    coAppendStraight(20.0f);
    coCoasterPiece* near = coCircuitFirstPiece();
    coCoasterPiece* far = coCircuitLastPiece();
    Path(near, 0.0f, 5);
    Path(far, 40.0f, 5);
    // Down through x = 2.5 at z = 2: within the extrusion scale (3) of the near path, at its middle.
    const maVector3d top(2.5f, 50.0f, 2.0f);
    const maVector3d bottom(2.5f, -50.0f, 2.0f);
    float fraction = 0.5f;
    EXPECT_EQ(coPickTrackPosition(top, bottom, fraction), near);
    EXPECT_FLOAT_EQ(fraction, 0.625f);

    // A pick path radius of its own wins over the extrusion: 1 is too short for the segments.
    definition.pick = 1.0f;
    fraction = 0.5f;
    EXPECT_EQ(coPickTrackPosition(top, bottom, fraction), nullptr);
    EXPECT_EQ(fraction, 0.5f);

    // Seen from the far side, the far path is nearer the eye.
    definition.pick = 0.0f;
    definition.extrusion = 100.0f;
    fraction = 0.5f;
    EXPECT_EQ(
        coPickTrackPosition(maVector3d(-10.0f, 0.0f, 80.0f), maVector3d(-10.0f, 0.0f, -80.0f), fraction),
        far);
    EXPECT_FLOAT_EQ(fraction, 0.0f);
}

} // namespace
