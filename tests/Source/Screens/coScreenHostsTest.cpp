#include "Source/App/coScreenCareerPalettes.h"
#include "Source/App/coScreenEditorHost.h"

#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/Platform/plDirectInputKeys.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Settings/coSoundEffects.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "coScreenTestKit.h"

namespace {

struct coScreenHostsTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        coPaletteManager::Create();
        coPaletteStates states;
        for (i32 i = 0; i < coPaletteBackground; ++i)
            states.codes[static_cast<size_t>(i)] = 3;
        coPaletteManager::ApplyStates(states);
        coSetCareerPalettes(&careerPalettes);
        coSetEditorHost(&editorHost);
    }
    void TearDown() override {
        coSetEditorHost(nullptr);
        coSetCareerPalettes(nullptr);
        coPaletteManager::Destroy();
        coLoadingScreenHide();
        coReleaseSoundEffects();
        coScreenTest::TearDown();
    }
    template <class Palette> static Palette* Get(i32 index) {
        return static_cast<Palette*>(coPaletteManager::GetPalette(index));
    }
    coScreenCareerPalettes careerPalettes;
    coScreenEditorHost editorHost;
};

TEST_F(coScreenHostsTest, TheEditorAndTheCareerBuilderReachThePalettes) {
    coEditorHost& editor = coGetEditorHost();
    coCareerPalettes& career = coGetCareerPalettes();
    ASSERT_NE(dynamic_cast<coScreenEditorHost*>(&editor), nullptr);

    coCoasterPieceTurn turn;
    coEditorPaletteState state;
    state.empty = false;
    state.pieceOrDock = true;
    state.piece = &turn;
    state.canEdit = true;
    state.closed = true;
    editor.UpdatePalettes(state);
    EXPECT_FALSE(editor.FindButton("Short Straightaway")->IsEnabled());
    EXPECT_TRUE(editor.FindButton("Pitch Up")->IsEnabled());
    EXPECT_FALSE(editor.FindButton("Ride")->IsEnabled());

    Click(editor.FindButton("Bank Left"));
    EXPECT_EQ(editor.TakeReleasedTrackButton(), "Bank Left");
    Click(editor.FindButton("Grid"));
    EXPECT_EQ(editor.TakeMainButton(), coMainButton::Grid);

    editor.SetCoasterName(envString("Oval"));
    EXPECT_EQ(editor.GetCoasterName(), envString("Oval"));
    editor.ShowMessage(2, 5.0f);
    EXPECT_EQ(Get<coMainPalette>(coPaletteMain)->GetCurrentMessage(), 2);
    coRidePieceStats stats;
    stats.speed = 44.7f;
    editor.SetPieceStats(&stats, 0.0f);
    EXPECT_EQ(Get<coStatsPalette>(coPaletteStats)->GetBar(0)->GetValue(), 0.5f);

    career.SetBudgetCount(4, 2);
    EXPECT_EQ(
        static_cast<const guiText*>(Get<guiContainer>(coPaletteTrackManip)->FindChild("Loop Constraint"))
            ->GetText(0),
        envString(" x2"));
    career.SetBudgetCount(4, -1);
    EXPECT_FALSE(Get<guiContainer>(coPaletteTrackManip)->FindChild("Loop Constraint")->IsVisible());
    career.SetObjectives({{envString("Mission"), false}, {envString("Two loops"), true}});
    i32 rows = 0, columns = 0;
    Get<coObjectivesPalette>(coPaletteObjectives)->GetObjectivesBox()->GetDimensions(rows, columns);
    EXPECT_EQ(rows, 2);
}

TEST_F(coScreenHostsTest, TheEditorsQuestionsAndNameEntryAreAnsweredInTheirDialogs) {
    coModePush(&mode);
    coModeManagerUpdate();
    // The answer's key goes down in a dialog's first frame and up in its second.
    u8 key = 0;
    int frame = 0;
    host.modalFrame = [&] {
        if (frame == 20)
            throw std::runtime_error("the dialog did not end");
        input.GetScript(1).keys[key] = frame++ % 2 == 0 ? 0x80 : 0;
    };
    coEditorHost& editor = coGetEditorHost();
    envString name("Oval");
    const struct {
        u8 key;
        bool question;
        i32 answer;
    } cases[] = {{plDik::Return, true, 1}, {plDik::Escape, true, 2}, {plDik::Return, false, 1}};
    for (const auto& c : cases) {
        key = c.key;
        frame = 0;
        EXPECT_EQ(c.question ? editor.AskQuestion(13, 7, 8) : editor.RunKeyboardDialog(name), c.answer);
    }
    EXPECT_EQ(name, envString("Oval"));
    coModeStackClear();
}

} // namespace
