// The career builder on the real circuit with real mission files: budgets, locks, the medal and the
// career save, the player's attempt, the intro.
#include "Source/Modes/coModeCareerBuilder.h"
#include "Source/Modes/coFlythroughIntro.h"

#include "Engine/App/App/appEvent.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coCareerPalettes.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuitPieceList.h"

#include "Engine/App/Fs/fsWriteCalls.h"
#include "Engine/App/Fs/private/fsPosixPAC.h"
#include "Source/Career/coCareerTestSupport.h"
#include "Source/Modes/coEditorTestSupport.h"
#include "Source/Modes/coModeTestSupport.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The medal dialog answered as told.
struct coAnsweringPalettes : coCareerPalettes {
    i32 RunMedalDialog(i32 level, const envString& text, bool& menu) override {
        coCareerPalettes::RunMedalDialog(level, text, menu);
        menu = chooseMenu;
        return 2;
    }
    bool chooseMenu = false;
};

// The fly-through as the career builder starts it.
struct coIntroMode : coMode, coFlythroughIntro {
    void Enter() override { EnterCommon(); }
    void Think() override {}
    void Exit() override { ExitCommon(); }
    void SetPath(const coFlythroughPath* given) override { path = given; }
    void SetVoiceFile(const fsLocator& file) override { voice = file; }
    const coFlythroughPath* path = nullptr;
    fsLocator voice;
};

struct coMissionSetup {
    coMissionBudgets budgets{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    coMissionLocks locks;
    int medalLevels = 4; // how many levels ask for one straight (the others ask for 99)
    bool flight = false;
    float side = 20.0f; // the straights of the square
};

// Ends the process, as a kill would, when a second save's temporary file is opened: the first save
// is whole on disc, the second never begun.
constexpr int kStoppedBetweenSaves = 42;
int StopAtTheSecondSave(const char* path, int flags, mode_t mode) {
    static std::string first;
    const std::string name = path;
    if ((flags & (O_WRONLY | O_RDWR)) != 0 && name.ends_with(".tmp")) {
        if (first.empty())
            first = name;
        else if (name != first)
            _exit(kStoppedBetweenSaves);
    }
    return open(path, flags, mode);
}

class coCareerBuilderTest : public coCircuitFixture {
  protected:
    coCareerBuilderTest() {
        park.startPosition = maVector3d(0.0f, 2.0f, 0.0f);
        plInstallServices({.time = &time});
        coSetModeHost(&modeHost);
        coSetCareerPalettes(&palettes);
        fsAddRootDirectory(coRootMissions, career.folder.Locator("Missions"));
        fsAddRootDirectory(coRootVoice, career.folder.Locator("Voice"));
        career.folder.MakeFolder("Missions/Classic");
        career.folder.MakeFolder("Text/Missions/Classic");
        gfWriteTextSet(career.folder.Locator("Text/Classic.tsf"), 32,
                       {{3, u"Mind the loop"}, {35, u"Three"}});
        gfWriteTextSet(career.folder.Locator("Text/Missions/Classic/Mission3.tsf"), 32,
                       {{0, u"Done"}, {1, u"Bronze"}, {2, u"Silver"}, {3, u"Gold"}});
        mode.SetPlayerName(envString("Ann"));
        coClearModeTable();
        coModeStackClear();
    }
    ~coCareerBuilderTest() override {
        coModeStackClear();
        coClearModeTable();
        coCollisionClearMarkers();
        coSetCareerPalettes(nullptr);
        coSetModeHost(nullptr);
        plInstallServices({});
    }

    // An open square of four chained straights and turns with the mission's budgets and objectives,
    // written as the installed mission of that name and loaded.
    void Load(const coMissionSetup& setup, const char* name = "Mission3.cmi") {
        coBuildR1({setup.side, setup.side, setup.side, setup.side});
        coObjectiveSet objectives;
        for (int level = 0; level < 4; ++level)
            objectives.Add(
                std::make_unique<coTrackCountObjective>(0, level < setup.medalLevels ? 1 : 99, false, *texts),
                level);
        coFlythroughPath path;
        if (setup.flight)
            path.AddPoint(maVector3d(0, 50, 0), maVector3d(0, 0, 0));
        const fsLocator file = fsRootedLocator(coRootMissions, std::string("Classic/") + name);
        coWriteMissionFile(file, setup.budgets, objectives, setup.locks, path);
        coCircuitClear();
        mode.LoadMission(file, 1);
    }
    void Run(const char* command) { mode.RunPaletteCommand(command); }
    void Type(char16_t key) {
        appCharEvent event(key);
        mode.OnChar(&event);
    }
    std::array<coMissionGrade, 8> Grades() {
        std::vector<i32> counts;
        coCareerSave::Load(envString("Ann"), nullptr, counts);
        const auto& grades = coCareerGrades().at(1);
        const auto found = grades.find(envString("Classic"));
        return found == grades.end() ? std::array<coMissionGrade, 8>{} : found->second;
    }

