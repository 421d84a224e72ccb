#pragma once
#include "Engine/Graphics/G2d/g2dNoText.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"

#include <cstdlib>

// The fake device under a small windowed screen, with the texture manager and the fragment manager
// started, for fuzz targets whose loaders make textures and fragments. Nothing draws text.
inline void fuzzStartFakeDevice() {
    static plTestTimeSource time;
    static plFakeD3d d3d;
    static g2dNoText text;
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
