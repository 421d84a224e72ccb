#include "Source/TrackGeom/coWorldResources.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfPakSearcher.h"

namespace {

coTextureCache g_defaultCache;
coModelHolderLoader g_defaultLoader;
coTextureCache* g_cache = &g_defaultCache;
coModelHolderLoader* g_loader = &g_defaultLoader;

void RequireFile(const fsLocator& locator) {
    if (!gfFileExists(locator))
        throw fsFileDoesntExistX(locator);
}

} // namespace

g3dTexture* coTextureCache::Acquire(const fsLocator& locator) {
    RequireFile(locator);
    return nullptr;
}

std::unique_ptr<coModelHolder> coModelHolderLoader::Load(const fsLocator& model, const fsLocator&, bool) {
    RequireFile(model);
    return std::make_unique<coModelHolder>();
}

g3dTexture* coAcquireTexture(const fsLocator& locator) {
    return g_cache->Acquire(locator);
}

void coReleaseTexture(g3dTexture* texture) {
    g_cache->Release(texture);
}

std::unique_ptr<coModelHolder> coLoadModelHolder(const fsLocator& model, const fsLocator& textureFolder,
                                                 bool buildTree) {
    return g_loader->Load(model, textureFolder, buildTree);
}

void coSetTextureCache(coTextureCache* cache) {
    g_cache = cache ? cache : &g_defaultCache;
}

void coSetModelHolderLoader(coModelHolderLoader* loader) {
    g_loader = loader ? loader : &g_defaultLoader;
}
