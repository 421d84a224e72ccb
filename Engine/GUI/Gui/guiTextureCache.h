#pragma once
#include "Engine/App/Fs/fsLocator.h"

class g3dTexture;

// Where the cache's textures come from and go back to: the texture manager, unless replaced.
class guiTextureLoader {
  public:
    virtual ~guiTextureLoader() = default;
    virtual g3dTexture* LoadPlainTexture(const fsLocator& file) = 0;
    virtual g3dTexture* LoadUVATexture(const fsLocator& file) = 0;
    virtual void ReleaseTexture(g3dTexture* texture) = 0;
};

// Image textures shared between widgets: each file is loaded once and counted by its users, and the
// last release gives the texture back. Files are keyed by their components only, so one path under
// two roots is one entry. Textures still held at exit are left to the texture manager.
class guiTextureCache {
  public:
    // A name containing ".tuv" (exactly so) is a UV-animated texture, any other a plain image. A file
    // that cannot be loaded throws the loader's exception and leaves the cache as it was.
    static g3dTexture* Acquire(const fsLocator& file);
    // A texture the cache never handed out goes back to the loader at once.
    static void Release(g3dTexture* texture);
    // The file of a cached texture; the out value is untouched for any other (or null).
    static void GetFile(const g3dTexture* texture, fsLocator& file);

    // Not owned; null restores the texture manager.
    static void SetLoader(guiTextureLoader* loader);
};
