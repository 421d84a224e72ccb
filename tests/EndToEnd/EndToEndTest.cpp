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

// The game with its own settings and saves in a temporary folder, silent, on a virtual screen.
GameRun PlayScript(const std::string& script) {
    const fs::path home = fs::temp_directory_path() / ("loopvane-e2e-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
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
    fs::remove_all(home);
    return run;
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
        // The world, the GUI and the renderer let go of the device and every texture before it closes.
        EXPECT_EQ(run.output.find("didn't really release"), std::string::npos) << c.script;
        EXPECT_EQ(run.output.find("still held"), std::string::npos) << c.script;
    }
}

} // namespace
