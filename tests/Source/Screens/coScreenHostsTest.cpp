#include "Source/App/coScreenCareerPalettes.h"
#include "Source/App/coScreenEditorHost.h"

#include "Engine/App/Fs/fsExceptions.h"
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
#include "Source/Screens/coQuestionDialog.h"
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

// The player's answer to the question up in the modal loop: the pointer on the button in the second
// frame, pressed, and let go in the third.
struct coAnsweringModeHost : coRecordingModeHost {
    void OnModalFrame() override {
        if (++step > 50)
            throw std::runtime_error("the question was not answered");
        auto* dialog = static_cast<guiContainer*>(guiWindowMgr::GetRoot()->FindChild("Dialog"));
        primary = static_cast<const guiText*>(dialog->FindChild("PrimaryText"))->GetText(0);
        if (step == 2) {
            const guiWindow* button = dialog->FindChild(answer);
            const maVector3d at = button->GetWorldMatrix().GetTranslation();
            i32 w = 0, h = 0;
            button->GetSize(w, h);
            guiCursorMgr::SetPosition({at.x + static_cast<float>(w) / 2, at.y + static_cast<float>(h) / 2});
        }
        input->GetScript(0).mouse.buttons[0] = step == 2 ? 0x80 : 0;
    }
    int step = 0;
    plTestInputSource* input = nullptr;
    const char* answer = "Ok";
    envString primary;
};

TEST_F(coScreenHostsTest, TheEditorsQuestionsErrorsAndInterface) {
    coEditorHost& editor = coGetEditorHost();
    coAnsweringModeHost answering;
    answering.input = &input;
    coSetModeHost(&answering);
    coModePush(&mode);
    // Leave, load, overwrite: each answered both ways, its question text taken by number.
    for (const u32 question : {13u, 15u, 6u})
        for (const auto& [button, result] : {std::pair{"Ok", 1}, std::pair{"Cancel", 2}}) {
            answering.step = 0;
            answering.answer = button;
            EXPECT_EQ(editor.AskQuestion(question, 7, 8), result) << question << ' ' << button;
            coQuestionDialog expected;
            expected.SetPrimaryTextNum(question);
            EXPECT_EQ(answering.primary,
                      static_cast<const guiText*>(expected.FindChild("PrimaryText"))->GetText(0));
            EXPECT_EQ(guiWindowMgr::GetRoot()->FindChild("Dialog"), nullptr);
        }
    coModeStackLeaveAll();
    coModeStackClear();
    coSetModeHost(&host);

    fsLocator file;
    fsLocatorFromNativePath("/read-only/Oval.csa", file);
    try {
        throw fsReadOnlyX(file);
    } catch (const envExceptionX& failure) {
        editor.ReportError(failure);
    }
    ASSERT_EQ(displayer.shown.size(), 1u);
    // The file system's read-only text (error 8 of package 4), not the general one: the full type arrived.
    EXPECT_NE(displayer.shown[0].message.find("#8 not found for package #4"), std::string::npos)
        << displayer.shown[0].message;

    editor.ShowInterface(false);
    EXPECT_FALSE(guiCursorMgr::IsVisible());
    EXPECT_FALSE(coPaletteManager::FindHudWindow("Hud")->IsVisible());
    editor.ShowInterface(true);
    EXPECT_TRUE(guiCursorMgr::IsVisible());
    EXPECT_TRUE(coPaletteManager::FindHudWindow("Hud")->IsVisible());
}

} // namespace
