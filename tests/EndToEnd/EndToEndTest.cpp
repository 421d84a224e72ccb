// The game program as a player meets it: started under Xvfb in a fresh home, played by an injected
// script, and judged by its exit code and its trace.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kExitNormal = 13;

struct GameRun {
    int exitCode = -1;
    std::string output;
};

// A temporary folder for the game's settings and saves, gone with the object.
struct Home {
    fs::path path = fs::temp_directory_path() / ("loopvane-e2e-" + std::to_string(::getpid()));
    Home() {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~Home() { fs::remove_all(path); }
};

// The game with its settings and saves in the home folder, silent, on a virtual screen.
GameRun PlayScript(const std::string& script, const fs::path& home) {
    const std::string command =
        "cd " + home.string() + " && env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy TMPDIR=" + home.string() +
        " XDG_CONFIG_HOME=" + home.string() + "/config XDG_DATA_HOME=" + home.string() +
        "/data xvfb-run -a -s \"-screen 0 1024x768x24\" " + LV_GAME_PROGRAM +
        " /w /skipvideos --trace --inject " + LV_SCRIPT_DIR + "/" + script + " >out.txt 2>&1";
    const int status = std::system(command.c_str());
    GameRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(home / "out.txt");
    run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

// The game in a fresh home of its own.
GameRun PlayScript(const std::string& script) {
    const Home home;
    return PlayScript(script, home.path);
}

// The modes in the order the trace saw them entered.
std::string ModesEntered(const std::string& output) {
    static const std::regex entered("mode (\\d+) entered");
    std::string modes;
    for (std::sregex_iterator at(output.begin(), output.end(), entered), end; at != end; ++at)
        modes += (modes.empty() ? "" : " ") + (*at)[1].str();
    return modes;
}

TEST(EndToEndTest, ScriptsPlayThroughToANormalExit) {
    struct Case {
        const char* script;
        const char* modes;
    };
    const Case cases[] = {
        {"quit_from_menu.inject", "0"},
        {"build_then_quit.inject", "0 6"},
    };
    for (const Case& c : cases) {
        const GameRun run = PlayScript(c.script);
        EXPECT_EQ(run.exitCode, kExitNormal) << c.script << "\n" << run.output;
        EXPECT_EQ(ModesEntered(run.output), c.modes) << c.script;
        EXPECT_TRUE(std::regex_search(run.output, std::regex("frame \\d+\\.\\d{3} ms"))) << c.script;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << c.script;
    }
}

TEST(EndToEndTest, AProfileMadeOnTheCareerRoadIsFoundByTheNextRun) {
    const Home home;
    const struct {
        const char* script;
        const char* modes;
    } runs[] = {{"new_profile_career.inject", "0 3 4 7 22 7 4 0"},
                {"known_profile_career.inject", "0 3 4 0"}};
    for (const auto& r : runs) {
        const GameRun run = PlayScript(r.script, home.path);
        EXPECT_EQ(run.exitCode, kExitNormal) << r.script << "\n" << run.output;
        EXPECT_EQ(ModesEntered(run.output), r.modes) << r.script;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << r.script;
    }
}

} // namespace
