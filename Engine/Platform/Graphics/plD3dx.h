#pragma once
#include "Engine/Platform/Graphics/plD3dTypes.h"

class plD3dSurface;
class plD3dTexture;

// Our own surface utilities in place of the 3D interface's helper library: format conversion with
// resampling, and mip-level building. Both work on surfaces that keep their pixels (image surfaces and
// texture levels) and compute in integers, so their results are the same on every machine.

namespace plD3dxFilter {
constexpr u32 None = 1;
constexpr u32 Point = 2;
constexpr u32 Linear = 3;
constexpr u32 Triangle = 4;
constexpr u32 Box = 5;
constexpr u32 Default = 0xFFFFFFFF;
} // namespace plD3dxFilter

// Copies the source rectangle into the destination rectangle (whole surfaces when null), converting the
// format. Point takes the texel under each target texel's centre; the other filters give each target
// texel the average of the source texels beneath it, weighted by the area they share, rounded to the
// nearest. None needs equal sizes. A source texel of the colour key (0xAARRGGBB; 0 for none) becomes
// transparent black.
plD3dResult plD3dxLoadSurfaceFromSurface(plD3dSurface* target, const plD3dRect* targetRect,
                                         plD3dSurface* source, const plD3dRect* sourceRect, u32 filter,
                                         u32 colourKey);
// Makes every level after the source level from the one before it: with Point the texel under the
// centre, otherwise (Box, Default, Triangle) the area average, which is the 2 x 2 box of a level twice
// the size.
plD3dResult plD3dxFilterTexture(plD3dTexture* texture, u32 sourceLevel, u32 filter);
