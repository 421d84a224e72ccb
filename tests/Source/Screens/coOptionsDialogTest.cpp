#include "Source/Screens/coOptionsDialog.h"

#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiSlider.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Sound/coMusic.h"
#include "coScreenTestKit.h"

namespace {

struct coOptionsDialogTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        coDialogDimmer::Create();
        dialog = new coOptionsDialog;
        guiWindowMgr::AddWindow(dialog);
    }
    void TearDown() override {
        guiWindowMgr::DeleteWindow(dialog);
        coDialogDimmer::Destroy();
        coScreenTest::TearDown();
    }
    // A run in which the step changes the controls on the first frame, then Ok or Cancel is clicked.
    i32 Run(const std::function<void()>& change, bool ok) {
        coTestFrameFunction frame([&](int n) {
            if (n == 0)
                change();
            PointerFrame(n == 0 ? nullptr : ok ? dialog->GetOk() : dialog->GetCancel(), n == 1);
        });
        dialog->SetThinkFunction(&frame);
        return dialog->DoModal();
    }
    std::string SelectedResolution() const { return dialog->GetResolution()->GetSelectedButton()->GetName(); }

    coOptionsDialog* dialog = nullptr;
};

TEST_F(coOptionsDialogTest, TheResolutionPreferencePicksItsButton) {
    // Index 5 stands first; the others follow it in order.
    for (const auto& [resolution, name] : {std::pair{5, "5"}, {2, "2"}, {0, "0"}, {7, "5"}}) {
        SCOPED_TRACE(resolution);
        coPrefs::SetInt(coPrefResolution, resolution);
        Run([] {}, false);
        EXPECT_EQ(SelectedResolution(), name);
    }
}

TEST_F(coOptionsDialogTest, OkStoresEveryControlAndSavesCancelPutsBackWhatWasTried) {
    Run(
        [this] {
            dialog->GetBox("Tool Tips")->SetChecked(!coPrefs::GetBool(coPrefToolTips));
            dialog->GetBox("Screams")->SetChecked(!dialog->GetBox("Screams")->IsChecked());
            dialog->GetSlider("Gamma")->SetValue(0.8f);
            dialog->GetResolution()->SetSelection(3);
        },
        false);
    EXPECT_FLOAT_EQ(coPrefs::GetFloat(coPrefGamma), 0.5f);
    const bool screamsOff = coPrefs::GetBool(coPrefScreamsOff);
    EXPECT_TRUE(screamsOff);

    const bool tips = coPrefs::GetBool(coPrefToolTips);
    EXPECT_EQ(Run(
                  [this, tips, screamsOff] {
                      dialog->GetBox("Tool Tips")->SetChecked(!tips);
                      dialog->GetBox("Screams")->SetChecked(
                          screamsOff); // the box means on, the preference off
                      dialog->GetSlider("SFX")->SetValue(0.25f);
                      dialog->GetResolution()->SetSelection(3);
                  },
                  true),
              1);
    EXPECT_EQ(coPrefs::GetBool(coPrefToolTips), !tips);
    EXPECT_EQ(coPrefs::GetBool(coPrefScreamsOff), !screamsOff);
    EXPECT_FLOAT_EQ(coPrefs::GetFloat(coPrefSoundEffectsVolume), 0.25f);
    EXPECT_EQ(coPrefs::GetInt(coPrefResolution), 2);
    // The file holds them too.
    coPrefs::SetDefaults();
    coPrefs::Load();
    EXPECT_EQ(coPrefs::GetBool(coPrefToolTips), !tips);
    EXPECT_EQ(coPrefs::GetBool(coPrefScreamsOff), !screamsOff);
    i32 resolution = 0, depth = 0;
    EXPECT_TRUE(dialog->GetChangedDisplayMode(resolution, depth));
    EXPECT_EQ(resolution, 2);
}

TEST_F(coOptionsDialogTest, PropCollisionsChangeOnlyWhenTheirBoxChanged) {
    coSetCollisionChecks(false); // as the ride options' "No Prop Collisions" leaves them
    for (const bool ok : {false, true}) {
        Run([] {}, ok);
        EXPECT_FALSE(coGetCollisionChecks()) << ok;
    }
    for (const bool disable : {true, false}) {
        Run([this, disable] { dialog->GetBox("Disable Prop Collisions")->SetChecked(disable); }, true);
        EXPECT_EQ(coGetCollisionChecks(), !disable) << disable;
    }
}

