#pragma once
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/g2dTextService.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTimeSource.h"

#include <cstdlib>

// The fake device under a small windowed screen, with the texture manager and the fragment manager
// started, for fuzz targets whose loaders make textures and fragments. Nothing draws text.
inline void fuzzStartFakeDevice() {
    class NoText : public g2dTextService {
      public:
        g2dFont GetFont(const envString&, i32) override { return g2dFont(1); }
        void ReleaseFont(g2dFont) override {}
        void MeasureText(g2dFont, const envString&, u32& width, u32& height) override { width = height = 0; }
        void DrawText(g2dFont, const envString&, const plD3dRect&, u32) override {}
    };
    static plTestTimeSource time;
    static plFakeD3d d3d;
    static NoText text;
    plInstallServices({.time = &time, .d3d = &d3d});
    g2dSetTextService(&text);
    g2dInitialize();
    g3dTextureManager::Initialize();
    g2dScreen::InitWindowed(64, 48, 0, 0);
    g3dSelectTextureFormats();
    g3dFragmentManager::Initialize();
    // The screen goes before the statics it registered with.
    std::atexit([] {
        g2dScreen::Deinitialize();
        g2dShutdown();
    });
}
