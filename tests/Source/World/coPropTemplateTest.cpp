// Loading a prop kind's model, animations, particle templates and sounds, and giving them back.
#include "Source/World/coPropTemplate.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snWaveBuilder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/May/mayModelBytes.h"
#include "Engine/Graphics/Sc/scParticleGeneratorTemplate.h"
#include "Engine/Graphics/Sc/scParticleTemplateBytes.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "coPropTestBytes.h"
#include "coWorldTestSupport.h"

#include <filesystem>
#include <tuple>

namespace {

using Body = coPropBytes;

std::string Event(const char* id, u16 version, i32 playCount, const std::string& items) {
    Body body;
    if (std::string(id) != "IDLE")
        body.I32(playCount);
    body.Wide("spin.anx").Wide("");
    if (version >= 1)
        body.F({1.0f});
    return coPropChunk(id, body.Text(items).Str(), version);
}

std::string Particles(std::initializer_list<i16> keys) {
    Body body;
    body.U8(u8(keys.size()));
    for (i16 key : keys)
        body.Wide("spark.tpr").Narrow("").I16(key).F({1, 0, 0, 0, 0, 0, 1});
    return body.Str();
}

std::string Sounds(std::initializer_list<i16> keys) {
    Body body;
    body.U8(u8(keys.size()));
    for (i16 key : keys)
        body.Wide("hum.wav").Narrow("").I16(key).U8(1).F({1, 1, 5, 50});
    return body.Str();
}

class coPropTemplateTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        fsResetRootTable();
        fsAddRootDirectory(coRootText, m_folder.Locator("Text"));
        fsAddRootDirectory(coRootEffects, m_folder.Locator("Effects"));
        const std::string png =
            g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')});
        m_folder.Write("Ironvale/Texture/a.png", png);
        m_folder.Write("Effects/Texture/spark.png", png);
        m_folder.Write("Ironvale/Model/lamp.mx",
                       mayModelBytes::File(mayModelBytes::Fragment(3, 1, {"a.png"})));
        using mayModelBytes::Chunk;
        m_folder.Write(
            "Ironvale/Model/spin.anx",
            mayModelBytes::File(Chunk(
                "ANIH",
                Chunk("ANLV", mayModelBytes::Keys("APKY", {{0, 0, 0, 0}, {0, 1, 0, 12}, {0, 0, 0, 30}})))));
        m_folder.Write("Ironvale/Sound/hum.wav", snWaveBuilder::Wave16(snWaveBuilder::Ramp(200)));
        m_folder.Write("Effects/Particle/spark.tpr",
                       scTprBytes::Tpr(scTprBytes::Sgpp(1, 0, 1, "spark.png", {})));
        m_folder.MakeFolder("Text/Ironvale");
        gfWriteTextSet(m_folder.Locator("Text/Ironvale/lamp.tsf"), 32, {{0, "Lamp"}, {1, ""}, {2, "Glow"}});
        m_preloaded = snSoundManager::GetPreloadCount();
    }
    void TearDown() override {
        EXPECT_EQ(snSoundManager::GetPreloadCount(), m_preloaded);
        EXPECT_EQ(coGetTextureCache().GetEntryCount(), 0u);
        fsResetRootTable();
        coWorldDeviceTest::TearDown();
    }
    void WritePrd(const std::string& chunks) {
        m_folder.Write("Ironvale/Data/lamp.prd",
                       coPropChunk("CPRP", coPropChunk("MODL", Body().Wide("lamp.mx").Str()) + chunks));
    }
    fsLocator Theme() const { return m_folder.Locator("Ironvale"); }

    fsTestFolder m_folder;
    u32 m_preloaded = 0;
};

