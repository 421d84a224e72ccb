#pragma once
#include "Engine/Graphics/G2d/g2dPixelFormat.h"

// The four texture formats, chosen once per device by what it accepts as textures:
//   alpha16 A4R4G4B4 (required); opaque16 R5G6B5, else X1R5G5B5 (one required);
//   alphaHigh A8R8G8B8, else A4R4G4B4; opaqueHigh X8R8G8B8, else opaque16.
// The selection also sets the viewport to the whole screen and keeps the device's texture stage
// counts and whether it transforms and lights in hardware. g3dNo3DHardwareX when a required format is
// refused; call it once the screen's device exists.
void g3dSelectTextureFormats();

// All zero until the selection.
const g2dPixelFormat* g3dGetAlpha16Format();
const g2dPixelFormat* g3dGetOpaque16Format();
const g2dPixelFormat* g3dGetAlphaHighFormat();
const g2dPixelFormat* g3dGetOpaqueHighFormat();
u32 g3dGetMaxTextureBlendStages();
u32 g3dGetMaxSimultaneousTextures();
