#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dPixelFormat.h"

#include <array>
#include <vector>

class g3dTexture;
class g3dPlainTexture;
class g3dMipTexture;
class g3dRenderTargetTexture;
class g3dUVATexture;

// A text colour: red, green, blue.
using g3dTextColour = std::array<u8, 3>;

// The one maker and releaser of textures. It owns every texture it returns until ReleaseTexture,
// remembers how each was made, and after a device reset makes each one again in place (file textures
// from their files, text textures with the text last drawn), so texture pointers stay valid.
namespace g3dTextureManager {

// Registers the reset handler; the package start-up calls it.
void Initialize();

// From a BMP or PNG file (g3dUnknownImageFileTypeX for others, the file system's exceptions for a
// missing file), in the 16-bit formats; see g3dLoadPlainTextureBMP for the shifts. Two loads of a
// file are two textures.
g3dPlainTexture* LoadPlainTexture(const fsLocator& file, i32 shiftX, i32 shiftY);
g3dMipTexture* LoadMipTexture(const fsLocator& file, i32 shiftX, i32 shiftY);
// A ".tuv" flip-book with its pages (files beside it); chInvalidChunkX for a damaged file, the
// pages' exceptions for a page that cannot be loaded, nothing kept in either case.
g3dUVATexture* LoadUVATexture(const fsLocator& file, i32 shiftX, i32 shiftY);
g3dRenderTargetTexture* CreateRenderTarget(i32 width, i32 height, const g2dPixelFormat& format);

// A4R4G4B4 textures with text: run i is strings[i] in fonts[i] from column xs[i] of the top row
// (a line feed starts a line one "gt" height lower), coloured colours[i] from column xs[i] on. The four
// lists must be as long as each other and not empty; otherwise a warning, and the texture is clear.
g3dPlainTexture* CreateTextTextureRuns(const std::vector<g2dFont>& fonts,
                                       const std::vector<envString>& strings, const std::vector<i32>& xs,
                                       const std::vector<g3dTextColour>& colours, i32 width, i32 height);
g3dPlainTexture* CreateTextTextureSingle(g2dFont font, const envString& text, const g3dTextColour& colour,
                                         i32 width, i32 height);
// New text in a text texture.
void DrawTextRuns(g3dPlainTexture* texture, const std::vector<g2dFont>& fonts,
                  const std::vector<envString>& strings, const std::vector<i32>& xs,
                  const std::vector<g3dTextColour>& colours);
void DrawTextSingle(g3dPlainTexture* texture, g2dFont font, const envString& text,
                    const g3dTextColour& colour);

// Deletes the texture (a flip-book with its pages); a later reset leaves it alone.
void ReleaseTexture(g3dTexture* texture);
// The device's estimate, read once.
u32 GetAvailableTextureMemory();

} // namespace g3dTextureManager

// Textures by name, for loaders that share them (the game's texture cache).
class g3dTextureLoader {
  public:
    virtual ~g3dTextureLoader() = default;
    virtual g3dTexture* GetTexture(const envString& name) = 0;
    virtual void ReleaseTexture(g3dTexture* texture) = 0;
};
