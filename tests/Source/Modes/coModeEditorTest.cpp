#include "Source/Modes/coModeEditor.h"

#include "Engine/App/App/appEvent.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Fs/fsWriteCalls.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coModeManipulateDock.h"
#include "Source/Modes/coModeManipulateProp.h"
#include "Source/Modes/coModePlaceProp.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Ride/coTrain.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Scene/coObject.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coTrackProp.h"

#include "Source/Modes/coEditorTestSupport.h"
#include "Source/Modes/coModeTestSupport.h"
#include "Source/Screens/coPointerShapes.h"

#include <algorithm>
#include <filesystem>
#include <functional>

namespace {

// Every object is a prop in a unit box at the origin.
struct coDockWorld : coPropsOnlyEditorWorld {
    bool GetObjectBox(const coObject*, maBoundingBox& box) const override {
        box.Set(maVector3d(0.0f, 0.0f, 0.0f), maVector3d(1.0f, 1.0f, 1.0f));
        return true;
    }
    void RemoveProp(coProp* prop) override { removed.push_back(prop); }
    void FreeDock() override { ++docksFreed; }
    int docksFreed = 0;
    std::vector<coProp*> removed;
};

struct coInertObject : coObject {
    maBoundingBox GetBoundingBox() const override { return {}; }
    bool RayTest(const maVector3d&, const maVector3d&, f32&) const override { return false; }
};

// The editor on the real circuit, with scripted input and a recording host.
class coEditorCommandTest : public coCircuitFixture {
  protected:
    coEditorCommandTest() {
        park.dock = &dock;
        park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
    }
    ~coEditorCommandTest() override { coCollisionClearMarkers(); }

    void Run(const char* button) { EXPECT_EQ(editor.RunPaletteCommand(button), 1) << button; }
    std::vector<int> TakeSounds() { return std::exchange(host.sounds, {}); }