TEST_F(coOptionsDialogTest, ResetThenCancelReloadsTheSavedFile) {
    coPrefs::SetBool(coPrefToolTips, !coPrefs::GetBool(coPrefToolTips));
    coPrefs::Save();
    const bool saved = coPrefs::GetBool(coPrefToolTips);
    Run([this] { Click(dialog->FindChild("Reset")); }, false);
    EXPECT_EQ(coPrefs::GetBool(coPrefToolTips), saved);
}

TEST_F(coOptionsDialogTest, FromTheRideSettingsTheStartupOptionsAreOff) {
    dialog->EnableStartupOptions(false);
    for (const char* name : {"Texture In Build", "Layered Sky", "Particles", "Vertical Sync"})
        EXPECT_FALSE(dialog->GetBox(name)->IsEnabled()) << name;
    EXPECT_FALSE(dialog->GetResolution()->IsEnabled());
    coPrefs::SetBool(coPrefDeepColourOffered, true); // 32-bit colour offered by the display
    EXPECT_FALSE(dialog->GetSlider("Crossbar Detail")->GetParent()->IsVisible());
    // Its buttons show themselves locked, the chosen one still checked; so does the colour depth.
    Run([] {}, false);
    EXPECT_FALSE(dynamic_cast<guiContainer*>(dialog->FindChild("Resolution Group"))
                     ->FindChild("Bit Depth")
                     ->IsEnabled());
    const guiRadioGroup& resolutions = *dialog->GetResolution();
    for (i32 b = 0; b < resolutions.GetButtonCount(); ++b)
        EXPECT_EQ(resolutions.GetChild(b)->GetState(), b == 1 ? guiStateDisabled + 6 : guiStateDisabled) << b;
    // The category buttons switch the group shown.
    dialog->SetVisible(true);
    dialog->SetEnabled(true);
    const guiWindow* graphics =
        dynamic_cast<guiContainer*>(dialog->FindChild("Categories"))->FindChild("Graphics");
    PointerFrame(graphics, true);
    PointerFrame(graphics, false);
    EXPECT_TRUE(dialog->FindChild("Graphics Group")->IsVisible());
    EXPECT_FALSE(dialog->FindChild("Audio Group")->IsVisible());
}

TEST_F(coOptionsDialogTest, MusicSwitchedOffPlaysAgainAfterCancelAndStaysOffAfterOk) {
    SetRoot(coRootMusic, DataPath("Data/Music"));
    coMusicStart();
    coMusicSetChoice(coMusicRide, 3);
    const auto playing = [] { return (muGetMusicManager()->GetFlags() & muMusicManager::kPlaying) != 0; };
    const struct {
        i32 caller;
        int context;
        const char* box;
        i32 offPref;
    } callers[] = {{coOptionsFromMenu, coMusicMenu, "Menu Music", coPrefMenuMusicOff},
                   {coOptionsFromRide, coMusicRide, "Ride Music", coPrefRideMusicOff}};
    for (const auto& caller : callers)
        for (const bool ok : {false, true}) {
            SCOPED_TRACE(std::string(caller.box) + (ok ? " Ok" : " Cancel"));
            dialog->SetModeId(caller.caller);
            coMusicRequestContext(caller.context);
            coMusicApplyContext(true);
            ASSERT_TRUE(playing());
            // The ride's options lie behind its pause dialog, which pauses the music and resumes it after.
            const bool paused = caller.caller != coOptionsFromMenu;
            if (paused)
                coMusicPause();
            Run(
                [this, &caller] {
                    dialog->GetBox(caller.box)->SetChecked(false);
                    dialog->TryMusicSwitch(true); // what the dialog's frame does for the box
                },
                ok);
            if (paused)
                coMusicResume();
            EXPECT_EQ(playing(), !ok);
            EXPECT_EQ(coPrefs::GetBool(caller.offPref), ok);
            coPrefs::SetBool(caller.offPref, false);
            coMusicSetDisabled(false);
        }
    muDestroyMusicManager();
    coMusicSetChoice(coMusicRide, coMusicSilence);
    coMusicRequestContext(-1);
    coMusicRequestContext(-1);
}

} // namespace
