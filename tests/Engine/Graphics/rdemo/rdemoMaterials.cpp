// The "materials" scene, drawn through the renderer's fragment drawing with its default states: a row
// of quads, one per combiner case (untextured, modulate, two stages blended by the texture's alpha,
// two stages modulated, clamped, and a stage without a texture, which reads white), a scrolled checker
// texture whose offset is a material animation, and a floor fading into linear fog. A few pixels are
// checked against the values the stages compute.
#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "rdemo.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

std::unique_ptr<g3dPlainTexture> DemoMakeTexture(i32 width, i32 height, const std::vector<u32>& texels) {
    auto texture = std::make_unique<g3dPlainTexture>();
    g2dPixelFormat argb;
    g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
    texture->GetPlainPAC().Create(width, height, argb);
    plD3dTexture* d3d = texture->GetPlainPAC().GetTexture();
    plD3dLockedRect locked;
    if (d3d && !plD3dFailed(d3d->LockRect(0, &locked, nullptr, 0))) {
        for (i32 y = 0; y < height; ++y)
            std::memcpy(static_cast<u8*>(locked.bits) + y * locked.pitch,
                        &texels[static_cast<size_t>(y * width)], static_cast<size_t>(width) * 4);
        d3d->UnlockRect(0);
    }
    return texture;
}

namespace {

constexpr f32 kQuadZ = 10.0f;

// A quad of corners (x0, y0, z0) and (x1, y1, z1), coordinates 0 to repeat across, one material.
g3dFragment* MakeQuad(f32 x0, f32 y0, f32 z0, f32 x1, f32 y1, f32 z1, f32 repeat, g3dMaterial* material) {
    const maVector3d positions[4] = {{x0, y0, z0}, {x1, y0, z0}, {x0, y1, z1}, {x1, y1, z1}};
    const maVector3d normals[4] = {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}};
    const maVector2d uvs[4] = {{0, 0}, {repeat, 0}, {0, repeat}, {repeat, repeat}};
    const u16 indices[6] = {0, 1, 2, 2, 1, 3};
    return g3dFragmentManager::CreateFragmentPNT2(positions, normals, uvs, 4, indices, 6, &material, nullptr,
                                                  1, false);
}

bool Near(u32 a, u32 b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
            return false;
    return true;
}

} // namespace

