#include "Source/Screens/coKeyboardDialog.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiKeyboardSelector.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Sound/coSoundEffects.h"
#include "coScreenTestKit.h"

#include <filesystem>

namespace {

struct coKeyboardDialogTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        dialog = new coKeyboardDialog;
        guiWindowMgr::AddWindow(dialog);
        // Up as during its run, so the window manager's frames reach its Think.
        dialog->SetVisible(true);
        dialog->SetEnabled(true);
    }
    void TearDown() override {
        guiWindowMgr::DeleteWindow(dialog);
        coScreenTest::TearDown();
    }
    void Frame() {
        inDeviceManager::PollAll();
        guiWindowMgr::Update();
    }
    // The real key pressed for a frame and let go, then a frame more.
    void Press(u8 dik) {
        for (u8 state : {u8{0x80}, u8{0}, u8{0}}) {
            input.GetScript(1).keys[dik] = state;
            Frame();
        }
    }
    std::string Text() const { return envStringToNarrow(dialog->GetText()); }
    xuiOrderedKeyboard& Page() const { return *dialog->GetSelector()->GetCurrentKeyboard(); }

    coKeyboardDialog* dialog = nullptr;
};

TEST_F(coKeyboardDialogTest, RealKeysTypeThroughTheirOnScreenKeysOnceARelease) {
    ASSERT_NE(inDeviceManager::GetKeyboard(0), nullptr);
    struct Step {
        u8 dik;
        const char* text;                                                            // after the press
    } const steps[] = {{plDik::A, "a"},    {plDik::Space, "a "},  {plDik::D1, "a "}, // no digit keys shown
                       {plDik::Back, "a"}, {plDik::Capital, "a"}, {plDik::B, "aB"},  {plDik::Delete, ""},
                       {plDik::Back, ""},  {plDik::Capital, ""},  {plDik::C, "c"}};
    for (const Step& step : steps) {
        Press(step.dik);
        EXPECT_EQ(Text(), step.text) << "after key " << int(step.dik);
    }
    EXPECT_FALSE(Page().FindKey(6)->IsChecked());
    // A character above U+FFFF goes whole.
    dialog->SetText(envString(u"a\U0001F3A2"));
    Press(plDik::Back);
    EXPECT_EQ(dialog->GetText(), envString(u"a"));
}

// Shift down when a letter goes down types the other case, whichever is let go first; a letter already
// down when Shift comes keeps its own. Under Caps Lock, Shift gives the small letter.
TEST_F(coKeyboardDialogTest, ShiftTypesALetterInTheOtherCase) {
    struct Case {
        bool capsLock;
        u8 shiftKey;
        std::vector<std::pair<u8, u8>> polls; // Shift and E down, a poll each
        const char* text;
    } const cases[] = {
        {false, plDik::RShift, {{1, 0}, {1, 1}, {1, 0}, {0, 0}}, "E"},   // E let go first
        {false, plDik::LShift, {{1, 0}, {1, 1}, {0, 1}, {0, 0}}, "EE"},  // Shift let go first
        {false, plDik::LShift, {{0, 1}, {1, 1}, {1, 0}, {0, 0}}, "EEe"}, // E down before Shift
        {true, plDik::LShift, {{1, 0}, {1, 1}, {0, 0}, {0, 0}}, "EEee"}, // Caps Lock on
    };
    for (const Case& c : cases) {
        if (c.capsLock)
            Press(plDik::Capital);
        for (const auto& [shift, letter] : c.polls) {
            input.GetScript(1).keys[c.shiftKey] = shift ? 0x80 : 0;
            input.GetScript(1).keys[plDik::E] = letter ? 0x80 : 0;
            Frame();
        }
        EXPECT_EQ(Text(), c.text);
    }
    Press(plDik::E);
    EXPECT_EQ(Text(), "EEeeE");
}

TEST_F(coKeyboardDialogTest, ClickedKeysTypeEveryLetterAndDigit) {
    // Each key clicked over two frames, one frame more to type it; the keys are found anew since a
    // toggle builds them again.
    const std::pair<const char*, const char*> clicks[] = {{"v", "v"},     {"a", "va"},   {"l", "val"},
                                                          {"123", "val"}, {"2", "val2"}, {"Space", "val2 "}};
    for (const auto& [key, text] : clicks) {
        PointerFrame(Page().FindChild(key), true);
        PointerFrame(nullptr, false);
        PointerFrame(nullptr, false);
        EXPECT_EQ(Text(), text) << "after " << key;
    }
}

TEST_F(coKeyboardDialogTest, OkOnlyForNamesThatCanBeAProfilesFolder) {
    const std::pair<const char*, bool> names[] = {{"", false},
                                                  {"   ", false},
                                                  {"track color preference settings", false},
                                                  {"DIRECTORY FOR UNLOCKED PROPS", false},
                                                  {"a/b", false},
                                                  {"..", false},
                                                  {"My Coaster", true},
                                                  {" x ", true}};
    for (const auto& [name, ok] : names) {
        dialog->SetText(envString(name));
        Frame();
        EXPECT_EQ(dialog->GetOk()->IsEnabled(), ok) << '"' << name << '"';
        // Return on a refused name plays the error sound, which fills the effects' bank.
        Press(plDik::Return);
        EXPECT_EQ(coGetSoundEffect(18) != nullptr, !ok) << '"' << name << '"';
        coReleaseSoundEffects();
    }
}

