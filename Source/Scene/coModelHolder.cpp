#include "Source/Scene/coModelHolder.h"

#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/May/mayTriangleSink.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coSeam.h"

namespace {

coModelHolderLoader g_fromFiles;
constinit coSeam<coModelHolderLoader> g_loader(g_fromFiles);

// Triangles held back until the read has succeeded, so that a failed read adds none to the tree.
class PendingTriangles : public mayTriangleSink {
  public:
    void Add(g3dFragment*, const maVector3d* positions, u32 vertexCount, const u16* indices,
             u32 indexCount) override {
        m_sets.push_back({{positions, positions + vertexCount}, {indices, indices + indexCount}});
    }
    void MoveTo(geoKDTree* tree) const {
        if (!tree)
            return;
        for (const Set& set : m_sets)
            tree->AddTriangles(set.positions.data(), static_cast<u32>(set.positions.size()),
                               set.indices.data(), static_cast<u32>(set.indices.size()));
    }

  private:
    struct Set {
        std::vector<maVector3d> positions;
        std::vector<u16> indices;
    };
    std::vector<Set> m_sets;
};

void Discard(mayModelParts& parts) {
    for (g3dFragment* fragment : parts.fragments)
        g3dFragmentManager::DestroyFragment(fragment);
    for (g3dTexture* texture : parts.textures)
        coReleaseTexture(texture);
    parts = {};
}

void Append(mayModelParts& from, mayModelParts& to) {
    to.fragments.insert(to.fragments.end(), from.fragments.begin(), from.fragments.end());
    to.textures.insert(to.textures.end(), from.textures.begin(), from.textures.end());
    for (mayMaterialRecord& record : from.materials)
        to.materials.push_back(std::move(record));
    from = {};
}

// Runs a reader into fresh lists: on success they join the caller's, on failure they are undone.
template <class Read> void LoadInto(mayModelParts& parts, geoKDTree* tree, Read read) {
    mayModelParts made;
    PendingTriangles triangles;
    try {
        read(made, tree ? &triangles : nullptr);
    } catch (...) {
        Discard(made);
        throw;
    }
    triangles.MoveTo(tree);
    Append(made, parts);
}

} // namespace

void coLoadStaticModel(const fsLocator& file, const fsLocator& textureFolder, mayModelParts& parts,
                       geoKDTree* tree) {
    coTextureLoader loader(textureFolder);
    LoadInto(parts, tree, [&](mayModelParts& made, mayTriangleSink* sink) {
        mayReadStaticModel(file, loader, made, sink);
    });
}

void coLoadHierarchyModel(const fsLocator& file, const fsLocator& textureFolder, g3dTransformTreeNode& parent,
                          mayModelParts& parts, geoKDTree* tree) {
    coTextureLoader loader(textureFolder);
    const u32 children = parent.GetChildCount();
    LoadInto(parts, tree, [&](mayModelParts& made, mayTriangleSink* sink) {
        try {
            mayReadHierarchy(file, loader, parent, made, sink);
        } catch (...) {
            // The half-read level points at fragments about to be destroyed.
            while (parent.GetChildCount() > children)
                parent.RemoveChild(parent.GetChild(parent.GetChildCount() - 1));
            throw;
        }
    });
}

void coLoadSingleSkin(const fsLocator& file, const fsLocator& textureFolder, mayModelParts& parts,
                      mayMesh& mesh, std::unique_ptr<scJoint>& root) {
    coTextureLoader loader(textureFolder);
    mayMesh readMesh;
    std::unique_ptr<scJoint> readRoot;
    LoadInto(parts, nullptr, [&](mayModelParts& made, mayTriangleSink*) {
        mayReadSingleSkin(file, loader, made, readMesh, readRoot);
    });
    mesh = std::move(readMesh);
    root = std::move(readRoot);
}

void coLoadAnimation(const fsLocator& file, mayAnimationTree& tree, mayAnimationTracks& tracks) {
    mayAnimationTree readTree;
    mayAnimationTracks readTracks;
    mayReadAnimation(file, readTree, readTracks);
    tree = std::move(readTree);
    for (auto& track : readTracks.positions)
        tracks.positions.push_back(std::move(track));
    for (auto& track : readTracks.rotations)
        tracks.rotations.push_back(std::move(track));
}

// Delegating, so that the destructor gives back what was taken should building the tree fail.
coModelHolder::coModelHolder(const fsLocator& file, const fsLocator& textureFolder, bool buildTree)
    : coModelHolder() {
    mayModelParts parts;
    coLoadStaticModel(file, textureFolder, parts, buildTree ? &m_tree : nullptr);
    m_models = std::move(parts.fragments);
    m_partFlags.assign(m_models.size(), 1);
    for (mayMaterialRecord& record : parts.materials)
        m_materials.push_back(std::move(record.material));
    m_textures = std::move(parts.textures);
    if (buildTree)
        m_tree.Build();
}

coModelHolder::~coModelHolder() {
    for (g3dFragment* model : m_models)
        g3dFragmentManager::DestroyFragment(model);
    m_materials.clear();
    for (g3dTexture* texture : m_textures)
        coReleaseTexture(texture);
}

void coModelHolder::SetPartFlag(bool on) {
    for (u8& flag : m_partFlags)
        flag = on ? 1 : 0;
}

std::unique_ptr<coModelHolder> coLoadModelHolder(const fsLocator& file, const fsLocator& textureFolder,
                                                 bool buildTree) {
    return g_loader.Get().Load(file, textureFolder, buildTree);
}

void coSetModelHolderLoader(coModelHolderLoader* loader) {
    g_loader.Set(loader);
}

const coModelHolderLoader& coGetModelHolderLoader() {
    return g_loader.Get();
}