    coScriptedEditorInput input;
    coRecordingEditorHost host;
    coDockWorld world;
    coFakeDock dock;
    coModeEditor editor;
};

TEST_F(coEditorCommandTest, PieceCommandsAppendAtTheEndAndSelectTheNewPiece) {
    const char* names[] = {"Short Straightaway",
                           "Long Straightaway",
                           "Curved Left",
                           "Curved Right",
                           "Loop",
                           "Corkscrew",
                           "STurn",
                           "Half Loop",
                           "HalfCork Right",
                           "HalfCork Left",
                           "Straight Up",
                           "Shallow Right",
                           "Shallow Left"};
    for (const char* name : names) {
        if (coCircuitPieceCount() > 0)
            coSelectionSetPiece(coCircuitFirstPiece());
        const int before = coCircuitPieceCount();
        Run(name);
        EXPECT_EQ(coCircuitPieceCount(), before + 1) << name;
        EXPECT_EQ(coSelectionGetObject(), coCircuitLastPiece()) << name;
    }
    EXPECT_EQ(TakeSounds(), std::vector<int>(13, 0));
    EXPECT_TRUE(editor.IsModified());
    EXPECT_EQ(editor.GetCommands().size(), 33u);
}

TEST_F(coEditorCommandTest, TurnsTakeTheirAnglesAndBank) {
    Run("Short Straightaway");
    Run("Curved Right");
    const auto* right = dynamic_cast<coCoasterPieceTurn*>(coCircuitLastPiece());
    ASSERT_NE(right, nullptr);
    EXPECT_EQ(right->GetAngle(), -maHalfPiF);
    EXPECT_EQ(right->GetRoll(0), 0.47123894f);
    Run("Short Straightaway");
    Run("Shallow Right");
    const auto* shallow = dynamic_cast<coCoasterPieceShallowTurn*>(coCircuitLastPiece());
    ASSERT_NE(shallow, nullptr);
    EXPECT_FLOAT_EQ(shallow->GetAngle(), -0.2617994f);
    EXPECT_EQ(shallow->GetRoll(0), 0.47123894f);
}

TEST_F(coEditorCommandTest, PitchStepsByModifier) {
    const struct {
        std::set<i32> modifiers;
        float step;
    } cases[] = {{{}, maPiF * 0.03f},
                 {{coActionShift}, 0.47123891f},
                 {{coActionControl}, 0.017453292f},
                 {{coActionControl, coActionShift}, 0.017453292f}};
    for (const auto& c : cases) {
        coCircuitClear();
        Run("Short Straightaway");
        Run("Short Straightaway");
        input.down = c.modifiers;
        const float before = coCircuitLastPiece()->GetBaseSlope();
        Run("Pitch Up");
        EXPECT_FLOAT_EQ(coCircuitLastPiece()->GetBaseSlope() - before, c.step);
        input.down.clear();
        EXPECT_EQ(TakeSounds().back(), 2);
    }
    coSelectionClear();
    Run("Pitch Down");
    EXPECT_TRUE(TakeSounds().empty()) << "no target, no sound";
}

TEST_F(coEditorCommandTest, RefusedParameterChangesSoundTheError) {
    Run("Short Straightaway");
    coCoasterPiece* piece = coCircuitLastPiece();
    input.down = {coActionShift};
    for (int i = 0; i < 100 && piece->GetParamANormalised() < 1.0f; ++i)
        Run("Widen");
    TakeSounds();
    Run("Widen");
    EXPECT_EQ(TakeSounds(), std::vector<int>{18}) << "at its limit";
    input.down.clear();

    // Three pieces in a row; the world ends 3 past the second one's end, which the third piece's start
    // would pass when the first grows by 5.
    coCircuitClear();
    Run("Short Straightaway");
    Run("Short Straightaway");
    Run("Short Straightaway");
    coCoasterPiece* first = coCircuitFirstPiece();
    const maVector3d end = first->GetNext()->GetEnd();
    park.minX = std::min(first->GetStart().x, end.x) - 3.0f;
    park.maxX = std::max(first->GetStart().x, end.x) + 3.0f;
    park.minZ = std::min(first->GetStart().z, end.z) - 3.0f;
    park.maxZ = std::max(first->GetStart().z, end.z) + 3.0f;
    coSelectionSetPiece(first);
    const float remembered = first->GetParamANormalised();
    TakeSounds();
    input.down = {coActionShift};
    Run("Widen");
    EXPECT_EQ(first->GetParamANormalised(), remembered);
    EXPECT_EQ(TakeSounds(), std::vector<int>{18});
    EXPECT_TRUE(coCircuitInsideWorld());
}

TEST_F(coEditorCommandTest, DeleteFollowsTheSelectionRules) {
    Run("Short Straightaway");
    Run("Short Straightaway");
    Run("Short Straightaway");
    coSelectionSetPiece(coCircuitFirstPiece()->GetNext());
    EXPECT_FALSE(editor.CanDeleteSelection()) << "only the last piece";
    coSelectionSetPiece(coCircuitLastPiece());
    EXPECT_TRUE(editor.CanDeleteSelection());
    TakeSounds();
    Run("Delete");
    EXPECT_EQ(coSelectionGetObject(), coCircuitLastPiece()) << "its predecessor";
    Run("Delete");
    EXPECT_EQ(coSelectionGetKind(), coSelectionDock);
    EXPECT_EQ(coCircuitPieceCount(), 1);
    EXPECT_TRUE(editor.CanDeleteSelection()) << "the dock over the only piece";
    Run("Delete");
    EXPECT_EQ(coCircuitPieceCount(), 0);
    EXPECT_EQ(world.docksFreed, 1);
    EXPECT_EQ(coSelectionGetKind(), coSelectionNone);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{3, 3, 3}));

    Run("Short Straightaway");
    Run("Delete");
    EXPECT_EQ(coSelectionGetKind(), coSelectionNone) << "the only piece";
    EXPECT_EQ(coCircuitPieceCount(), 0);
}

TEST_F(coEditorCommandTest, DeletingAPropRebuildsAroundItsBox) {
    coInertObject object;
    coSelectionSetObject(&object);
    ASSERT_TRUE(editor.CanDeleteSelection());
    Run("Delete");
    ASSERT_EQ(world.removed.size(), 1u);
    EXPECT_EQ(world.removed[0], reinterpret_cast<coProp*>(&object));
    ASSERT_EQ(builder.nearBoxes.size(), 1u);
    EXPECT_EQ(builder.nearBoxes[0], (coWorldBox{0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f}));
    EXPECT_EQ(coSelectionGetKind(), coSelectionNone);
    EXPECT_EQ(TakeSounds(), std::vector<int>{7});
}

