#include "Source/App/coScreenCareerPalettes.h"
#include "Source/App/coScreenEditorHost.h"

#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
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

} // namespace
