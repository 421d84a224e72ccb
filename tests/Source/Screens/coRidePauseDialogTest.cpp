#include "Source/Screens/coRidePauseDialog.h"

#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Screens/coTrackColorPicker.h"
#include "coScreenTestKit.h"

#include <filesystem>
#include <fstream>
#include <tuple>

namespace {

coColorScheme Scheme(f32 red) {
    coSchemeMaterial material;
    material.diffuse = {red, 0.5f, 0.5f, 1.0f};
    return {{"Rail", material}};
}

struct coRidePauseDialogTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        SetSchemes(3);
        coDialogDimmer::Create();
    }
    void TearDown() override {
        Drop();
        coDialogDimmer::Destroy();
        coTrackColorizer::ClearSchemes();
        coTrackColorizer::ClearCurrent();
        coScreenTest::TearDown();
    }
    // Stored schemes of red 0.1, 0.2, ...; the first selected and on the track.
    static void SetSchemes(int count) {
        coTrackColorizer::ClearSchemes();
        for (int i = 1; i <= count; ++i)
            coTrackColorizer::AddScheme(Scheme(0.1f * static_cast<f32>(i)));
        coTrackColorizer::SelectScheme(0);
        coTrackColorizer::ApplySchemeByIndex(0);
    }
    void Make(int mode) {
        Drop();
        dialog = new coRidePauseDialog;
        guiWindowMgr::AddWindow(dialog);
        dialog->SetMode(mode);
        dialog->SetSettings(settings);
        dialog->SetVisible(true);
    }
    void Drop() {
        if (dialog)
            guiWindowMgr::DeleteWindow(dialog);
        dialog = nullptr;
    }
    i32 Y(const char* name) const { return static_cast<i32>(dialog->FindChild(name)->GetPosition().y); }
    i32 Height(guiWindow* window) const {
        i32 w = 0, h = 0;
        window->GetSize(w, h);
        return h;
    }
    i32 RailHeight() const { return Height(dialog->FindChild("Rail 2")); }
    guiRadioGroup& Group(const char* name) const {
        return *dynamic_cast<guiRadioGroup*>(dialog->FindChild(name));
    }
    // A run whose frames click the widgets the lookups name, one after another.
    i32 Run(std::vector<std::function<guiWindow*()>> clicks) {
        coTestFrameFunction frame([&](int n) {
            const size_t click = static_cast<size_t>(n / 3);
            PointerFrame(click < clicks.size() && n % 3 == 1 ? clicks[click]() : nullptr,
                         click < clicks.size() && n % 3 == 1);
        });
        dialog->SetThinkFunction(&frame);
        const i32 result = dialog->DoModal();
        dialog->SetThinkFunction(nullptr);
        return result;
    }

    coRideSettings settings;
    coRidePauseDialog* dialog = nullptr;
};