TEST_F(coEditorCommandTest, FinishClosesOnlyWhenTheEndsMeet) {
    Run("Short Straightaway");
    TakeSounds();
    Run("Finish Coaster");
    EXPECT_TRUE(TakeSounds().empty());
    EXPECT_FALSE(coCircuitIsClosed());

    coCircuitClear();
    coBuildR1();
    Run("Finish Coaster");
    EXPECT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(TakeSounds(), std::vector<int>{1});

    // Near enough to try, too far for the last bend's drags: the player is told, and the bend stays.
    coCircuitClear();
    coAppendStraight(40.0f, coElementNone, false);
    coAppendTurn(coDegrees(180.0f), 10.0f, coElementNone, false);
    coAppendStraight(40.0f, coElementNone, false);
    const coCoasterPieceTurn* bend = coAppendTurn(coDegrees(180.0f), 5.0f, coElementNone, false);
    host.messages.clear();
    Run("Finish Coaster");
    EXPECT_FALSE(coCircuitIsClosed());
    EXPECT_EQ(bend->GetRadius(), 5.0f);
    EXPECT_EQ(host.messages, std::vector<u32>{17});
    EXPECT_TRUE(TakeSounds().empty());
}

TEST_F(coEditorCommandTest, ElementsReplaceEachOtherAndTheDockMeansTheStation) {
    Run("Short Straightaway");
    Run("Short Straightaway");
    TakeSounds();
    coCoasterPiece* last = coCircuitLastPiece();
    Run("Add Chain");
    Run("Add Brake");
    Run("Add Tube Decoration");
    EXPECT_EQ(last->GetElement(), 2);
    EXPECT_EQ(last->GetTube(), 1);
    Run("Remove Brake");
    EXPECT_EQ(last->GetElement(), 0);
    coSelectLoadingDock();
    Run("Add Accelerator");
    EXPECT_EQ(coCircuitFirstPiece()->GetElement(), 3);
    EXPECT_EQ(TakeSounds(), (std::vector<int>{8, 12, 9, 17, 10}));
}

TEST_F(coEditorCommandTest, STurnIsFittedToTheJoinPoint) {
    const float lengths[4] = {20.0f, 20.0f, 30.0f, 20.0f};
    coBuildR1(lengths);
    maVector3d join;
    ASSERT_TRUE(coCircuitFindJoinPoint(5.0f, 20.0f, join));
    Run("STurn");
    const maVector3d end = coCircuitLastPiece()->GetEnd();
    EXPECT_LT((end - join).Length(), 0.5f);
}

TEST(coModeEditorTables, ActionsMarkerAndNames) {
    std::vector<i32> expected;
    for (i32 id = 117; id <= 151; ++id)
        if (id <= 141 || id >= 147)
            expected.push_back(id);
    std::vector<i32> bound;
    for (const coActionButton& entry : coEditorActionButtons())
        bound.push_back(entry.action);
    EXPECT_EQ(bound, expected);

    const maVector3d scale = coModeEditor::MarkerScale(
        maBoundingBox(maVector3d(0.0f, 0.0f, 0.0f), maVector3d(10.0f, 2.0f, 20.0f)));
    EXPECT_FLOAT_EQ(scale.x, -6.0f);
    EXPECT_FLOAT_EQ(scale.y, 2.4f);
    EXPECT_FLOAT_EQ(scale.z, 12.0f);

    const struct {
        const char* name;
        bool valid;
    } names[] = {{"Thunder", true}, {"../x", false}, {"a/b", false},    {"a\\b", false}, {"..", false},
                 {".", false},      {"", false},     {"tab\tx", false}, {"x.csa", true}};
    for (const auto& n : names)
        EXPECT_EQ(coIsValidCoasterName(envString(n.name)), n.valid) << n.name;
    EXPECT_TRUE(coIsValidCoasterName(envString(std::string(251, 'a').c_str())));
    EXPECT_FALSE(coIsValidCoasterName(envString(std::string(252, 'a').c_str())));
}

