#include "Source/App/coProgram.h"

#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/Graphics/An/anPackage.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scStack.h"

using coGraphicsStartTest = g2dScreenFixture;

// The game's start registers the packages' error texts; after a device reset the scene's light,
// render-target texture and dynamic buffer come back, so the frame draws as before.
TEST_F(coGraphicsStartTest, TheGamesStartRegistersTheTextsAndASceneSurvivesADeviceReset) {
    coStartGraphics();
    g3dStackInit();
    for (const u32 package : {anErrorPackage, g3dErrorPackage, scErrorPackage})
        EXPECT_NE(gfErrorHandler::GetPackageFile(package), nullptr) << package;

    g2dScreen::InitWindowed(64, 48, 0, 0);
    g3dRenderer::InitStates();
    g3dLight* light = g3dLightManager::CreateDirectionalLight();
    g3dTexture* target = g3dTextureManager::CreateRenderTarget(16, 16, *g3dGetOpaqueHighFormat());
    g3dMaterial material;
    material.AddTextureStage(target, 0);
    g3dMaterial* materials[1] = {&material};
    const maVector3d points[4] = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}};
    const u16 indices[6] = {0, 1, 2, 2, 1, 3};
    g3dFragment* quad =
        g3dFragmentManager::CreateFragmentPNT(points, points, 4, indices, 6, materials, nullptr, 1, true);
    g3dModel* model = g3dRenderer::AddStaticModel(quad, 0);
    const auto frame = [this] {
        const size_t mark = m_d3d.GetLog().size();
        g3dRenderer::RenderFrame(0.0f);
        std::vector<std::string> calls;
        for (size_t i = mark; i < m_d3d.GetLog().size(); ++i)
            for (const char* prefix : {"DrawIndexedPrimitive ", "SetTexture ", "SetLight ", "LightEnable "})
                if (m_d3d.GetLog()[i].starts_with(prefix))
                    calls.push_back(m_d3d.GetLog()[i]);
        return calls;
    };
    const std::vector<std::string> before = frame();
    EXPECT_FALSE(before.empty());
    Device().InjectLoss(1);
    g2dScreen::EndFrame();
    g2dScreen::EndFrame();
    EXPECT_EQ(frame(), before);

    g3dRenderer::RemoveModel(model);
    g3dFragmentManager::DestroyFragment(quad);
    g3dTextureManager::ReleaseTexture(target);
    g3dLightManager::RemoveLight(light);
    g3dStackShutdown();
    coStopGraphics();
}
