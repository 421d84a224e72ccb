// A placed prop's trigger state machine with its particle and sound cues, on the fountain the
// content writer makes: a hierarchy model and a sway of 2 s.
#include "Source/World/coProp.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Audio/Sn/snWaveBuilder.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/Sc/scAnimatableObject.h"
#include "Engine/Graphics/Sc/scListParticleScene.h"
#include "Engine/Graphics/Sc/scObject.h"
#include "Engine/Graphics/Sc/scParticleFactory.h"
#include "Engine/Graphics/Sc/scParticleTemplateBytes.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSingleSkinObject.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/World/coPropTemplate.h"
#include "Tools/Model/toolAnimatedModels.h"
#include "Tools/Model/toolModelWriter.h"
#include "Tools/Model/toolPropModels.h"
#include "Tools/World/toolIronvaleProps.h"
#include "Tools/World/toolPropWriter.h"
#include "coWorldTestSupport.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <tuple>

namespace {

class coPropTest : public coWorldDeviceTest {
  protected:
    void SetUp() override {
        coWorldDeviceTest::SetUp();
        plInstallServices({.time = &m_time, .sound = &m_sound, .d3d = &m_d3d});
        snStartSoundSystem();
        snSoundManager::Init();
        g3dRenderer::Initialize();
        fsResetRootTable();
        fsAddRootDirectory(coRootText, m_folder.Locator("Text"));
        fsAddRootDirectory(coRootEffects, m_folder.Locator("Effects"));
        for (const char* folder : {"Ironvale/Model", "Ironvale/Sound", "Ironvale/Data", "Effects/Particle",
                                   "Effects/Texture", "Text/Ironvale"})
            m_folder.MakeFolder(folder);
        toolWriteIronvalePropModels(Native("Ironvale/Model"));
        m_folder.Write("Ironvale/Sound/drip.wav", snWaveBuilder::Wave16(snWaveBuilder::Ramp(2000)));
        m_folder.Write("Effects/Texture/spark.png",
                       g2dImageBuilder::Png(2, 8, 6, {std::string(8, '\x40'), std::string(8, '\x40')}));
        m_folder.Write("Effects/Particle/spark.tpr",
                       scTprBytes::Tpr(scTprBytes::Sgpp(1, 0, 1, "spark.png", {})));
        gfWriteTextSet(m_folder.Locator("Text/Ironvale/fountain.tsf"), 32, {{0, envString("Fountain")}});
        coPrefs::SetBool(coPrefParticles, true);
        maRandomSeed(1);
    }
    void TearDown() override {
        m_template.Unload();
        coPrefs::SetBool(coPrefParticles, false);
        scUpdateAll(100.0f); // lets the finished attachments go
        EXPECT_EQ(scGetUpdateListCount(), 0u);
        g3dRenderer::Shutdown();
        snSoundManager::Shutdown();
        snStopSoundSystem();
        fsResetRootTable();
        coWorldDeviceTest::TearDown();
    }
    // The sounds asked for start, mix to their end and are seen to have ended, as frames would.
    void PlayOut(f32 time) {
        snSoundManager::Update(time);
        m_sound.Render(22050);
        snSoundManager::Update(time);
    }
    std::string Native(const std::string& relative) {
        std::string path;
        fsLocatorToNativePath(m_folder.Locator(relative), path);
        return path;
    }
    // Idle sways once; the entry sways on with a spark at 1 s, a looping drip and a one-shot drip; the
    // exit is a plain sway.
    void Load() {
        toolPropEvent sway;
        sway.animation = "fountainsway.mx";
        toolPropEvent entry = sway;
        entry.playCount = -1;
        entry.particles.push_back({"spark.tpr", "", 1, -1.0f, {0, 1, 0}, {0, 1, 0}});
        entry.sounds.push_back({"drip.wav", "", 0, true});
        entry.sounds.push_back({"drip.wav", "", 0, false});
        toolPropDefinition fountain;
        fountain.model = "fountain.mhx";
        fountain.triggerDistance = 10.0f;
        fountain.idle = {sway};
        fountain.entries = {entry};
        fountain.exit = {sway};
        toolWritePropDefinition(Native("Ironvale/Data/fountain.prd"), fountain);
        m_template.Load(m_folder.Locator("Ironvale"));
    }

    fsTestFolder m_folder;
    plTestSoundDevice m_sound;
    scListParticleScene m_scene;
    coPropTemplate m_template{envString("fountain"), envString("Fountain"), false};
};

} // namespace