std::vector<u32> DrawMaterialsScene() {
    g3dFragmentManager::Initialize();
    g3dRenderer::Initialize();
    g3dRenderer::InitStates();
    auto grey = DemoMakeTexture(1, 1, {0x80808080});
    auto red = DemoMakeTexture(1, 1, {0x40FF0000});
    auto stripes = DemoMakeTexture(2, 1, {0xFFFFFF00, 0xFF00A0FF});
    std::vector<u32> checker(64);
    for (size_t i = 0; i < checker.size(); ++i)
        checker[i] = ((i % 8) / 4 + i / 32) % 2 ? 0xFFE0E0E0 : 0xFF304080; // two by two cells
    auto checks = DemoMakeTexture(8, 8, checker);
    g3dUVATexture empty;

    g3dMaterial cases[6];
    const g3dARGBColor blue{0, 0, 1, 1}, half{0.5f, 0.5f, 0.5f, 1}, orange{1, 0.5f, 0, 1};
    cases[0].SetAmbient(orange);
    cases[1].SetAmbient(half);
    cases[1].AddTextureStage(grey.get(), 0);
    cases[2].SetAmbient(blue);
    cases[2].AddTextureStage(nullptr, 0);
    cases[2].AddTextureStage(red.get(), 0);
    cases[3].AddTextureStage(stripes.get(), 0);
    cases[3].AddTextureStage(grey.get(), 1);
    cases[4].AddTextureStage(stripes.get(), 1);
    cases[4].SetStageScale({2.0f, 2.0f}, 0);
    cases[5].AddTextureStage(&empty, 0);
    g3dMaterial scrolled, floor;
    scrolled.AddTextureStage(checks.get(), 0);
    auto scroll = std::make_unique<an2StateAnimation<maVector2d>>();
    scroll->SetStates({0.25f, 0.0f}, {0.25f, 0.0f});
    scrolled.AddAnimation(std::make_unique<g3dMaterialAnimation>(std::move(scroll), 5, 0.0f));
    floor.AddTextureStage(checks.get(), 0);

    std::vector<g3dFragment*> fragments;
    for (int i = 0; i < 6; ++i) {
        const f32 x = -5.0f + 2.0f * static_cast<f32>(i);
        fragments.push_back(MakeQuad(x - 0.8f, 3.8f, kQuadZ, x + 0.8f, 2.2f, kQuadZ, 1.0f, &cases[i]));
    }
    fragments.push_back(MakeQuad(-2.0f, 1.5f, kQuadZ, 2.0f, -1.0f, kQuadZ, 2.0f, &scrolled));
    fragments.push_back(MakeQuad(-30.0f, -3.0f, 100.0f, 30.0f, -3.0f, 6.0f, 20.0f, &floor));

    // The renderer mirrors the projection in x; the demo's is mirrored first so the picture is not.
    maMatrix4d projection = DemoProjection();
    projection.Scale(-1.0f, 1.0f, 1.0f);
    g3dRenderer::SetProjectionMatrix(projection);
    g3dRenderer::SetViewMatrix(maMatrix4d());
    g3dRenderer::SetFogColor({0.6f, 0.7f, 0.8f, 1.0f});
    g3dRenderer::SetFogStart(10);
    g3dRenderer::SetFogEnd(90);
    g3dRenderer::SetFogMode(3);
    g_pdevice->SetRenderState(plD3dRs::CullMode, plD3dCull::None);
    g_pdevice->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF99B2CC, 1.0f, 0);
    g_pdevice->BeginScene();
    g3dRendererPAC::SetTransformMode(2);
    g3dRendererPAC::SetWorldIdentity();
    g3dRendererPAC::SetFrameTime(1.0f);
    const g3dMaterial* last = nullptr;
    bool forced = false;
    for (g3dFragment* fragment : fragments) {
        if (fragment)
            g3dRendererPAC::DrawFragment(*fragment, last, forced);
    }
    g_pdevice->EndScene();
    g3dRendererPAC::ResetTextureStages();
    std::vector<u32> picture = DemoReadBackBuffer();

    // The quads stand at the fog's start, where fog adds nothing: their pixels are the stages' own.
    const struct {
        f32 x;
        u32 expected;
    } checks_[] = {{-5.0f, 0xFF8000}, {-3.0f, 0x404040}, {-1.0f, 0x4000BF}, {5.0f, 0xFFFFFF}};
    bool ok = true;
    for (const auto& check : checks_) {
        const u32 pixel = DemoPixelAt(picture, {check.x, 3.0f, kQuadZ}) & 0xFFFFFF;
        if (!Near(pixel, check.expected)) {
            std::fprintf(stderr, "rdemo: the quad at x %g is %06x, not %06x\n", check.x, pixel,
                         check.expected);
            ok = false;
        }
    }
    const u32 nearFloor = DemoPixelAt(picture, {6.0f, -3.0f, 12.0f}) & 0xFFFFFF,
              farFloor = DemoPixelAt(picture, {25.0f, -3.0f, 95.0f}) & 0xFFFFFF;
    if (!Near(farFloor, 0x99B2CC) || Near(nearFloor, farFloor)) {
        std::fprintf(stderr, "rdemo: the floor does not fade into the fog (%06x near, %06x far)\n", nearFloor,
                     farFloor);
        ok = false;
    }
    for (g3dFragment* fragment : fragments)
        g3dFragmentManager::DestroyFragment(fragment);
    g3dRenderer::Shutdown();
    grey.reset();
    red.reset();
    stripes.reset();
    checks.reset();
    g2dScreen::EndFrame();
    return ok ? picture : std::vector<u32>{};
}