// The editor as a mode: flags across sub-modes and world clears, the saves and the keyboard.
class coModeEditorTest : public coModeTest {
  protected:
    void SetUp() override {
        coModeTest::SetUp();
        coCircuitClear();
        coSelectionClear();
        fsResetRootTable();
        fsAddRootDirectory(coRootSaves, folder.Locator());
        coSetMode(9, &testRide);
    }
    void TearDown() override {
        coCircuitClear();
        coSelectionClear();
        coCollisionClearMarkers();
        fsResetRootTable();
        coModeTest::TearDown();
    }
    void Key(u16 code) {
        appCharEvent event(code);
        editor.OnChar(&event);
    }

    fsTestFolder folder;
    coRecordingTrackBuilder builder;
    coFakePark park;
    coScriptedEditorInput input;
    coRecordingEditorHost host;
    coScriptedMode testRide{"test ride", journal};
    coModeEditor editor;
};

TEST_F(coModeEditorTest, UnsavedChangesSurviveATestRideButNotAWorldClear) {
    editor.Enter();
    EXPECT_FALSE(editor.IsModified());
    EXPECT_EQ(editor.RunPaletteCommand("Short Straightaway"), 1);
    host.mainButton = coMainButton::Test;
    input.claimed = {coMouseRecordLeft}; // the click landed on the palette
    editor.Think();
    editor.Think();
    EXPECT_EQ(editor.GetResult(), coMode::Switch);
    EXPECT_EQ(coCurrentMode(), &testRide);
    editor.Exit();
    editor.Enter();
    EXPECT_TRUE(editor.IsModified());
    EXPECT_FALSE(editor.TestFlag(coModeEditor::TestRideRequested));

    editor.Think();
    EXPECT_NE(editor.GetStatsPiece(), nullptr);
    coGetSavedCoasterServices().ClearScene();
    EXPECT_FALSE(editor.IsModified());
    EXPECT_EQ(editor.GetStatsPiece(), nullptr);
    EXPECT_EQ(coSelectionGetKind(), coSelectionNone);

    // The Delete key changes the coaster as the palette's Delete does.
    editor.RunPaletteCommand("Short Straightaway");
    editor.RunPaletteCommand("Short Straightaway");
    editor.SetFlag(coModeEditor::Modified, false);
    coSelectionSetPiece(coCircuitLastPiece());
    Key(0xE018);
    EXPECT_EQ(coCircuitPieceCount(), 1);
    EXPECT_TRUE(editor.IsModified());
    editor.Exit();
}

// The builder shows the untextured building view unless "Texture In Build" is on; leaving it gives the world
// its textures back.
TEST_F(coModeEditorTest, TheBuildingViewIsUntexturedUnlessTexturesAreKept) {
    for (const bool kept : {false, true}) {
        coPrefs::SetBool(coPrefTextureInBuild, kept);
        editor.Enter();
        EXPECT_EQ(coIsWorldTextured(), kept);
        editor.Exit();
        EXPECT_TRUE(coIsWorldTextured());
    }
    coPrefs::SetBool(coPrefTextureInBuild, false);
}

// The tooltip follows the pointer only with "Tool Tips" on and the interface shown.
TEST_F(coModeEditorTest, TheTooltipNeedsItsOptionAndTheInterface) {
    editor.Enter();
    const struct {
        bool option;
        bool hidden;
        int updates;
    } cases[] = {{true, false, 1}, {false, false, 0}, {true, true, 0}};
    for (const auto& c : cases) {
        coPrefs::SetBool(coPrefToolTips, c.option);
        if (c.hidden)
            Key(9);
        coModeTest::host.toolTipUpdates = 0;
        editor.Think();
        EXPECT_EQ(coModeTest::host.toolTipUpdates, c.updates) << c.option << c.hidden;
    }
    editor.Exit();
}

TEST_F(coModeEditorTest, RevertAndSaveFailuresAreReportedAndKeepTheWork) {
    editor.Enter();
    editor.RunPaletteCommand("Short Straightaway");
    editor.RunPaletteCommand("Short Straightaway");
    folder.Write("broken.csa", "not a coaster");
    // "Broken" has no file: "broken" is another coaster.
    host.name = envString("Broken");
    Key(0xE000);
    EXPECT_EQ(std::tuple(host.errors, host.damagedFiles.size()), std::tuple(1, 0u));
    host.errors = 0;
    host.name = envString("broken");
    Key(0xE000);
    EXPECT_EQ(host.damagedFiles, std::vector<u32>{coErrorDamagedCoaster});
    EXPECT_EQ(coCircuitPieceCount(), 2);
    EXPECT_TRUE(editor.IsModified());

    {
        fsWriteCalls full(ENOSPC);
        Key(0xE001);
    }
    EXPECT_EQ(host.errors, 1);
    EXPECT_TRUE(editor.IsModified());
    Key(0xE001);
    EXPECT_EQ(host.errors, 1);
    EXPECT_FALSE(editor.IsModified());
    EXPECT_TRUE(std::filesystem::exists(folder.Path("broken.csa")));
    editor.Exit();
}