// Keys that cannot be pressed show the grey caption of every disabled button: Clear and Back without a
// name, the letters, Space and the toggles once it is full.
TEST_F(coKeyboardDialogTest, AFullFieldLeavesOnlyBackspaceAndClear) {
    std::vector<guiButton*> keys;
    Page().GetKeys(keys);
    ASSERT_FALSE(keys.empty());
    const auto greyed = [](const guiButton* key) {
        return !key->IsEnabled() && key->GetState() == guiStateDisabled &&
               key->GetText()->GetTextColor(guiStateDisabled) == g3dTextColour{150, 150, 150} &&
               key->GetText()->GetText(guiStateDisabled) == key->GetText()->GetText(guiStateIdle);
    };
    Frame();
    EXPECT_TRUE(greyed(Page().GetKeyById(2)) && greyed(Page().GetKeyById(3)));
    EXPECT_FALSE(greyed(keys.front()) || greyed(Page().GetKeyById(1)));
    dialog->SetText(envString("WWWWWWWWWWWWWWWWWWWWWWWW"));
    Frame();
    EXPECT_TRUE(dialog->IsTextFull());
    EXPECT_TRUE(greyed(keys.front()) && greyed(keys.back()) && greyed(Page().GetKeyById(1)) &&
                greyed(Page().FindKey(6)));
    EXPECT_TRUE(Page().GetKeyById(2)->IsEnabled());
    EXPECT_TRUE(Page().GetKeyById(3)->IsEnabled());
    Press(plDik::A);
    EXPECT_EQ(Text(), "WWWWWWWWWWWWWWWWWWWWWWWW");
    // Backspace until the text is narrow enough again.
    for (int i = 0; i < 30 && dialog->IsTextFull(); ++i)
        Press(plDik::Back);
    EXPECT_FALSE(dialog->IsTextFull());
    EXPECT_TRUE(keys.front()->IsEnabled());
    const std::string before = Text();
    Press(plDik::A);
    EXPECT_EQ(Text(), before + "a");
}

// An input script types as the keys do: a character a frame, whatever the page shows, up to a full name.
TEST_F(coKeyboardDialogTest, TypedTextGoesInACharacterAFrameUntilTheNameIsFull) {
    dialog->Type(envString(u"R2 %s\U0001F3A2"));
    for (const char16_t* text : {u"R", u"R2", u"R2 ", u"R2 %", u"R2 %s", u"R2 %s\U0001F3A2"}) {
        Frame();
        EXPECT_EQ(dialog->GetText(), envString(text));
    }
    dialog->Type(envString("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"));
    for (int i = 0; i < 40; ++i)
        Frame();
    EXPECT_TRUE(dialog->IsTextFull());
    EXPECT_LT(Text().size(), 30u);
}

TEST_F(coKeyboardDialogTest, TogglesAreLabelledFromThePagesTextSet) {
    EXPECT_EQ(envStringToNarrow(Page().FindKey(6)->GetText()->GetText(0)), "Caps");
    EXPECT_EQ(envStringToNarrow(Page().FindKey(6)->GetText()->GetText(9)), "CAPS");
    EXPECT_EQ(envStringToNarrow(Page().FindKey(35)->GetText()->GetText(5)), "123");
    EXPECT_EQ(envStringToNarrow(Page().FindKey(35)->GetText()->GetText(11)), "abc");
}

TEST_F(coKeyboardDialogTest, AnotherLanguageFallsBackToEnglishAndAMissingPageSetIsNamed) {
    // A language folder with the dialog's texts: without "uikdEng.tsf" the construction fails naming it.
    fsTestFolder ger;
    ger.MakeFolder("Ger");
    std::filesystem::copy_file(DataPath("Data/Text/Eng/uikd.tsf"), ger.Path("Ger/uikd.tsf"));
    SetRoot(coRootText, ger.Path("Ger"));
    try {
        coKeyboardDialog broken;
        ADD_FAILURE() << "no exception";
    } catch (const fsFileDoesntExistX& error) {
        EXPECT_EQ(envStringToNarrow(error.GetLocator().GetLastComponent()), "uikdEng.tsf");
    }
    std::filesystem::copy_file(DataPath("Data/Text/Eng/uikdEng.tsf"), ger.Path("Ger/uikdEng.tsf"));
    const coKeyboardDialog german;
    EXPECT_EQ(german.GetSelector()->GetCurrentIndex(), 0);
}

TEST_F(coKeyboardDialogTest, ARunReturnsOkWithTheTypedName) {
    coDialogDimmer::Create();
    dialog->SetText(envString("Ride"));
    coTestFrameFunction frame = ClickLater([&] { return dialog->GetOk(); });
    dialog->SetThinkFunction(&frame);
    EXPECT_EQ(dialog->DoModal(), 1);
    EXPECT_EQ(Text(), "Ride");
    coDialogDimmer::Destroy();
}

} // namespace
