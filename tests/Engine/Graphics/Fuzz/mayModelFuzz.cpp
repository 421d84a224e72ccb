// libFuzzer target: arbitrary bytes as each kind of model file (static, hierarchy, single skin,
// animation), read on the fake device. Anything but the engine's own exceptions is a finding, and
// everything a reader made is freed after it. Seeds: tests/Fuzz/lvFuzzSeeds; scripts/fuzz runs it.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/g2dTextService.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/May/mayAnimationFile.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Engine/Graphics/Sc/scJoint.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTimeSource.h"
#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;
fsLocator g_locator;

// Fragments need the screen, which asks for a text service; nothing here draws text.
class NoText : public g2dTextService {
  public:
    g2dFont GetFont(const envString&, i32) override { return g2dFont(1); }
    void ReleaseFont(g2dFont) override {}
    void MeasureText(g2dFont, const envString&, u32& width, u32& height) override { width = height = 0; }
    void DrawText(g2dFont, const envString&, const plD3dRect&, u32) override {}
};

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
    g_input = std::make_unique<fuzzInputFile>("input.mx");
    fsLocatorFromNativePath(g_input->GetPath().c_str(), g_locator);
    dbgSetLogSink([](const std::string&) {});
    static plTestTimeSource time;
    static plFakeD3d d3d;
    plInstallServices({.time = &time, .d3d = &d3d});
    static NoText text;
    g2dSetTextService(&text);
    g2dInitialize();
    g2dScreen::InitWindowed(64, 48, 0, 0);
    g3dFragmentManager::Initialize();
    // The screen goes before the statics it registered with.
    std::atexit([] {
        g2dScreen::Deinitialize();
        g2dShutdown();
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    NoTextures loader;
    Try([&](mayModelParts& parts) { mayReadStaticModel(g_locator, loader, parts, nullptr); });
    Try([&](mayModelParts& parts) {
        g3dTransformTreeNode root;
        mayReadHierarchy(g_locator, loader, root, parts, nullptr);
    });
    Try([&](mayModelParts& parts) {
        mayMesh mesh;
        std::unique_ptr<scJoint> root;
        mayReadSingleSkin(g_locator, loader, parts, mesh, root);
    });
    Try([&](mayModelParts&) {
        mayAnimationTree tree;
        mayAnimationTracks tracks;
        mayReadAnimation(g_locator, tree, tracks);
    });
    return 0;
}