TEST_F(coModeEditorTest, SaveAsRefusesBadNamesAndAsksBeforeOverwriting) {
    folder.Write("a.csa", "");
    folder.Write("x.csa.bak", "");
    folder.Write("ab", "");
    std::vector<envString> listed = coListSavedCoasterNames();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(envStringToNarrow(listed[0]), "a");

    editor.Enter();
    editor.RunPaletteCommand("Short Straightaway");
    host.sounds.clear();
    host.typed = {envString("../x"), envString("a/b"), envString("a"), envString("fresh")};
    host.answer = 2;
    editor.SaveAs();
    EXPECT_EQ(host.sounds, (std::vector<int>{18, 18}));
    EXPECT_EQ(host.questions, std::vector<u32>{6});
    EXPECT_EQ(envStringToNarrow(host.name), "fresh");
    EXPECT_TRUE(std::filesystem::exists(folder.Path("fresh.csa")));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("../x.csa")));
    EXPECT_EQ(host.messages.back(), 14u);
    EXPECT_FALSE(editor.IsModified());
    editor.Exit();
}

TEST_F(coModeEditorTest, KeysPressThePaletteButtons) {
    editor.Enter();
    editor.BindActionWindows();
    input.held = {coActionShortStraightaway};
    editor.Think();
    EXPECT_EQ(host.buttons["Short Straightaway"]->GetState(), guiStateHeld);
    EXPECT_EQ(coCircuitPieceCount(), 0);
    const struct {
        i32 action;
        int pieces;
        i32 element;
    } steps[] = {{131, 1, 0}, {132, 2, 0}, {144, 2, 1}, {144, 2, 0}};
    for (const auto& step : steps) {
        input.Clear();
        input.released = {step.action};
        editor.Think();
        EXPECT_EQ(coCircuitPieceCount(), step.pieces) << step.action;
        ASSERT_NE(coCircuitLastPiece(), nullptr);
        EXPECT_EQ(coCircuitLastPiece()->GetElement(), step.element) << step.action;
    }
    EXPECT_TRUE(host.palettes.testEnabled);
    EXPECT_FALSE(host.palettes.rideEnabled);
    EXPECT_EQ(host.palettes.piece, coCircuitLastPiece());
    EXPECT_TRUE(editor.IsModified());
    editor.Exit();
}

TEST_F(coModeEditorTest, SteppingThroughTheCircuitPassesTheStationAsTheDock) {
    coFakeDock dock;
    park.dock = &dock;
    editor.Enter();
    for (int i = 0; i < 3; ++i)
        editor.RunPaletteCommand("Short Straightaway");
    coCoasterPiece* second = coCircuitPieceAt(1);
    coCoasterPiece* third = coCircuitPieceAt(2);
    coSelectLoadingDock();
    // nullptr stands for the dock.
    const struct {
        bool next;
        coCoasterPiece* expected;
    } steps[] = {{true, second}, {true, third},   {true, nullptr},
                 {false, third}, {false, second}, {false, nullptr}};
    for (const auto& step : steps) {
        step.next ? editor.SelectNext() : editor.SelectPrevious();
        EXPECT_EQ(coSelectionGetObject(), step.expected);
        EXPECT_EQ(coSelectionGetKind(), step.expected ? coSelectionPiece : coSelectionDock);
    }
    input.wheel = 2;
    editor.Think();
    EXPECT_EQ(coSelectionGetObject(), third);
    EXPECT_EQ(host.shownPiece, third);
    input.Clear();
    input.down = {coActionSelectDock};
    editor.Think();
    EXPECT_EQ(coSelectionGetKind(), coSelectionDock);
    // The dock shows the station's piece.
    EXPECT_EQ(host.shownPiece, coCircuitFirstPiece());
    input.down = {coActionSelectLast};
    editor.Think();
    EXPECT_EQ(coSelectionGetObject(), third);
    // Nothing selected after a refresh: the figures of the piece shown last are cleared.
    input.Clear();
    host.pieceStatsCleared = false;
    coSelectionClear();
    editor.RunPaletteCommand("Delete");
    editor.Think();
    EXPECT_TRUE(host.pieceStatsCleared);
    EXPECT_EQ(host.shownPiece, nullptr);
    editor.Exit();
}

