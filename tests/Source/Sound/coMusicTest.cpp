#include "Source/Sound/coMusic.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Sound/coAudioTestSupport.h"

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {

class coMusicTest : public coAudioTest {
  protected:
    void SetUp() override {
        coAudioTest::SetUp();
        for (const char* name :
             {"main1", "main2", "build1", "build2", "build3", "build4", "ride1", "ride2", "ride3", "ride4"})
            WriteSound(std::string("Music/") + name + ".wav", 0.5f);
    }
    static muMusicManager& Manager() { return *muGetMusicManager(); }
    // The file of the track that plays, "marked" once Mark named its job; empty in silence.
    static std::string Playing() {
        const snSoundJob* job = Manager().GetJob();
        return job && (Manager().GetFlags() & muMusicManager::kPlaying) ? envStringToNarrow(job->GetName())
                                                                        : "";
    }
    static void Mark() { Manager().GetJob()->SetName("marked"); }
    static void Apply(int context, bool restart = false) {
        coMusicRequestContext(context);
        coMusicApplyContext(restart);
    }
};

} // namespace

TEST_F(coMusicTest, MenuTracksTakeTurnsAndTheRideStartsSilentAtItsVolume) {
    coPrefs::SetFloat(coPrefRideMusicVolume, 0.3f);
    coPrefs::SetFloat(coPrefBuilderMusicVolume, 0.4f);
    coPrefs::SetFloat(coPrefMenuMusicVolume, 0.5f);
    coMusicStart();
    std::vector<std::string> menu;
    for (int i = 0; i < 3; ++i) {
        Apply(coMusicMenu);
        menu.push_back(Playing());
    }
    EXPECT_EQ(menu, (std::vector<std::string>{"main2.wav", "main1.wav", "main2.wav"}));
    Apply(coMusicRide, true);
    EXPECT_EQ(Playing(), "");
    coMusicSetChoice(coMusicRide, 3);
    coMusicApplyContext(true);
    EXPECT_EQ(Playing(), "ride4.wav");
    // Playlist id: volume. The second building context has the builder's.
    for (const auto& [playlist, volume] :
         {std::pair{1u, 0.5f}, {8u, 0.4f}, {10u, 0.4f}, {16u, 0.3f}, {18u, 0.4f}, {22u, 0.4f}})
        EXPECT_EQ(Manager().GetPlaylist(playlist).volume, volume) << playlist;
    // Volumes changed later (the options) reach every playlist, not only the one playing.
    coPrefs::SetFloat(coPrefBuilderMusicVolume, 0.2f);
    coMusicApplyVolumes();
    for (const u32 playlist : {8u, 10u, 18u, 22u})
        EXPECT_EQ(Manager().GetPlaylist(playlist).volume, 0.2f) << playlist;
}

TEST_F(coMusicTest, BuilderRestartsOnlyWhenAskedOrEnteredAnewAndResumesWhatItPaused) {
    coMusicStart();
    Apply(coMusicBuilder);
    Mark();
    Apply(coMusicBuilder);
    EXPECT_EQ(Playing(), "marked");
    coMusicApplyContext(true);
    EXPECT_EQ(Playing().substr(0, 5), "build");
    Mark();
    Apply(coMusicMenu);
    Apply(coMusicBuilder);
    EXPECT_EQ(Playing().substr(0, 5), "build");

    // Paused, an application resumes the same track; pausing or resuming twice changes nothing.
    Mark();
    coMusicPause();
    coMusicPause();
    EXPECT_EQ(Playing(), "");
    coMusicApplyContext(true);
    coMusicResume();
    EXPECT_EQ(Playing(), "marked");
    // Left while paused, the builder starts its own music on return, not the menu's.
    coMusicPause();
    Apply(coMusicMenu);
    Apply(coMusicBuilder);
    EXPECT_EQ(Playing().substr(0, 5), "build");

    // The second building context follows the builder's choice, from playlists of its own.
    coMusicSetChoice(coMusicBuilder, 2);
    Apply(coMusicSecondBuilder);
    EXPECT_EQ(std::tuple(Playing(), Manager().GetCurrentPlaylist()), std::tuple("build3.wav", 20));
}

TEST_F(coMusicTest, ChoicesAndContextsOutsideTheirRangeAreRefused) {
    coPrefs::SetInt(coPrefBuilderMusicChoice, 42);
    coMusicStart();
    EXPECT_EQ(coMusicGetChoice(coMusicBuilder), 0);
    // No context is current: the current one reads as silence and takes nothing.
    EXPECT_EQ(coMusicGetChoice(-1), coMusicSilence);
    coMusicRequestContext(7);
    EXPECT_EQ(coMusicGetContext(), -1);
    // Context, choice asked: choice stored.
    const struct {
        int context, choice, stored;
    } cases[] = {
        {1, 4, 4}, {1, 6, 0}, {1, -2, 0}, {2, 5, 5}, {4, 1, coMusicSilence}, {-7, 1, coMusicSilence}};
    for (const auto& c : cases) {
        coMusicSetChoice(c.context, c.choice);
        EXPECT_EQ(coMusicGetChoice(c.context), c.stored) << c.context << " " << c.choice;
    }
    // A coaster file's ride music is the ride context's choice and own track.
    coSavedCoasterServices& services = coGetSavedCoasterServices();
    services.SetMusicTrack(coMusicRide, 2);
    services.SetMusicFolder(coMusicRide, folder.Locator("x.wav"));
    EXPECT_EQ(coMusicGetChoice(coMusicRide), 2);
    EXPECT_TRUE(services.GetMusicFolder(coMusicRide) == folder.Locator("x.wav"));
}

