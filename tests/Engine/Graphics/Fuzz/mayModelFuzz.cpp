// libFuzzer target: arbitrary bytes as each kind of model file (static, hierarchy, single skin,
// animation), read on the fake device. Anything but the engine's own exceptions is a finding, and
// everything a reader made is freed after it. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz runs it.
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Fuzz/fuzzFakeDevice.h"
#include "Fuzz/fuzzLoaderInput.h"

#include <cstdlib>
#include <memory>

namespace {

// Knows no texture.
class NoTextures : public g3dTextureLoader {
  public:
    g3dTexture* GetTexture(const envString&) override { return nullptr; }
    void ReleaseTexture(g3dTexture*) override {}
};

template <class Read> void Try(Read read) {
    mayModelParts parts;
    try {
        read(parts);
    } catch (const envExceptionX&) {
    }
    for (g3dFragment* fragment : parts.fragments)
        g3dFragmentManager::DestroyFragment(fragment);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("input.mx");
    fuzzStartFakeDevice();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    NoTextures loader;
    Try([&](mayModelParts& parts) { mayReadStaticModel(file, loader, parts, nullptr); });
    Try([&](mayModelParts& parts) {
        g3dTransformTreeNode root;
        mayReadHierarchy(file, loader, root, parts, nullptr);
    });
    Try([&](mayModelParts& parts) {
        mayMesh mesh;
        std::unique_ptr<scJoint> root;
        mayReadSingleSkin(file, loader, parts, mesh, root);
    });
    Try([&](mayModelParts&) {
        mayAnimationTree tree;
        mayAnimationTracks tracks;
        mayReadAnimation(file, tree, tracks);
    });
    return 0;
}
