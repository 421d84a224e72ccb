#include "Content/coBuiltTreeTest.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Sound/coScreams.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coSupportMakerWood.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackDefinition.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <tuple>

namespace {

using coInstallationTest = coBuiltTreeTest;

// Textures found (opened through the file system, paks included) but not loaded: no device here.
struct coPresentTextures : coTextureCache {
    coPresentTextures() { coSetTextureCache(this); }
    ~coPresentTextures() override { coSetTextureCache(nullptr); }
    g3dTexture* Acquire(const fsLocator& locator) override {
        gfFile file(locator, gfFileRead);
        ++found;
        return nullptr;
    }
    void Release(g3dTexture*) override {}
    int found = 0;
};

class coTypeDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return type; }
    std::string type;
};

// Textures are opened, not loaded, and models not read: no device here.
struct NoDeviceFiles : coTextureCache, coModelHolderLoader {
    NoDeviceFiles() {
        coSetTextureCache(this);
        coSetModelHolderLoader(this);
    }
    ~NoDeviceFiles() override {
        coSetTextureCache(nullptr);
        coSetModelHolderLoader(nullptr);
    }
    g3dTexture* Acquire(const fsLocator& locator) override {
        try {
            gfFile file(locator, gfFileRead);
        } catch (const envExceptionX&) {
            missing.push_back(locator);
        }
        return nullptr;
    }
    std::unique_ptr<coModelHolder> Load(const fsLocator&, const fsLocator&, bool) override {
        return std::make_unique<coModelHolder>();
    }
    std::vector<fsLocator> missing;
};

} // namespace

