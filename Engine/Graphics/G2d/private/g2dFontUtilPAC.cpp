#include "Engine/Graphics/G2d/private/g2dFontUtilPAC.h"

#include "Engine/Core/Env/envUtf.h"
#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plD3dxFont.h"
#include "Engine/Platform/Graphics/plFontRasterizer.h"
#include "Engine/Platform/plServices.h"

#include <map>

namespace {

struct DeviceFont {
    plD3dxFont* font = nullptr;
    i32 count = 0;
};

std::map<u32, DeviceFont> g_deviceFonts;

std::u16string_view Units(const envString& text) {
    return {text.GetData(), text.GetLength()};
}

plD3dxFont* MakeDeviceFont(g2dFont font) {
    if (!g_pdevice)
        return nullptr;
    plD3dxFont* created = nullptr;
    const plD3dResult result = plD3dxCreateFont(g_pdevice, font.GetHandle(), &created);
    if (plD3dFailed(result))
        g2dReportDXError(result);
    return created;
}

// Device objects go with the device and come back after its reset; the fonts stay.
class g2dFontReloader : public g2dD3DResetHandler {
  public:
    void OnDeviceLost() override { g2dFontUtilPAC::ReleaseDeviceFonts(); }
    void OnDeviceReset() override {
        for (auto& [handle, entry] : g_deviceFonts)
            if (!entry.font)
                entry.font = MakeDeviceFont(g2dFont(handle));
    }
};

} // namespace

namespace g2dFontUtilPAC {

g2dFont CreateFont(const envString& face, i32 height) {
    const g2dFont font(plGetFontRasterizer().CreateFont(envUtf16ToUtf8(std::u16string(Units(face))), height));
    if (!font)
        throw g2dUnknownFontX(face);
    DeviceFont& entry = g_deviceFonts[font.GetHandle()];
    if (entry.count++ == 0)
        entry.font = MakeDeviceFont(font);
    return font;
}

void DeleteFont(g2dFont font) {
    const auto found = g_deviceFonts.find(font.GetHandle());
    if (found != g_deviceFonts.end() && found->second.count-- == 1) {
        if (found->second.font)
            found->second.font->Release();
        g_deviceFonts.erase(found);
    }
    plGetFontRasterizer().DeleteFont(font.GetHandle());
}

void MeasureText(g2dFont font, const envString& text, u32& width, u32& height) {
    if (!plGetFontRasterizer().MeasureText(font.GetHandle(), Units(text), width, height))
        width = height = 0;
}

plD3dxFont* GetD3DXFont(g2dFont font) {
    const auto found = g_deviceFonts.find(font.GetHandle());
    if (found == g_deviceFonts.end())
        return nullptr;
    if (!found->second.font)
        found->second.font = MakeDeviceFont(font);
    return found->second.font;
}

void ReleaseDeviceFonts() {
    for (auto& [handle, entry] : g_deviceFonts) {
        if (entry.font)
            entry.font->Release();
        entry.font = nullptr;
    }
}

void RegisterResetHandler() {
    g2dRegisterResetHandler(std::make_unique<g2dFontReloader>());
}

} // namespace g2dFontUtilPAC
