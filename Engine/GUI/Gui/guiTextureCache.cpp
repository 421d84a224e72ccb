#include "Engine/GUI/Gui/guiTextureCache.h"

#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"

#include <map>

namespace {

class ManagerLoader : public guiTextureLoader {
  public:
    g3dTexture* LoadPlainTexture(const fsLocator& file) override {
        return g3dTextureManager::LoadPlainTexture(file, 0, 0);
    }
    g3dTexture* LoadUVATexture(const fsLocator& file) override {
        return g3dTextureManager::LoadUVATexture(file, 0, 0);
    }
    void ReleaseTexture(g3dTexture* texture) override { g3dTextureManager::ReleaseTexture(texture); }
};

struct Entry {
    g3dTexture* texture = nullptr;
    i32 uses = 0;
};

ManagerLoader g_managerLoader;
guiTextureLoader* g_loader = &g_managerLoader;
std::map<fsLocator, Entry> g_entries;

bool IsUVAnimated(const fsLocator& file) {
    return file.GetComponentCount() > 0 && file.GetLastComponent().Contains(envString(".tuv"));
}

std::map<fsLocator, Entry>::iterator FindTexture(const g3dTexture* texture) {
    for (auto it = g_entries.begin(); it != g_entries.end(); ++it)
        if (it->second.texture == texture)
            return it;
    return g_entries.end();
}

} // namespace

g3dTexture* guiTextureCache::Acquire(const fsLocator& file) {
    const auto found = g_entries.find(file);
    if (found != g_entries.end()) {
        ++found->second.uses;
        return found->second.texture;
    }
    g3dTexture* texture =
        IsUVAnimated(file) ? g_loader->LoadUVATexture(file) : g_loader->LoadPlainTexture(file);
    g_entries.emplace(file, Entry{texture, 1});
    return texture;
}

void guiTextureCache::Release(g3dTexture* texture) {
    if (!texture)
        return;
    const auto found = FindTexture(texture);
    if (found == g_entries.end()) {
        g_loader->ReleaseTexture(texture);
        return;
    }
    if (--found->second.uses == 0) {
        g_entries.erase(found);
        g_loader->ReleaseTexture(texture);
    }
}

void guiTextureCache::GetFile(const g3dTexture* texture, fsLocator& file) {
    if (!texture)
        return;
    const auto found = FindTexture(texture);
    if (found != g_entries.end())
        file = found->first;
}

void guiTextureCache::SetLoader(guiTextureLoader* loader) {
    g_loader = loader ? loader : &g_managerLoader;
}
