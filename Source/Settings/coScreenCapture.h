#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Platform/Graphics/plD3dTypes.h"

#include <functional>

class plD3dDevice;
class plD3dSurface;

// Where a bitmap's bytes go: a file stream, or the raw bytes of a chunk writer.
using coBmpTarget = std::function<void(const u8* bytes, u32 count)>;

// The header and the pixel body of an uncompressed 24-bit bitmap of the surface's area (the rectangle,
// clipped to the surface, or the whole surface), reduced by box averaging over factor x factor blocks when
// factor >= 2. Rows go bottom-up, padded to 4 bytes. 16-bit pixels are read through their format, 24 and
// 32-bit ones as blue, green, red bytes; other depths, and a surface that cannot be locked, write black.
void coWriteBmpHeader(const coBmpTarget& target, const plD3dSurface& surface, int factor,
                      const plD3dRect* rect);
void coWriteBmpPixels(const coBmpTarget& target, plD3dSurface& surface, int factor, const plD3dRect* rect);

// Writes the frame shown last as a bitmap to file, reduced by factor; the old file stays until the new one
// is whole. Device failures are reported and the grab goes on with what it has.
void coGrabScreenToBmp(plD3dDevice& device, const fsLocator& file, int factor);

// The screenshot key: the next "grab%04d.bmp" in the saves folder whose number is not taken, at full size.
// Returns the file written.
fsLocator coGrabScreenshot(plD3dDevice& device);
// One ride movie frame, the next free "mov%05d.bmp" in the program folder, or in the saves folder when the
// program folder cannot be written. Returns the file written.
fsLocator coGrabRideFrame(plD3dDevice& device, int factor);

// The coaster thumbnail of the scene drawn for it in the back buffer: a 160 x 120 bitmap of the area below
// (smaller on a screen under 160 x 120), for the saved coaster's thumbnail chunk.
void coWriteThumbnailBmp(const coBmpTarget& target, plD3dDevice& device);

// What the world says of a thumbnail camera position: the terrain's height at x, z (false where there is
// none), whether a box touches a placed prop, and whether the world's collision test rejects the point.
struct coThumbnailWorld {
    std::function<bool(f32 x, f32 z, f32& height)> terrainHeight;
    std::function<bool(const maBoundingBox& box)> touchesProp;
    std::function<bool(const maVector3d& position)> rejects;
};

// Where the thumbnail camera stands, looking at the centre of the coaster's box (given in target): one of
// four candidates around the box, raised 10 above the terrain, away from props and accepted by the
// world, picked by the program's random sequence; the first when none is left. An empty box looks at the
// origin from (80, 80, 80).
maVector3d coChooseThumbnailCamera(const maBoundingBox& box, const coThumbnailWorld& world,
                                   maVector3d& target);

// The area of a screen of that size the coaster thumbnail reduces: the top-left 160 s x 120 s pixels with
// s = min(width / 160, height / 120), at least 1, clipped to the screen; s goes to factor.
plD3dRect coThumbnailArea(u32 width, u32 height, int& factor);
