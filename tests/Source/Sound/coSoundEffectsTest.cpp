#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Source/Sound/coAudioTestSupport.h"

#include <set>
#include <tuple>
#include <vector>

namespace {

class coSoundEffectsTest : public coAudioTest {
  protected:
    void SetUp() override {
        coAudioTest::SetUp();
        for (const char* name :
             {"TRACK_PLACE_A", "TRACK_PLACE_B", "TRACK_PLACE_C", "TRACK_FINISH",     "TRACK_BEND_A",
              "TRACK_BEND_B",  "TRACK_BEND_C",  "TRACK_BEND_D",  "TRACK_BEND_E",     "UNDO_TRACK_A",
              "UNDO_TRACK_B",  "LENGTHEN",      "SHORTEN",       "PROP_PLACE_FLOAT", "PROP_PLACE_GROUND",
              "CHAIN",         "ERROR_B",       "Ring",          "MisFail",          "MisComp",
              "MisBrnz",       "MisSilv",       "MisGold",       "CrerComp"})
            WriteSound(std::string("GUI/Sound/") + name + ".wav");
    }
    // The file of the variant the slot played.
    static std::string Play(int slot) {
        coPlaySoundEffect(slot);
        const coSoundVariantSet& set = *coGetSoundEffect(slot);
        return envStringToNarrow(set.GetVariant(set.GetLastPlayed()).GetName());
    }
};

} // namespace

TEST_F(coSoundEffectsTest, VariantsNeverRepeatAndBadSlotsAndFilesAreLeftOut) {
    std::set<std::string> heard;
    std::string last = Play(0);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 35u);
    for (int i = 0; i < 40; ++i) {
        const std::string next = Play(0);
        EXPECT_NE(next, last);
        heard.insert(last = next);
    }
    EXPECT_EQ(heard.size(), 3u);
    const std::string a = Play(3), b = Play(3);
    EXPECT_NE(a, b);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Play(3), a);
        EXPECT_EQ(Play(3), b);
        EXPECT_EQ(Play(25), "CrerComp.wav");
    }
    coPlaySoundEffect(-1);
    coPlaySoundEffect(26);
    EXPECT_EQ(log.Count("There is no sound effect"), 2u);

    coReleaseSoundEffects();
    std::filesystem::remove(folder.Path("GUI/Sound/TRACK_BEND_C.wav"));
    coLoadSoundEffects();
    EXPECT_EQ(coGetSoundEffect(2)->GetCount(), 4);
    EXPECT_TRUE(log.Holds("TRACK_BEND_C.wav\" cannot be loaded"));
}

TEST_F(coSoundEffectsTest, EffectsOffReleasesTheBankAndOnReloadsIt) {
    coPlaySoundEffect(4);
    coPrefs::SetBool(coPrefSoundEffectsOff, true);
    coLoadSoundEffects();
    coPlaySoundEffect(4);
    EXPECT_EQ(std::tuple(coGetSoundEffect(0), snSoundManager::GetActiveCount()), std::tuple(nullptr, 0u));
    coPrefs::SetBool(coPrefSoundEffectsOff, false);
    EXPECT_EQ(Play(4), "LENGTHEN.wav");
    EXPECT_EQ(snSoundManager::GetActiveCount(), 35u);
}

TEST_F(coSoundEffectsTest, InterfaceSoundsGoToTheirCuesWithTheMute) {
    WriteSound("GUI/Sound/ui001_o.wav");
    WriteSound("GUI/Sound/ui001_p.wav");
    for (bool muted : {true, false}) {
        coPrefs::SetBool(coPrefInterfaceMuted, muted);
        coLoadUiSounds();
        for (int state : {1, 7, 3, 9})
            EXPECT_EQ(guiSoundCues::GetCueCount(state), 1u) << state;
        EXPECT_EQ(guiSoundCues::IsMuted(), muted);
    }
    // A missing file leaves its cues out and the others in.
    std::filesystem::remove(folder.Path("GUI/Sound/ui001_p.wav"));
    coLoadUiSounds();
    EXPECT_EQ(std::tuple(guiSoundCues::GetCueCount(1), guiSoundCues::GetCueCount(3)), std::tuple(1u, 0u));
    EXPECT_TRUE(log.Holds("ui001_p.wav\" cannot be loaded"));
    guiSoundCues::Clear();
}