    plTestTimeSource time;
    coCareerEnvironment career;
    coFileTestDefinition definition;
    coFakeMissionWorld world;
    coRecordingModeHost modeHost;
    coScriptedEditorInput input;
    coRecordingEditorHost host;
    coAnsweringPalettes palettes;
    std::unique_ptr<gfTextSet> texts = coWriteObjectiveTexts(career.folder, {{46, u"Objectives"}});
    coModeCareerBuilder mode;
};

TEST_F(coCareerBuilderTest, BudgetsMoveOnlyWhenTheCircuitOrThePieceChanged) {
    coMissionSetup setup;
    setup.budgets[coPieceCodeStraight] = 1;
    setup.budgets[6] = 2; // chains
    setup.budgets[8] = 0; // brakes
    Load(setup);
    EXPECT_EQ(palettes.counts[6], 2);
    const i32 pieces = coCircuitPieceCount();

    Run("Short Straightaway");
    EXPECT_EQ(coCircuitPieceCount(), pieces + 1);
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeStraight], 0);
    EXPECT_EQ(palettes.counts[coPieceCodeStraight], 0);
    host.sounds.clear();
    Run("Long Straightaway"); // exhausted: nothing, silently
    EXPECT_EQ(coCircuitPieceCount(), pieces + 1);
    EXPECT_TRUE(host.sounds.empty());
    Run("Curved Left"); // unlimited
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeTurnLeft], -1);

    // A chain over a brake takes a chain and gives the brake back; over a chain it takes nothing.
    coCoasterPiece* braked = coCircuitLastPiece();
    braked->SetElement(2);
    Run("Add Chain");
    EXPECT_EQ(braked->GetElement(), 1);
    EXPECT_EQ(mode.GetBudgets()[6], 1);
    EXPECT_EQ(mode.GetBudgets()[8], 1);
    Run("Add Chain");
    EXPECT_EQ(mode.GetBudgets()[6], 1);
    Run("Remove Chain");
    EXPECT_EQ(mode.GetBudgets()[6], 2);

    // Deleting gives back the piece and its element; a mission's own chained piece gives a chain back.
    coSelectionSetPiece(coCircuitLastPiece()->GetPrevious());
    Run("Delete"); // not the last piece: nothing moves
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeStraight], 0);
    coSelectionSetPiece(coCircuitLastPiece());
    Run("Delete"); // the unlimited turn
    Run("Delete"); // the straight
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeStraight], 1);
    Run("Delete"); // the mission's last turn, chained
    EXPECT_EQ(mode.GetBudgets()[6], 3);
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeTurnLeft], -1);

    // Counters hidden while the builder was away (its leaving, a ride's "Load") show again on entry.
    mode.Exit();
    mode.Enter();
    EXPECT_EQ(palettes.counts[6], 3);
    mode.Exit();
}

TEST_F(coCareerBuilderTest, DeletingTheClosingSTurnGivesBackWhatItReplaced) {
    coMissionSetup setup;
    setup.budgets[coPieceCodeShallowTurnLeft] = 0;
    setup.budgets[coPieceCodeSTurn] = 0;
    Load(setup);
    coCircuitClear();
    // Shallow turns through 340 degrees: closing replaces the last one by an S-turn.
    coAppendStraight(5.0f);
    for (int i = 0; i < 12; ++i)
        coAppendPiece<coCoasterPieceShallowTurn>([&](coCoasterPieceShallowTurn& p) {
            const float degrees = i == 10 ? 10.0f : 30.0f;
            p.SetAngle(coDegrees(degrees));
            p.SetRunLength(20.0f * degrees / 30.0f);
        });
    Run("Finish Coaster");
    ASSERT_EQ(coObjectivePieceKind(*coCircuitLastPiece()), coPieceCodeSTurn);
    coCircuitOpen();
    coSelectionSetPiece(coCircuitLastPiece());
    Run("Delete");
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeShallowTurnLeft], 1);
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeSTurn], 0);
}

