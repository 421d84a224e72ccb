#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"

#include "Engine/App/App/appWindow.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dFontUtilPAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"

#include <algorithm>
#include <cmath>

plD3d* g_pd3d = nullptr;
plD3dDevice* g_pdevice = nullptr;

namespace {

i32 g_width = 0;
i32 g_height = 0;
bool g_windowed = false;
plD3dFormat g_backBufferFormat = plD3dFormat::Unknown;
plD3dCaps g_caps;
g2dFont g_defaultFont;
u8 g_verticalSync = 0;
u8 g_tripleBuffering = 0;
// The handlers have released their resources and wait for a successful reset.
bool g_handlersLost = false;

constexpr u32 kDebugTextColour = 0xFFFF3333;

void OpenFactory() {
    g_pd3d = plDirect3DCreate();
    if (!g_pd3d)
        throw g2dScreenInitX();
}

// A minimised window would leave the full-screen device or its reset without a picture to show.
void BringWindowToFront() {
    if (appWindow* window = appGetWindow())
        window->BringToFront();
}

// Nothing of a failed creation stays behind.
[[noreturn]] void FailCreation() {
    if (g_pd3d)
        g_pd3d->Release();
    g_pd3d = nullptr;
    throw g2dScreenInitX();
}

// Hardware vertex processing first, software when the adapter refuses it.
void CreateDevice(bool windowed, i32 width, i32 height, g2dPixelFormat& format) {
    plD3dPresentParameters params;
    g2dScreenPAC::FillPresentParameters(windowed, width, height, params);
    plD3dResult result = g_pd3d->CreateDevice(plD3dAdapterDefault, plD3dDevType::Hal,
                                              plD3dCreate::HardwareVertexProcessing, &params, &g_pdevice);
    if (plD3dFailed(result)) {
        DBG_WARNING("Failed CreateDevice with, D3DCREATE_HARDWARE_VERTEXPROCESSING, try again with "
                    "D3DCREATE_SOFTWARE_VERTEXPROCESSING");
        g2dScreenPAC::FillPresentParameters(windowed, width, height, params);
        result = g_pd3d->CreateDevice(plD3dAdapterDefault, plD3dDevType::Hal,
                                      plD3dCreate::SoftwareVertexProcessing, &params, &g_pdevice);
    }
    if (plD3dFailed(result)) {
        g2dReportDXError(result);
        g_pdevice = nullptr;
        FailCreation();
    }
    format = {};
    g2dGetPixelFormat(g_backBufferFormat, format);
    g_width = width;
    g_height = height;
    g_windowed = windowed;
    g_caps = {};
    g_pdevice->GetDeviceCaps(&g_caps);
    // Without a font the debug lines stay blank; the device is no worse for it.
    try {
        g_defaultFont = g2dGetTextService().GetFont("Arial", 12);
    } catch (const g2dUnknownFontX&) {
        DBG_WARNING("No font for the debug lines");
        g_defaultFont = {};
    }
}

// A second creation replaces the first device.
void ReleaseEarlierDevice() {
    if (g_pd3d || g_pdevice)
        g2dScreenPAC::Deinitialize();
}

// The colour of a pointer to red, green and blue, fully opaque.
u32 Argb(const u8 rgb[3]) {
    return 0xFF000000u | static_cast<u32>(rgb[0]) << 16 | static_cast<u32>(rgb[1]) << 8 | rgb[2];
}

void DrawTextIn(g2dFont font, const envString& text, i32 x, i32 y, u32 colour) {
    g2dTextService& service = g2dGetTextService();
    u32 width = 0, height = 0;
    service.MeasureText(font, text, width, height);
    service.DrawText(font, text, {x, y, x + static_cast<i32>(width), y + static_cast<i32>(height)}, colour);
}

// Cuts one axis of a copy to the screen: position, the source's first and one-past-last coordinates.
// False when nothing of it is left. In 64 bits, so that no coordinate a caller gives can overflow.
bool ClipToScreen(i64& position, i64& first, i64& last, i64 screenSize) {
    i64 size = last - first;
    if (position < 0) {
        if (position <= -size)
            return false;
        size += position;
        first -= position;
        position = 0;
    }
    if (position + size > screenSize) {
        if (position >= screenSize)
            return false;
        last -= position + size - screenSize;
    }
    return true;
}

} // namespace