TEST_F(coMusicTest, TracksThatCannotBePlayedLeaveTheMusicSilentWithAWarning) {
    // A saved own track that is gone is not taken at start: choice 4 is then silence.
    coPrefs::SetPath(coPrefBuilderOwnTrack, folder.Locator("mine.wav"));
    coMusicStart();
    coMusicSetChoice(coMusicBuilder, coMusicOwnTrack);
    Apply(coMusicBuilder);
    EXPECT_EQ(Playing(), "");

    WriteSound("mine.wav");
    coMusicSetOwnTrack(coMusicBuilder, folder.Locator("mine.wav"));
    coMusicApplyContext(true);
    EXPECT_EQ(Playing(), "mine.wav");
    std::filesystem::remove(folder.Path("mine.wav"));
    coMusicApplyContext(true);
    EXPECT_EQ(Playing(), "");
    std::filesystem::remove(folder.Path("Music/build3.wav"));
    coMusicSetChoice(coMusicBuilder, 2);
    coMusicApplyContext(true);
    EXPECT_EQ(Playing(), "");
    // A playlist file gone before it is read is warned of, and that choice stays silent.
    coMusicSetChoice(coMusicBuilder, coMusicOwnTrack);
    coMusicClearPlaylist(coMusicBuilder);
    EXPECT_NO_THROW(coMusicAddTrack(folder.Locator("gone.m3u"), coMusicBuilder, -1));
    coMusicApplyContext(true);
    EXPECT_EQ(Playing(), "");
    EXPECT_EQ(std::tuple(log.Holds("mine.wav"), log.Holds("build3.wav"), log.Holds("gone.m3u"),
                         log.Count("can be played")),
              std::tuple(true, true, true, 3u));
}

TEST_F(coMusicTest, KeysStepAndWrapThroughThePlaylistAndToggleShuffle) {
    input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
    inDeviceManager::Start();
    // Previous, next and shuffle on the keys 57 to 59 until the default bindings exist.
    for (i32 i = 0; i < 3; ++i)
        inDeviceManager::GetVirtualJoystick()->Bind(*inDeviceManager::GetKeyboard(0),
                                                    coActionPreviousTrack + i, 57 + i);
    auto press = [&](u8 dik) {
        for (u8 state : {u8{0x80}, u8{0}}) {
            input.GetScript(0).keys[dik] = state;
            inDeviceManager::PollAll();
            coMusicHandleKeys();
        }
    };
    coMusicStart();
    coMusicSetShuffle(coMusicBuilder, 0, false);
    Apply(coMusicBuilder);
    std::vector<std::string> heard{Playing()};
    for (u8 dik : {plDik::RBracket, plDik::LBracket, plDik::LBracket, plDik::RBracket}) {
        press(dik);
        heard.push_back(Playing());
    }
    EXPECT_EQ(heard, (std::vector<std::string>{"build1.wav", "build2.wav", "build1.wav", "build4.wav",
                                               "build1.wav"}));
    press(plDik::Backslash);
    EXPECT_TRUE(Manager().IsShuffled(6));
    // A playlist of one track: the keys do nothing.
    coMusicSetChoice(coMusicBuilder, 1);
    coMusicApplyContext(true);
    Mark();
    press(plDik::RBracket);
    press(plDik::Backslash);
    EXPECT_EQ(std::tuple(Playing(), Manager().IsShuffled(7)), std::tuple("marked", false));
    inDeviceManager::Stop();
}

TEST_F(coMusicTest, StartReadsThePreferencesAndSavingWritesThemOnlyWhenChanged) {
    WriteSound("mine.wav");
    coPrefs::SetPath(coPrefBuilderOwnTrack, folder.Locator("mine.wav"));
    coPrefs::SetBool(coPrefOwnTrackShuffled, true);
    coPrefs::SetInt(coPrefBuilderMusicChoice, 3);
    coPrefs::SetSessionFlag(coSessionMp3Music, 1);
    coMusicStart();
    coPrefs::SetSessionFlag(coSessionMp3Music, 0);
    EXPECT_EQ(coMusicGetChoice(coMusicBuilder), 3);
    EXPECT_TRUE(coMusicGetOwnTrack(coMusicBuilder) == folder.Locator("mine.wav"));
    EXPECT_EQ(envStringToNarrow(Manager().GetPlaylist(0).tracks.at(0).GetLastComponent()), "main1.mp3");

    coMusicSaveSettings();
    EXPECT_FALSE(std::filesystem::exists(folder.Path("Saves/prefs.bin")));
    coMusicSetShuffle(coMusicBuilder, coMusicOwnTrack, false);
    coMusicSaveSettings();
    EXPECT_TRUE(std::filesystem::exists(folder.Path("Saves/prefs.bin")));
    EXPECT_FALSE(coPrefs::GetBool(coPrefOwnTrackShuffled));
}
