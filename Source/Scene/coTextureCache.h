#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"

#include <map>

class g3dTexture;

// The world's textures, one per file, shared by reference count. Mip levels are dropped when the card's
// free texture memory is low, environment textures keeping theirs longer; while run-time flag 1 is set,
// every request is served the one wood texture.
class coTextureCache {
  public:
    coTextureCache() = default;
    coTextureCache(const coTextureCache&) = delete;
    coTextureCache& operator=(const coTextureCache&) = delete;
    // Entries left are warned about, not released: the renderer has stopped by then.
    virtual ~coTextureCache();

    // One more reference to the file's texture, loaded on first use; a file that cannot be loaded throws
    // the texture manager's exception and enters nothing.
    virtual g3dTexture* Acquire(const fsLocator& locator);
    // One reference less; at none the texture is released. A texture not in the cache is ignored.
    virtual void Release(g3dTexture* texture);

    // The references held on the texture, 0 when it is not in the cache.
    int GetCount(const g3dTexture* texture) const;
    size_t GetEntryCount() const { return m_entries.size(); }

  private:
    struct Entry {
        g3dTexture* texture = nullptr;
        int count = 0;
    };
    // Root first (the locator's own order ignores it): one path under two roots names two files.
    struct RootFirst {
        bool operator()(const fsLocator& a, const fsLocator& b) const {
            return a.GetRoot() != b.GetRoot() ? a.GetRoot() < b.GetRoot() : a < b;
        }
    };

    g3dTexture* AcquireFile(const fsLocator& locator, bool allLevels);

    std::map<fsLocator, Entry, RootFirst> m_entries;
};

// The installed cache: the world's own unless a stand-in is installed.
g3dTexture* coAcquireTexture(const fsLocator& locator);
void coReleaseTexture(g3dTexture* texture);
coTextureCache& coGetTextureCache();
// Not owned; null restores the world's own. A seam for tests: the game keeps the world's own.
void coSetTextureCache(coTextureCache* cache);

// Levels to drop from a file's texture at this much free texture memory.
i32 coMipLevelsToDrop(u32 freeBytes, const fsLocator& locator);

// Textures a model file names, looked up in one folder: a missing ".bmp" falls back to the ".png" of
// that name, a missing ".png" to the ".tuv".
class coTextureLoader : public g3dTextureLoader {
  public:
    explicit coTextureLoader(const fsLocator& folder) : m_folder(folder) {}
    // A name that is not one plain file name ('/', '\', ".", "..") is a missing file: fsFileDoesntExistX.
    g3dTexture* GetTexture(const envString& name) override;
    void ReleaseTexture(g3dTexture* texture) override { coReleaseTexture(texture); }

  private:
    fsLocator InFolder(const envString& name) const;

    fsLocator m_folder;
};
