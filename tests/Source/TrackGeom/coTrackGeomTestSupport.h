#pragma once
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <tuple>

inline std::string coLastComponent(const fsLocator& locator) {
    fsLocator last;
    if (locator.GetComponentCount() > 0)
        last.AppendComponent(locator.GetLastComponent());
    std::string name;
    fsLocatorToNativePath(last, name);
    return name;
}

// A texture cache counting references per file name; names not in `known` are missing, names in
// `notInPak` are missing from their pak. Its textures have no device texture.
class coFakeTextureCache : public coTextureCache {
  public:
    coFakeTextureCache() { coSetTextureCache(this); }
    ~coFakeTextureCache() override { coSetTextureCache(nullptr); }

    g3dTexture* Acquire(const fsLocator& locator) override {
        const std::string name = coLastComponent(locator);
        if (notInPak.count(name))
            throw gfFileNotInPakX(locator);
        if (!known.count(name))
            throw fsFileDoesntExistX(locator);
        ++references[name];
        return Texture(name);
    }
    void Release(g3dTexture* texture) override {
        for (auto& [name, held] : m_textures)
            if (held.get() == texture)
                --references[name];
    }
    g3dTexture* Texture(const std::string& name) {
        std::unique_ptr<g3dTexture>& texture = m_textures[name];
        if (!texture)
            texture = std::make_unique<Plain>();
        return texture.get();
    }

    std::set<std::string> known, notInPak;
    std::map<std::string, int> references;

  private:
    struct Plain : g3dTexture {};
    std::map<std::string, std::unique_ptr<g3dTexture>> m_textures;
};

// Model files by name, each with the scripted number of materials; records the loads and part flags.
class coFakeModelLoader : public coModelHolderLoader {
  public:
    struct Holder : coModelHolder {
        Holder(int count, coFakeModelLoader& loader) : owner(loader) {
            for (int i = 0; i < count; ++i)
                materials.push_back(std::make_unique<g3dMaterial>());
        }
        int GetMaterialCount() const override { return static_cast<int>(materials.size()); }
        g3dMaterial* GetMaterial(int i) const override { return materials[size_t(i)].get(); }
        void SetPartFlag(bool on) override { owner.partFlags.push_back(on); }

        coFakeModelLoader& owner;
        std::vector<std::unique_ptr<g3dMaterial>> materials;
    };

    coFakeModelLoader() { coSetModelHolderLoader(this); }
    ~coFakeModelLoader() override { coSetModelHolderLoader(nullptr); }

    std::unique_ptr<coModelHolder> Load(const fsLocator& model, const fsLocator& textureFolder,
                                        bool buildTree) override {
        const auto found = models.find(coLastComponent(model));
        if (found == models.end())
            throw fsFileDoesntExistX(model);
        folders.push_back(textureFolder);
        trees.push_back(buildTree);
        return std::make_unique<Holder>(found->second, *this);
    }

    std::map<std::string, int> models;
    std::vector<fsLocator> folders;
    std::vector<bool> trees, partFlags;
};

// "Tracks" in a test folder with the coaster type "Steel", the fakes installed, the log captured; the
// definition store, the track definition and the track textures are left as found.
struct coTrackGeomTest : ::testing::Test {
    fsTestFolder folder;
    dbgLogCapture log;
    coFakeTextureCache textures;
    coFakeModelLoader models;
    const coCoasterDefinition saved = coCoasterDefinitionStore();

    void SetUp() override {
        fsResetRootTable();
        fsAddRootDirectory(coRootTracks, folder.Locator("Tracks"));
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    }
    void TearDown() override {
        coFreeTrackDefinition();
        coReleaseTrackTextures();
        coCoasterDefinitionStore() = saved;
        fsResetRootTable();
    }
    std::string Path(const std::string& name) const { return folder.Path("Tracks/Steel/" + name); }
    void LoadTrack(const std::string& text) {
        folder.Write("Tracks/Steel/Track.def", text);
        coLoadTrackDefinition("Track.def");
    }
    void LoadCoaster(const std::string& text) {
        folder.Write("Tracks/Steel/Coaster.def", text);
        coCoasterDefinitionStore().Load("Coaster.def");
    }
};
