#pragma once
#include "Engine/App/Fs/fsLocator.h"

class g3dPlainTexture;
class g3dMipTexture;

// Textures from image files, in the 16-bit formats (or the high-colour ones): BMPs opaque, PNGs with
// alpha in the alpha format. The size is the image's shifted right (a negative shift counts as 0),
// at least 1 and at most the device's largest texture; a smaller size is averaged down from the image,
// the image's own size copied as it is. Mip textures get the whole chain of levels, each the 2 x 2
// average of the one above. When the device refuses the texture the loading stops and the texture
// stays without one; other device failures are reported and the loading goes on. The file's own
// exceptions (missing, undecodable) pass through.
void g3dLoadPlainTextureBMP(g3dPlainTexture& texture, const fsLocator& file, bool highColour, i32 shiftX,
                            i32 shiftY);
void g3dLoadPlainTexturePNG(g3dPlainTexture& texture, const fsLocator& file, bool highColour, i32 shiftX,
                            i32 shiftY);
void g3dLoadMipTexture(g3dMipTexture& texture, const fsLocator& file, bool highColour, bool isPNG, i32 shiftX,
                       i32 shiftY);
