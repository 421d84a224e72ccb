// The "environment" scene: an environment of the built content in one of its variants, loaded as the game
// loads it (terrain, turning sky, lights, fog, sun flare), with a theme's loading dock at the start. The
// eye looks from behind the dock towards the hill. The checks, for a variant with fog and a flare: the far
// ground is nearer the fog colour than the near ground, and the flare shows from the start but hides once
// the eye stands behind the hill.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coLoadingDock.h"
#include "rdemo.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

const maVector3d kEye{-30.0f, 8.0f, -30.0f}, kBehindHill{180.0f, 8.0f, 180.0f};
const maVector3d kLookAt{60.0f, 10.0f, 60.0f};

// Draws the frame from the eye and tells whether the sun's flare shows from there.
std::vector<u32> Frame(g3dCamera& camera, const maVector3d& eye, bool& flareShown) {
    camera.LookAt(eye, eye + (kLookAt - kEye), {0, 1, 0});
    camera.Apply();
    scLFGetVisCompute()->SetCamera(&camera);
    scUpdateAll(10.0f);
    coGetEnvironment().UpdateSky(eye, 10.0f);
    scLensFlare sun;
    sun.SetSourcePosition(coGetEnvironment().GetLensFlare().sun);
    flareShown = scLFGetVisCompute()->IsVisible(sun);
    g2dScreen::Clear(coGetEnvironment().GetBackgroundColor());
    g3dRenderer::RenderFrame(10.0f);
    std::vector<u32> picture = DemoReadBackBuffer();
    g2dScreen::EndFrame();
    return picture;
}

// Sum of the channel differences between a pixel and a colour of bytes.
int Distance(u32 pixel, const u8 colour[3]) {
    return std::abs(static_cast<int>((pixel >> 16) & 0xFF) - colour[0]) +
           std::abs(static_cast<int>((pixel >> 8) & 0xFF) - colour[1]) +
           std::abs(static_cast<int>(pixel & 0xFF) - colour[2]);
}

} // namespace

std::vector<u32> DrawEnvironmentScene(const std::string& environment, int variant, const std::string& dock) {
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize(DemoGameLists());
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    scLensFlarePackageStart();
    fsAddRootDirectory(coRootEnvironments, DemoInData("Environments/" + environment));
    fsAddRootDirectory(coRootThemes, DemoInData("Themes"));
    coPrefs::SetDefaults();
    coPrefs::SetBool(coPrefLensFlare, true);
    coPrefs::SetBool(coPrefLayeredSky, true);
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");

    std::vector<u32> picture;
    bool shown = false, hidden = true;
    u8 fog[3] = {0, 0, 0};
    try {
        coEnvironment& park = coGetEnvironment();
        park.SelectVariant(variant);
        park.Load(envString(environment.c_str()));
        coLoadDock(envString(dock.c_str()));
        if (coLoadingDock* loaded = coGetDock())
            loaded->SetPosition(park.GetStartPosition());
        const coEnvFogInfo& info = park.GetFog();
        fog[0] = coColorByte(info.red);
        fog[1] = coColorByte(info.green);
        fog[2] = coColorByte(info.blue);

        g3dCamera camera;
        camera.SetFieldOfView(60.0f);
        camera.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
        camera.SetClipPlanes(1.0f, park.GetFarClipDistance());
        bool behind = true;
        Frame(camera, kBehindHill, behind);
        hidden = !behind;
        picture = Frame(camera, kEye, shown);
    } catch (const envExceptionX& exception) {
        std::fprintf(stderr, "rdemo: the environment does not load (error 0x%08X)\n", exception.GetCode());
    }
    coFreeDock();
    coGetEnvironment().Clear();
    scLensFlarePackageStop();
    g3dLightManager::Shutdown();
    g3dRenderer::Shutdown();
    fsResetRootTable();
    if (picture.empty())
        return {};

    // Near ground at the bottom of the picture, far ground just under the horizon, both at the side.
    const u32 nearGround = picture[static_cast<size_t>((kDemoHeight - 8) * kDemoWidth + 40)];
    const u32 farGround = picture[static_cast<size_t>((kDemoHeight / 2 + 30) * kDemoWidth + 40)];
    std::fprintf(stderr,
                 "rdemo: near ground %06x, far ground %06x, fog %02x%02x%02x; flare %s, behind the hill %s\n",
                 nearGround & 0xFFFFFF, farGround & 0xFFFFFF, fog[0], fog[1], fog[2],
                 shown ? "shown" : "hidden", hidden ? "hidden" : "shown");
    if (coGetEnvironment().GetFog().mode != 0 && Distance(farGround, fog) >= Distance(nearGround, fog)) {
        std::fprintf(stderr, "rdemo: the far ground is not nearer the fog colour\n");
        return {};
    }
    if (!coGetEnvironment().GetLensFlare().elements.empty() && (!shown || !hidden)) {
        std::fprintf(stderr, "rdemo: the flare does not show from the start and hide behind the hill\n");
        return {};
    }
    return picture;
}
