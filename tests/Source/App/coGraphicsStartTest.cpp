// The graphics packages as the game starts them, on the test device.
#include "Source/App/coProgram.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dHardware.h"
#include "Engine/Graphics/G3d/g3dLight.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scStack.h"

namespace {

// The device's calls of one frame that show what was drawn, with which textures and lights.
std::vector<std::string> DrawnFrame(plFakeD3d& d3d) {
    const size_t mark = d3d.GetLog().size();
    g3dRenderer::RenderFrame(0.0f);
    std::vector<std::string> calls;
    for (size_t i = mark; i < d3d.GetLog().size(); ++i)
        for (const char* prefix : {"DrawIndexedPrimitive ", "SetTexture ", "SetLight ", "LightEnable "})
            if (d3d.GetLog()[i].rfind(prefix, 0) == 0)
                calls.push_back(d3d.GetLog()[i]);
    return calls;
}

} // namespace

// The start registers the packages' error texts and names the adapter; after a device reset the scene's
// lights, render-target texture and dynamic buffer come back, so the frame draws as before.
TEST(coGraphicsStartTest, TheGamesStartNamesTheAdapterAndASceneSurvivesADeviceReset) {
    plTestTimeSource time;
    plFakeD3d d3d;
    g2dRecordingText text;
    dbgLogCapture log;
    plInstallServices({.time = &time, .d3d = &d3d});
    g2dSetTextService(&text);
    coStartGraphics();
    g3dStackInit();
    for (const u32 package : {anErrorPackage, g3dErrorPackage, scErrorPackage})
        EXPECT_NE(gfErrorHandler::GetPackageFile(package), nullptr) << package;
    EXPECT_EQ(g3dGetAdapterName(), "Loopvane test adapter");

    g2dScreen::InitWindowed(64, 48, 0, 0);
    g3dRenderer::InitStates();
    g3dDirectionalLight* light = g3dLightManager::CreateDirectionalLight();
    light->SetDirection({0.0f, -1.0f, 0.0f});
    g3dTexture* target = g3dTextureManager::CreateRenderTarget(16, 16, *g3dGetOpaqueHighFormat());
    g3dMaterial material;
    material.AddTextureStage(target, 0);
    g3dMaterial* materials[1] = {&material};
    const maVector3d points[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    const u16 indices[6] = {0, 1, 2, 2, 1, 3};
    g3dFragment* quad =
        g3dFragmentManager::CreateFragmentPNT(points, points, 4, indices, 6, materials, nullptr, 1, true);
    g3dModel* model = g3dRenderer::AddStaticModel(quad, 0);

    const std::vector<std::string> before = DrawnFrame(d3d);
    EXPECT_FALSE(before.empty());
    d3d.GetDevice()->InjectLoss(1);
    g2dScreen::EndFrame();
    g2dScreen::EndFrame();
    EXPECT_EQ(DrawnFrame(d3d), before);

    g3dRenderer::RemoveModel(model);
    g3dFragmentManager::DestroyFragment(quad);
    g3dTextureManager::ReleaseTexture(target);
    g3dLightManager::RemoveLight(light);
    g3dRenderer::Shutdown();
    g2dScreen::Deinitialize();
    g3dStackShutdown();
    coStopGraphics();
    g2dSetTextService(nullptr);
    plInstallServices({});
    EXPECT_EQ(d3d.GetRefCount(), 0u);
}
