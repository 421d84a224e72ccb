#include "Source/Palettes/coMainPalette.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/World/coPlacementGrid.h"

#include <filesystem>
#include <string>

namespace {

struct coMainPaletteTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        palette = new coMainPalette;
        guiWindowMgr::AddWindow(palette);
    }
    void TearDown() override {
        coReleaseSoundEffects();
        coScreenTest::TearDown();
    }
    guiWindow* Child(const char* name) const { return palette->FindChild(name); }
    envString FeedbackText() const {
        return static_cast<const guiText*>(static_cast<guiButton*>(Child("Feedback"))->FindChild("Text"))
            ->GetText(0);
    }
    coMainPalette* palette = nullptr;
};

TEST_F(coMainPaletteTest, FeedbackWithItsVoiceOnce) {
    for (const i32 outside : {18, -1}) {
        palette->ShowFeedback(outside, 5);
        EXPECT_EQ(palette->GetCurrentMessage(), -1) << outside;
    }
    EXPECT_TRUE(log.Holds("Feedback message 18"));

    palette->ShowFeedback(4, 5);
    // The voice starts with a frame's sound update and reads as playing from the next.
    snSoundManager::Update(0.0f);
    snSoundManager::Update(0.1f);
    EXPECT_TRUE(Child("Feedback")->IsVisible());
    EXPECT_EQ(FeedbackText(), envString("It cannot stand there."));
    // Heard: the hint's preference (17 + 4) is cleared and saved.
    EXPECT_FALSE(coPrefs::GetBool(coPrefFirstPaletteHint + 4));
    fsLocator prefs;
    coPrefs::GetFilePath(prefs);
    EXPECT_TRUE(fsFileExists(prefs));

    // While the hint speaks, the next message shows but says nothing, and its hint stays due.
    palette->ShowFeedback(5, 5);
    EXPECT_EQ(palette->GetCurrentMessage(), 5);
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstPaletteHint + 5));

    SetTime(4.9f);
    palette->Think();
    EXPECT_EQ(palette->GetCurrentMessage(), 5);
    SetTime(5.0f);
    palette->Think();
    EXPECT_EQ(palette->GetCurrentMessage(), -1);
    EXPECT_FALSE(Child("Feedback")->IsVisible());
}

// Every message is drawn whole into the feedback line's texture, wrapped where it is long.
TEST_F(coMainPaletteTest, EveryFeedbackMessageFitsItsLine) {
    const auto* text =
        static_cast<const guiText*>(static_cast<guiButton*>(Child("Feedback"))->FindChild("Text"));
    i32 width = 0, height = 0;
    text->GetTextureSize(width, height);
    for (i32 message = 0; message < 17; ++message) {
        palette->ShowFeedback(message, 5);
        const guiTextRecord& record = *text->FindRecord(0);
        const envString& shown = record.wrapped.empty() ? record.fields[0] : record.wrapped[0];
        u32 used = 0, start = 0;
        for (u32 i = 0; i <= shown.GetLength(); ++i) {
            if (i < shown.GetLength() && shown[i] != u'\n')
                continue;
            u32 lineWidth = 0, lineHeight = 0;
            g2dFont::MeasureText(record.fonts[0], envString(start, i - start, shown), lineWidth, lineHeight);
            EXPECT_LE(lineWidth, static_cast<u32>(width)) << message;
            used += lineHeight;
            start = i + 1;
        }
        EXPECT_LE(used, static_cast<u32>(height)) << message;
    }
}

TEST_F(coMainPaletteTest, NameMessagesAndTheCollisionMessage) {
    palette->ShowFeedback(11, 60);
    palette->HideFeedback();
    EXPECT_FALSE(Child("Name")->IsVisible());
    EXPECT_FALSE(Child("Name Background")->IsVisible());
    palette->ShowCoasterName();
    EXPECT_TRUE(Child("Name Background")->IsVisible());
    palette->ShowFeedback(12, 60);
    palette->HideFeedback();
    palette->ShowFeedback(2, 5);
    palette->HideFeedback();
    EXPECT_TRUE(Child("Name")->IsVisible());

    // Nothing collides: the collision message goes in the first frame, long before its 15 seconds.
    palette->ShowFeedback(1, 15);
    palette->Think();
    EXPECT_EQ(palette->GetCurrentMessage(), -1);
    palette->ShowFeedback(3, 5);
    palette->SetEnabled(false);
    EXPECT_EQ(palette->GetCurrentMessage(), -1);
}

TEST_F(coMainPaletteTest, AMissingVoiceIsWarnedAndThePaletteGoesOn) {
    fsTestFolder voices;
    SetRoot(coRootVoice, voices.Path());
    palette->ShowFeedback(3, 5);
    EXPECT_EQ(palette->GetCurrentMessage(), 3);
    EXPECT_TRUE(log.Holds("fbvo03.wav"));
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstPaletteHint + 3));
}

TEST_F(coMainPaletteTest, ButtonsSaveAndGrid) {
    Click(Child("Back"));
    Click(Child("Ride"));
    EXPECT_EQ(palette->GetPressedButton(), 2);

    saves.Write("My Coaster.csa", "x");
    std::filesystem::permissions(saves.Path() + "/My Coaster.csa", std::filesystem::perms::owner_read);
    palette->SetCoasterName(envString("My Coaster"));
    palette->SetEnabled(true);
    EXPECT_FALSE(Child("Save")->IsEnabled());
    EXPECT_TRUE(Child("Options")->IsEnabled());
    palette->SetCoasterName(envString(u""));
    palette->SetEnabled(true);
    EXPECT_TRUE(Child("Save")->IsEnabled());
    palette->SetEnabled(false);
    EXPECT_FALSE(Child("Save")->IsEnabled());

    palette->HideButtons(true);
    EXPECT_FALSE(Child("Camera")->IsVisible());
    palette->ToggleGrid();
    EXPECT_TRUE(palette->IsGridShown());
    palette->ToggleGrid();
    EXPECT_TRUE(coGetPlacementGrid().GetOverlayFragments().empty());
}

TEST_F(coMainPaletteTest, MissingMessagesAreTheFileSystemsError) {
    fsTestFolder text;
    std::filesystem::copy_file(DataPath("Data/Text/Eng/uimp.tsf"), text.Path() + "/uimp.tsf");
    SetRoot(coRootText, text.Path());
    try {
        coMainPalette broken;
        FAIL() << "built without its messages";
    } catch (const fsFileDoesntExistX& e) {
        std::string path;
        fsLocatorToNativePath(e.GetLocator(), path);
        EXPECT_NE(path.find("uimpfb.tsf"), std::string::npos) << path;
    }
}

} // namespace
