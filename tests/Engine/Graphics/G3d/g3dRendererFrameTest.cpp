#include "g3dRendererFixture.h"

#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include <algorithm>
#include <cmath>

namespace {

// Worlds 0 to 2 with depth and fog, an additive screen pass, a screen overlay without depth.
const std::vector<g3dRenderListConfig> kGameLists = {
    {0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};

const std::string kDraw = "DrawIndexedPrimitive";

class g3dRendererFrameTest : public g3dRendererFixture {
  protected:
    g3dRendererFrameTest() { m_lists = kGameLists; }

    // Two triangles over four vertices at the origin with one material.
    g3dFragment* Quad(g3dMaterial* material) {
        const std::vector<maVector3d> positions(4, maVector3d(0, 0, 0)), normals(4, maVector3d(0, 1, 0));
        const u16 indices[6] = {0, 1, 2, 2, 1, 3};
        return Keep(g3dFragmentManager::CreateFragmentPNT(positions.data(), normals.data(), 4, indices, 6,
                                                          &material, nullptr, 1, false));
    }
    std::vector<std::string> Frame(const std::vector<std::string>& prefixes) {
        Mark();
        g3dRenderer::RenderFrame(0.0f);
        return Since(prefixes);
    }

    g3dMaterial m_material;
};

} // namespace

TEST_F(g3dRendererFrameTest, AnEmptyTableClearsDepthAndResetsTheStages) {
    g3dRenderer::Shutdown();
    g3dRenderer::Initialize({});
    g3dRenderer::InitStates();
    std::vector<std::string> expected = {"Clear 2 00000000", "BeginScene", "EndScene",
                                         "SetTextureStageState 0 1 1", "SetTextureStageState 0 4 1"};
    for (int stage = 0; stage < 8; ++stage)
        expected.push_back("SetTexture " + std::to_string(stage) + " null");
    expected.push_back("SetStreamSource 0 0");
    Mark();
    g3dRenderer::RenderFrame(0.0f);
    std::vector<std::string> calls(m_d3d.GetLog().begin() + static_cast<long>(m_mark), m_d3d.GetLog().end());
    EXPECT_EQ(calls, expected);

    g2dScreen::SetShowFps(true);
    appDispatchChar(u'`');
    g2dScreen::EndFrame();
    EXPECT_NE(std::find(m_text.drawn.begin(), m_text.drawn.end(), "10 45 tris: 0"), m_text.drawn.end());
}

TEST_F(g3dRendererFrameTest, LightsAreSentBeforeTheFrameAndOnlyWhenChanged) {
    g3dLightManager::Initialize();
    g3dLightManager::CreateDirectionalLight()->SetEnabled();
    const std::vector<std::string> calls = {"SetLight", "LightEnable", "Clear"};
    EXPECT_EQ(Frame(calls),
              (std::vector<std::string>{"SetLight 0 3 1e+06", "LightEnable 0 1", "Clear 2 00000000"}));
    EXPECT_EQ(Frame(calls), std::vector<std::string>{"Clear 2 00000000"});
    g3dLightManager::Shutdown();
}

TEST_F(g3dRendererFrameTest, HiddenModelsCostNothingAndShowAgain) {
    g3dFragment* quad = Quad(&m_material);
    g3dHFragment tree(quad);
    g3dModel* const models[] = {g3dRenderer::AddStaticModel(quad, 0),
                                g3dRenderer::AddPlacedStaticModel(quad, maMatrix4d(), 1),
                                g3dRenderer::AddNode(tree, 2)};
    EXPECT_EQ(Frame({kDraw}).size(), 0u);
    for (g3dModel* model : models)
        model->SetVisible(true);
    EXPECT_EQ(Frame({kDraw}).size(), 3u);
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 6u);

    // A model of no list is neither taken out of one nor deleted.
    g3dWorldStaticModel stranger(quad);
    g3dRenderer::RemoveModel(&stranger);
    EXPECT_EQ(Frame({kDraw}).size(), 3u);
    for (g3dModel* model : models) {
        g3dRenderer::RemoveModel(model);
        g3dRenderer::RemoveModel(model);
    }
    EXPECT_EQ(Frame({kDraw}).size(), 0u);
}

TEST_F(g3dRendererFrameTest, TheOverlayListDrawsLastWithoutDepthOrFog) {
    g3dFragment* quad = Quad(&m_material);
    g3dRenderer::AddStaticModel(quad, 4)->SetVisible(true);
    g3dRenderer::AddStaticModel(quad, 0)->SetVisible(true);
    g3dRenderer::SetFogMode(3);
    // Render states 7 depth test, 14 depth writes, 28 fog.
    const std::vector<std::string> calls =
        Frame({"SetRenderState 7 ", "SetRenderState 14 ", "SetRenderState 28 ", kDraw});
    ASSERT_GE(calls.size(), 5u);
    const std::vector<std::string> last(calls.end() - 5, calls.end());
    EXPECT_EQ(last,
              (std::vector<std::string>{"SetRenderState 14 0", "SetRenderState 7 0", "SetRenderState 28 0",
                                        "DrawIndexedPrimitive 4 0 4 0 2", "SetRenderState 14 1"}));
    EXPECT_EQ(calls[2], "SetRenderState 28 1");
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](const std::string& c) { return c.rfind(kDraw, 0) == 0; }),
              2);
}

TEST_F(g3dRendererFrameTest, BlendFactorsAreSentOnlyWhenAPassChangesThem) {
    // Lists 0 to 2 alpha-blend, 3 adds, 4 blends again: each frame switches twice, the passes of the
    // same mode in a row send nothing. 19 source, 20 destination; 2 one, 5 source alpha, 6 its inverse.
    for (int frame = 0; frame < 2; ++frame)
        EXPECT_EQ(Frame({"SetRenderState 19 ", "SetRenderState 20 "}),
                  (std::vector<std::string>{"SetRenderState 19 5", "SetRenderState 20 2",
                                            "SetRenderState 19 5", "SetRenderState 20 6"}));
}

TEST_F(g3dRendererFrameTest, ProjectToScreenStaysFiniteAtTheEyesDepth) {
    // A camera-like projection: w is the view depth. The screen is 64 x 48.
    g3dRenderer::SetProjectionMatrix(maMatrix4d(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0));
    maMatrix4d view;
    view.SetTranslation(0, 0, 2);
    g3dRenderer::SetViewMatrix(view);
    const struct {
        maVector3d point;
        f32 x, y, w;
    } cases[] = {
        {{0, 0, 0}, 32, 24, 0.5f}, // straight ahead
        {{2, 1, 0}, 0, 12, 0.5f},  // mirrored: right of the eye shows on the left
        {{1, 1, -2}, 0, 0, 1.0f},  // at the eye's depth, invW is 1
    };
    for (const auto& c : cases) {
        f32 out[4];
        g3dRenderer::ProjectToScreen(c.point, out);
        EXPECT_FLOAT_EQ(out[0], c.x);
        EXPECT_FLOAT_EQ(out[1], c.y);
        EXPECT_FLOAT_EQ(out[3], c.w);
        EXPECT_TRUE(std::isfinite(out[2]));
    }
}