TEST_F(coCareerBuilderTest, EveryClosingMeetingTheWinLevelRecordsItsMedal) {
    Load({});
    EXPECT_EQ(palettes.objectives.size(), 2u);
    EXPECT_EQ(palettes.objectives[0], std::make_pair(envString("Objectives"), false));
    EXPECT_EQ(host.name, envString("Three"));
    Run("Finish Coaster");
    ASSERT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(palettes.medals, (std::vector<std::pair<i32, envString>>{{4, envString("Gold")}}));
    EXPECT_EQ(host.sounds.back(), 24);
    EXPECT_EQ(Grades()[2], 4);
    EXPECT_TRUE(std::filesystem::exists(career.folder.Path("Saves/Ann/Classic/Mission3.cmi")));
    EXPECT_FALSE(mode.IsModified());

    // Once per closing: another edit of the closed circuit asks nothing; opening it by a delete and
    // closing it again does.
    Run("Bank Left");
    EXPECT_EQ(palettes.medals.size(), 1u);
    coSelectionSetPiece(coCircuitLastPiece());
    Run("Delete");
    ASSERT_FALSE(coCircuitIsClosed());
    Run("Curved Left");
    Run("Finish Coaster");
    ASSERT_TRUE(coCircuitIsClosed());
    EXPECT_EQ(palettes.medals.size(), 2u);

    // "Menu" leaves for the career menu without the quit question.
    coIntroMode menu;
    coSetMode(coModeIdCareerMenu, &menu);
    palettes.chooseMenu = true;
    coCircuitOpen();
    mode.CheckCompletion();
    Run("Finish Coaster");
    mode.Think(); // the intro's turn: there is none
    mode.Think();
    EXPECT_TRUE(host.questions.empty());
    EXPECT_EQ(mode.GetResult(), coMode::Leave);
}

// Escape asks as "Back" does; No stays, Ok leaves for the career menu, not the main menu.
TEST_F(coCareerBuilderTest, EscapeAsksAndOkLeavesForTheCareerMenu) {
    Load({});
    coIntroMode menu;
    coSetMode(coModeIdCareerMenu, &menu);
    mode.Think(); // the intro's turn: there is none
    for (const i32 answer : {2, 1}) {
        host.answer = answer;
        input.released = {coActionEscape};
        mode.Think();
    }
    EXPECT_EQ(host.questions, (std::vector<u32>{13, 13}));
    EXPECT_EQ(mode.GetResult(), coMode::Leave);
    EXPECT_EQ(coCurrentMode(), &menu);
}

TEST_F(coCareerBuilderTest, MedalsOfMissionsOutsideTheCareerOrWithoutTextsAreHandledSafely) {
    // A missing medal text: an empty text, and the medal still kept.
    std::filesystem::remove(career.folder.Path("Text/Missions/Classic/Mission3.tsf"));
    coMissionSetup setup;
    setup.medalLevels = 2; // bronze
    Load(setup);
    Run("Finish Coaster");
    EXPECT_EQ(palettes.medals.back(), std::make_pair(2, envString()));
    EXPECT_EQ(Grades()[2], 2);

    for (const char* name : {"Mission9.cmi", "Mission.cmi"}) {
        coCircuitClear();
        std::filesystem::remove(career.folder.Path("Saves/Ann/SaveFile.isf"));
        Load({}, name);
        Run("Finish Coaster");
        EXPECT_TRUE(career.Warned("medal is not kept")) << name;
        EXPECT_EQ(Grades(), (std::array<coMissionGrade, 8>{})) << name;
    }
}

