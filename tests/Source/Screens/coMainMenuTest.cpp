#include "Source/Screens/coMainMenu.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Source/Screens/coScreenScript.h"
#include "coScreenTestKit.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct coMainMenuTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        menu = new coMainMenu;
        guiWindowMgr::AddWindow(menu);
    }
    // Frames a quarter of a second apart with the pointer on the button (null: off every button),
    // from the time given up to and including the last.
    void Rest(const char* button, f32 from, f32 to) {
        for (f32 t = from; t <= to + 0.001f; t += 0.25f) {
            SetTime(t);
            PointerFrame(button ? menu->FindChild(button) : guiWindowMgr::GetRoot(), false);
            snSoundManager::Update(t);
        }
    }
    u32 Voices() const { return snSoundManager::GetActiveCount(); }
    coMainMenu* menu = nullptr;
};

TEST_F(coMainMenuTest, AVoicePlaysOnceAfterMoreThanASecond) {
    Rest("Build", 0.0f, 1.0f);
    EXPECT_EQ(Voices(), 0u);
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstMenuHint));
    Rest("Build", 1.25f, 1.25f);
    EXPECT_EQ(Voices(), 1u);
    EXPECT_FALSE(coPrefs::GetBool(coPrefFirstMenuHint));
    fsLocator prefs;
    coPrefs::GetFilePath(prefs);
    EXPECT_TRUE(fsFileExists(prefs));

    // While it plays no other voice starts; the hover time gathers again from the refused attempt.
    Rest(nullptr, 1.5f, 1.5f);
    Rest("Exit", 1.75f, 3.0f);
    EXPECT_EQ(Voices(), 1u);
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstMenuHint + 5));
    sound.Render(44100 * 4);
    snSoundManager::Update(3.0f);
    Rest("Exit", 3.25f, 4.0f);
    EXPECT_FALSE(coPrefs::GetBool(coPrefFirstMenuHint + 5));
    Rest("Build", 4.25f, 6.0f); // heard already
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstMenuHint + 1));
}

TEST_F(coMainMenuTest, HoverTimeCrossesButtonsAndTheFirstGapCountsWhole) {
    Rest("Load", 0.0f, 0.75f);
    Rest("Build", 1.0f, 1.0f);
    EXPECT_EQ(Voices(), 0u);
    Rest("Build", 1.25f, 1.25f); // 0.75 s on Load and 0.5 s on Build
    EXPECT_FALSE(coPrefs::GetBool(coPrefFirstMenuHint));
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstMenuHint + 1));

    guiWindowMgr::DeleteWindow(menu);
    menu = new coMainMenu;
    guiWindowMgr::AddWindow(menu);
    sound.Render(44100 * 4);
    Rest("Load", 9.0f, 9.0f); // the menu's first frame: all 9 s since time 0 count
    EXPECT_FALSE(coPrefs::GetBool(coPrefFirstMenuHint + 1));
}

TEST_F(coMainMenuTest, VoicesOffOrAllHeardPlayNothing) {
    coPrefs::SetBool(coPrefVoicesOff, true);
    Rest("Load", 0.0f, 3.0f);
    EXPECT_EQ(Voices(), 0u);
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstMenuHint + 1));

    coPrefs::SetBool(coPrefVoicesOff, false);
    for (i32 pref = 11; pref <= 16; ++pref)
        coPrefs::SetBool(pref, false);
    guiWindowMgr::DeleteWindow(menu);
    menu = new coMainMenu;
    guiWindowMgr::AddWindow(menu);
    Rest("Load", 3.25f, 6.0f);
    EXPECT_EQ(Voices(), 0u);
}

TEST_F(coMainMenuTest, AMissingVoiceIsWarnedOnceAndTheMenuRunsOn) {
    fsTestFolder voices;
    SetRoot(coRootVoice, voices.Path());
    Rest("Exit", 0.0f, 4.0f);
    EXPECT_EQ(Voices(), 0u);
    EXPECT_EQ(log.Count("Exit.wav"), 1u);
    EXPECT_TRUE(coPrefs::GetBool(coPrefFirstMenuHint + 5));
}

TEST_F(coMainMenuTest, AScriptWithoutAButtonIsReported) {
    fsTestFolder gui;
    gui.Write("uimm/uimm.gst", "Container { Id \"uimm\" Button { Id \"Build\" } }");
    SetRoot(coRootGui, gui.Path());
    EXPECT_THROW(coMainMenu(), coScreenScriptX);
    EXPECT_TRUE(log.Holds("\"uimm\" has no Button named \"Load\""));
}

// The menu's text set cut anywhere, inside its header or to nothing, is told as itself, never as the
// script that names it.
TEST_F(coMainMenuTest, ADamagedTextSetIsNamedAsItself) {
    std::ifstream in(DataPath("Data/Text/Eng/uimm.tsf"), std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fsTestFolder texts;
    SetRoot(coRootText, texts.Path());
    for (size_t cut : {0, 4, 8, 20}) {
        texts.Write("uimm.tsf", whole.substr(0, cut));
        try {
            coMainMenu cutMenu;
            ADD_FAILURE() << cut;
        } catch (const gfInvalidContentX& e) {
            EXPECT_EQ(e.GetLocator().GetLastComponent(), envString("uimm.tsf")) << cut;
            EXPECT_EQ(e.GetDamage(), gfDamage::CutShort) << cut;
        }
    }
}

} // namespace
