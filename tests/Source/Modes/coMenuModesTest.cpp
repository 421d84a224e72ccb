#include "Source/Modes/coMenuModes.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/May/mayModelFile.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Modes/coMenuWorld.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coSoundEffects.h"

#include "Engine/Platform/Window/plDirectInputKeys.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

namespace {

// Takes the mission it is given and goes back to the career menu.
struct coMissionTakingMode : coMode, coCareerMissionTarget {
    void Enter() override { EnterCommon(); }
    void Think() override {
        BeginFrame();
        coModePush(coGetMode(coModeIdCareerMenu));
        SetResult(Leave);
    }
    void Exit() override { ExitCommon(); }
    void LoadMission(const fsLocator& file, i32 index) override {
        missionFile = file;
        careerIndex = index;
    }
    void SetPlayerName(const envString& name) override { playerName = name; }
    void SetFinalMission(bool) override {}

    fsLocator missionFile;
    i32 careerIndex = -1;
    envString playerName;
};

// The world as the menus drive it: what was asked, and loads that fail when told.
struct coRecordingWorld : coMenuWorld {
    std::vector<std::string> calls;
    void ClearScene() override { calls.push_back("clear"); }
    void LoadCoaster(const fsLocator& file) override {
        calls.push_back("load " + envStringToNarrow(file.GetLastComponent()));
        if (failure)
            failure();
        coMenuWorld::LoadCoaster(file);
    }
    std::function<void()> failure; // thrown by the load when set
};

// A mode that only stands in the table.
struct coIdleMode : coMode {
    void Enter() override { EnterCommon(); }
    void Think() override {}
    void Exit() override { ExitCommon(); }
};

// The menu modes on the screen kit: the main menu is its real screen over the built tree; the saves and
// missions are the test folder's.
struct coMenuModesTest : coScreenTest {
    fsTestFolder folder;
    coRecordingWorld world;
    coModeMainMenu mainMenu;
    coModeLoadMenu loadMenu;
    coModeCareerMenu careerMenu;
    coModeSelectTrackwrightMenu profiles;
    coMissionTakingMode careerBuilder;
    coIdleMode builder;
    coIdleMode ride;

