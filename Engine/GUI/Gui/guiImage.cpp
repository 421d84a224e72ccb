#include "Engine/GUI/Gui/guiImage.h"

#include "Engine/GUI/Gui/guiTextureCache.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

void guiImage::SetImage(const fsLocator& file, i32 state) {
    g3dMaterial& material = GetStateMaterial(state);
    if (material.GetStageCount() > 0) {
        g3dTexture* old = material.GetStage(0).texture;
        material.RemoveTextureStage(0);
        guiTextureCache::Release(old);
    }
    material.AddTextureStage(guiTextureCache::Acquire(file), 0);
    // Puts the state's material on the quad when nothing was shown yet.
    if (!HasStateMaterial(GetShownState()) && GetState() != guiStateNone)
        SetState(GetState());
}

void guiImage::GetImageFile(i32 state, fsLocator& file) const {
    if (const g3dTextureStage* stage = Stage0(state))
        guiTextureCache::GetFile(stage->texture, file);
}
