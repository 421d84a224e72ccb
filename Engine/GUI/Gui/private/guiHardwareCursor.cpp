#include "Engine/GUI/Gui/private/guiHardwareCursor.h"

#include "Engine/App/App/appWindow.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"

#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

namespace {

struct CursorPixels {
    u32 width = 0;
    u32 height = 0;
    std::vector<u32> argb; // rows top first
};

class ResetHandlar;

ResetHandlar* g_resetHandler = nullptr;
std::optional<CursorPixels> g_image;
i32 g_hotSpotX = 0;
i32 g_hotSpotY = 0;
bool g_shown = true;

// Hands the copy to the device through a system-memory surface made for the call.
void Apply() {
    if (!g_image || !g_pdevice)
        return;
    plD3dSurface* surface = nullptr;
    plD3dResult result =
        g_pdevice->CreateImageSurface(g_image->width, g_image->height, plD3dFormat::A8R8G8B8, &surface);
    if (!plD3dFailed(result)) {
        for (u32 y = 0; y < g_image->height; ++y)
            std::memcpy(surface->Pixels() + y * surface->Pitch(), &g_image->argb[size_t{y} * g_image->width],
                        g_image->width * 4);
        result = g_pdevice->SetCursorProperties(static_cast<u32>(g_hotSpotX), static_cast<u32>(g_hotSpotY),
                                                surface);
        surface->Release();
    }
    if (plD3dFailed(result))
        DBG_WARNING("The pointer image cannot be set: %s", g2dDXErrorName(result));
}

// A reset device has lost its cursor. The list owns the handler; when the screen frees the list, the
// next set-up registers a new one.
class ResetHandlar : public g2dD3DResetHandler {
  public:
    ResetHandlar() { g_resetHandler = this; }
    ~ResetHandlar() override { g_resetHandler = nullptr; }
    void OnDeviceLost() override {}
    void OnDeviceReset() override { Apply(); }
};

// SDL has one pointer, so there is no system cursor to hide: the hook only shows the device's again.
void OnSetCursor() {
    if (g_shown && g_pdevice)
        g_pdevice->ShowCursor(true);
}

// The image's texels in its own layout, unpacked; layouts without alpha are opaque.
CursorPixels CopyPixels(g2dImage& image) {
    CursorPixels copy{static_cast<u32>(image.GetWidth()), static_cast<u32>(image.GetHeight()), {}};
    const g2dPixelFormat& format = image.GetPixelFormat();
    const u32 bytes = format.bitsPerPixel / 8;
    const u8* texels = image.Lock();
    if (!texels || bytes == 0 || bytes > 4)
        return {};
    copy.argb.reserve(size_t{copy.width} * copy.height);
    for (u32 y = 0; y < copy.height; ++y) {
        const u8* row = texels + static_cast<size_t>(y) * static_cast<size_t>(image.GetPitch());
        for (u32 x = 0; x < copy.width; ++x) {
            u32 texel = 0;
            std::memcpy(&texel, row + x * bytes, bytes);
            const auto rgba = format.Unpack(texel);
            const u32 alpha = format.alphaBits ? rgba[3] : 0xFF;
            copy.argb.push_back(alpha << 24 | u32{rgba[0]} << 16 | u32{rgba[1]} << 8 | rgba[2]);
        }
    }
    image.Unlock();
    return copy;
}

} // namespace

namespace HardwareCursor {

void SetUp() {
    if (!g_resetHandler)
        g2dRegisterResetHandler(std::make_unique<ResetHandlar>());
    // A new pointer starts shown, as the device's cursor does.
    g_shown = true;
    appSetCursorHook(OnSetCursor);
}

void ShutDown() {
    appSetCursorHook(nullptr);
    g_image.reset();
}

bool GetPosition(maVector2d& position) {
    if (!g_pdevice)
        return false;
    i32 x = 0;
    i32 y = 0;
    g_pdevice->GetCursorPosition(x, y);
    position = guiScreenToGui({static_cast<f32>(x), static_cast<f32>(y)});
    return true;
}

void SetPosition(const maVector2d& position) {
    if (!g_pdevice)
        return;
    const maVector2d pixels = guiGuiToScreen(position);
    g_pdevice->SetCursorPosition(static_cast<i32>(std::lround(pixels.x)),
                                 static_cast<i32>(std::lround(pixels.y)), 0);
}

void SetHotSpot(const maVector2d& hotSpot) {
    g_hotSpotX = static_cast<i32>(hotSpot.x);
    g_hotSpotY = static_cast<i32>(hotSpot.y);
    Apply();
}

void Show(bool show) {
    g_shown = show;
    if (g_pdevice)
        g_pdevice->ShowCursor(show);
}

void LoadCursorImage(const fsLocator& file, g2dImage& image) {
    g2dPixelFormat argb;
    g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
    if (g2dGetImageFileType(file) == g2dImageFileBMP)
        g2dLoadBMPImage(image, file, argb);
    else
        g2dLoadPNGImage(image, file, argb, argb);
    image.SetLocator(file);
}

void SetCursorImage(const g2dImage& image) {
    if (!g_pdevice)
        return;
    // Lock is not const, but reading the texels leaves the image as it was.
    CursorPixels copy = CopyPixels(const_cast<g2dImage&>(image));
    if (copy.argb.empty()) {
        DBG_WARNING("The pointer image has no pixels to show");
        return;
    }
    g_image = std::move(copy);
    Apply();
}

} // namespace HardwareCursor
