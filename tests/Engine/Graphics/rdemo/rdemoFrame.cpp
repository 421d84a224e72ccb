// The "frame" scene: one frame of the renderer with the game's five render lists, seen through the
// camera with three lights and linear fog. List 0 holds a lit sphere and a floor that fades into the
// fog, list 2 a row of soft transparent sprites, list 3 an additive quad in screen space, list 4 an
// opaque overlay; the debug lines (frame rate and triangle count) come with the end of the frame. The
// picture is the presented frame; a few pixels are checked against what each list must show.
#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dShapes.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "rdemo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const u8 kSky[3] = {140, 166, 191};
constexpr u32 kSprites = 9;

// A quad of corners (x0, y0, z0) and (x1, y1, z1) facing -z, one material.
g3dFragment* MakeQuad(f32 x0, f32 y0, f32 z0, f32 x1, f32 y1, f32 z1, g3dMaterial* material) {
    const maVector3d positions[4] = {{x0, y0, z0}, {x1, y0, z0}, {x0, y1, z1}, {x1, y1, z1}};
    const maVector3d normals[4] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
    const u16 indices[6] = {0, 1, 2, 2, 1, 3};
    return g3dFragmentManager::CreateFragmentPNT(positions, normals, 4, indices, 6, &material, nullptr, 1,
                                                 false);
}

// White, its alpha falling from the centre to the rim.
std::vector<u32> SoftDisc(i32 size) {
    std::vector<u32> texels(static_cast<size_t>(size * size));
    for (i32 y = 0; y < size; ++y)
        for (i32 x = 0; x < size; ++x) {
            const f32 dx = (static_cast<f32>(x) + 0.5f) / static_cast<f32>(size) * 2.0f - 1.0f;
            const f32 dy = (static_cast<f32>(y) + 0.5f) / static_cast<f32>(size) * 2.0f - 1.0f;
            const f32 alpha = std::clamp(1.0f - std::sqrt(dx * dx + dy * dy), 0.0f, 1.0f);
            texels[static_cast<size_t>(y * size + x)] = static_cast<u32>(alpha * 255.0f) << 24 | 0xFFFFFF;
        }
    return texels;
}

u32 Channel(u32 pixel, int shift) {
    return (pixel >> shift) & 0xFF;
}

bool Near(u32 pixel, u32 r, u32 g, u32 b, u32 tolerance) {
    const u32 want[3] = {r, g, b};
    for (int i = 0; i < 3; ++i)
        if (static_cast<u32>(std::abs(static_cast<int>(Channel(pixel, 16 - 8 * i)) -
                                      static_cast<int>(want[i]))) > tolerance)
            return false;
    return true;
}

// A point of clip space (transform mode 0) in pixels.
u32 ScreenPixelOf(const std::vector<u32>& picture, f32 x, f32 y) {
    const i32 column = static_cast<i32>((x + 1.0f) * 0.5f * kDemoWidth);
    const i32 row = static_cast<i32>((1.0f - y) * 0.5f * kDemoHeight);
    return picture[static_cast<size_t>(row * kDemoWidth + column)];
}

std::vector<u32> ReadFrontBuffer() {
    g2dPixelFormat argb;
    g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
    g2dImage capture(kDemoWidth, kDemoHeight, argb);
    std::vector<u32> pixels(static_cast<size_t>(kDemoWidth) * kDemoHeight);
    g_pdevice->GetFrontBuffer(capture.GetSurface());
    if (const u8* texels = capture.Lock()) {
        for (i32 y = 0; y < kDemoHeight; ++y)
            std::memcpy(&pixels[static_cast<size_t>(y) * kDemoWidth], texels + y * capture.GetPitch(),
                        kDemoWidth * 4);
        capture.Unlock();
    }
    return pixels;
}

} // namespace