TEST_F(coPropTemplateTest, ALoadedTemplateHoldsItsModelAnimationsAndCues) {
    WritePrd(Event("IDLE", 5, 0, Particles({2}) + Sounds({7})) + Event("ENTR", 2, 2, Particles({-1})) +
             Event("ENTR", 0, 1, "") + Event("EXIT", 1, -3, "") +
             coPropChunk("HEIG", Body().F({1.5f}).Str()));
    coPropTemplate lamp(envString("lamp"), envString("Lamp"), false);
    lamp.Load(Theme());
    ASSERT_TRUE(lamp.IsLoaded());
    EXPECT_EQ(std::tuple(lamp.GetModelKind(), lamp.GetModelParts().fragments.size(), lamp.GetHeight()),
              std::tuple(coPropTemplate::kStatic, size_t{1}, 1.5f));
    EXPECT_EQ(std::tuple(lamp.GetListSize(0), lamp.GetListSize(1), lamp.GetListSize(2)), std::tuple(1, 2, 1));
    const coPropAnimation& idle = lamp.GetAnimation(coPropTemplate::kIdle, 0);
    EXPECT_EQ(idle.GetDuration(), 1.25f);
    ASSERT_EQ(idle.GetParticleCues().size(), 1u);
    EXPECT_EQ(idle.GetParticleCues()[0].time, 1.25f);
    EXPECT_NE(idle.GetParticleCues()[0].generator->GetTexture(), nullptr);
    ASSERT_EQ(idle.GetSoundCues().size(), 1u);
    EXPECT_EQ(idle.GetSoundCues()[0].time, 1.25f);
    EXPECT_EQ(snSoundManager::GetPreloadCount(), m_preloaded + 1);

    const coPropAnimation& first = lamp.GetAnimation(coPropTemplate::kEntry, 0);
    const coPropAnimation& second = lamp.GetAnimation(coPropTemplate::kEntry, 1);
    EXPECT_EQ(first.GetParticleCues()[0].time, 0.0f);
    EXPECT_EQ(std::tuple(envStringToNarrow(first.GetDisplayName()), first.IsLooping()),
              std::tuple("Glow", true));
    EXPECT_EQ(std::tuple(second.GetDisplayName().GetLength(), second.IsLooping()), std::tuple(0u, false));
    EXPECT_EQ(std::tuple(first.GetFrameAnimation().IsLooping(), second.GetFrameAnimation().IsLooping()),
              std::tuple(true, false));
    EXPECT_TRUE(lamp.GetAnimation(coPropTemplate::kExit, 0).IsLooping());

    g3dMaterial& material = *lamp.GetModelParts().materials[0].material;
    g3dTexture* texture = material.GetStage(0).texture;
    material.SetDiffuse({1.0f, 0.5f, 0.25f, 0.125f});
    for (int twice = 0; twice < 2; ++twice)
        lamp.StripTextures();
    EXPECT_EQ(std::tuple(material.GetStageCount(), material.GetDiffuse().g), std::tuple(0u, 0.5f));
    lamp.RestoreTextures();
    ASSERT_EQ(material.GetStageCount(), 1u);
    EXPECT_EQ(std::tuple(material.GetStage(0).texture, coGetTextureCache().GetCount(texture)),
              std::tuple(texture, 1));

    lamp.StripTextures();
    lamp.Unload();
    EXPECT_FALSE(lamp.IsLoaded() || lamp.AreTexturesStripped());
    EXPECT_EQ(g3dFragmentManager::GetFirstFragment(), nullptr);
}

// A file that the ".prd" names and that is not there (its name there may be damaged) is told with the
// ".prd"; what the load made is given back.
TEST_F(coPropTemplateTest, AFailedLoadGivesBackWhatItMadeAndNamesTheDefinition) {
    const std::string events =
        Event("IDLE", 5, 0, Particles({0}) + Sounds({0})) + Event("ENTR", 4, 0, Particles({}) + Sounds({0}));
    const struct {
        std::string removed; // under the test folder
        std::string chunks;  // after the model's
    } rows[] = {
        {"", events + coPropChunk("EXIT", Body().I32(0).Wide("missing.anx").Wide("").Str())},
        {"Ironvale/Model/lamp.mx", events},
        {"Ironvale/Model/spin.anx", events},
        {"Effects/Particle/spark.tpr", events},
    };
    for (const auto& row : rows) {
        const std::string kept = row.removed.empty() ? "" : m_folder.Read(row.removed);
        if (!row.removed.empty())
            std::filesystem::remove(m_folder.Path(row.removed));
        WritePrd(row.chunks);
        coPropTemplate lamp(envString("lamp"), envString(), false);
        try {
            lamp.Load(Theme());
            ADD_FAILURE() << row.removed;
        } catch (const fsFileDoesntExistX& missing) {
            EXPECT_EQ(missing.GetNamedIn(), m_folder.Locator("Ironvale/Data/lamp.prd")) << row.removed;
        }
        EXPECT_EQ(std::tuple(lamp.IsLoaded(), g3dFragmentManager::GetFirstFragment()),
                  std::tuple(false, nullptr))
            << row.removed;
        if (!row.removed.empty())
            m_folder.Write(row.removed, kept);
    }
}

TEST(coPropCueTime, KeyIndicesClampToTheKeysOrCountSecondsWithoutATrack) {
    const std::vector<f32> keys{0.0f, 0.5f, 1.25f};
    const std::tuple<bool, i16, f32> cases[] = {
        {true, 0, 0.0f},  {true, 1, 0.5f},  {true, 2, 1.25f},
        {true, 7, 1.25f}, {true, -1, 0.0f}, {false, 3, 3.0f},
    };
    for (const auto& [hasTrack, index, time] : cases)
        EXPECT_EQ(coPropCueTime(hasTrack ? keys : std::vector<f32>{}, hasTrack, index), time) << index;

    anKeyData<maVector3d> track;
    for (f32 t : {1.25f, 0.0f, 0.5f, 0.5f})
        track.AddKey(t, maVector3d(0, 0, 0));
    EXPECT_EQ(coKeyTimes(track), keys);
}

TEST(coPropModelKind, TheExtensionChoosesTheLoader) {
    const std::pair<const char*, coPropTemplate::ModelKind> cases[] = {
        {"bench.mx", coPropTemplate::kStatic},
        {"fountain.mhx", coPropTemplate::kHierarchy},
        {"FOUNTAIN.MHX", coPropTemplate::kHierarchy},
        {"walker.msk", coPropTemplate::kSkinned},
        {"mx", coPropTemplate::kSkinned},
    };
    for (const auto& [file, kind] : cases)
        EXPECT_EQ(coPropModelKind(envString(file)), kind) << file;
}

} // namespace
