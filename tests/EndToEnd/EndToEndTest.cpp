// The game program as a player meets it: started under Xvfb in a fresh home, played by an injected
// script, and judged by its exit code and its trace.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kExitNormal = 13;

struct GameRun {
    int exitCode = -1;
    std::string output;
};

// The game with its settings and saves in that folder, silent, on a virtual screen.
GameRun PlayScriptIn(const fs::path& home, const std::string& script) {
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

fs::path FreshHome() {
    const fs::path home = fs::temp_directory_path() / ("loopvane-e2e-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    return home;
}

// The game in a fresh temporary home.
GameRun PlayScript(const std::string& script) {
    const fs::path home = FreshHome();
    GameRun run = PlayScriptIn(home, script);
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

// The size of a picture the game wrote and whether it shows more than one colour.
struct Picture {
    unsigned width = 0, height = 0;
    bool varied = false;
};

Picture ReadPicture(const fs::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, file.c_str()))
        return picture;
    image.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr))
        return picture;
    picture.width = image.width;
    picture.height = image.height;
    for (size_t i = 3; i < pixels.size() && !picture.varied; ++i)
        picture.varied = pixels[i] != pixels[i % 3];
    return picture;
}

// The names of the files in the folder that holds the saved coasters, wherever the data home puts it.
std::vector<std::string> SavesFolderFiles(const fs::path& home) {
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(home / "data"))
        if (entry.path().filename() == "Saves" && entry.is_directory())
            for (const auto& file : fs::directory_iterator(entry.path()))
                names.push_back(file.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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

TEST(EndToEndTest, OptionsChosenInOneRunHoldInTheNext) {
    const fs::path home = FreshHome();
    for (const char* script : {"options_change.inject", "options_kept.inject"}) {
        const GameRun run = PlayScriptIn(home, script);
        EXPECT_EQ(run.exitCode, kExitNormal) << script << "\n" << run.output;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << script << "\n" << run.output;
    }
    fs::remove_all(home);
}

// A new coaster built, ridden to the end (the script checks the ride's time) and saved under a name.
TEST(EndToEndTest, ACoasterIsBuiltRiddenAndSaved) {
    const fs::path home = FreshHome();
    const GameRun run = PlayScriptIn(home, "build_ride_save.inject");
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_EQ(ModesEntered(run.output), "0 6 17 6 11 6");
    EXPECT_FALSE(std::regex_search(
        run.output, std::regex("Warning.*(missing|cannot|not found|no such|unknown)", std::regex::icase)))
        << run.output;
    const std::vector<std::string> saves = SavesFolderFiles(home);
    EXPECT_EQ(std::count(saves.begin(), saves.end(), "E2E Oval.csa"), 1);
    for (const std::string& name : saves)
        EXPECT_TRUE(name.ends_with(".csa") || name.ends_with(".bin")) << name;
    for (const char* shot : {"builder.png", "ride.png"}) {
        const Picture picture = ReadPicture(home / shot);
        EXPECT_EQ(picture.width, 800u) << shot;
        EXPECT_EQ(picture.height, 600u) << shot;
        EXPECT_TRUE(picture.varied) << shot;
    }
    fs::remove_all(home);
}

// The builder's questions answered both ways: the replace question on a second save under one name, and
// the leave question with a change unsaved, first staying, then back to the main menu.
TEST(EndToEndTest, TheBuildersQuestionsAnswerBothWays) {
    const fs::path home = FreshHome();
    const GameRun run = PlayScriptIn(home, "questions.inject");
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_EQ(run.output.find("injected step"), std::string::npos) << run.output;
    EXPECT_EQ(ModesEntered(run.output), "0 6 17 6 0");
    const std::vector<std::string> saves = SavesFolderFiles(home);
    EXPECT_EQ(std::count(saves.begin(), saves.end(), "loop2.csa"), 1);
    fs::remove_all(home);
}

} // namespace
