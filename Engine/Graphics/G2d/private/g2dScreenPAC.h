#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"
#include "Engine/Graphics/G2d/g2dTextService.h"
#include "Engine/Platform/Graphics/plD3d.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"

#include <string>
#include <vector>

class g2dImage;

// The factory and the device while the screen has them (null otherwise); every rendering package
// draws through them.
extern plD3d* g_pd3d;
extern plD3dDevice* g_pdevice;

// One display mode of the adapter, its colour depth in bits.
struct g2dDisplayMode {
    u32 width = 0;
    u32 height = 0;
    u32 bitsPerPixel = 0;
    bool operator==(const g2dDisplayMode&) const = default;
};

// The device side of the screen: creation, presentation with loss recovery, gamma and the 2D calls.
namespace g2dScreenPAC {

// Both throw g2dScreenInitX, leaving no factory or device behind, when the device cannot be made.
void CreateWindowed(i32 width, i32 height, i32 x, i32 y, g2dPixelFormat& format);
void CreateFullScreen(i32 width, i32 height, i32 depth, g2dPixelFormat& format);
// The first of the two formats of the depth (16: R5G6B5, X1R5G5B5; else X8R8G8B8, A8R8G8B8) the
// adapter shows full screen.
plD3dFormat SelectFullScreenFormat(i32 depth);
void FillPresentParameters(bool windowed, i32 width, i32 height, plD3dPresentParameters& params);
// The 16- and 32-bit modes, each once, in the adapter's order; g2dScreenInitX without a factory.
std::vector<g2dDisplayMode> EnumerateDisplayModes();
// Presents the frame, or after a loss resets the device once it can be, with the handlers' help.
plD3dResult Present();
void SetGamma(f32 brightness);
// Releases the default font, the device and the factory; a reference still held is warned about.
void Deinitialize();

void SetVerticalSync(u8 on);
void SetTripleBuffering(u8 on);
const plD3dCaps& GetCaps();

g2dFont GetDefaultFont();
void DrawDebugText(const std::string& text, i32 x, i32 y);
void Clear(const u8 rgb[3]);
void DrawText(i32 x, i32 y, g2dFont font, const envString& text, const u8 rgb[3]);
// Copies the image's rectangle to (x, y) of the back buffer, clipped to the image and the screen.
void DrawImageRect(i32 x, i32 y, i32 left, i32 top, i32 right, i32 bottom, const g2dImage& image);

} // namespace g2dScreenPAC
