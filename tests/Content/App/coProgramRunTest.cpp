// The game program run on the built installation tree, each run with folders of its own for its lock,
// configuration and saves.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct RunResult {
    int code = -1;
    std::string output;
};

class coProgramRunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_home = std::filesystem::temp_directory_path() /
                 ("loopvane-run-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_home);
        std::filesystem::create_directories(m_home);
    }
    void TearDown() override { std::filesystem::remove_all(m_home); }

    // The display is the test device's, or with "" the one of SDL's video driver.
    std::string Command(const std::string& arguments, const char* display = "--headless") const {
        const std::string home = m_home.string();
        return "TMPDIR=" + home + " XDG_CONFIG_HOME=" + home + "/config XDG_DATA_HOME=" + home + "/data " +
               LV_GAME_PROGRAM + " " + display + " " + arguments + " 2>&1";
    }
    // Runs the program to its end, with its output.
    RunResult Start(const std::string& arguments, const char* display = "--headless") const {
        RunResult run;
        FILE* pipe = ::popen(Command(arguments, display).c_str(), "r");
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, pipe))
            run.output += buffer;
        const int status = ::pclose(pipe);
        run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return run;
    }

    std::filesystem::path m_home;
};

const std::string kData = std::string("--data ") + LV_DATA_DIR;

TEST_F(coProgramRunTest, StartsIntoTheMainMenuAndLeavesWithoutAWarning) {
    for (const char* frames : {"5", "120"}) {
        const RunResult run = Start(kData + " --frames " + frames + " --trace /w /skipvideos");
        EXPECT_EQ(run.code, 0) << run.output;
        EXPECT_NE(run.output.find("mode 0 entered"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("Display Adapter: Loopvane test adapter"), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find("**Warning**"), std::string::npos) << run.output;
    }
}

TEST_F(coProgramRunTest, UnsavableSettingsAreToldAndTheGameRuns) {
    std::filesystem::create_directories(m_home / "data/Zandrel Trackwrighting/Loopvane/Saves/prefs.bin");
    const RunResult run = Start(kData + " --frames 5 --trace /w /skipvideos");
    EXPECT_EQ(run.code, 1) << run.output; // a reported error
    EXPECT_NE(run.output.find("prefs.bin"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("mode 0 entered"), std::string::npos) << run.output;
}

TEST_F(coProgramRunTest, FailuresAreReportedAndTheProgramEndsInOrder) {
    const struct {
        std::string arguments;
        std::string reported;
        int code;
    } rows[] = {
        // No installation at all: the folder is named, and the game does not start.
        {"--data " + m_home.string() + "/nothing --frames 5",
         "No game data in " + m_home.string() + "/nothing", 15},
        // A ride on a name that is no file of the save folder.
        {kData + " --frames 5 /ride ../Loop", "../Loop.csa", 1},
        // Switches that are no number, or past the frame counter's range, are refused.
        {kData + " --frames 5abc", "usage: ", 2},
        {kData + " --frames 4294967296", "usage: ", 2},
        // A picture that cannot be written fails the run.
        {kData + " --frames 5 --shot " + m_home.string() + "/no/such/folder/shot.png", "cannot write", 1},
    };
    for (const auto& row : rows) {
        const RunResult run = Start(row.arguments);
        EXPECT_EQ(run.code, row.code) << run.output;
        EXPECT_NE(run.output.find(row.reported), std::string::npos) << run.output;
    }
}

// Without a display for 3D the start fails with the 3D package's own text.
TEST_F(coProgramRunTest, AFailed3DStartIsToldWithItsText) {
    ::setenv("SDL_VIDEODRIVER", "none", 1);
    const RunResult run = Start(kData + " --frames 5 /w /skipvideos", "");
    ::unsetenv("SDL_VIDEODRIVER");
    EXPECT_EQ(run.code, 15) << run.output;
    EXPECT_NE(run.output.find("Error: No suitable 3D graphics support"), std::string::npos) << run.output;
}

TEST_F(coProgramRunTest, InjectedInputDrivesTheGameAndAFailedStepEndsIt) {
    // The window's close asks the quit question; Return confirms it.
    RunResult run =
        Start(kData + " --inject \"wait mode 0 60; close; frame 5; key Return; frame 60\" /w /skipvideos");
    EXPECT_EQ(run.code, 13) << run.output;
    run = Start(kData + " --inject \"wait mode 3 1\" /w /skipvideos");
    EXPECT_EQ(run.code, 1) << run.output;
    EXPECT_NE(run.output.find("injected step \"wait mode 3 1\": mode 0 stayed"), std::string::npos)
        << run.output;
}

TEST_F(coProgramRunTest, ASecondCopyEndsWith15) {
    // The first copy runs long enough for the second to find it, then ends by itself.
    FILE* first = ::popen(Command(kData + " --frames 400 --trace /w").c_str(), "r");
    char buffer[512];
    std::string output;
    while (output.find("menu ready") == std::string::npos && std::fgets(buffer, sizeof buffer, first))
        output += buffer;
    EXPECT_EQ(Start(kData + " --frames 5").code, 15);
    while (std::fgets(buffer, sizeof buffer, first))
        output += buffer;
    EXPECT_EQ(::pclose(first), 0) << output;
}

} // namespace
