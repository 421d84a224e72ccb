#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Graphics/G2d/g2dFont.h"

class plD3dxFont;

// The platform side of fonts: the rasterizer's fonts, and per font the device's font object that
// draws it, released when the device is lost and made again after the reset.
namespace g2dFontUtilPAC {

// A new font of the face (matched to the installed fonts) whose cell is height pixels high;
// g2dUnknownFontX when there is none.
g2dFont CreateFont(const envString& face, i32 height);
// Deletes the font and, with its last user, its device object.
void DeleteFont(g2dFont font);
void MeasureText(g2dFont font, const envString& text, u32& width, u32& height);
// The font's device object, made now when the device came after the font; null when there is none.
plD3dxFont* GetD3DXFont(g2dFont font);
// Releases every font's device object (device loss, and before the device itself goes).
void ReleaseDeviceFonts();
// Registers g2dFontReloader with the reset handlers.
void RegisterResetHandler();

} // namespace g2dFontUtilPAC