// A medal that cannot be kept (a file where the player's folder belongs, a full disc) is told in one box
// naming the attempt's and the medal's files, never their temporaries; the medal is still asked and the
// game plays on.
TEST_F(coCareerBuilderTest, AFailedSaveIsToldOnceAndTheGamePlaysOn) {
    const struct {
        bool fileForFolder;
        int writeError;
        const char* files;
    } rows[] = {{true, 0, "Ann Ann"}, {false, ENOSPC, "Mission3.cmi SaveFile.isf"}};
    for (const auto& row : rows) {
        Load({});
        std::filesystem::remove_all(career.folder.Path("Saves/Ann"));
        if (row.fileForFolder)
            career.folder.Write("Saves/Ann", "a file where the player's folder belongs");
        else
            career.folder.MakeFolder("Saves/Ann/Classic");
        host.failures.clear();
        {
            const fsWriteCalls noRoom(row.writeError);
            Run("Finish Coaster");
        }
        ASSERT_EQ(host.failures.size(), 1u) << row.files;
        std::string files;
        for (const std::exception_ptr& failure : host.failures[0]) {
            try {
                std::rethrow_exception(failure);
            } catch (const fsFileFailureX& e) {
                files += (files.empty() ? "" : " ") + envStringToNarrow(e.GetLocator().GetLastComponent());
            }
        }
        EXPECT_EQ(files, row.files);
        EXPECT_EQ(palettes.medals.size(), 1u);
        EXPECT_TRUE(mode.IsModified());
        palettes.medals.clear();
        coCircuitClear();
    }
}

// A medal is saved as two files. Stopped between them, the game keeps at worst the old medal beside the
// coaster that won the new one (a ride of it wins it again), never the new medal beside an older coaster.
TEST_F(coCareerBuilderTest, AStopBetweenAMedalsTwoSavesKeepsTheCoasterThatWonIt) {
    coMissionSetup setup;
    setup.medalLevels = 2; // bronze
    Load(setup);
    Run("Finish Coaster");
    ASSERT_EQ(Grades()[2], 2);

    setup.medalLevels = 3; // silver, with longer sides
    setup.side = 30.0f;
    coCircuitClear();
    Load(setup);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        fsSetOpenFunction(StopAtTheSecondSave);
        Run("Finish Coaster");
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == kStoppedBetweenSaves) << status;

    EXPECT_EQ(Grades()[2], 2);
    mode.LoadMission(career.folder.Locator("Saves/Ann/Classic/Mission3.cmi"), 1);
    ASSERT_GT(coCircuitPieceCount(), 0);
    EXPECT_NEAR(coCircuitFirstPiece()->GetLength(), 30.0f, 0.01f);
}

TEST_F(coCareerBuilderTest, KeysRestartFromThePlayersCopyAndShowTheHint) {
    coMissionSetup setup;
    setup.budgets[coPieceCodeStraight] = 5;
    Load(setup);
    Run("Short Straightaway");
    mode.SaveMission(); // the player's copy has 4 straights left
    Run("Short Straightaway");
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeStraight], 3);
    Type(0xE000); // F1
    EXPECT_EQ(mode.GetBudgets()[coPieceCodeStraight], 4);
    EXPECT_NE(mode.GetMissionFile().GetRoot(), coRootMissions);
    EXPECT_TRUE(palettes.hintKeyShown);
    Type(u'p');
    Type(u'P'); // as typed with Caps Lock on
    EXPECT_EQ(palettes.hints, std::vector<envString>(2, envString("Mind the loop")));

    // A damaged copy is named as the player's attempt and the world kept.
    career.folder.Write("Saves/Ann/Classic/Mission3.cmi", "damaged");
    const i32 pieces = coCircuitPieceCount();
    Type(0xE000);
    EXPECT_EQ(host.damagedFiles, std::vector<u32>{coErrorDamagedAttempt});
    EXPECT_EQ(coCircuitPieceCount(), pieces);
}

TEST_F(coCareerBuilderTest, LockedPiecesStayUnlessTheMissionFreesThem) {
    coMissionSetup setup;
    setup.locks.lockedPieces = 8;
    Load(setup);
    Run("Short Straightaway");
    coSelectionSetPiece(coCircuitLastPiece()->GetPrevious());
    EXPECT_FALSE(mode.CanEditSelectedPiece());
    coSelectionSetPiece(coCircuitLastPiece());
    EXPECT_TRUE(mode.CanEditSelectedPiece());
    EXPECT_TRUE(mode.CanDeleteSelection());
    Run("Delete");
    EXPECT_FALSE(mode.CanDeleteSelection()); // the mission's last piece
    coSelectLoadingDock();
    EXPECT_FALSE(mode.CanEditSelectedPiece());
    EXPECT_FALSE(mode.CanManipulateDock());

    coCircuitClear();
    setup.locks.piecesFree = true;
    Load(setup);
    coSelectionSetPiece(coCircuitLastPiece());
    EXPECT_TRUE(mode.CanEditSelectedPiece());
    EXPECT_TRUE(mode.CanDeleteSelection());
}

