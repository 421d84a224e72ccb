// The environment on the fake device: its file, terrain, lights and what Clear gives back.
#include "Source/World/coEnvironment.h"
#include "../../Engine/Graphics/May/mayModelBytes.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chTestBytes.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/App/coEnvironmentHooks.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coLFVisCompute.h"
#include "Source/World/coLoadingDock.h"
#include "coWorldModelBytes.h"
#include "coWorldTestSupport.h"

#include <cmath>
#include <filesystem>
#include <limits>
#include <tuple>

namespace {

using mayModelBytes::Body;
using mayModelBytes::Chunk;

std::string EnvChunk(const char* id, const std::string& body, u16 version = 1) {
    return chTestBytes().Chunk(id, static_cast<u32>(body.size()), version).Str() + body;
}

Body& Wide(Body& body, const std::string& text) {
    for (char c : text)
        body.U16(static_cast<u8>(c));
    return body.U16(0);
}

// An environment file naming the terrain and a flat, turning sky, with one directional light.
std::string EnvFile(f32 background, i8 fogMode, const std::string& terrain = "terrain.mx") {
    Body emod;
    Wide(emod, terrain);
    Wide(emod, "sky.mx").U8(1).Floats({0.1f});
    Wide(emod, "").Floats({0});
    Wide(emod, "").U8(0);
    Body fog;
    fog.U8(static_cast<u8>(fogMode)).Floats({0.5f, 0.5f, 0.5f, 1.9f, 50.7f, 0.01f});
    return EnvChunk("CENV", EnvChunk("EMOD", emod.Str(), 4) +
                                EnvChunk("EBGC", Body().Floats({background, 0.5f, 0}).Str()) +
                                EnvChunk("EDIL", Body().Floats({1, 1, 1, 0, -1, 0}).Str()) +
                                EnvChunk("ECST", Body().Floats({3, 4, 5}).Str()) +
                                EnvChunk("EFOG", fog.Str()));
}

class coEnvironmentTest : public coWorldRendererTest {
  protected:
    void SetUp() override {
        coWorldRendererTest::SetUp();
        g3dLightManager::Initialize();
        fsResetRootTable();
        fsAddRootDirectory(coRootEnvironments, m_folder.Locator("Environments/Mountain"));
        fsAddRootDirectory(coRootThemes, m_folder.Locator("Themes"));
        m_folder.Write("Themes/Ironvale/Tracks/Steel/Model/loaddock.mx", coTwoLevelGround({}));
        m_folder.Write("Environments/Mountain/Texture/grass.png",
                       g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')}));
        m_folder.Write("Environments/Mountain/Model/terrain.mx", coTwoLevelGround({"grass.png"}));
        m_folder.Write("Environments/Mountain/Model/sky.mx",
                       mayModelBytes::File(mayModelBytes::Fragment(3, 1)));
        m_folder.Write("Environments/Mountain/Data/1.end", EnvFile(1.5f, 7));
    }
    void TearDown() override {
        coGetEnvironment().Clear();
        coGetEnvironment().SelectVariant(0);
        coSetParkWorld(nullptr);
        coSetCollisionPark(nullptr);
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        fsResetRootTable();
        g3dLightManager::Shutdown();
        coWorldRendererTest::TearDown();
    }
    fsTestFolder m_folder;
};

} // namespace

TEST_F(coEnvironmentTest, TheVariantFileIsFoundByItsDigitElseAnyEnvironmentFile) {
    const struct {
        std::vector<std::string> files;
        i32 variant;
        std::string found;
    } cases[] = {
        {{"1.end", "11.end"}, 0, "1.end"}, {{"11.end", "2.end"}, 0, "11.end"},
        {{"1.end", "2.end"}, 1, "2.end"},  {{"1.end"}, 2, "1.end"},
        {{"a.end", "readme"}, 0, "a.end"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string folder = "find" + std::to_string(n++);
        for (const std::string& file : c.files)
            m_folder.Write(folder + "/" + file, "");
        const fsLocator found = coEnvironment::FindFile(m_folder.Locator(folder), c.variant);
        EXPECT_EQ(envStringToNarrow(found.GetLastComponent()), c.found) << folder;
    }
    m_folder.Write("none/readme", "");
    try {
        coEnvironment::FindFile(m_folder.Locator("none"), 0);
        FAIL();
    } catch (const fsFileDoesntExistX& x) {
        EXPECT_EQ(envStringToNarrow(x.GetLocator().GetLastComponent()), "*.end");
    }
}

TEST_F(coEnvironmentTest, ColourBytesClampAndFogDistancesFallBack) {
    const f32 nan = std::numeric_limits<f32>::quiet_NaN(), inf = std::numeric_limits<f32>::infinity();
    const std::pair<f32, u8> bytes[] = {{1.0f, 255}, {0.5f, 127}, {0.0f, 0},
                                        {1.5f, 255}, {-0.5f, 0},  {nan, 0}};
    for (const auto& [c, byte] : bytes)
        EXPECT_EQ(coColorByte(c), byte) << c;
    const std::pair<f32, i32> distances[] = {{1.9f, 1}, {50.7f, 50}, {-3.5f, -3},
                                             {nan, 7},  {inf, 7},    {3e9f, 7}};
    for (const auto& [d, whole] : distances)
        EXPECT_EQ(coFogDistance(d, 7), whole) << d;
}

TEST_F(coEnvironmentTest, ALoadedEnvironmentAnswersHeightsAndClearGivesEverythingBack) {
    coEnvironment& environment = coGetEnvironment();
    coParkWorld& world = coGetParkWorld();
    float height = -1;
    EXPECT_EQ(std::tuple(world.GetHeightAt(0, 0, height), world.GetStartPosition().y),
              std::tuple(false, 2.0f));

    environment.Load("Mountain");
    EXPECT_EQ(std::tuple(coGetParkWorld().GetEnvironmentName(), coGetParkWorld().GetStartPosition().z),
              std::tuple("Mountain", 5.0f));
    const u8* background = environment.GetBackgroundColor();
    EXPECT_EQ(std::vector<u8>(background, background + 3), (std::vector<u8>{255, 127, 0}));
    EXPECT_EQ(std::tuple(environment.GetLightCount(), environment.GetObjectCount()), std::tuple(1u, 2u));
    ASSERT_EQ(environment.GetSkyLayer(1).size(), 1u);

    const struct {
        float x, z;
        bool hit;
        float y;
    } probes[] = {{-50, 0, true, 0}, {50, 20, true, 10}, {150, 0, false, 0}, {0, 150, false, 0}};
    for (const auto& p : probes) {
        height = -1;
        EXPECT_EQ(coGetParkWorld().GetHeightAt(p.x, p.z, height), p.hit) << p.x;
        if (p.hit) {
            EXPECT_NEAR(height, p.y, 1e-3f) << p.x;
        }
    }
    maVector3d hit;
    EXPECT_TRUE(coGetParkWorld().IntersectSegment({50, 20, 0}, {50, 0, 0}, hit));
    EXPECT_NEAR(hit.y, 10.0f, 1e-3f);
    EXPECT_NEAR(coGetCollisionPark().GetCollisionBounds().maxY, 11.0f, 1e-3f); // widened by 1

    // The untextured copy: ambient x 0.4, diffuse and specular x 0.6, alpha kept, no stages.
    g3dFragment* terrain = environment.GetModels().front();
    g3dMaterial* textured = terrain->GetMaterial(0);
    environment.ShowUntextured();
    const g3dMaterial* plain = terrain->GetMaterial(0);
    ASSERT_NE(plain, textured);
    const g3dARGBColor diffuse = plain->GetDiffuse(), ambient = plain->GetAmbient();
    EXPECT_NEAR(diffuse.r + diffuse.g * 10 + diffuse.b * 100 + diffuse.a * 1000, 0.6 + 3 + 15 + 800, 1e-3);
    EXPECT_NEAR(ambient.r + ambient.a, 0.2 + 1, 1e-5);
    EXPECT_EQ(plain->GetStageCount(), 0u);
    environment.ShowTextured();
    EXPECT_EQ(terrain->GetMaterial(0), textured);

    // The shadow switch is on (mode 1), and the ground takes what a projector casts on it.
    EXPECT_TRUE(coGetParkWorld().GetEnvironmentShadowsOn());
    g3dCamera projector;
    scSetUpProjector(10.0f, {-50, 0, 0}, {0, -1, 0}, projector);
    g3dTexture* cast = g3dTextureManager::CreateRenderTarget(64, 64, *g3dGetOpaqueHighFormat());
    scApplyProjectedTexture(projector, cast);
    EXPECT_EQ(textured->GetStageCount(), 2u);
    scClearProjectedTexture();
    g3dTextureManager::ReleaseTexture(cast);

    // A flat sky follows the camera at height 0, turned by rate x time about y.
    environment.UpdateSky({7, 8, 9}, 10.0f);
    const scMovableObject& sky = *environment.GetSkyLayer(1).front();
    EXPECT_EQ(std::tuple(sky.GetPosition().x, sky.GetPosition().y, sky.GetPosition().z),
              std::tuple(7.0f, 0.0f, 9.0f));
    maVector3d axis;
    float angle = 0;
    sky.GetRotation().GetAxisAngle(axis, angle);
    EXPECT_NEAR(angle * axis.y, 1.0f, 1e-5f);

    environment.Clear();
    EXPECT_EQ(environment.GetObjectCount() + environment.GetModels().size() + environment.GetLightCount(),
              0u);
    EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
    // Without a name, the next coaster of this environment loads it again.
    EXPECT_EQ(environment.GetName().GetLength(), 0u);
    EXPECT_FALSE(coGetParkWorld().GetHeightAt(-50, 0, height));
    EXPECT_GT(coGetCollisionPark().GetCollisionBounds().minX, coGetCollisionPark().GetCollisionBounds().maxX);

    // The builder's next entry names the same environment: a cleared one is loaded again.
    coEnvironmentHooks().SetEnvironmentName("Mountain");
    EXPECT_EQ(environment.GetObjectCount(), 2u);
    environment.Clear();
}

TEST_F(coEnvironmentTest, AVariantReappliesLightingAndKeepsTheModels) {
    m_folder.Write("Environments/Mountain/Data/2.end", EnvFile(0.0f, 1));
    coEnvironment& environment = coGetEnvironment();
    environment.Load("Mountain");
    const std::vector<g3dFragment*> models = environment.GetModels();
    environment.SelectVariant(1);
    EXPECT_EQ(
        std::tuple(environment.GetIndex(), environment.GetBackgroundColor()[0], environment.GetLightCount()),
        std::tuple(1, 0, 1u));
    EXPECT_EQ(environment.GetModels(), models);
}

TEST_F(coEnvironmentTest, AFileWithoutATerrainModelIsMalformed) {
    for (const std::string& file :
         {EnvFile(1.5f, 7, ""), EnvChunk("CENV", EnvChunk("ECST", Body().Floats({3, 4, 5}).Str()))}) {
        m_folder.Write("Environments/Mountain/Data/1.end", file);
        EXPECT_THROW(coGetEnvironment().Load("Mountain"), chInvalidChunkX);
        EXPECT_EQ(coGetEnvironment().GetObjectCount(), 0u);
    }
}

// A model that the environment file names and that is not there (its name there may be damaged) is told
// with the file; a texture that a model names is the model's to name, not the environment file's.
TEST_F(coEnvironmentTest, AModelNotFoundByItsNameIsToldWithTheEnvironmentFile) {
    const std::string sky = "Environments/Mountain/Model/sky.mx";
    const std::string plainSky = m_folder.Read(sky);
    const fsLocator file = m_folder.Locator("Environments/Mountain/Data/1.end");
    const struct {
        const char* terrain;
        std::string skyBytes; // none: no sky model
        fsLocator namedIn;
    } rows[] = {
        {"terrain.lx", plainSky, file},
        {"terrain.mx", "", file},
        {"terrain.mx", mayModelBytes::File(mayModelBytes::Fragment(3, 1, {"missing.png"})), {}},
    };
    for (const auto& row : rows) {
        m_folder.Write("Environments/Mountain/Data/1.end", EnvFile(1.5f, 7, row.terrain));
        std::filesystem::remove(m_folder.Path(sky));
        if (!row.skyBytes.empty())
            m_folder.Write(sky, row.skyBytes);
        try {
            coGetEnvironment().Load("Mountain");
            ADD_FAILURE() << row.terrain;
        } catch (const fsFileDoesntExistX& missing) {
            EXPECT_EQ(missing.GetNamedIn(), row.namedIn) << row.terrain;
        }
        coGetEnvironment().Clear();
    }
}

TEST_F(coEnvironmentTest, AFailedLoadKeepsWhatItAddedUntilClear) {
    m_folder.Write("Environments/Mountain/Model/sky.mx",
                   mayModelBytes::File(mayModelBytes::Fragment(3, 1, {"missing.png"})));
    coEnvironment& environment = coGetEnvironment();
    EXPECT_ANY_THROW(environment.Load("Mountain"));
    EXPECT_EQ(std::tuple(environment.GetObjectCount(), environment.GetSkyLayer(1).size()),
              std::tuple(1u, 0u));
    environment.Clear();
    EXPECT_EQ(environment.GetObjectCount() + environment.GetModels().size(), 0u);
    EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
}

TEST_F(coEnvironmentTest, TheFlareHidesBehindTheTerrainOrTheDockAndWithThePreferenceOff) {
    coGetEnvironment().Load("Mountain");
    coLFVisCompute test;
    scLensFlare flare;
    flare.SetSourcePosition({50, 100, 0}); // above the high ground
    g3dCamera camera;
    const bool lensFlare = coPrefs::GetBool(coPrefLensFlare);
    coPrefs::SetBool(coPrefLensFlare, false);
    EXPECT_FALSE(test.IsVisible(flare));
    coPrefs::SetBool(coPrefLensFlare, true);
    EXPECT_TRUE(test.IsVisible(flare));
    test.SetCamera(&camera);
    const struct {
        maVector3d eye;
        bool dock, visible;
    } cases[] = {{{50, 20, 0}, false, true}, {{50, 5, 0}, false, false}, {{50, 20, 0}, true, false}};
    for (const auto& c : cases) {
        if (c.dock) {
            // The dock's high ground reaches x 0..100 at height 22.
            const std::string typeName = coGetCoasterDefinition().GetCoasterTypeName();
            coCoasterDefinitionStore().SetCoasterTypeName("Steel");
            coLoadDock("Ironvale");
            coCoasterDefinitionStore().SetCoasterTypeName(typeName);
            coGetDock()->SetPosition({0, 12, 0});
        }
        camera.LookAt(c.eye, {0, 0, 1}, {0, 1, 0});
        EXPECT_EQ(test.IsVisible(flare), c.visible) << c.eye.y << c.dock;
    }
    coFreeDock();
    coPrefs::SetBool(coPrefLensFlare, lensFlare);
}

TEST_F(coEnvironmentTest, TheCavernGlowsAndSlides) {
    g3dMaterial stored, drawn;
    stored.AddTextureStage(nullptr, 0);
    coAnimateCavernMaterial(stored, 0.0f);
    g3dApplyMaterialAnimations(stored, 4.25f, drawn);
    const g3dARGBColor glow = drawn.GetAmbient();
    EXPECT_NEAR(glow.r + glow.g * 10 + glow.b * 100 + glow.a * 1000, 0.9 + 6.5 + 40 + 1000, 1e-3);
    g3dApplyMaterialAnimations(stored, 45.0f, drawn);
    EXPECT_NEAR(drawn.GetStage(0).offset.x, 1.0f, 1e-4f);
    EXPECT_EQ(drawn.GetStage(0).offset.y, 0.0f);
}

TEST_F(coEnvironmentTest, EachVariantSetsItsFogAndAnUnknownModeOnlyTheColour) {
    m_folder.Write("Environments/Mountain/Data/2.end", EnvFile(0.0f, 1));
    m_folder.Write("Environments/Mountain/Data/3.end", EnvFile(0.0f, 0));
    g3dRenderer::SetFogMode(2);
    g3dRenderer::SetFogColor({0, 0, 0, 1});
    coEnvironment& environment = coGetEnvironment();
    environment.Load("Mountain"); // mode 7
    const g3dFogSettings& fog = g3dRendererPAC::GetFog();
    EXPECT_EQ(std::tuple(fog.mode, fog.color.r), std::tuple(2u, 0.5f));
    environment.SelectVariant(1); // linear from 1.9 to 50.7
    EXPECT_EQ(std::tuple(fog.mode, fog.start, fog.end), std::tuple(3u, 1.0f, 50.0f));
    environment.SelectVariant(2);
    EXPECT_EQ(fog.mode, 0u);
}
