// The projected texture on the test device: stages come and go with the projector's frustum and the
// coordinates follow the projector.
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "../G3d/g3dRendererFixture.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"

#include <cmath>

namespace {

struct PntVertex {
    float position[3], normal[3], u, v;
};

u32 ProjectedStages(const g3dMaterial& material) {
    u32 count = 0;
    for (u32 i = 0; i < material.GetStageCount(); ++i)
        count += material.GetStage(i).mode == 1;
    return count;
}

class scProjectedTextureTest : public g3dRendererFixture {
  protected:
    void TearDown() override {
        scClearSceneObjects();
        g3dRendererFixture::TearDown();
    }
    g3dMaterial m_ground, m_lines;
};

} // namespace

TEST_F(scProjectedTextureTest, ReceiversInsideTakeOneStageAndTheProjectorsCoordinates) {
    // A quad facing up across [-1, 1] in x and z; its third triangle turns away from the projector and
    // shares three corners with the first, so those end at (0, 0).
    const maVector3d points[4] = {{-1, 0, -1}, {-1, 0, 1}, {1, 0, -1}, {1, 0, 1}},
                     up[4] = {{0, 1, 0}, {0, 1, 0}, {0, 1, 0}, {0, 1, 0}};
    const u16 indices[9] = {0, 1, 2, 2, 1, 3, 1, 0, 2};
    g3dMaterial* ground = &m_ground;
    g3dFragment* quad =
        Keep(g3dFragmentManager::CreateFragmentPNT(points, up, 4, indices, 9, &ground, nullptr, 1, false));
    scSimpleMovableObject receiver(quad, 0);
    receiver.SetPosition({0, 0, 0});
    // Lines carry no coordinate pair: they get no stage and are left alone.
    g3dMaterial* lines = &m_lines;
    const u16 pair[2] = {0, 1};
    g3dFragment* segment =
        Keep(g3dFragmentManager::CreateFragmentPN(points, up, 2, pair, 2, &lines, nullptr, 1, false));
    scStaticObject wire(segment, 0);
    scAddSceneObject(&receiver);
    scAddSceneObject(&wire);

    // Straight down from above onto a sphere of radius 2: the view reaches 3 units out across and 3 / (4 / 3)
    // along.
    g3dCamera projector;
    scSetUpProjector(2.0f, {0, 0, 0}, {0, -3, 0}, projector);
    g3dTexture* texture = Texture(256);
    scApplyProjectedTexture(projector, texture);
    EXPECT_EQ(ProjectedStages(m_ground), 1u);
    EXPECT_EQ(m_ground.GetStage(0).texture, texture);
    EXPECT_EQ(ProjectedStages(m_lines), 0u);
    for (u32 i = 0; i < 3; ++i) {
        EXPECT_EQ(VertexAt<PntVertex>(*quad, i).u, 0.0f) << i;
        EXPECT_EQ(VertexAt<PntVertex>(*quad, i).v, 0.0f) << i;
    }
    const PntVertex corner = VertexAt<PntVertex>(*quad, 3);
    EXPECT_NEAR(std::fabs(corner.u - 0.5f), 1.0f / 6.0f, 1e-4f);
    EXPECT_NEAR(std::fabs(corner.v - 0.5f), 2.0f / 9.0f, 1e-4f);

    // Out of the frustum: the stage goes; back in: exactly one again.
    receiver.SetPosition({1000, 0, 0});
    scApplyProjectedTexture(projector, texture);
    EXPECT_EQ(m_ground.GetStageCount(), 0u);
    receiver.SetPosition({0, 0, 0});
    scApplyProjectedTexture(projector, texture);
    scApplyProjectedTexture(projector, texture);
    EXPECT_EQ(m_ground.GetStageCount(), 1u);

    // A culled receiver is left as it is, until the pass is cleared.
    receiver.SetCulled(true);
    receiver.SetPosition({1000, 0, 0});
    scApplyProjectedTexture(projector, texture);
    EXPECT_EQ(m_ground.GetStageCount(), 1u);
    scClearProjectedTexture();
    EXPECT_EQ(m_ground.GetStageCount(), 0u);
}

TEST_F(scProjectedTextureTest, ZeroDirectionLooksStraightDown) {
    g3dCamera down, zero;
    scSetUpProjector(5.0f, {1, 2, 3}, {0, -1, 0}, down);
    scSetUpProjector(5.0f, {1, 2, 3}, {0, 0, 0}, zero);
    maMatrix4d a, b;
    down.GetViewMatrix(a);
    zero.GetViewMatrix(b);
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(b.m[i])) << i;
        EXPECT_EQ(a.m[i], b.m[i]) << i;
    }
    EXPECT_NEAR(zero.GetPosition()->y, 2.0f + 205.0f, 1e-3f);
}
