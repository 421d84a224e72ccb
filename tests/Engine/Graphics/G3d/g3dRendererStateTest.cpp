#include "g3dRendererFixture.h"

#include "Engine/Graphics/G3d/g3dHardware.h"

namespace {

using g3dRendererStateTest = g3dRendererFixture;

const std::vector<std::string> kFogStates = {"SetRenderState 28 ", "SetRenderState 34 ", "SetRenderState 35 ",
                                             "SetRenderState 36 ", "SetRenderState 37 ", "SetRenderState 38 ",
                                             "SetRenderState 140 "};

} // namespace

TEST_F(g3dRendererStateTest, FogFollowsTheCardsAbilities) {
    using namespace plD3dRasterCaps;
    const std::string magnum = "ACME Magnum/Xpert 128/Xpert 99 AGP";
    // 10.0 is 0x41200000, 50.0 0x42480000, 0.25 0x3e800000; colour (1.2, 0.5, 0, 1) clamps red to ff.
    const struct {
        u32 raster;
        std::string adapter;
        u32 mode;
        std::vector<std::string> calls;
        const char* warning;
    } cases[] = {
        {FogTable | WFog,
         "",
         3,
         {"SetRenderState 28 1", "SetRenderState 35 3", "SetRenderState 140 0",
          "SetRenderState 36 1092616192", "SetRenderState 37 1112014848", "SetRenderState 34 4294934272"},
         nullptr},
        {FogTable | WFog | FogVertex,
         magnum,
         3,
         {"SetRenderState 28 1", "SetRenderState 140 3", "SetRenderState 35 0",
          "SetRenderState 36 1092616192", "SetRenderState 37 1112014848", "SetRenderState 34 4294934272"},
         nullptr},
        {FogTable | WFog | FogVertex,
         magnum,
         1,
         {"SetRenderState 28 1", "SetRenderState 28 0", "SetRenderState 35 0", "SetRenderState 140 0",
          "SetRenderState 38 1048576000", "SetRenderState 34 4294934272"},
         "only supports linear vertex fog"},
        {FogTable | WFog,
         "",
         2,
         {"SetRenderState 28 1", "SetRenderState 35 2", "SetRenderState 140 0",
          "SetRenderState 38 1048576000", "SetRenderState 34 4294934272"},
         nullptr},
        {0,
         "",
         3,
         {"SetRenderState 28 1", "SetRenderState 28 0", "SetRenderState 35 0", "SetRenderState 140 0",
          "SetRenderState 36 1092616192", "SetRenderState 37 1112014848", "SetRenderState 34 4294934272"},
         "Neither pixel nor vertex fog"},
        {FogTable | WFog,
         "",
         0,
         {"SetRenderState 28 0", "SetRenderState 35 0", "SetRenderState 140 0"},
         nullptr},
    };
    for (const auto& c : cases) {
        plD3dCaps caps;
        Device().GetDeviceCaps(&caps);
        caps.rasterCaps = c.raster;
        m_d3d.SetCaps(caps);
        g3dRenderer::Shutdown();
        g2dScreen::Deinitialize();
        m_d3d.SetAdapterName(c.adapter);
        std::string adapter;
        g3dCheckHardware(adapter);
        g2dScreen::InitWindowed(64, 48, 0, 0);
        g3dRenderer::InitStates();
        g3dRendererPAC::SetFog(c.mode, {1.2f, 0.5f, 0.0f, 1.0f}, 10.0f, 50.0f, 0.25f);
        Mark();
        m_log.lines.clear();
        g3dRendererPAC::SetFog(c.mode, {1.2f, 0.5f, 0.0f, 1.0f}, 10.0f, 50.0f, 0.25f);
        EXPECT_EQ(Since(kFogStates), c.calls) << c.raster << " " << c.mode;
        EXPECT_EQ(c.warning != nullptr, c.warning && m_log.Holds(c.warning)) << c.raster << " " << c.mode;
    }
}

