// The shipped environment and dock, read by the game's own loaders from the built tree.
#include "../../Source/World/coWorldTestSupport.h"
#include "Content/coBuiltTree.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coLFVisCompute.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPropTemplate.h"
#include "Tools/World/toolParkWorld.h"

#include <filesystem>
#include <set>
#include <tuple>

namespace {

// The game's roots over the built tree, as the program finds them, on the test device.
class coWorldContentTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        plInstallServices({.time = &m_time,
                           .keyValueStore = &m_store,
                           .iniReader = &m_ini,
                           .folders = &m_folders,
                           .d3d = &m_d3d});
        envInit();
        fsResetRootTable();
        coStartFromBuiltTree(m_folders, m_folder.Path());
        g3dRenderer::Initialize();
        g3dLightManager::Initialize();
        m_typeName = coCoasterDefinitionStore().GetCoasterTypeName();
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    }
    void TearDown() override {
        coFreeDock();
        coGetEnvironment().Clear();
        coGetEnvironment().SelectVariant(0);
        coSetParkWorld(nullptr);
        coSetCollisionPark(nullptr);
        coCoasterDefinitionStore().SetCoasterTypeName(m_typeName);
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        g3dLightManager::Shutdown();
        g3dRenderer::Shutdown();
        fsResetRootTable();
        envShutdown();
        coWorldDeviceTest::TearDown();
    }
    std::string m_typeName;
    fsTestFolder m_folder;
    plKeyValueStore m_store{m_folder.Path("config")};
    plIniReader m_ini{m_folder.Path()};
    plTestSystemFolders m_folders;
};

} // namespace

TEST_F(coWorldContentTest, EveryVariantOfTheMountainsTheCavernAndEachTypesDockLoadWithoutAWarning) {
    coEnvironment& environment = coGetEnvironment();
    // The cavern: its floor in tiles with a glowing stream that slides and pulses, under a vault, shadows
    // on (its headlight needs them), no flare.
    environment.Clear();
    environment.SelectVariant(0);
    environment.Load(envString("cavern"));
    EXPECT_EQ(std::tuple(environment.GetModels().size(), environment.GetSkyLayer(1).size(),
                         environment.GetShadowMode(),
                         environment.GetModels()[16]->GetMaterial(0)->GetAnimationCount()),
              std::tuple(18u, 1u, 2, 2u));
    // Untextured, as the builder shows them, the grounds keep a colour of their own: warm rock here, grass
    // in the mountains.
    const auto untextured = [&environment] {
        return environment.GetUntexturedCopy(environment.GetModels()[0]->GetMaterial(0))->GetDiffuse();
    };
    const g3dARGBColor rock = untextured();
    EXPECT_TRUE(rock.r > rock.b + 0.03f && rock.r < 0.5f) << rock.r << " " << rock.g << " " << rock.b;
    for (i32 variant : {0, 1, 2}) {
        environment.Clear();
        environment.SelectVariant(variant);
        environment.Load(envString("Mountain"));
        // The terrain in 4 x 4 tiles of 17 x 17 vertices, the sky and, with the layered sky, the clouds.
        ASSERT_EQ(environment.GetModels().size(), coPrefs::GetBool(coPrefLayeredSky) ? 18u : 17u) << variant;
        u32 terrainVertices = 0;
        for (size_t tile = 0; tile < 16; ++tile)
            terrainVertices += environment.GetModels()[tile]->GetVertexCount();
        EXPECT_EQ(terrainVertices, 16u * 17 * 17);
        EXPECT_EQ(std::tuple(environment.GetSkyLayer(2).size(), environment.GetLightCount(),
                             environment.GetShadowMode()),
                  std::tuple(coPrefs::GetBool(coPrefLayeredSky) ? 1u : 0u, 1u, 2));
        const g3dARGBColor grass = untextured();
        EXPECT_TRUE(grass.g > grass.r + 0.1f && grass.g > grass.b + 0.1f) << grass.g;
        // The terrain answers the generator's heights: the flat start, the top of the hill, the gorge's
        // bottom and the slope.
        for (const auto& [x, z] : {std::pair(0.0f, 0.0f),
                                   {230.0f, 230.0f},
                                   {-170.0f, 95.0f},
                                   {-130.0f, 100.0f},
                                   {0.0f, -150.0f}}) {
            float height = 0;
            ASSERT_TRUE(coGetParkWorld().GetHeightAt(x, z, height));
            EXPECT_NEAR(height, toolMountainHeight(x, z), 0.5f) << x << ", " << z;
        }
    }
    // Every coaster type offered has a dock to start from, and a train to ride.
    for (const auto& type : std::filesystem::directory_iterator(LV_DATA_DIR "/Tracks")) {
        if (!type.is_directory())
            continue;
        const std::string name = type.path().filename().string();
        SCOPED_TRACE(name);
        coCoasterDefinitionStore().SetCoasterTypeName(name);
        coFreeDock();
        coLoadDock(envString("Ironvale"));
        ASSERT_NE(coGetDock(), nullptr);
        const maBoundingBox dock = coGetDock()->GetBounds();
        EXPECT_LT(dock.minX, -3.0f);
        EXPECT_GT(dock.maxY, 4.0f);
        // Its legs reach the ground 15 below the track, where the builder stands a station.
        EXPECT_NEAR(dock.minY, -15.0f, 0.01f);
        for (const char* car : {"carlead.mx", "carfoll.mx"})
            EXPECT_TRUE(
                std::filesystem::exists(LV_DATA_DIR "/Themes/Ironvale/Tracks/" + name + "/Model/" + car));
    }
    EXPECT_EQ(m_log.Count("**Warning**"), 0u) << m_log.lines.back();
}

