#include "g3dRendererFixture.h"

#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>

namespace {

const std::string kDraw = "DrawIndexedPrimitive";

// Worlds 0 to 2 with depth and fog, an additive screen pass, a screen overlay without depth.
class g3dRendererFrameTest : public g3dRendererFixture {
  protected:
    g3dRendererFrameTest() {
        m_lists = {{0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};
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
    EXPECT_EQ(Frame({""}), expected);

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
    EXPECT_THROW(g3dRenderer::AddStaticModel(quad, 5), std::out_of_range);
    for (g3dModel* model : models)
        model->SetVisible(true);
    EXPECT_EQ(Frame({kDraw}).size(), 3u);
    EXPECT_EQ(g3dRendererPAC::GetTriangleCount(), 6u);

    // A model of no list is neither taken out of one nor deleted; a removed one is gone for good.
    g3dWorldStaticModel stranger(quad);
    g3dRenderer::RemoveModel(&stranger);
    EXPECT_EQ(Frame({kDraw}).size(), 3u);
    for (g3dModel* model : models) {
        g3dRenderer::RemoveModel(model);
        g3dRenderer::RemoveModel(model);
    }
    EXPECT_EQ(Frame({kDraw}).size(), 0u);
}

TEST_F(g3dRendererFrameTest, StaticModelsDrawFromTheHighestAddressDown) {
    g3dMaterial red;
    red.SetDiffuse({1, 0, 0, 1});
    g3dModel* white = g3dRenderer::AddStaticModel(Quad(&m_material), 0);
    g3dModel* other = g3dRenderer::AddStaticModel(Quad(&red), 0);
    white->SetVisible(true);
    other->SetVisible(true);
    std::vector<std::string> order = {"SetMaterial 1 1 1 1 0", "SetMaterial 1 0 0 1 0"};
    if (std::greater<const g3dModel*>()(other, white))
        std::swap(order[0], order[1]);
    EXPECT_EQ(Frame({"SetMaterial"}), order);
    EXPECT_EQ(Frame({"SetMaterial"}), order);
}

TEST_F(g3dRendererFrameTest, TheOverlayListDrawsLastWithoutDepthOrFog) {
    g3dFragment* quad = Quad(&m_material);
    g3dRenderer::AddStaticModel(quad, 4)->SetVisible(true);
    g3dRenderer::AddStaticModel(quad, 0)->SetVisible(true);
    g3dRenderer::SetFogMode(3);
    // Render states 7 depth test, 14 depth writes, 28 fog.
    const std::vector<std::string> calls =
        Frame({"SetRenderState 7 ", "SetRenderState 14 ", "SetRenderState 28 ", kDraw});
    EXPECT_EQ(calls[2], "SetRenderState 28 1");
    EXPECT_EQ(std::vector<std::string>(calls.end() - 5, calls.end()),
              (std::vector<std::string>{"SetRenderState 14 0", "SetRenderState 7 0", "SetRenderState 28 0",
                                        "DrawIndexedPrimitive 4 0 4 0 2", "SetRenderState 14 1"}));
}

TEST_F(g3dRendererFrameTest, BlendFactorsAreSentOnlyWhenAPassChangesThem) {
    // Lists 0 to 2 blend, 3 adds, 4 blends again: two switches a frame, none between passes of one mode.
    // 19 source, 20 destination; 2 one, 5 source alpha, 6 its inverse.
    for (int frame = 0; frame < 2; ++frame)
        EXPECT_EQ(Frame({"SetRenderState 19 ", "SetRenderState 20 "}),
                  (std::vector<std::string>{"SetRenderState 19 5", "SetRenderState 20 2",
                                            "SetRenderState 19 5", "SetRenderState 20 6"}));
}

TEST_F(g3dRendererFrameTest, ProjectToScreenStaysFiniteAtTheEyesDepth) {
    // w is the view depth; the eye stands at z -2 and the screen is 64 x 48.
    g3dRenderer::SetProjectionMatrix(maMatrix4d(1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 1, 0, 0, -1, 0));
    maMatrix4d view;
    view.SetTranslation(0, 0, 2);
    g3dRenderer::SetViewMatrix(view);
    const struct {
        maVector3d point;
        f32 x, y, w;
    } cases[] = {{{2, 1, 0}, 0, 12, 0.5f}, {{1, 1, -2}, 0, 0, 1.0f}}; // mirrored in x; at the eye's depth
    for (const auto& c : cases) {
        f32 out[4];
        g3dRenderer::ProjectToScreen(c.point, out);
        EXPECT_EQ(std::vector<f32>(out, out + 4), (std::vector<f32>{c.x, c.y, out[2], c.w}));
        EXPECT_TRUE(std::isfinite(out[2]));
    }
}

TEST_F(g3dRendererFrameTest, RenderToTextureDrawsTheTreesUntexturedAndComesBack) {
    g3dHFragment root(Quad(&m_material));
    root.AddChild(std::make_unique<g3dHFragment>(Quad(&m_material)));
    g3dDynamicModel model;
    model.SetNode(root.CloneTree());
    g3dMaterial shadow;
    shadow.SetDiffuse({0, 0, 0, 1});
    auto* target = static_cast<g3dRenderTargetTexture*>(Texture(32));
    const std::vector<std::string> calls = {"SetRenderTarget", "Clear",        "BeginScene",
                                            "SetMaterial",     "SetTexture 0", "DrawIndexedPrimitive",
                                            "EndScene"};
    const std::vector<std::string> one = {"SetTexture 0 null", "DrawIndexedPrimitive 4 0 4 0 2"};
    for (const g3dMaterial* material : std::vector<const g3dMaterial*>{&shadow, nullptr}) {
        std::vector<std::string> expected = {"SetRenderTarget 32x32 1", "Clear 3 00ffffff", "BeginScene"};
        for (int node = 0; node < 2; ++node) {
            if (material)
                expected.push_back("SetMaterial 0 0 0 1 0");
            expected.insert(expected.end(), one.begin(), one.end());
        }
        expected.insert(expected.end(), {"EndScene", "SetRenderTarget back 1"});
        Mark();
        g3dRenderer::RenderToTexture(*target, {nullptr, &model}, material);
        EXPECT_EQ(Since(calls), expected);
    }
}