namespace g2dScreenPAC {

void FillPresentParameters(bool windowed, i32 width, i32 height, plD3dPresentParameters& params) {
    params = {};
    params.backBufferWidth = static_cast<u32>(width);
    params.backBufferHeight = static_cast<u32>(height);
    params.backBufferFormat = g_backBufferFormat;
    params.backBufferCount = g_tripleBuffering ? 2 : 1;
    params.swapEffect = plD3dSwapEffect::Discard;
    params.windowed = windowed;
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = plD3dFormat::D16;
    // Full screen always waits for the vertical retrace, whatever the vertical-sync choice.
    params.fullScreenPresentationInterval =
        windowed ? plD3dPresentInterval::Default : plD3dPresentInterval::One;
}

void CreateWindowed(i32 width, i32 height, i32 x, i32 y, g2dPixelFormat& format) {
    ReleaseEarlierDevice();
    if (appWindow* window = appGetWindow())
        window->SetRect(x, y, width, height);
    appSetMouseScreenCoords(false);
    OpenFactory();
    plD3dDisplayMode desktop;
    const plD3dResult result = g_pd3d->GetAdapterDisplayMode(plD3dAdapterDefault, &desktop);
    if (plD3dFailed(result)) {
        g2dReportDXError(result);
        FailCreation();
    }
    g_backBufferFormat = desktop.format;
    CreateDevice(true, width, height, format);
}

void CreateFullScreen(i32 width, i32 height, i32 depth, g2dPixelFormat& format) {
    ReleaseEarlierDevice();
    appSetMouseScreenCoords(true);
    OpenFactory();
    try {
        g_backBufferFormat = SelectFullScreenFormat(depth);
    } catch (const g2dScreenInitX&) {
        FailCreation();
    }
    BringWindowToFront();
    CreateDevice(false, width, height, format);
    BringWindowToFront();
}

plD3dFormat SelectFullScreenFormat(i32 depth) {
    const plD3dFormat candidates[2] = {
        depth == 16 ? plD3dFormat::R5G6B5 : plD3dFormat::X8R8G8B8,
        depth == 16 ? plD3dFormat::X1R5G5B5 : plD3dFormat::A8R8G8B8,
    };
    plD3dResult result = plD3dErr::Ok;
    for (plD3dFormat candidate : candidates) {
        result = g_pd3d->CheckDeviceType(plD3dAdapterDefault, plD3dDevType::Hal, candidate, candidate, false);
        if (!plD3dFailed(result))
            return candidate;
    }
    g2dReportDXError(result);
    throw g2dScreenInitX();
}

std::vector<g2dDisplayMode> EnumerateDisplayModes() {
    plD3d* d3d = g_pd3d ? g_pd3d : plDirect3DCreate();
    if (!d3d)
        throw g2dScreenInitX();
    std::vector<g2dDisplayMode> modes;
    const u32 count = d3d->GetAdapterModeCount(plD3dAdapterDefault);
    for (u32 i = 0; i < count; ++i) {
        plD3dDisplayMode mode;
        if (plD3dFailed(d3d->EnumAdapterModes(plD3dAdapterDefault, i, &mode)))
            continue;
        u32 bits = 0;
        if (mode.format == plD3dFormat::A8R8G8B8 || mode.format == plD3dFormat::X8R8G8B8)
            bits = 32;
        else if (mode.format == plD3dFormat::R5G6B5 || mode.format == plD3dFormat::X1R5G5B5)
            bits = 16;
        const g2dDisplayMode entry{mode.width, mode.height, bits};
        if (bits && std::find(modes.begin(), modes.end(), entry) == modes.end())
            modes.push_back(entry);
    }
    if (d3d != g_pd3d)
        d3d->Release();
    return modes;
}

plD3dResult Present() {
    if (appIsSuspended())
        return plD3dErr::Ok;
    if (!g_pdevice)
        return plD3dErr::InvalidCall;
    const plD3dResult level = g_pdevice->TestCooperativeLevel();
    if (level == plD3dErr::DeviceLost)
        return level;
    if (level == plD3dErr::DeviceNotReset) {
        // The handlers hear of the loss once, however many resets it takes, and of the reset only
        // when one succeeded.
        if (!g_handlersLost)
            g2dBroadcastDeviceLost();
        g_handlersLost = true;
        plD3dPresentParameters params;
        FillPresentParameters(g_windowed, g_width, g_height, params);
        const plD3dResult reset = g_pdevice->Reset(&params);
        if (plD3dFailed(reset)) {
            g2dReportDXError(reset);
            return reset;
        }
        g_handlersLost = false;
        g2dBroadcastDeviceReset();
        BringWindowToFront();
    }
    return g_pdevice->Present();
}

void SetGamma(f32 brightness) {
    if (!g_pdevice)
        return;
    // A power curve: brightness 0.6 is linear, brighter settings lift the dark end.
    const f32 exponent = (1.1f - brightness) * 2.0f;
    plD3dGammaRamp ramp;
    for (int i = 0; i < 256; ++i) {
        const f32 value = std::pow(static_cast<f32>(i) / 255.0f, exponent) * 65535.0f;
        const u16 entry = value >= 65535.0f ? 65535 : value >= 0.0f ? static_cast<u16>(value) : 0;
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = entry;
    }
    g_pdevice->SetGammaRamp(plD3dSgrNoCalibration, &ramp);
}

void Deinitialize() {
    if (g_defaultFont)
        g2dGetTextService().ReleaseFont(g_defaultFont);
    g_defaultFont = {};
    // The fonts outlive the device; their device objects must not.
    g2dFontUtilPAC::ReleaseDeviceFonts();
    if (g_pdevice) {
        const u32 left = g_pdevice->Release();
        if (left != 0)
            DBG_WARNING(
                "g_pdevice didn't really release, refcount of %u, be sure all g2d, g3d, gui, and fonts "
                "have been cleaned up and released before calling g2dscreen::deinitialize",
                left);
        g_pdevice = nullptr;
    }
    if (g_pd3d) {
        const u32 left = g_pd3d->Release();
        if (left != 0)
            DBG_WARNING("g_pd3d didn't really release, refcount of %u", left);
        g_pd3d = nullptr;
    }
    g_handlersLost = false;
}

void SetVerticalSync(u8 on) {
    g_verticalSync = on;
}

void SetTripleBuffering(u8 on) {
    g_tripleBuffering = on;
}

const plD3dCaps& GetCaps() {
    return g_caps;
}

g2dFont GetDefaultFont() {
    return g_defaultFont;
}

void DrawDebugText(const std::string& text, i32 x, i32 y) {
    DrawTextIn(g_defaultFont, envString(text.c_str()), x, y, kDebugTextColour);
}

void Clear(const u8 rgb[3]) {
    if (!g_pdevice)
        return;
    const plD3dResult result = g_pdevice->Clear(0, nullptr, plD3dClear::Target, Argb(rgb), 0.0f, 0);
    if (plD3dFailed(result))
        g2dReportDXError(result);
}

void DrawText(i32 x, i32 y, g2dFont font, const envString& text, const u8 rgb[3]) {
    DrawTextIn(font, text, x, y, Argb(rgb));
}

void DrawImageRect(i32 x, i32 y, i32 left, i32 top, i32 right, i32 bottom, const g2dImage& image) {
    plD3dSurface* surface = image.GetSurface();
    if (!g_pdevice || !surface)
        return;
    // The source first keeps to the image; what it loses on the left or top moves the target with it.
    i64 atX = x, atY = y, fromLeft = left, fromTop = top;
    if (fromLeft < 0) {
        atX -= fromLeft;
        fromLeft = 0;
    }
    if (fromTop < 0) {
        atY -= fromTop;
        fromTop = 0;
    }
    i64 fromRight = std::min(right, image.GetWidth());
    i64 fromBottom = std::min(bottom, image.GetHeight());
    if (fromRight <= fromLeft || fromBottom <= fromTop || !ClipToScreen(atX, fromLeft, fromRight, g_width) ||
        !ClipToScreen(atY, fromTop, fromBottom, g_height))
        return;

    plD3dSurface* backBuffer = nullptr;
    plD3dResult result = g_pdevice->GetBackBuffer(0, plD3dBackBufferMono, &backBuffer);
    if (plD3dFailed(result)) {
        g2dReportDXError(result);
        return;
    }
    // Clipped to the image and the screen, every coordinate fits 32 bits again.
    const plD3dRect source{static_cast<i32>(fromLeft), static_cast<i32>(fromTop), static_cast<i32>(fromRight),
                           static_cast<i32>(fromBottom)};
    const plD3dPoint target{static_cast<i32>(atX), static_cast<i32>(atY)};
    result = g_pdevice->CopyRects(surface, &source, 1, backBuffer, &target);
    if (plD3dFailed(result))
        g2dReportDXError(result);
    backBuffer->Release();
}

} // namespace g2dScreenPAC