std::vector<u32> DrawFrameScene() {
    g3dFragmentManager::Initialize();
    g3dRenderer::Initialize(DemoGameLists());
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.15f, 0.15f, 0.15f, 1.0f);
    g_pdevice->SetRenderState(plD3dRs::CullMode, plD3dCull::None);

    g3dCamera camera;
    camera.SetFieldOfView(70.0f);
    camera.SetAspectRatio(static_cast<f32>(kDemoWidth) / static_cast<f32>(kDemoHeight));
    camera.SetClipPlanes(1.0f, 300.0f);
    camera.LookAt({0, 2, -4}, {0, 0, 12}, {0, 1, 0});
    camera.Apply();
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection({-1, -1, 1});
    sun->SetColor(0.9f, 0.85f, 0.7f, 1.0f);
    sun->SetEnabled();
    g3dDirectionalLight* fill = g3dLightManager::CreateDirectionalLight();
    fill->SetDirection({1, 0.2f, 0.5f});
    fill->SetColor(0.1f, 0.15f, 0.3f, 1.0f);
    fill->SetEnabled();
    g3dPointLight* lamp = g3dLightManager::CreatePointLight();
    lamp->SetPosition({3, 1, 8});
    lamp->SetColor(0.6f, 0.2f, 0.1f, 1.0f);
    lamp->SetLinearAttenuation(0.3f);
    lamp->SetEnabled();
    g3dRenderer::SetFogColor({kSky[0] / 255.0f, kSky[1] / 255.0f, kSky[2] / 255.0f, 1.0f});
    g3dRenderer::SetFogStart(10);
    g3dRenderer::SetFogEnd(90);
    g3dRenderer::SetFogMode(3);

    g3dMaterial orange, ground, glow, overlay;
    orange.SetDiffuse({1.0f, 0.55f, 0.2f, 1.0f});
    ground.SetDiffuse({0.35f, 0.5f, 0.3f, 1.0f});
    // The screen-space quads show their emission alone; the additive one is drawn as transparent.
    glow.SetAmbient({0, 0, 0, 1});
    glow.SetDiffuse({0, 0, 0, 0.9f});
    glow.SetEmissive({0.0f, 0.25f, 0.5f, 1.0f});
    overlay.SetAmbient({0, 0, 0, 1});
    overlay.SetDiffuse({0, 0, 0, 1});
    overlay.SetEmissive({1.0f, 0.85f, 0.1f, 1.0f});
    auto disc = DemoMakeTexture(32, 32, SoftDisc(32));

    g3dFragment* const fragments[] = {g3dMakeSphere(2.5f, 16, 24), MakeQuad(-60, -3, 0, 60, -3, 200, &ground),
                                      MakeQuad(0.4f, 0.5f, 0.5f, 0.9f, 0.9f, 0.5f, &glow),
                                      MakeQuad(-0.95f, -0.95f, 0.5f, -0.55f, -0.65f, 0.5f, &overlay)};
    std::vector<g3dModel*> models;
    if (fragments[0])
        fragments[0]->SetMaterial(&orange, 0);
    g3dHFragment sphere(fragments[0]);
    sphere.GetLocalMatrix().SetTranslation(0, 0, 12);
    models.push_back(g3dRenderer::AddNode(sphere, 0));
    models.push_back(g3dRenderer::AddStaticModel(fragments[1], 1));
    g3dSpriteGroupModel* sprites = g3dRenderer::AddSpriteGroup(2);
    sprites->GetMaterial().SetDiffuse({1.0f, 0.8f, 0.3f, 1.0f});
    sprites->GetMaterial().SetEmissive({0.5f, 0.4f, 0.1f, 1.0f});
    sprites->GetMaterial().AddTextureStage(disc.get(), 0);
    sprites->SetPosition({0, 4, 9});
    std::vector<g3dSprite> row(kSprites);
    for (u32 i = 0; i < kSprites; ++i) {
        row[i].position = {static_cast<f32>(i) - 4.0f, 4.0f, 9.0f};
        row[i].size = 0.7f;
        row[i].alpha = 0.8f;
        row[i].rotation = 0.3f * static_cast<f32>(i);
        row[i].next = i + 1 < kSprites ? &row[i + 1] : nullptr;
    }
    sprites->SetFirstSprite(row.data());
    models.push_back(sprites);
    g3dHFragment glowNode(fragments[2]);
    models.push_back(g3dRenderer::AddNode(glowNode, 3));
    models.push_back(g3dRenderer::AddStaticModel(fragments[3], 4));
    for (g3dModel* model : models)
        model->SetVisible(true);

    g2dScreen::Clear(kSky);
    g3dRenderer::RenderFrame(1.0f);
    const std::vector<u32> before = DemoReadBackBuffer();
    g2dScreen::SetShowFps(true);
    appDispatchChar(u'`');
    g2dScreen::EndFrame();
    std::vector<u32> picture = ReadFrontBuffer();

    // Each list leaves its mark: the lit sphere, the floor lost in the fog, a sprite over the sky, the
    // additive quad brighter than the sky, the overlay's own colour and the debug text.
    const u32 centre = DemoPixelOf(picture, {0, 0, 12}), farFloor = DemoPixelOf(picture, {40, -3, 150}),
              sprite = DemoPixelOf(picture, row[4].position), glowPixel = ScreenPixelOf(picture, 0.65f, 0.7f),
              overlayPixel = ScreenPixelOf(picture, -0.75f, -0.8f);
    size_t text = 0;
    for (i32 y = 20; y < 90; ++y)
        for (i32 x = 0; x < 200; ++x)
            text += picture[static_cast<size_t>(y * kDemoWidth + x)] !=
                    before[static_cast<size_t>(y * kDemoWidth + x)];
    const bool ok = DemoAllHold({
        {"the sphere is lit orange", Channel(centre, 16) > Channel(centre, 0) + 60},
        {"the far floor is fog", Near(farFloor, kSky[0], kSky[1], kSky[2], 6)},
        {"a sprite shows over the sky", !Near(sprite, kSky[0], kSky[1], kSky[2], 12)},
        {"the additive quad brightens the sky", Channel(glowPixel, 0) > kSky[2] + 40u},
        {"the overlay shows its colour", Near(overlayPixel, 255, 217, 25, 3)},
        {"the debug lines are drawn", text > 100},
    });
    std::fprintf(
        stderr, "rdemo: sphere %06x, far floor %06x, sprite %06x, glow %06x, overlay %06x, %zu text pixels\n",
        centre & 0xFFFFFF, farFloor & 0xFFFFFF, sprite & 0xFFFFFF, glowPixel & 0xFFFFFF,
        overlayPixel & 0xFFFFFF, text);

    for (g3dModel* model : models)
        g3dRenderer::RemoveModel(model);
    for (g3dFragment* fragment : fragments)
        if (fragment)
            g3dFragmentManager::DestroyFragment(fragment);
    disc.reset();
    g3dLightManager::Shutdown();
    g3dRenderer::Shutdown();
    return ok ? picture : std::vector<u32>{};
}
