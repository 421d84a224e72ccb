#pragma once
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"

// A windowed screen of that size on the installed device, its texture formats, the texture and fragment
// managers and the renderer's default lists with their states: what the GUI and the world draw on.
inline void g3dStartTestScreen(i32 width, i32 height) {
    g2dScreen::InitWindowed(width, height, 0, 0);
    g3dSelectTextureFormats();
    g3dTextureManager::Initialize();
    g3dFragmentManager::Initialize();
    g3dRenderer::Initialize();
    g3dRenderer::InitStates();
}

// Undoes g3dStartTestScreen and drops the fonts the run made on the device.
inline void g3dStopTestScreen() {
    g3dRenderer::Shutdown();
    g2dScreen::Deinitialize();
    g2dFont::ReleaseAll();
}