    void SetUp() override {
        coScreenTest::SetUp();
        coClearModeTable();
        coModeStackClear();
        folder.MakeFolder("saves");
        fsSetRootDirectory(coRootSaves, folder.Locator("saves"));
        fsSetRootDirectory(coRootMissions, folder.Locator("missions"));
        coSetMenuWorld(&world);
        const std::pair<i32, coMode*> table[] = {{coModeIdMainMenu, &mainMenu},
                                                 {coModeIdLoadMenu, &loadMenu},
                                                 {coModeIdCareerMenu, &careerMenu},
                                                 {coModeIdBuilder, &builder},
                                                 {coModeIdSelectTrackwright, &profiles},
                                                 {coModeIdCareerBuilder, &careerBuilder},
                                                 {coModeIdRide, &ride}};
        for (const auto& [id, mode] : table)
            coSetMode(id, mode);
    }
    void TearDown() override {
        coModeStackLeaveAll();
        coModeStackClear();
        coClearModeTable();
        coSetMenuWorld(nullptr);
        coLoadingScreenHide();
        coReleaseSoundEffects();
        coScreenTest::TearDown();
    }
    // The player's answers to the modal dialogs in turn: the name typed into the keyboard dialog (null
    // for a question), then the key that ends it, down for a frame and let go. A dialog still waiting
    // when the answers are used up fails the test.
    struct Answer {
        const char* name;
        u8 key;
    };
    void Answer(std::vector<struct Answer> answers) {
        host.modalFrame = [this, answers, at = size_t{0}, down = false]() mutable {
            if (at == answers.size())
                throw std::runtime_error("a dialog was left waiting");
            const struct Answer& answer = answers[at];
            auto* keyboard =
                dynamic_cast<coKeyboardDialog*>(guiWindowMgr::GetRoot()->FindChild("Keyboard Dialog"));
            if (!down && answer.name && keyboard)
                keyboard->SetText(envString(answer.name));
            input.GetScript(1).keys[answer.key] = down ? 0 : 0x80;
            at += down ? 1 : 0;
            down = !down;
        };
    }
    bool Exists(const std::string& relative) { return std::filesystem::exists(folder.Path(relative)); }
    // One frame after a click on the named button of the current menu.
    void Press(guiContainer* screen, const char* button) {
        Click(screen->FindChild(button));
        coModeManagerUpdate();
    }
};

TEST_F(coMenuModesTest, MainAndLoadMenuMoves) {
    coModePush(&mainMenu);
    coModeManagerUpdate();
    Press(mainMenu.GetScreen(), "Load");
    coModeManagerUpdate();
    EXPECT_EQ(coCurrentMode(), &loadMenu);
    EXPECT_TRUE(coModeStackIsPrevious(coModeIdMainMenu));

    Press(loadMenu.GetScreen(), "Back"); // back to the main menu entry below
    EXPECT_EQ(coModeStackSize(), 1);
    EXPECT_EQ(coCurrentMode(), &mainMenu);

    coModeManagerUpdate();
    Press(mainMenu.GetScreen(), "Load");
    coModeManagerUpdate();
    Press(loadMenu.GetScreen(), "Main Menu"); // a new main menu entry replaces the load menu
    EXPECT_EQ(coModeStackSize(), 2);
    EXPECT_EQ(coCurrentMode(), &mainMenu);

    // A damaged coaster (its setting whole, a chunk cut short) is reported as one (text 11); the world is
    // cleared and the load menu stays.
    coByteBuilder broken;
    broken.Header();
    coCdatFields().Write(broken, 4);
    std::ofstream(folder.Path("saves/Broken.csa"), std::ios::binary) << broken.bytes << "garbage";
    coModeManagerUpdate();
    Press(mainMenu.GetScreen(), "Load");
    coModeManagerUpdate();
    world.calls.clear();
    Press(loadMenu.GetScreen(), "Ride");
    EXPECT_EQ(world.calls, (std::vector<std::string>{"load Broken.csa", "clear"}));
    ASSERT_EQ(displayer.shown.size(), 1u);
    EXPECT_NE(displayer.shown[0].message.find("#11 "), std::string::npos) << displayer.shown[0].message;
    EXPECT_EQ(coCurrentMode(), &loadMenu);
    EXPECT_EQ(loadMenu.GetResult(), coMode::Stay);

    // A damaged game file that the coaster needs (a model of its theme) is named as the game's, never as the
    // player's coaster, in the words that say that the coaster is not opened (text 32, not text 25's "the
    // game goes on without the part"); damage that names no file stays the coaster's.
    const fsLocator model = folder.Locator("Themes/Ironvale/Model/tubedancer.msk");
    const struct {
        std::function<void()> failure;
        const char* text;
    } failures[] = {
        {[&] { throw gfInvalidFileBinX(model, gfDamage::CutShort); }, "ErrorCode #32 "},
        {[&] { throw mayInvalidModelFileX(model); }, "ErrorCode #32 "},
        {[&] { throw chInvalidChunkX(model); }, "ErrorCode #32 "},
        {[] { throw chInvalidChunkX(); }, "ErrorCode #11 "},
    };
    for (const auto& f : failures) {
        displayer.shown.clear();
        world.calls.clear();
        world.failure = f.failure;
        Press(loadMenu.GetScreen(), "Ride");
        EXPECT_EQ(world.calls, (std::vector<std::string>{"load Broken.csa", "clear"})) << f.text;
        ASSERT_EQ(displayer.shown.size(), 1u) << f.text;
        EXPECT_NE(displayer.shown[0].message.find(f.text), std::string::npos) << displayer.shown[0].message;
        EXPECT_EQ(coCurrentMode(), &loadMenu);
    }
    world.failure = nullptr;

    // Exit ends the game without the question.
    Press(loadMenu.GetScreen(), "Main Menu");
    coModeManagerUpdate();
    Press(mainMenu.GetScreen(), "Exit");
    EXPECT_TRUE(coModeStackIsEmpty());
    EXPECT_TRUE(host.questions.empty());
}

TEST_F(coMenuModesTest, DisplayChangeRestartsOnceAndFallsBack) {
    std::vector<std::pair<i32, i32>> restarts;
    bool failNew = false;
    mainMenu.SetDisplayRestart([&](i32 resolution, i32 depth) {
        restarts.emplace_back(resolution, depth);
        if (failNew && restarts.size() == 1)
            throw envInitX("g2d");
    });
    coModePush(&mainMenu);
    coModeManagerUpdate();
    // Only the colour depth changed.
    mainMenu.SetOptionsRun([] { return coOptionsResult{1, true, 0, 16}; });
    Press(mainMenu.GetScreen(), "Opt");
    EXPECT_EQ(restarts, (std::vector<std::pair<i32, i32>>{{0, 16}}));
    for (int frame = 0; frame < 3; ++frame)
        coModeManagerUpdate();
    EXPECT_EQ(restarts.size(), 1u);
    EXPECT_EQ(coCurrentMode(), &mainMenu);
    EXPECT_EQ(coModeStackSize(), 1);

    // A mode the device cannot make: reported, then the mode that worked before, which the preferences
    // take back from the dialog's stored choice.
    restarts.clear();
    failNew = true;
    mainMenu.SetOptionsRun([] {
        coPrefs::SetInt(coPrefResolution, 4);
        coPrefs::SetInt(coPrefColourDepth, 32);
        return coOptionsResult{1, true, 4, 32, 2, 16};
    });
    Press(mainMenu.GetScreen(), "Opt");
    EXPECT_EQ(restarts, (std::vector<std::pair<i32, i32>>{{4, 32}, {2, 16}}));
    EXPECT_EQ(std::tuple(coPrefs::GetInt(coPrefResolution), coPrefs::GetInt(coPrefColourDepth)),
              std::tuple(2, 16));
    EXPECT_EQ(displayer.shown.size(), 1u);
}

TEST_F(coMenuModesTest, CareerMenuLaunchesAndReopensOnTheLastLaunch) {
    coModeCareerMenu& menu = careerMenu;
    menu.SetProfileName(envString("Ann"));
    coModePush(&menu);
    coModeManagerUpdate();
    coModeManagerUpdate(); // the first frame picks the first mission not done
    coCareerMenu* screen = menu.GetScreen();
    EXPECT_EQ(screen->GetSelectedTrackType(), "Classic");
    EXPECT_EQ(screen->GetSelectedMission(), "Mission1.cmi");
    Press(screen, "Launch"); // no saved attempt: the installed mission
    EXPECT_EQ(coCurrentMode(), &careerBuilder);
    EXPECT_EQ(careerBuilder.missionFile.GetRoot(), coRootMissions);
    EXPECT_EQ(careerBuilder.careerIndex, 1);
    EXPECT_EQ(careerBuilder.playerName, envString("Ann"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("saves/Ann/Classic")));

    coModeManagerUpdate(); // the builder goes back to the career menu
    coModeManagerUpdate();
    ASSERT_EQ(coCurrentMode(), &menu);
    screen = menu.GetScreen();
    EXPECT_EQ(screen->GetSelectedTrackType(), "Classic");
    EXPECT_EQ(screen->GetTrackwright(), envString("Ann"));

    // The player's own attempt is taken by Launch, and left for Start Again.
    std::ofstream(folder.Path("saves/Ann/Classic/Mission1.cmi")) << "attempt";
    for (const char* button : {"Launch", "Start Again"}) {
        coModeManagerUpdate();
        Press(menu.GetScreen(), button);
        EXPECT_EQ(careerBuilder.missionFile.GetRoot() == coRootMissions,
                  std::string(button) == "Start Again");
        coModeManagerUpdate();
        coModeManagerUpdate();
    }
}

TEST_F(coMenuModesTest, ProfilesAreChosenOrMadeByNameAndHandedToTheCareer) {
    // No profile yet: the keyboard opens at once; a name that cannot be a folder keeps it up.
    Answer({{"a/b", plDik::Return}, {"..", plDik::Return}, {"Ann", plDik::Return}});
    coModePush(&profiles);
    coModeManagerUpdate();
    coModeManagerUpdate();
    EXPECT_TRUE(Exists("saves/Ann"));
    EXPECT_FALSE(Exists("saves/a"));
    coModeManagerUpdate();
    ASSERT_EQ(coCurrentMode(), &careerMenu);
    EXPECT_EQ(careerMenu.GetScreen()->GetTrackwright(), envString("Ann"));

    // Through the main menu's career road, the profile is listed and chosen; no dialog opens.
    host.modalFrame = [] { throw std::runtime_error("no dialog expected"); };
    Press(careerMenu.GetScreen(), "Main Menu");
    coModeManagerUpdate();
    Press(mainMenu.GetScreen(), "Trkwt");
    coModeManagerUpdate();
    ASSERT_EQ(coCurrentMode(), &profiles);
    coModeManagerUpdate();
    ASSERT_EQ(profiles.GetScreen()->GetProfileCount(), 1);
    Press(profiles.GetScreen(), "Load Trackwright");
    coModeManagerUpdate();
    ASSERT_EQ(coCurrentMode(), &careerMenu);
    EXPECT_EQ(careerMenu.GetScreen()->GetTrackwright(), envString("Ann"));
    Press(careerMenu.GetScreen(), "Main Menu");
    coModeManagerUpdate();
    Press(mainMenu.GetScreen(), "Trkwt");
    coModeManagerUpdate();
    Press(profiles.GetScreen(), "Main Menu");
    coModeManagerUpdate();
    EXPECT_EQ(coCurrentMode(), &mainMenu);
}

TEST_F(coMenuModesTest, AnExistingNameStartsTheProfileAfreshOnlyOnOkAndFailuresStay) {
    folder.MakeFolder("saves/Ann/Classic");
    folder.MakeFolder("missions/Classic");
    coCareerSave::Write(0, u"Ann", u"Classic", 0, 2);
    std::ofstream(folder.Path("saves/Ann/Classic/Mission1.cmi")) << "attempt";
    std::ofstream(folder.Path("saves/Bob")) << "a file where the folder would go";
    coModePush(&profiles);
    coModeManagerUpdate();
    const struct {
        std::vector<struct Answer> answers;
        bool filesKept;
        coMode* next;
        size_t reports;
    } cases[] = {
        {{{"Ann", plDik::Return}, {nullptr, plDik::Escape}}, true, &profiles, 0}, // the question cancelled
        {{{"Zed", plDik::Escape}}, true, &profiles, 0},                           // the keyboard cancelled
        {{{"Bob", plDik::Return}}, true, &profiles, 1},                           // the folder cannot be made
        {{{"Ann", plDik::Return}, {nullptr, plDik::Return}}, false, &careerMenu, 1},
    };
    for (const auto& c : cases) {
        Answer(c.answers);
        Press(profiles.GetScreen(), "New Trackwright");
        coModeManagerUpdate();
        EXPECT_EQ(coCurrentMode(), c.next);
        EXPECT_EQ(Exists("saves/Ann/SaveFile.isf"), c.filesKept);
        EXPECT_EQ(Exists("saves/Ann/Classic"), c.filesKept);
        EXPECT_EQ(displayer.shown.size(), c.reports);
        EXPECT_FALSE(Exists("saves/Zed"));
    }
    EXPECT_TRUE(Exists("saves/Ann"));
    EXPECT_EQ(careerMenu.GetScreen()->GetTrackwright(), envString("Ann"));
}

} // namespace