// The shipped skinned prop as the content generator writes it: its ".msk" model loads as a skin, each placed
// prop bends its own copy, and its idle animation sways it well out to the side.
TEST_F(coPropTest, TheShippedTubeDancerIsASkinThatSways) {
    toolWriteIronvaleProps(Native(""));
    coPropTemplate kind(envString("tubedancer"), envString("Tube Dancer"), false);
    kind.Load(m_folder.Locator("Themes/Ironvale"));
    ASSERT_EQ(kind.GetModelKind(), coPropTemplate::kSkinned);
    {
        coProp first(kind), second(kind);
        ASSERT_EQ(first.GetModels().size(), 1u);
        const auto* skin = dynamic_cast<const scSingleSkinObject*>(first.GetModels().front().get());
        ASSERT_NE(skin, nullptr);
        EXPECT_NE(skin->GetFragment(),
                  static_cast<const scSingleSkinObject&>(*second.GetModels().front()).GetFragment());
        EXPECT_TRUE(first.IsAnimated());
        const auto width = [&] { return skin->GetBoundingBox().maxX - skin->GetBoundingBox().minX; };
        const f32 upright = width();
        EXPECT_GT(skin->GetBoundingBox().maxY - skin->GetBoundingBox().minY, 2.5f);
        first.SetActive(true);
        f32 widest = 0.0f;
        // The idle sway starts within 5 s.
        for (f32 t = 0.0f; t < 7.0f; t += 0.05f) {
            first.Advance(t, false);
            scUpdateAll(t);
            widest = std::max(widest, width());
        }
        EXPECT_EQ(first.GetCurrentAnimation(), &kind.GetAnimation(coPropTemplate::kIdle, 0));
        EXPECT_GT(widest, 2.0f * upright);
        first.SetActive(false);
    }
    kind.Unload();
}

// The file that a load's failure names, when it names one.
fsLocator NamedFile(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const mayInvalidModelFileX& e) {
        return e.GetLocator();
    } catch (const chInvalidChunkX& e) {
        return e.GetLocator();
    } catch (const fsFileFailureX& e) {
        return e.GetLocator();
    } catch (...) {
        return {};
    }
}

// The tube dancer's skin and animation, cut (at every byte of the headers and the first joint, then every
// 61st) or with a chunk's name changed: the load is refused naming the damaged file, or the dancer it
// loads is drawn; it never stands unseen.
TEST_F(coPropTest, ADamagedTubeDancerIsRefusedNamingItsFileOrIsDrawn) {
    toolWriteIronvaleProps(Native(""));
    const fsLocator theme = m_folder.Locator("Themes/Ironvale");
    for (const char* name : {"tubedancer.msk", "tubedancersway.mx"}) {
        const std::string relative = std::string("Themes/Ironvale/Model/") + name;
        const std::string whole = m_folder.Read(relative);
        std::vector<std::string> damaged;
        for (size_t size = 0; size < whole.size(); size += size < 256 ? 1 : 61)
            damaged.push_back(whole.substr(0, size));
        for (const char* id :
             {"MSSK", "JOIN", "JODA", "GFRG", "GVER", "GIND", "MATR", "ANIH", "ANLV", "ARKY"})
            if (const size_t at = whole.find(id); at != std::string::npos)
                damaged.push_back(std::string(whole).replace(at + 3, 1, "x"));
        for (const std::string& bytes : damaged) {
            m_folder.Write(relative, bytes);
            coPropTemplate kind(envString("tubedancer"), envString("Tube Dancer"), false);
            try {
                kind.Load(theme);
            } catch (const envExceptionX&) {
                EXPECT_EQ(NamedFile(std::current_exception()), m_folder.Locator(relative))
                    << name << " of " << bytes.size() << " bytes";
                continue;
            }
            {
                coProp dancer(kind);
                EXPECT_EQ(dancer.GetModels().size(), 1u) << name << " of " << bytes.size() << " bytes";
                EXPECT_GT(dancer.GetLocalBounds().maxY - dancer.GetLocalBounds().minY, 1.0f) << name;
            }
            kind.Unload();
        }
        m_folder.Write(relative, whole);
    }
}

TEST_F(coPropTest, TheStateMachineRunsIdleEntryExitAndBackToIdle) {
    Load();
    coProp prop(m_template);
    ASSERT_TRUE(prop.IsAnimated());
    prop.SetPosition({5, 0, 7});
    prop.Update(1.0f); // inactive: nothing starts
    EXPECT_EQ(prop.GetCurrentAnimation(), nullptr);
    prop.SetActive(true);
    const coPropAnimation* idle = &m_template.GetAnimation(coPropTemplate::kIdle, 0);
    const coPropAnimation* entry = &m_template.GetAnimation(coPropTemplate::kEntry, 0);
    const coPropAnimation* exit = &m_template.GetAnimation(coPropTemplate::kExit, 0);
    prop.Advance(10.0f, false);
    EXPECT_EQ(prop.GetCurrentAnimation(), idle);
    EXPECT_GE(prop.GetStartTime(), 10.0f);
    EXPECT_LT(prop.GetStartTime(), 15.0f);

    const struct {
        f32 time;
        bool inside;
        const coPropAnimation* current;
        f32 start;
    } steps[] = {
        {20.0f, true, entry, 20.0f},  {21.0f, true, entry, 20.0f}, {23.0f, false, exit, 23.0f},
        {24.0f, false, exit, 23.0f},  {25.5f, false, idle, 25.5f}, {26.0f, true, entry, 26.0f},
        {27.0f, false, entry, 26.0f}, // the entry runs on while it lasts
        {28.5f, false, exit, 28.5f},  {29.0f, true, entry, 29.0f},
    };
    for (const auto& s : steps) {
        prop.Advance(s.time, s.inside);
        EXPECT_EQ(prop.GetCurrentAnimation(), s.current) << s.time;
        EXPECT_EQ(prop.GetStartTime(), s.start) << s.time;
    }
    // The entry's particle fires at its key; its drips play, and the one-shots the changes dropped have
    // played out and gone.
    PlayOut(30.5f);
    prop.Advance(30.6f, true);
    EXPECT_EQ(std::tuple(prop.CountGenerators(), prop.CountSounds()), std::tuple(1u, 2u));

    prop.SetActive(false);
    EXPECT_EQ(prop.GetCurrentAnimation(), nullptr);
    EXPECT_EQ(prop.CountGenerators() + prop.CountSounds(), 0u);
    // Back at rest where it stands.
    EXPECT_EQ(scGetObjectTree(prop.GetModels().front().get())->GetLocalMatrix().GetTranslation().z, 7.0f);
}

