#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Geo/geoKDTree.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/May/mayModelFile.h"

#include <memory>
#include <vector>

class g3dFragment;
class g3dMaterial;
class g3dTexture;
class g3dTransformTreeNode;
class scJoint;

// The world's model loads: each reads with a coTextureLoader on the texture folder and appends what it
// made to the caller's lists. A reader that throws leaves the lists and the tree as they were: what it
// made by then is destroyed and its textures given back before the exception passes on.
void coLoadStaticModel(const fsLocator& file, const fsLocator& textureFolder, mayModelParts& parts,
                       geoKDTree* tree);
// The first level of the file becomes a new child of parent.
void coLoadHierarchyModel(const fsLocator& file, const fsLocator& textureFolder, g3dTransformTreeNode& parent,
                          mayModelParts& parts, geoKDTree* tree);
// The skin's mesh and skeleton replace mesh and root only when the read succeeds.
void coLoadSingleSkin(const fsLocator& file, const fsLocator& textureFolder, mayModelParts& parts,
                      mayMesh& mesh, std::unique_ptr<scJoint>& root);
// An animation for a loaded hierarchy: the tree is replaced and the tracks appended when it succeeds.
void coLoadAnimation(const fsLocator& file, mayAnimationTree& tree, mayAnimationTracks& tracks);

// One loaded model file and everything its load made, shown, recoloured and released as a unit: the
// models are destroyed, the materials deleted and the textures given back to the cache with it.
class coModelHolder {
  public:
    coModelHolder() = default;
    // Loads the static model file, with its triangles in the holder's tree when asked for.
    coModelHolder(const fsLocator& file, const fsLocator& textureFolder, bool buildTree);
    coModelHolder(const coModelHolder&) = delete;
    coModelHolder& operator=(const coModelHolder&) = delete;
    virtual ~coModelHolder();

    // In load order. Virtual so that tests of the holder's users can stand in for a load.
    virtual int GetMaterialCount() const { return static_cast<int>(m_materials.size()); }
    virtual g3dMaterial* GetMaterial(int index) const { return m_materials[size_t(index)].get(); }
    // Sets the byte kept with every model's entry (1 after the load), which the owner reads back.
    virtual void SetPartFlag(bool on);

    virtual int GetModelCount() const { return static_cast<int>(m_models.size()); }
    virtual g3dFragment* GetModel(int index) const { return m_models[size_t(index)]; }
    u8 GetPartFlag(int index) const { return m_partFlags[size_t(index)]; }
    // The triangles of every model, built when the load asked for it; empty otherwise.
    const geoKDTree& GetTree() const { return m_tree; }

  private:
    std::vector<g3dFragment*> m_models;
    std::vector<u8> m_partFlags;
    std::vector<std::unique_ptr<g3dMaterial>> m_materials;
    std::vector<g3dTexture*> m_textures;
    geoKDTree m_tree;
};

// How holders are loaded: from their files unless a stand-in is installed.
class coModelHolderLoader {
  public:
    virtual ~coModelHolderLoader() = default;
    virtual std::unique_ptr<coModelHolder> Load(const fsLocator& file, const fsLocator& textureFolder,
                                                bool buildTree) {
        return std::make_unique<coModelHolder>(file, textureFolder, buildTree);
    }
};

std::unique_ptr<coModelHolder> coLoadModelHolder(const fsLocator& file, const fsLocator& textureFolder,
                                                 bool buildTree);
// Not owned; null restores loading from the files. A seam for tests: the game loads from the files.
void coSetModelHolderLoader(coModelHolderLoader* loader);
const coModelHolderLoader& coGetModelHolderLoader();