TEST_F(g3dRendererStateTest, FogSettersKeepTheOtherSettings) {
    g3dRenderer::SetFogMode(3);
    g3dRenderer::SetFogColor({0.0f, 0.0f, 1.0f, 1.0f});
    g3dRenderer::SetFogEnd(80);
    Mark();
    g3dRenderer::SetFogStart(10);
    const g3dFogSettings& fog = g3dRendererPAC::GetFog();
    EXPECT_EQ(fog.start, 10.0f);
    EXPECT_EQ(fog.end, 80.0f);
    EXPECT_EQ(fog.mode, 3u);
    EXPECT_EQ(Since(kFogStates),
              (std::vector<std::string>{"SetRenderState 28 1", "SetRenderState 35 3", "SetRenderState 140 0",
                                        "SetRenderState 36 1092616192", "SetRenderState 37 1117782016",
                                        "SetRenderState 34 4278190335"}));
}

TEST_F(g3dRendererStateTest, TransformsAndBlendingAreSentOnlyOnChange) {
    Mark();
    g3dRendererPAC::SetTransformMode(2);
    g3dRendererPAC::SetTransformMode(2);
    g3dRendererPAC::SetBlendMode(0);
    g3dRendererPAC::SetWorldIdentity();
    EXPECT_EQ(Since({"SetTransform", "SetRenderState"}),
              (std::vector<std::string>{"SetTransform 2", "SetTransform 3"}));
    Mark();
    g3dRenderer::SetViewMatrix(maMatrix4d());
    g3dRendererPAC::SetTransformMode(2);
    g3dRendererPAC::SetTransformMode(1);
    g3dRendererPAC::SetTransformMode(0);
    g3dRendererPAC::SetTransformMode(7);
    g3dRendererPAC::SetBlendMode(1);
    g3dRendererPAC::SetBlendMode(1);
    EXPECT_EQ(Since({"SetTransform", "SetRenderState"}),
              (std::vector<std::string>{"SetTransform 2", "SetTransform 2", "SetTransform 3",
                                        "SetRenderState 19 5", "SetRenderState 20 2"}));
}

TEST_F(g3dRendererStateTest, AResetBringsStatesFogAndSpriteBufferBack) {
    g3dRenderer::SetFogMode(3);
    g3dRendererPAC::SetTransformMode(2);
    g3dRendererPAC::SetBlendMode(1);
    Mark();
    Device().InjectLoss(0);
    EXPECT_EQ(g2dScreen::EndFrame(), plD3dErr::Ok);
    ASSERT_EQ(Since({"Reset"}), std::vector<std::string>{"Reset"});
    EXPECT_NE(g3dRendererPAC::GetSpriteBuffer(), nullptr);
    u32 value = 0;
    const std::pair<u32, u32> expected[] = {{plD3dRs::CullMode, plD3dCull::Cw},
                                            {plD3dRs::NormalizeNormals, 1},
                                            {plD3dRs::DestBlend, plD3dBlend::InvSrcAlpha},
                                            {plD3dRs::FogEnable, 1},
                                            {plD3dRs::FogTableMode, plD3dFog::Linear},
                                            {plD3dRs::FogEnd, 0x42480000}};
    for (const auto& [state, wanted] : expected) {
        Device().GetRenderState(state, &value);
        EXPECT_EQ(value, wanted) << state;
    }
    Device().GetTextureStageState(3, plD3dTss::MipFilter, &value);
    EXPECT_EQ(value, plD3dTexf::Point);
    EXPECT_EQ(Since({"CreateVertexBuffer 3200"}).size(), 1u);
    // The caches start again from what the reset left.
    Mark();
    g3dRendererPAC::SetTransformMode(2);
    g3dRendererPAC::SetBlendMode(1);
    EXPECT_EQ(Since({"SetTransform", "SetRenderState"}).size(), 4u);
}