TEST_F(coPropTest, HidingEndsCuesAndADroppedOneShotPlaysOutThenGoes) {
    Load();
    auto prop = std::make_unique<coProp>(m_template);
    prop->SetActive(true);
    prop->Advance(0.0f, true);
    prop->Advance(1.5f, true);
    ASSERT_EQ(prop->CountGenerators(), 1u);
    ASSERT_EQ(prop->CountSounds(), 2u);
    prop->SetVisible(false);
    EXPECT_EQ(prop->CountGenerators() + prop->CountSounds(), 0u);
    prop->SetVisible(true);

    // Leaving: the looping drip stops, the one-shot's slot is dropped by the silent exit and plays on.
    prop->Advance(2.0f, true);
    ASSERT_EQ(prop->CountSounds(), 2u);
    prop->Advance(3.0f, false);
    EXPECT_EQ(prop->CountSounds(), 1u);
    PlayOut(3.05f);
    prop->Advance(3.1f, false);
    EXPECT_EQ(prop->CountSounds(), 0u);

    // A prop deleted with an endless spark alive takes it along.
    prop->Advance(4.0f, true);
    prop->Advance(5.5f, true);
    ASSERT_EQ(prop->CountGenerators(), 1u);
    prop.reset();
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
}

TEST_F(coPropTest, EventsBeyondTheListsPlayNothingAndParticlesOffKeepTheSounds) {
    Load();
    coProp prop(m_template);
    prop.SetActive(true);
    prop.SetActiveEvent(3); // the template has one entry event
    const coPropAnimation* idle = &m_template.GetAnimation(coPropTemplate::kIdle, 0);
    prop.Advance(10.0f, false);
    prop.Advance(20.0f, true);
    EXPECT_EQ(prop.GetCurrentAnimation(), idle);
    prop.Advance(21.0f, false);
    EXPECT_EQ(prop.GetCurrentAnimation(), &m_template.GetAnimation(coPropTemplate::kExit, 0));

    coPrefs::SetBool(coPrefParticles, false);
    prop.SetActiveEvent(0);
    prop.Advance(30.0f, true);
    prop.Advance(31.5f, true);
    EXPECT_EQ(std::tuple(prop.CountGenerators(), prop.CountSounds()), std::tuple(0u, 2u));
    prop.SetActive(false);

    toolPropEvent sway;
    sway.animation = "fountainsway.mx";
    // Without exit or idle animations, leaving stops the model.
    toolPropDefinition only;
    only.model = "fountain.mhx";
    only.triggerDistance = 10.0f;
    only.entries = {sway};
    toolWritePropDefinition(Native("Ironvale/Data/only.prd"), only);
    coPropTemplate entryOnly(envString("only"), envString("Only"), false);
    entryOnly.Load(m_folder.Locator("Ironvale"));
    {
        coProp passing(entryOnly);
        passing.SetActive(true);
        passing.Advance(1.0f, true);
        const auto& model = dynamic_cast<const scAnimatableObject&>(*passing.GetModels().front());
        EXPECT_TRUE(model.IsPlaying());
        passing.Advance(5.0f, false);
        EXPECT_FALSE(model.IsPlaying());
    }
    entryOnly.Unload();

    // A static model never animates, whatever its definition holds.
    toolWriteStaticModel(Native("Ironvale/Model/box.mx"), {toolMakeBox({1, 1, 1}, {0, 0.5f, 0}, {})});
    toolPropDefinition box;
    box.model = "box.mx";
    box.triggerDistance = 10.0f;
    box.idle = box.entries = {sway};
    toolWritePropDefinition(Native("Ironvale/Data/box.prd"), box);
    coPropTemplate kind(envString("box"), envString("Box"), false);
    kind.Load(m_folder.Locator("Ironvale"));
    {
        coProp still(kind);
        still.SetActive(true);
        still.Advance(1.0f, true);
        EXPECT_EQ(std::tuple(still.IsAnimated(), still.GetCurrentAnimation()), std::tuple(false, nullptr));
    }
    kind.Unload();
}
