#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>

class g3dFragment;
class g3dMaterial;
class g3dTexture;

// The world's shared textures and model files as the track geometry asks for them. The park world
// installs its texture cache and model loader; until then a present file gives no texture and an empty
// model holder, and a missing one throws fsFileDoesntExistX, as the real ones do.

// The reference-counted texture cache.
class coTextureCache {
  public:
    virtual ~coTextureCache() = default;
    // One more reference to the file's texture, loaded on first use; null when nothing is drawn. A
    // missing file throws fsFileDoesntExistX, a pak that lacks it gfFileNotInPakX.
    virtual g3dTexture* Acquire(const fsLocator& locator);
    // Gives one reference back.
    virtual void Release(g3dTexture*) {}
};

// A loaded model file: its fragments, its materials, and a flag on its parts that the holder's owner decides
// on.
class coModelHolder {
  public:
    virtual ~coModelHolder() = default;
    virtual int GetModelCount() const { return 0; }
    // 0 <= index < GetModelCount (); the holder keeps it.
    virtual g3dFragment* GetModel(int /*index*/) const { return nullptr; }
    virtual int GetMaterialCount() const { return 0; }
    // 0 <= index < GetMaterialCount (); the holder keeps it.
    virtual g3dMaterial* GetMaterial(int /*index*/) const { return nullptr; }
    virtual void SetPartFlag(bool) {}
};

class coModelHolderLoader {
  public:
    virtual ~coModelHolderLoader() = default;
    // The model file with its textures from the folder, and its triangle tree when asked for. A missing
    // file throws fsFileDoesntExistX.
    virtual std::unique_ptr<coModelHolder> Load(const fsLocator& model, const fsLocator& textureFolder,
                                                bool buildTree);
};

g3dTexture* coAcquireTexture(const fsLocator& locator);
void coReleaseTexture(g3dTexture* texture);
std::unique_ptr<coModelHolder> coLoadModelHolder(const fsLocator& model, const fsLocator& textureFolder,
                                                 bool buildTree);

// Not owned; null restores the stand-ins above.
void coSetTextureCache(coTextureCache* cache);
void coSetModelHolderLoader(coModelHolderLoader* loader);
