#include "Source/Settings/coAudioTestSupport.h"
#include "Source/Settings/coGuiSoundCues.h"

#include <set>
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

struct coRecordingCues : coGuiSoundCues {
    void Clear() override { cues.push_back("clear"); }
    void SetCue(int slot, const fsLocator& file, float volume) override {
        cues.push_back(std::to_string(slot) + " " + envStringToNarrow(file.GetLastComponent()) + " " +
                       std::to_string(volume));
    }
    void SetMuted(bool flag) override { muted = flag; }
    std::vector<std::string> cues;
    bool muted = false;
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
    EXPECT_EQ(coGetSoundEffect(0), nullptr);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
    coPrefs::SetBool(coPrefSoundEffectsOff, false);
    EXPECT_EQ(Play(4), "LENGTHEN.wav");
    EXPECT_EQ(snSoundManager::GetActiveCount(), 35u);
}

TEST_F(coSoundEffectsTest, InterfaceSoundsGoToTheirCuesWithTheMute) {
    coRecordingCues recorder;
    coSetGuiSoundCues(&recorder);
    for (bool muted : {true, false}) {
        coPrefs::SetBool(coPrefInterfaceMuted, muted);
        recorder.cues.clear();
        coLoadUiSounds();
        EXPECT_EQ(recorder.cues,
                  (std::vector<std::string>{"clear", "1 ui001_o.wav 1.000000", "7 ui001_o.wav 1.000000",
                                            "3 ui001_p.wav 1.000000", "9 ui001_p.wav 1.000000"}));
        EXPECT_EQ(recorder.muted, muted);
    }
    coSetGuiSoundCues(nullptr);
}