TEST_F(coCareerBuilderTest, TheIntroFliesOncePerLoadAndNeverWithoutAPath) {
    coIntroMode intro;
    coSetMode(coModeIdFlythrough, &intro);
    coMissionSetup setup;
    setup.flight = true;
    Load(setup);
    mode.Think();
    EXPECT_EQ(mode.GetResult(), coMode::Switch);
    EXPECT_EQ(intro.path->GetPointCount(), 1);
    EXPECT_EQ(envStringToNarrow(intro.voice.GetLastComponent()), "mvo3.wav");
    mode.Exit(); // into the fly-through
    EXPECT_FALSE(mode.IsIntroPending());
    mode.Enter();
    EXPECT_FALSE(mode.IsIntroPending());

    intro.path = nullptr;
    coCircuitClear();
    Load({});
    mode.Think();
    EXPECT_EQ(intro.path, nullptr);
    EXPECT_FALSE(mode.IsIntroPending());
    mode.Exit();
}

// Props passed in order stand marked with their numbers while they are in view, and the marks go with the
// builder.
TEST_F(coCareerBuilderTest, PropsPassedInOrderAreMarkedWithTheirNumbers) {
    coBuildR1();
    coObjectiveSet objectives;
    objectives.Add(
        std::make_unique<coPropOrderingObjective>(world.AddProp({0.0f, 0.0f, 20.0f}, "fountain"), 2, *texts),
        0);
    objectives.Add(
        std::make_unique<coPropOrderingObjective>(world.AddProp({0.0f, 0.0f, -60.0f}, "fountain"), 1, *texts),
        0);
    const fsLocator file = fsRootedLocator(coRootMissions, "Classic/Mission3.cmi");
    coWriteMissionFile(file, coMissionSetup().budgets, objectives, coMissionLocks(), coFlythroughPath());
    coCircuitClear();
    mode.LoadMission(file, 1);
    // The second prop stands behind the eye.
    mode.GetCamera().LookAt(maVector3d(0.0f, 10.0f, -40.0f), maVector3d(0.0f, 0.0f, 0.0f),
                            maVector3d(0.0f, 1.0f, 0.0f));
    mode.UpdatePropMarks();
    ASSERT_EQ(palettes.propMarks.size(), 1u);
    EXPECT_EQ(palettes.propMarks[0].second, 2);
    mode.Exit();
    EXPECT_TRUE(palettes.propMarks.empty());
}

// A mission won already, its win objective a prop beside its track, is found won as it loads: the return
// from its fly-through asks no medal question.
TEST_F(coCareerBuilderTest, AWonMissionWithAPropObjectiveIsFoundWonAsItLoads) {
    // The mission's props as the ride measures them: points the track passes within 3 units of.
    struct MissionProps : coRideProps {
        explicit MissionProps(const coFakeMissionWorld& world) : world(world) { coSetRideProps(this); }
        ~MissionProps() override { coSetRideProps(nullptr); }
        void CollectAll(std::vector<const coProp*>& props) const override {
            props.clear();
            for (const auto& prop : world.placed)
                props.push_back(coFakeMissionWorld::Handle(prop.get()));
        }
        float GetProximityRadius(const coProp*) const override { return 3.0f; }
        maBoundingBox GetBounds(const coProp* prop) const override {
            const maVector3d& at = coFakeMissionWorld::Of(prop).position;
            return maBoundingBox(at, at);
        }
        const coFakeMissionWorld& world;
    } props(world);
    coIntroMode intro;
    coSetMode(coModeIdFlythrough, &intro);
    coBuildR1();
    coCircuitClose();
    coObjectiveSet objectives;
    objectives.Add(std::make_unique<coPropProximityObjective>(world.AddProp({0.0f, 2.0f, 5.0f}, "fountain"),
                                                              0.1f, *texts),
                   0);
    coFlythroughPath path;
    path.AddPoint(maVector3d(0, 50, 0), maVector3d(0, 0, 0));
    const fsLocator file = fsRootedLocator(coRootMissions, "Classic/Mission3.cmi");
    coWriteMissionFile(file, coMissionSetup().budgets, objectives, coMissionLocks(), path);
    coCircuitClear();

    mode.LoadMission(file, 1);
    mode.Think(); // into the fly-through
    mode.Exit();
    mode.Enter(); // back from it
    EXPECT_EQ(palettes.objectives.at(1).second, true);
    EXPECT_TRUE(palettes.medals.empty());
    mode.Exit();
}

} // namespace