TEST_F(coModeEditorTest, RideSettingsMarkTheCoasterChangedForWhatItsSaveKeeps) {
    const u8 drag = coGetTrainDragOn();
    const bool metric = coPrefs::GetBool(coPrefMetricUnits);
    const int cars = coGetCoasterDefinition().GetNumCars();
    const std::string carType = coGetThemeName();
    const coColorScheme colours = coTrackColorizer::GetCurrentScheme();
    const auto restore = [&] {
        coSetTrainDragOn(drag);
        coPrefs::SetBool(coPrefMetricUnits, metric);
        coCoasterDefinitionStore().SetNumCars(cars);
        coSetThemeName(carType);
        coTrackColorizer::SetCurrentScheme(colours);
        coGetCoasterPackageHooks().LoadEnvironment(0);
    };
    coSchemeMaterial red;
    red.diffuse = {1.0f, 0.0f, 0.0f, 1.0f};
    const struct {
        const char* change;
        coMainButton button;
        std::function<void()> during;
        bool changed;
    } rows[] = {
        {"nothing", coMainButton::Options, [] {}, false},
        {"units", coMainButton::Options, [&] { coPrefs::SetBool(coPrefMetricUnits, !metric); }, false},
        {"air drag", coMainButton::Options, [&] { coSetTrainDragOn(drag ? 0 : 1); }, true},
        {"a rail's colour", coMainButton::Options, [&] { coTrackColorizer::SetCurrentPart("Rail", red); },
         true},
        {"night", coMainButton::Options, [] { coGetCoasterPackageHooks().LoadEnvironment(1); }, true},
        {"cars", coMainButton::Options, [&] { coCoasterDefinitionStore().SetNumCars(cars + 1); }, true},
        {"cars for the ride", coMainButton::Ride, [&] { coCoasterDefinitionStore().SetNumCars(cars + 1); },
         true},
        {"car type", coMainButton::Ride, [] { coSetThemeName("Other"); }, true},
    };
    input.claimed = {coMouseRecordLeft};
    for (const auto& row : rows) {
        coModeEditor fresh;
        fresh.Enter();
        host.duringRidePause = [&row](int mode) {
            EXPECT_EQ(mode, row.button == coMainButton::Options ? 0 : 2) << row.change;
            row.during();
        };
        host.mainButton = row.button;
        fresh.Think();
        EXPECT_EQ(fresh.IsModified(), row.changed) << row.change;
        fresh.Exit();
        restore();
    }
}

// The menu that led into the builder left the wait pointer: the builder shows the arrow, and leaves the
// wait pointer for what comes next unless a tool of its own takes over.
TEST_F(coModeEditorTest, TheBuilderShowsTheArrowAndLeavesTheWaitPointer) {
    host.pointerShape = coPointerWait;
    editor.Enter();
    EXPECT_EQ(host.pointerShape, coPointerArrow);
    editor.SetFlag(coModeEditor::PlacePropStarted);
    editor.Exit();
    EXPECT_EQ(host.pointerShape, coPointerArrow);
    editor.Enter();
    editor.Exit();
    EXPECT_EQ(host.pointerShape, coPointerWait);
}

TEST_F(coModeEditorTest, TabOnlyWithoutAModalDialog) {
    Key(9);
    EXPECT_TRUE(host.interfaceShown) << "no dialog flag before entry";
    editor.Enter();
    host.duringDialog = [this] { Key(9); };
    editor.SaveAs(); // cancelled
    EXPECT_TRUE(host.interfaceShown) << "a modal dialog was up";
    Key(9);
    EXPECT_FALSE(host.interfaceShown);
    Key(9);
    EXPECT_TRUE(host.interfaceShown);
    editor.Exit();
}

