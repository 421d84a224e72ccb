#include "Source/App/coScreenCareerPalettes.h"
#include "Source/App/coScreenEditorHost.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiPropSheet.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Screens/coChooseAnimDialog.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/World/coProp.h"
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
    ASSERT_NE(editor.FindButton("Half Loop"), nullptr); // a placer, for its key

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
    // The local palette shows the selected turn's shape, and its labels alone without a piece.
    const auto localText = [] {
        return envStringToNarrow(
            static_cast<const guiText*>(Get<guiContainer>(coPaletteLocalStats)->FindChild("Local Stats"))
                ->GetText(0));
    };
    editor.SetSelectedPiece(&turn);
    EXPECT_NE(localText().find("Angle ("), std::string::npos) << localText();
    editor.SetSelectedPiece(nullptr);
    EXPECT_EQ(localText().find("Angle ("), std::string::npos) << localText();

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

// The coaster type read says whether the inverting pieces may be placed (the preference is off).
TEST_F(coScreenHostsTest, TheCoasterTypeDecidesWhetherTrackMayInvert) {
    coEditorHost& editor = coGetEditorHost();
    coEditorPaletteState state;
    state.empty = false;
    state.pieceOrDock = true;
    coCoasterDefinition& definition = coCoasterDefinitionStore();
    const bool before = definition.GetAllowInvertPieces();
    for (const bool allowed : {true, false, true}) {
        definition.SetAllowInvertPieces(allowed);
        editor.UpdatePalettes(state);
        EXPECT_EQ(editor.FindButton("Corkscrew")->IsEnabled(), allowed);
        EXPECT_TRUE(editor.FindButton("Loop")->IsEnabled());
    }
    definition.SetAllowInvertPieces(before);
}

// The tree's fountain through the builder's palettes: clicked in the catalogue, then its tool box beside
// it, whose buttons reach the editor and whose "Choose Anim" runs the list of its events.
TEST_F(coScreenHostsTest, APropGoesFromTheCatalogueToTheToolBoxBesideIt) {
    coPropTemplate& fountainTemplate = LoadShippedFountain();
    coPaletteManager::RebuildPropsPalette();
    coEditorHost& editor = coGetEditorHost();
    const auto click = [this](guiWindow* button) {
        for (const bool down : {false, true, false})
            PointerFrame(button, down);
    };
    int category = -1, index = -1;
    coFindPropTemplate(envString("fountain"), category, index);
    // The catalogue opens on the first theme's page; the fountain's theme is chosen as a player would.
    Get<coPropsPalette>(coPaletteProps)->GetSheet()->SetActivePage(category);
    click(static_cast<guiContainer*>(Get<coPropsPalette>(coPaletteProps)->GetSheet()->GetActivePage())
              ->FindChild(std::to_string(index).c_str()));
    EXPECT_EQ(editor.TakeChosenProp(), &fountainTemplate);
    PointerFrame(nullptr, false);
    EXPECT_EQ(editor.TakeChosenProp(), nullptr);

    coProp fountain(fountainTemplate);
    fountain.SetPosition({0.0f, 0.0f, 100.0f});
    g3dCamera camera;
    coEditorPaletteState state;
    state.manipulatePalette = coPaletteManipulateProp;
    state.selection = &fountain;
    state.camera = &camera;
    editor.UpdatePalettes(state);
    auto* box = Get<coManipulatePalette>(coPaletteManipulateProp);
    for (const i32 index :
         {coPaletteManipulateProp, coPaletteManipulateDock, coPaletteManipulateRing, coPaletteManipulateSpot})
        EXPECT_EQ(Get<guiWindow>(index)->IsVisible(), index == coPaletteManipulateProp) << index;
    ASSERT_TRUE(box->GetChooseAnimButton()->IsVisible());
    click(box->GetChooseAnimButton());
    EXPECT_EQ(editor.TakeManipulateButton(), "Choose Anim");

    // The tool starts on the press and takes the button's hold on the mouse with it.
    PointerFrame(box->GetRotateButton(), true);
    EXPECT_EQ(editor.TakeManipulatePress(), "Rotate");
    EXPECT_FALSE(box->GetRotateButton()->GetImage()->IsCaptured(1111));
    editor.ShowManipulatePalette(coPaletteManipulateProp, false);
    EXPECT_EQ(editor.TakeManipulatePress(), "");
    editor.ShowManipulatePalette(coPaletteManipulateProp, true);
    EXPECT_EQ(box->GetRotateButton()->GetState(), guiStateIdle);

    // The list's second row clicked in its own frames: the fountain shows "Cascade" from then on.
    coModePush(&mode);
    int frame = 0;
    host.modalFrame = [&] {
        auto* dialog = static_cast<coChooseAnimDialog*>(guiWindowMgr::GetRoot()->FindChild("Dialog"));
        const maVector3d at = dialog->GetEventTable()->GetCellWindow(1, 0)->GetWorldMatrix().GetTranslation();
        guiCursorMgr::SetPosition({at.x + 4.0f, at.y + 4.0f});
        input.GetScript(0).mouse.buttons[0] = frame == 1 ? 0x80 : 0;
        if (++frame > 50)
            throw std::runtime_error("the list stayed");
    };
    EXPECT_EQ(editor.RunChooseAnimDialog(fountain), 1);
    EXPECT_EQ(fountain.GetActiveEvent(), 1);
    EXPECT_EQ(guiWindowMgr::GetRoot()->FindChild("Dialog"), nullptr);
    coModeStackClear();

    editor.UpdatePalettes(coEditorPaletteState());
    EXPECT_FALSE(box->IsVisible());
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

// A question over a ride (the pointer hidden, the wait shape) shows the arrow while it is up, and leaves
// the pointer as it was.
TEST_F(coScreenHostsTest, AQuestionShowsTheArrowAndLeavesThePointerAsItWas) {
    guiCursor& cursor = *guiCursorMgr::GetCursor();
    cursor.SetImage(fsRootedLocator(coRootGui, "Cursor.png"), coPointerArrow);
    cursor.SetImage(fsRootedLocator(coRootGui, "CursorWait.png"), coPointerWait);
    cursor.SetShape(coPointerWait);
    guiCursorMgr::SetVisible(false);
    coModePush(&mode);
    coModeManagerUpdate();
    int frame = 0;
    std::pair<i32, bool> asking;
    host.modalFrame = [&] {
        asking = {cursor.GetShape(), guiCursorMgr::IsVisible()};
        input.GetScript(1).keys[plDik::Escape] = frame++ % 2 == 0 ? 0x80 : 0;
        if (frame == 20)
            throw std::runtime_error("the question stayed");
    };
    EXPECT_EQ(coGetEditorHost().AskQuestion(21, 7, 8), 2);
    EXPECT_EQ(asking, std::pair(coPointerArrow, true));
    EXPECT_EQ(std::pair(cursor.GetShape(), guiCursorMgr::IsVisible()), std::pair(coPointerWait, false));
    coModeStackClear();
}

TEST_F(coScreenHostsTest, TheEditorsErrorsReachTheErrorDisplayAndTabHidesTheInterface) {
    coEditorHost& editor = coGetEditorHost();
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