// At dusk the sun stands beyond the hill: seen from the start it shines, from behind the hill it hides.
TEST_F(coWorldContentTest, TheDuskSunHidesBehindTheHill) {
    coGetEnvironment().SelectVariant(1);
    coGetEnvironment().Load(envString("Mountain"));
    const bool lensFlare = coPrefs::GetBool(coPrefLensFlare);
    coPrefs::SetBool(coPrefLensFlare, true);
    scLensFlare flare;
    flare.SetSourcePosition({1000, 420, 1000});
    coLFVisCompute test;
    g3dCamera camera;
    test.SetCamera(&camera);
    camera.LookAt({0, 10, 0}, {1, 10, 1}, {0, 1, 0});
    EXPECT_TRUE(test.IsVisible(flare));
    camera.LookAt({180, 8, 180}, {181, 8, 181}, {0, 1, 0});
    EXPECT_FALSE(test.IsVisible(flare));
    coPrefs::SetBool(coPrefLensFlare, lensFlare);
}

// The banner's cloth waves: its model names a picture that does not ship, and the flip-book of that name
// plays instead, a different frame as time goes on.
TEST_F(coWorldContentTest, TheBannersClothPlaysItsFlipBook) {
    fsLocator theme(coRootThemes);
    theme.AppendComponent("Ironvale");
    coPropTemplate banner(envString("banner"), envString("Banner"), true);
    banner.Load(theme);
    std::vector<const g3dUVATexture*> books;
    for (const g3dTexture* texture : banner.GetModelParts().textures)
        if (const auto* book = dynamic_cast<const g3dUVATexture*>(texture))
            books.push_back(book);
    ASSERT_EQ(books.size(), 1u);
    EXPECT_EQ(std::tuple(books[0]->GetFrameCount(), books[0]->GetPageCount()), std::tuple(8, 1));
    std::set<i32> frames;
    for (f32 time = 0.0f; time < 1.0f; time += 0.125f)
        frames.insert(books[0]->GetFrameAt(time + 0.01f));
    EXPECT_EQ(frames.size(), 8u);
    banner.Unload();
    EXPECT_EQ(m_log.Count("**Warning**"), 0u);
}

// "/cheat velvetrug" finds its wood in the shipped themes: the mountains load with that one texture.
TEST_F(coWorldContentTest, TheWoodCheatCoversTheWorldInTheShippedWood) {
    coEnvironment& environment = coGetEnvironment();
    for (const u8 cheat : {0, 1}) {
        coPrefs::SetSessionFlag(coSessionWoodTextures, cheat);
        environment.Clear();
        environment.Load(envString("Mountain"));
        coPrefs::SetSessionFlag(coSessionWoodTextures, 0);
        if (cheat)
            EXPECT_EQ(coGetTextureCache().GetEntryCount(), 1u);
        else
            EXPECT_GT(coGetTextureCache().GetEntryCount(), 1u);
    }
}