TEST_F(coInstallationTest, EveryRootIsFoundWithoutAWarning) {
    EXPECT_EQ(log.Count("**Warning**"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    for (i32 root = 5; root <= 17; ++root) {
        std::vector<fsLocator> directories;
        fsGetRootDirectories(root, directories);
        EXPECT_EQ(directories.size(), 1u) << root;
    }
    EXPECT_EQ(coPaths::GetBasicString(16), envString("Metric Units: false"));
    EXPECT_EQ(coPaths::GetBasicString(4), envString("Software\\Zandrel Trackwrighting"));

    EXPECT_GT(gfTextSet(coBuiltTreeLocator("Errors/Eng/coErrors.tsf"), 32, true).GetText(2).GetLength(), 10u);
}

TEST_F(coInstallationTest, EveryShippedSoundLoadsThroughTheGameWithoutAWarning) {
    plTestSoundDevice device;
    plServices services = plGetServices();
    services.sound = &device;
    plInstallServices(services);
    snStartSoundSystem();
    snSoundManager::Init();
    coPrefs::SetDefaults();
    coPakManager::Create();
    coTypeDefinition definition;
    coSetCoasterDefinition(&definition);

    coLoadSoundEffects();
    EXPECT_EQ(snSoundManager::GetActiveCount(), 35u);
    // "Steel" from its folder, "Wooden" from its pak.
    for (const char* type : {"Steel", "Wooden"}) {
        definition.type = type;
        coPakManager::OpenCoasterPaks(type);
        coLoadRideEventSounds();
        EXPECT_EQ(snSoundManager::GetActiveCount(), 35u + coRideSoundCount) << type;
    }
    coLoadScreams();
    EXPECT_EQ(snSoundManager::GetActiveCount(), 35u + coRideSoundCount + coScreamsLoaded);
    fsLocator fanfare(coRootThemes);
    fanfare.AppendComponent("Ironvale");
    fanfare.AppendComponent("Sound");
    EXPECT_NE(coMakeRideSound(fanfare, "fanfare", false, true), nullptr);
    coMusicStart();
    // Every context with each shipped choice.
    for (int i = 0; i < coMusicContextCount * 4; ++i) {
        coMusicRequestContext(i / 4);
        coMusicSetChoice(i / 4, i % 4);
        coMusicApplyContext(true);
        EXPECT_NE(muGetMusicManager()->GetJob(), nullptr) << i;
    }
    EXPECT_EQ(log.Count("**Warning**"), 0u) << (log.lines.empty() ? "" : log.lines.front());

    coReleaseSoundEffects();
    coFreeRideEventSounds();
    coFreeScreams();
    muDestroyMusicManager();
    coSetCoasterDefinition(nullptr);
    coPakManager::Destroy();
    snSoundManager::Shutdown();
    snStopSoundSystem();
}

TEST_F(coInstallationTest, EveryCoasterTypeLoadsInTheMountainsWithItsColours) {
    coPakManager::Create();
    NoDeviceFiles files;
    const coCoasterDefinition saved = coCoasterDefinitionStore();
    // "Steel" loose, "Wooden" with its pak open.
    for (const char* type : {"Steel", "Wooden"}) {
        coTrackColorizer::ClearCurrent(); // as a new coaster starts
        coLoadCoasterDefinitions("Mountain", type, 0);
        EXPECT_EQ(std::tuple(coPakManager::GetOpenCoasterType(), coTrackColorizer::GetSchemeCount(),
                             coTrackColorizer::GetCurrentScheme().size(),
                             coCoasterDefinitionStore().GetWoodSupports()),
                  std::tuple(envString(type), 3, 4u, std::string(type) == "Wooden"))
            << type;
        // Every part the schemes name recolours something of the type (crossbar models are not loaded
        // without a device: their names count).
        const coTrackDefinition& track = *coGetTrackDefinitionSource().GetTrackDefinition();
        for (const auto& [part, record] : coTrackColorizer::GetCurrentScheme()) {
            std::vector<g3dMaterial*> sections, supports;
            coCollectPartMaterials(track, part, sections);
            coGetTrackDefinitionSource().GetSupportMaker()->CollectMaterials(part, supports);
            const auto crossbars =
                std::count_if(track.GetCrossbars().begin(), track.GetCrossbars().end(),
                              [&](const auto& crossbar) { return crossbar->name == part; });
            EXPECT_GT(sections.size() + supports.size() + size_t(crossbars), 0u) << type << " " << part;
        }
    }
    for (const fsLocator& locator : files.missing)
        ADD_FAILURE() << envStringToNarrow(locator.GetLastComponent()) << " is missing";
    EXPECT_EQ(log.Count("**Warning**"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    coTrackColorizer::ClearCurrent();
    coTrackColorizer::ClearSchemes();
    coDestroyShadowMaterial();
    coFreeTrackDefinition();
    coReleaseTrackTextures();
    coCoasterDefinitionStore() = saved;
    coPakManager::Destroy();
}

// "Wooden" is listed by its empty folder and read from its pak: wooden supports of one lattice plane, near
// and far (two-sided near the camera, one-sided in the far group), a track with its textures, near and
// far, and the shadow texture in "Environments".
TEST_F(coInstallationTest, WoodenTypeLoadsFromItsPak) {
    coPrefs::SetDefaults();
    coPakManager::Create();
    const coCoasterDefinition saved = coCoasterDefinitionStore();
    coCoasterDefinitionStore().SetCoasterTypeName("Wooden");
    coPakManager::OpenCoasterPaks(envString("Wooden"));
    {
        coPresentTextures textures;
        coTrackMeshBuilder builder;
        coCoasterDefinitionStore().Load("Coaster.def");
        EXPECT_TRUE(coCoasterDefinitionStore().GetWoodSupports());
        builder.LoadTrackDefinition("Track.def");
        EXPECT_EQ(std::tuple(builder.GetTrackDefinition().GetCrossSections().size(),
                             builder.GetTrackDefinition().GetCrossbars().size()),
                  std::tuple(6u, 1u));
        builder.LoadSupportDefinition("Support.def");
        ASSERT_NE(dynamic_cast<coSupportMakerWood*>(&builder.GetSupportMaker()), nullptr);
        ASSERT_EQ(builder.GetSupportMaker().GetPlanes().size(), 2u);
        for (int group = 0; group < 2; ++group) {
            const coSupportPlane& plane = *builder.GetSupportMaker().GetPlanes()[static_cast<size_t>(group)];
            EXPECT_EQ(std::tuple(plane.spacing, plane.group), std::tuple(4.0f, group));
            EXPECT_NE(plane.material, nullptr);
        }
        builder.CreateShadowMaterial();
        builder.DestroyShadowMaterial();
        builder.FreeDefinitions();
        EXPECT_EQ(textures.found, 9); // six sections, two lattices, the shadow
    }
    EXPECT_EQ(log.Count("**Warning**"), 0u) << (log.lines.empty() ? "" : log.lines.front());
    coCoasterDefinitionStore() = saved;
    coPakManager::Destroy();
}
