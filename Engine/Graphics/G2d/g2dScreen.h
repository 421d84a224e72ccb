#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"
#include "Engine/Graphics/G2d/g2dTextService.h"

#include <string>

class g2dImage;

// The display: the one device, windowed or full screen, the end of every frame (frame rate, debug
// lines, present with loss recovery), gamma and a few 2D calls. Colours are red, green, blue bytes.
namespace g2dScreen {

// The package's start (display modes, frame-rate state, debug lines) and stop (also every reset
// handler). Startup throws g2dScreenInitX when there is no 3D at all.
void Startup();
void Shutdown();

// Choices from the preferences, taken by the next device creation.
void SetVerticalSync(u8 on);
void SetTripleBuffering(u8 on);
// Both throw g2dScreenInitX when no device can be made.
void InitWindowed(i32 width, i32 height, i32 x, i32 y);
// Depth 16 or 32 bits.
void InitFullScreen(i32 width, i32 height, i32 depth);
void Deinitialize();

bool HasDisplayMode(u32 width, u32 height, u32 bitsPerPixel);
bool IsWindowed();
void GetSize(i32& width, i32& height);
// The back buffer's layout; all zero before a device exists.
const g2dPixelFormat* GetPixelFormat();

// The gamma ramp of the device; without a device nothing happens, so set it after creating one.
void SetGamma(f32 brightness);
void SetShowFps(bool show);
void ResetFpsAverage();
// Text for a debug line; null removes it. The lines show, with the frame rate, while show-fps is on
// and the backquote key has toggled them on.
void SetDebugLine(i32 slot, const char* text);
// "" when the slot holds no line or the screen has not started.
std::string GetDebugLine(i32 slot);
// The frame rate's step, the debug lines, then present; the device's answer.
plD3dResult EndFrame();

void Clear(const u8 rgb[3]);
// The font the screen draws with when given none (its debug lines' font); none without a device.
g2dFont GetDefaultFont();
void DrawText(i32 x, i32 y, g2dFont font, const envString& text, const u8 rgb[3]);
void DrawImage(i32 x, i32 y, const g2dImage& image);
// The image's rectangle (right and bottom exclusive) at x, y, clipped to the image and the screen.
void DrawImageRect(i32 x, i32 y, i32 left, i32 top, i32 right, i32 bottom, const g2dImage& image);

} // namespace g2dScreen