TEST_F(coModeEditorTest, EscapeAsksAndOkLeavesForTheMainMenuWithTheWorldCleared) {
    coScriptedMode mainMenu("main menu", journal);
    coSetMode(0, &mainMenu);
    editor.Enter();
    editor.RunPaletteCommand("Short Straightaway");
    input.released = {coActionEscape};
    host.answer = 2;
    editor.Think();
    EXPECT_EQ(editor.GetResult(), coMode::Stay);
    EXPECT_EQ(coCircuitPieceCount(), 1);
    host.answer = 1;
    editor.Think();
    EXPECT_EQ(host.questions, (std::vector<u32>{13, 13}));
    EXPECT_EQ(editor.GetResult(), coMode::Leave);
    EXPECT_EQ(coCurrentMode(), &mainMenu);
    EXPECT_EQ(coCircuitPieceCount(), 0);
    EXPECT_EQ(coSelectionGetKind(), coSelectionNone);
    editor.Exit();
    coModeStackClear();
}

TEST_F(coModeEditorTest, PalettesStartTheToolsWithTheEditorsCamera) {
    coModePlaceProp place;
    coModeRotateProp rotate;
    coModeTranslateTrackProp slide;
    coModeManipulateDock dock;
    const std::pair<i32, coMode*> tools[] = {{coModeIdPlaceProp, &place},
                                             {coModeIdRotateProp, &rotate},
                                             {coModeIdTranslateTrackProp, &slide},
                                             {coModeIdManipulateDock, &dock}};
    for (const auto& [id, mode] : tools)
        coSetMode(id, mode);
    coPropTemplate rock(envString("rock"), envString("Rock"), false);
    coPropTemplate flag(envString("flag"), envString("Flag"), true);
    editor.Enter();
    input.claimed = {coMouseRecordLeft};

    host.chosenProp = &flag; // a track prop wants two pieces
    editor.Think();
    EXPECT_EQ(host.messages.back(), 16u);
    EXPECT_EQ(place.GetCamera(), nullptr);
    host.chosenProp = &rock;
    editor.Think();
    // An Escape in the frame the placing tool takes over is not the editor's: no leave under the tool.
    input.released = {coActionEscape};
    editor.Think();
    input.released.clear();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(place.GetCamera(), &editor.GetCamera());
    EXPECT_EQ(editor.GetResult(), coMode::Switch);
    EXPECT_TRUE(editor.IsModified());

    const struct {
        std::string press;
        bool trackProp;
        coModeTool* tool;
    } presses[] = {{"Rotate", false, &rotate}, {"Translate", true, &slide}};
    for (const auto& p : presses) {
        editor.Exit();
        editor.Enter();
        coTrackProp prop(rock);
        coProp plain(rock);
        coSelectionSetProp(p.trackProp ? &prop : &plain);
        host.manipulatePress = p.press;
        editor.Think();
        EXPECT_EQ(p.tool->GetCamera(), &editor.GetCamera()) << p.press;
        EXPECT_TRUE(editor.TestFlag(coModeEditor::ManipulateStarted));
        coSelectionClear();
    }

    // The selected prop's tool box stands beside it as the editor's camera sees it; "Choose Anim" runs
    // the list of its events and counts as a change.
    editor.Exit();
    editor.Enter();
    coProp plain(rock);
    coSelectionSetProp(&plain);
    editor.Think();
    EXPECT_EQ(host.palettes.manipulatePalette, 4);
    EXPECT_EQ(host.palettes.selection, &plain);
    EXPECT_EQ(host.palettes.camera, &editor.GetCamera());
    editor.SetFlag(coModeEditor::Modified, false);
    host.manipulateButton = "Choose Anim";
    editor.Think();
    EXPECT_EQ(host.animationsOf, &plain);
    EXPECT_TRUE(editor.IsModified());
    coSelectionClear();

    editor.Exit();
    editor.Enter();
    host.chosenDock = "Wooden";
    editor.Think();
    editor.Think();
    EXPECT_EQ(dock.GetDockType(), "Wooden");
    EXPECT_EQ(dock.GetCamera(), &editor.GetCamera());
    editor.Exit();
    editor.Enter(); // back from the tool: the final exit gives back the sounds the first entry loaded
    editor.Exit();
}

} // namespace
