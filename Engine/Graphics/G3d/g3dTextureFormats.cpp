#include "Engine/Graphics/G3d/g3dTextureFormats.h"

#include "Engine/Graphics/G2d/g2dDXError.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dExceptions.h"

namespace {

g2dPixelFormat g_alpha16;
g2dPixelFormat g_opaque16;
g2dPixelFormat g_alphaHigh;
g2dPixelFormat g_opaqueHigh;
u32 g_maxBlendStages = 0;
u32 g_maxSimultaneousTextures = 0;

bool Accepts(plD3dFormat format) {
    const plD3dFormat display = g2dScreen::GetPixelFormat()->ToD3DFormat();
    return g_pd3d && !plD3dFailed(g_pd3d->CheckDeviceFormat(plD3dAdapterDefault, plD3dDevType::Hal, display,
                                                            0, plD3dRType::Texture, format));
}

// The first of the candidates the device accepts; Unknown for none.
plD3dFormat FirstAccepted(std::initializer_list<plD3dFormat> candidates) {
    for (plD3dFormat candidate : candidates)
        if (Accepts(candidate))
            return candidate;
    return plD3dFormat::Unknown;
}

g2dPixelFormat FormatOf(plD3dFormat d3dFormat) {
    g2dPixelFormat format;
    g2dGetPixelFormat(d3dFormat, format);
    return format;
}

} // namespace

void g3dSelectTextureFormats() {
    i32 width = 0, height = 0;
    g2dScreen::GetSize(width, height);
    if (g_pdevice) {
        const plD3dViewport viewport{0, 0, static_cast<u32>(width), static_cast<u32>(height), 0.0f, 1.0f};
        const plD3dResult result = g_pdevice->SetViewport(&viewport);
        if (plD3dFailed(result))
            g2dReportDXError(result);
    }
    if (!Accepts(plD3dFormat::A4R4G4B4))
        throw g3dNo3DHardwareX();
    const plD3dFormat opaque16 = FirstAccepted({plD3dFormat::R5G6B5, plD3dFormat::X1R5G5B5});
    if (opaque16 == plD3dFormat::Unknown)
        throw g3dNo3DHardwareX();
    const plD3dFormat alphaHigh = FirstAccepted({plD3dFormat::A8R8G8B8, plD3dFormat::A4R4G4B4});
    const plD3dFormat opaqueHigh = FirstAccepted({plD3dFormat::X8R8G8B8, opaque16});
    g_alpha16 = FormatOf(plD3dFormat::A4R4G4B4);
    g_opaque16 = FormatOf(opaque16);
    g_alphaHigh = FormatOf(alphaHigh);
    g_opaqueHigh = FormatOf(opaqueHigh);
    const plD3dCaps& caps = g2dScreenPAC::GetCaps();
    g_maxBlendStages = caps.maxTextureBlendStages;
    g_maxSimultaneousTextures = caps.maxSimultaneousTextures;
}

const g2dPixelFormat* g3dGetAlpha16Format() {
    return &g_alpha16;
}
const g2dPixelFormat* g3dGetOpaque16Format() {
    return &g_opaque16;
}
const g2dPixelFormat* g3dGetAlphaHighFormat() {
    return &g_alphaHigh;
}
const g2dPixelFormat* g3dGetOpaqueHighFormat() {
    return &g_opaqueHigh;
}
u32 g3dGetMaxTextureBlendStages() {
    return g_maxBlendStages;
}
u32 g3dGetMaxSimultaneousTextures() {
    return g_maxSimultaneousTextures;
}