TEST_F(coRidePauseDialogTest, ModesShowTheirButtonsAndTheColumnStacks) {
    const auto world = [](const guiWindow* window) { return window->GetWorldMatrix().m; };
    struct Case {
        int mode;
        std::vector<const char*> shown, hidden;
    } const cases[] = {
        {0, {"Friction", "TimeButton", "TrackColorButton"}, {"Build", "CameraButton", "NumCarsButton"}},
        {1, {"NumCarsButton", "TimeButton"}, {"Friction", "CameraButton", "CarTypeButton"}},
        {2, {"CameraButton", "CarTypeButton", "FanfareButton", "PositionButton"}, {"Build", "TimeButton"}},
        {3, {"Build", "Load", "Main", "CameraButton"}, {"CarTypeButton", "Friction", "TrackColorButton"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Make(c.mode);
        for (const char* name : c.shown)
            EXPECT_TRUE(dialog->FindChild(name)->IsVisible()) << name;
        for (const char* name : c.hidden)
            EXPECT_FALSE(dialog->FindChild(name)->IsVisible()) << name;
        // With any panel open the column stands under the builder's top bar and on the screen, and the
        // colour picker right of its rail.
        for (i32 panel = 0; panel < 8; ++panel) {
            dialog->ShowPanel(panel);
            EXPECT_GE(world(dialog->FindChild("Rail 1"))[13], 74.0f) << panel;
            EXPECT_LE(world(dialog->FindChild("Cancel"))[13] + 38.0f, 600.0f) << panel;
        }
        const auto* picker = dynamic_cast<guiContainer*>(Group("TrackColor").FindChild("Track Color Picker"));
        EXPECT_GE(world(picker->FindChild("Background"))[12], world(dialog->FindChild("Rail 2"))[12] + 16.0f);
    }
    // The ride request: seven buttons of 28 above "Ok", then Ok's 28 and one, Cancel's 28.
    Make(2);
    EXPECT_EQ(Y("Ok"), 206);
    EXPECT_EQ(RailHeight(), 263);
    dialog->ShowPanel(0);
    EXPECT_EQ(RailHeight(), 376);
    EXPECT_EQ(Y("Camera"), Y("CameraButton") + 28);
    dialog->ShowPanel(3); // another button switches panels
    EXPECT_EQ(dialog->GetPanelIndex(), 3);
    EXPECT_FALSE(dialog->FindChild("Camera")->IsVisible());
    dialog->ShowPanel(3); // its own button again closes it
    EXPECT_EQ(dialog->GetPanelIndex(), -1);
    EXPECT_EQ(RailHeight(), 263);

    // An open list's backdrop, drawn in its top 175 rows, ends above the button stacked below it and stays
    // within the rails.
    for (const auto& [panel, list, below] :
         {std::tuple{1, "CarTypeScrollBox", "FanfareButton"}, {2, "FanfareScrollBox", "NumCarsButton"}}) {
        SCOPED_TRACE(list);
        dialog->ShowPanel(panel);
        const auto* box = dynamic_cast<guiContainer*>(dialog->FindChild(list));
        const guiWindow* backdrop =
            dynamic_cast<guiContainer*>(box->FindChild("CarType"))->FindChild("Background");
        i32 width = 0, height = 0;
        backdrop->GetSize(width, height);
        EXPECT_LE(world(backdrop)[13] + 175.0f, world(dialog->FindChild(below))[13]);
        EXPECT_LE(world(backdrop)[12] + static_cast<float>(width),
                  world(dialog->FindChild("Rail 2"))[12] + 16.0f);
    }
}

TEST_F(coRidePauseDialogTest, TheColourListGrowsWithTheStoredSchemesUpToNine) {
    const std::pair<int, i32> heights[] = {{1, 80}, {3, 124}, {8, 234}, {9, 256}};
    for (const auto& [schemes, height] : heights) {
        SCOPED_TRACE(schemes);
        SetSchemes(schemes);
        Make(0);
        EXPECT_EQ(Height(&Group("TrackColor")), height);
        EXPECT_EQ(Group("TrackColor").GetSelection(), 0);
        EXPECT_EQ(dialog->GetColourPicker()->FindChild("Add Scheme")->IsEnabled(), schemes < 9);
    }
}

TEST_F(coRidePauseDialogTest, SettingsRoundTripAndTheSeatStaysInTheTrain) {
    settings.camera = 3;
    settings.carCountIndex = 2;
    settings.viewCar = 5; // beyond the three cars: the first car
    settings.music = 4;
    settings.musicFile = fsRootedLocator(coRootMusic, "Mine.mp3");
    settings.carType = "NoSuchTheme";
    settings.fanfare = "NoSuchTheme";
    settings.frictionOn = 0;
    settings.collisionsOff = 1;
    Make(2);
    coRideSettings out;
    out.carType = "kept";
    dialog->GetSettings(out);
    EXPECT_EQ(out.camera, 3);
    EXPECT_EQ(out.carCountIndex, 2);
    EXPECT_EQ(out.viewCar, 0);
    EXPECT_EQ(out.music, 4);
    EXPECT_TRUE(out.musicFile == settings.musicFile);
    EXPECT_EQ(out.frictionOn, 0);
    EXPECT_EQ(out.collisionsOff, 1);
    EXPECT_EQ(out.customColours, 0);
    // No car types listed: the record keeps its own; the fanfare list's row 0 is "no fanfare".
    EXPECT_EQ(out.carType, "kept");
    EXPECT_EQ(out.fanfare, "");

    // A seat beyond the cars chosen falls back to the first when the cars' panel closes.
    Group("NumCars").SetSelection(1);
    dialog->ShowPanel(3);
    Group("Position").SetSelection(4);
    dialog->ShowPanel(3);
    EXPECT_EQ(Group("Position").GetSelection(), 0);
}

// The ride's music starts silent, which no tune button stands for: none is checked, and an Ok keeps the
// silence unless a tune is clicked. The next showing shows the music in force, whatever was clicked.
TEST_F(coRidePauseDialogTest, SilenceChecksNoTuneAndStaysUnlessOneIsChosen) {
    settings.music = 5;
    Make(3);
    guiRadioGroup& music = Group("Music");
    const auto checked = [&music] {
        int count = 0;
        for (const char* tune : {"Music1", "Music2", "Music3", "Music4", "Other"})
            count += dynamic_cast<guiCheckbox&>(*music.FindChild(tune)).IsChecked() ? 1 : 0;
        return count;
    };
    EXPECT_EQ(checked(), 0);
    EXPECT_EQ(Run({[this] { return dialog->FindChild("MusicButton"); }, [this] { return dialog->GetOk(); }}),
              1);
    coRideSettings out = settings;
    dialog->GetSettings(out);
    EXPECT_EQ(out.music, 5);

    EXPECT_EQ(Run({[this] { return dialog->FindChild("MusicButton"); },
                   [&music] { return music.FindChild("Music2"); }, [this] { return dialog->GetOk(); }}),
              1);
    dialog->GetSettings(out);
    EXPECT_EQ(out.music, 1);
    EXPECT_EQ(checked(), 1);
    dialog->SetSettings(settings);
    EXPECT_EQ(std::tuple(music.GetSelection(), checked()), std::tuple(-1, 0));
}

TEST_F(coRidePauseDialogTest, APreviewCancelledCommitsNothingAndSaveEndsAsOk) {
    for (const bool custom : {false, true}) {
        SCOPED_TRACE(custom);
        SetSchemes(3);
        if (custom) {
            coTrackColorizer::SetCurrentScheme(Scheme(0.9f));
            coTrackColorizer::FindMatchingScheme();
        }
        const coColorScheme before = coTrackColorizer::GetCurrentScheme();
        const int selected = coTrackColorizer::GetSelectedIndex();
        Make(0);
        // The panels open in the run: showing the dialog closes them.
        EXPECT_EQ(
            Run({[this] { return dialog->FindChild("TrackColorButton"); },
                 [this] { return Group("TrackColor").GetChild(2); }, [this] { return dialog->GetCancel(); }}),
            2);
        EXPECT_TRUE(coTrackColorizer::GetCurrentScheme() == before);
        EXPECT_EQ(coTrackColorizer::GetSelectedIndex(), selected);
    }
    // "Save" in the picker ends the run as Ok.
    Make(0);
    EXPECT_EQ(Run({[this] { return dialog->FindChild("TrackColorButton"); },
                   [this] { return Group("TrackColor").FindChild("Customize"); },
                   [this] { return dialog->GetColourPicker()->FindChild("Save"); }}),
              1);
    EXPECT_EQ(dialog->GetExitAction(), 0);
}

TEST_F(coRidePauseDialogTest, ExitButtonsEndTheRunWithTheirAction) {
    for (const auto& [button, action] : {std::pair{"Build", 1}, {"Load", 2}, {"Main", 3}}) {
        SCOPED_TRACE(button);
        Make(3);
        EXPECT_EQ(Run({[this, name = button] { return dialog->FindChild(name); }}), 2);
        EXPECT_EQ(dialog->GetExitAction(), action);
    }
}

TEST_F(coRidePauseDialogTest, AScriptWithoutARailIsNamed) {
    fsTestFolder gui;
    for (const char* folder : {"uirp", "uitc"})
        std::filesystem::copy(DataPath(std::string("Data/GUI/") + folder), gui.Path(folder));
    std::filesystem::copy_file(DataPath("Data/GUI/gui.pak"), gui.Path("gui.pak"));
    std::ifstream in(std::string(LV_SOURCE_DIR) + "/Content/GUI/uirp/uirp.gst");
    std::string text{std::istreambuf_iterator<char>(in), {}};
    const size_t rail = text.find("Image { Id \"Rail 2\"");
    text.erase(rail, text.find('\n', rail) - rail);
    gui.Write("uirp/uirp.gst", text);
    gprParserUtil::CompileScript(gui.Locator("uirp/uirp.gst"), gui.Locator("uirp/uirp.gsf"));
    SetRoot(coRootGui, gui.Path());
    try {
        coRidePauseDialog broken;
        ADD_FAILURE() << "no exception";
    } catch (const coScreenScriptX& error) {
        EXPECT_EQ(envStringToNarrow(error.GetLocator().GetLastComponent()), "uirp.gsf");
    }
}

} // namespace
