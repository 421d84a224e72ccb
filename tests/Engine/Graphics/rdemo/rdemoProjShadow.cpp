// The "projshadow" scene: a box floating over a ground quad casts its shadow through the projected
// texture pass, as the game casts the cars' shadow. The light comes from the upper left, so the shadow
// falls beside the box where the camera sees it. The scene is drawn twice, the second time with the box
// moved along +x; the shadow must darken the ground and move the same way.
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Engine/Graphics/Sc/scStaticObject.h"
#include "rdemo.h"

#include <algorithm>
#include <cstdio>

namespace {

const u8 kSky[3] = {150, 170, 200};
const maVector3d kShadowDirection{1.0f, -1.0f, 0.0f};
constexpr f32 kBoxHeight = 3.0f;
constexpr f32 kMove = 3.0f;

// One frame: cast from the box at its place, then draw through the viewer's camera.
std::vector<u32> DrawShadowFrame(scSimpleMovableObject& box, g3dRenderTargetTexture& target,
                                 const g3dMaterial& flat, g3dCamera& viewer) {
    g3dCamera projector;
    scSetUpProjector(2.0f, box.GetPosition(), kShadowDirection, projector);
    projector.Apply();
    scRenderCastersToTexture(target, {&box}, &flat);
    scApplyProjectedTexture(projector, &target);
    viewer.Apply();
    g2dScreen::Clear(kSky);
    g3dRenderer::RenderFrame(0.0f);
    return DemoReadBackBuffer();
}

} // namespace

std::vector<u32> DrawProjShadowScene() {
    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize();
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.4f, 0.4f, 0.4f, 1.0f);
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection(kShadowDirection);
    sun->SetColor(0.7f, 0.7f, 0.65f, 1.0f);
    sun->SetEnabled();

    g3dCamera viewer;
    viewer.SetFieldOfView(60.0f);
    viewer.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
    viewer.SetClipPlanes(1.0f, 200.0f);
    viewer.LookAt({0, 14, -16}, {1, 0, 0}, {0, 1, 0});

    g3dMaterial grass, red, flat;
    grass.SetDiffuse({0.55f, 0.75f, 0.45f, 1.0f});
    red.SetDiffuse({0.9f, 0.2f, 0.15f, 1.0f});
    // The casters' flat grey: how dark the shadow is.
    flat.SetAmbient({0, 0, 0, 1});
    flat.SetDiffuse({0, 0, 0, 1});
    flat.SetEmissive({0.35f, 0.35f, 0.35f, 1.0f});

    g3dFragment* groundFragment =
        DemoMakeGround([](float, float) { return 0.0f; }, maVector3d(0.0f, 0.0f, 0.0f), 12.0f, 16, &grass);
    g3dFragment* boxFragment = g3dFragmentManager::CreateBox(2, 2, 2);
    std::vector<u32> first, second;
    bool ok = groundFragment && boxFragment;
    if (ok) {
        boxFragment->SetMaterial(&red, 0);
        scStaticObject ground(groundFragment, 0);
        scSimpleMovableObject box(boxFragment, 0);
        ground.SetVisible(true);
        box.SetVisible(true);
        scAddSceneObject(&ground);
        g3dRenderTargetTexture* target =
            g3dTextureManager::CreateRenderTarget(256, 256, *g3dGetOpaqueHighFormat());

        // The shadow's centre lies where the line from the box's centre along the light meets the ground.
        const maVector3d start{-2.0f, kBoxHeight, 0.0f}, shadow = start + kShadowDirection * kBoxHeight;
        const maVector3d away{-8.0f, 0.0f, 6.0f}, moved = shadow + maVector3d(kMove, 0, 0);
        box.SetPosition(start);
        first = DrawShadowFrame(box, *target, flat, viewer);
        const auto brightness = [](const std::vector<u32>& picture, const maVector3d& world) {
            return DemoBrightness(DemoPixelOf(picture, world));
        };
        const u32 under = brightness(first, shadow), clear = brightness(first, away),
                  before = brightness(first, moved);
        box.SetPosition(start + maVector3d(kMove, 0, 0));
        second = DrawShadowFrame(box, *target, flat, viewer);
        const u32 after = brightness(second, moved), left = brightness(second, shadow);
        ok = DemoAllHold({
                 {"the ground under the box is darker than away from it", under + 60 < clear},
                 {"the shadow moves with the box to +x", after + 60 < before && left > under + 60},
             }) &&
             ok;
        std::fprintf(stderr, "rdemo: shadow %u, clear ground %u; after the move: shadow %u, old place %u\n",
                     under, clear, after, left);
        scClearProjectedTexture();
        scClearSceneObjects();
        g3dTextureManager::ReleaseTexture(target);
    }
    if (groundFragment)
        g3dFragmentManager::DestroyFragment(groundFragment);
    if (boxFragment)
        g3dFragmentManager::DestroyFragment(boxFragment);
    g3dLightManager::Shutdown();
    g3dRenderer::Shutdown();
    return ok ? first : std::vector<u32>{};
}
