// The game program as a player meets it: started under Xvfb in a fresh home, played by an injected
// script, and judged by its exit code, its trace, its pictures and the files it leaves.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coPropListChunk.h"
#include "Tools/Image/toolScreenPictures.h"

#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <tuple>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kExitNormal = 13;
// The oval's long sides, along z from the start.
constexpr float kFirstStraight = 40.0f;

struct GameRun {
    int exitCode = -1;
    std::string output;
};

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Shell steps that wait for the signal's moment: `delay` seconds after the start, but never before the game
// catches SIGTERM (a sanitized build takes longer than 0.1 s to load its libraries); with no delay, the
// menu ready, or the picture "open.png" that a script shoots once its question is up (or the script's
// failure).
std::string WaitUntilDue(double delay, bool scripted) {
    // Bit 15 of the caught-signals mask: SIGTERM.
    const std::string catches = "[ $((0x$(awk '/^SigCgt/ {print $2}' /proc/$pid/status) & 0x4000)) != 0 ]";
    if (delay > 0.0)
        return "sleep " + std::to_string(delay) + "; for i in $(seq 500); do " + catches +
               " && break; sleep 0.01; done";
    const char* ready =
        scripted ? "{ [ -e open.png ] || grep -q 'injected step' out.txt; }" : "grep -q 'menu ready' out.txt";
    return std::string("for i in $(seq 6000); do ") + ready + " && break; sleep 0.1; done";
}

// A fresh home for the game (settings, saves and temporary files of its own), removed afterwards.
// Pictures that scripts shoot land in it.
class GameHome {
  public:
    explicit GameHome(const std::string& name = "loopvane-e2e")
        : m_root(fs::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
        static int homes = 0;
        m_root += "-" + std::to_string(++homes);
        fs::remove_all(m_root);
        fs::create_directories(Saves());
    }
    // Kept after a failure, with the game's output and pictures, for a look at what went wrong.
    ~GameHome() {
        if (::testing::Test::HasFailure())
            std::fprintf(stderr, "the game's home is kept in %s\n", m_root.string().c_str());
        else
            fs::remove_all(m_root);
    }

    fs::path Saves() const { return m_root / "data" / "Zandrel Trackwrighting" / "Loopvane" / "Saves"; }
    fs::path Path(const std::string& name) const { return m_root / name; }

    // The game on the installation tree, silent, on a virtual screen, playing the script on a fixed frame
    // step, so that its pictures and waits come out the same on a quiet machine and a busy one.
    // The game is started through `launcher` (a program that runs it, or nothing).
    GameRun Play(const std::string& script, const fs::path& data = LV_DATA_DIR,
                 const std::string& launcher = "") const {
        const std::string home = m_root.string();
        // The test runs on the test run's Xvfb; the game's temporary folder is its home.
        const std::string command = "cd '" + home + "' && " + Environment() + launcher + LV_GAME_PROGRAM +
                                    " --data '" + data.string() + "' /w /skipvideos --trace --frame-step 0.04 --inject " +
                                    LV_SCRIPT_DIR + "/" + script + " >out.txt 2>&1";
        const int status = std::system(command.c_str());
        GameRun run;
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.output = ReadAll(m_root / "out.txt");
        return run;
    }

    // The game ended by a signal once WaitUntilDue says so. `exitCode` is the game's, or -1 when it was
    // still running two minutes after the signal; the output ends with the milliseconds from the signal to
    // the end.
    GameRun EndBySignal(const char* signal, double delay, const std::string& script = "") const {
        const std::string home = m_root.string();
        const std::string inject = script.empty() ? "" : " --inject '" + script + "'";
        const std::string command =
            "cd '" + home + "' && { " + Environment() + LV_GAME_PROGRAM + " --data '" LV_DATA_DIR +
            "' /w /skipvideos --trace" + inject + " >out.txt 2>&1 & pid=$!; " +
            WaitUntilDue(delay, !script.empty()) + "; sent=$(date +%s%N); kill -" + signal +
            " $pid; (sleep 120; kill -KILL $pid) >/dev/null 2>&1 </dev/null & dog=$!; wait $pid; code=$?; "
            "echo \"ended after $((($(date +%s%N) - sent) / 1000000)) ms\" >>out.txt; kill $dog; exit $code; "
            "}";
        const int status = std::system(command.c_str());
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return {code == 128 + SIGKILL ? -1 : code, ReadAll(m_root / "out.txt")};
    }

    // The game with no script, so that its start-up box waits for a player until `answer` (xdotool's steps
    // on the box's window, $box) answers it; "answered" then ends the output. `exitCode` is -1 when the
    // game still ran ten minutes after its start. The game is started through `launcher`, as by Play.
    GameRun AnswerBox(const fs::path& data, const std::string& answer,
                      const std::string& launcher = "") const {
        const std::string command =
            "cd '" + m_root.string() + "' && { " + Environment() + launcher + LV_GAME_PROGRAM + " --data '" +
            data.string() +
            "' /w /skipvideos >out.txt 2>&1 & pid=$!; "
            "(sleep 600; kill -KILL $pid) >/dev/null 2>&1 </dev/null & dog=$!; "
            "box=$(timeout 300 xdotool search --sync --onlyvisible --limit 1 --name \"^(Error|Loopvane can't "
            "start)$\") && xdotool windowfocus --sync $box && " +
            answer +
            " && echo answered >answered.txt; "
            "wait $pid; code=$?; kill $dog; exit $code; }";
        const int status = std::system(command.c_str());
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return {code == 128 + SIGKILL ? -1 : code,
                ReadAll(m_root / "out.txt") + ReadAll(m_root / "answered.txt")};
    }

    // The game's settings, saves and temporary files in this home, and no sound.
    std::string Environment() const {
        const std::string home = m_root.string();
        return "env -u SDL_VIDEODRIVER SDL_AUDIODRIVER=dummy XDG_CONFIG_HOME='" + home +
               "/config' XDG_DATA_HOME='" + home + "/data' TMPDIR='" + home + "' ";
    }

  private:
    fs::path m_root;
};

// The modes in the order the trace saw them entered.
std::string ModesEntered(const std::string& output) {
    static const std::regex entered("mode (\\d+) entered");
    std::string modes;
    for (std::sregex_iterator at(output.begin(), output.end(), entered), end; at != end; ++at)
        modes += (modes.empty() ? "" : " ") + (*at)[1].str();
    return modes;
}

// What a play-through must not complain of: a missing file, text or widget.
bool ComplainsOfSomethingMissing(const std::string& output) {
    static const std::regex missing("doesn't exist|does not exist|no such|not found|missing|no (text|widget|"
                                    "child|button|window)",
                                    std::regex::icase);
    return std::regex_search(output, missing);
}

// The world, the GUI and the renderer let go of the device and every texture before it closes.
bool ReleasesEverything(const std::string& output) {
    return output.find("didn't really release") == std::string::npos &&
           output.find("still held") == std::string::npos;
}

// --- Saved coasters ---

// The saved coaster's neighbours as the game has them after building on the default "Mountain": the
// "Ironvale" station over the middle of the first piece, where the builder puts it.
struct MountainServices : coSavedCoasterServices {
    MountainServices() { coSetSavedCoasterServices(this); }
    ~MountainServices() override { coSetSavedCoasterServices(nullptr); }
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
    std::string GetEnvironmentName() const override { return environment; }
    int GetEnvironmentIndex() const override { return 0; }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        position = coCircuitFirstPiece()->GetStart() + maVector3d(0.0f, 0.0f, kFirstStraight / 2.0f);
        heading = 0.0f;
        type = "Ironvale";
        return true;
    }
    // The props stand on the ground, placed from the first piece's start.
    void WriteProps(chWriter& writer) const override {
        std::vector<coPropRecord> placed = props;
        const maVector3d start = coCircuitFirstPiece()->GetStart();
        for (coPropRecord& prop : placed)
            prop.position = maVector3d(start.x + prop.position.x, 0.0f, start.z + prop.position.z);
        coWritePropRecords(writer, placed);
    }
    std::vector<coPropRecord> props;
    std::string environment = "Mountain";
};

// A closed oval of eight chained pieces, written by the game's own writer, with the props given.
void WriteOval(const fs::path& file, const std::vector<coPropRecord>& props = {},
               const std::string& environment = "Mountain") {
    coRecordingTrackBuilder builder;
    MountainServices services;
    services.props = props;
    services.environment = environment;
    coCircuitClear();
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    coSetThemeName("Ironvale");
    coBuildR1({kFirstStraight, 20.0f, kFirstStraight, 20.0f});
    coCircuitClose();
    coRideComputeStats();
    fsLocator locator;
    fsLocatorFromNativePath(file.string().c_str(), locator);
    coSaveCoasterFile(locator);
    coCircuitClear();
    coRideStatsClear();
}

// Every chunk of a coaster file but the thumbnail, each leaf with its bytes, in file order.
std::vector<std::string> ChunksButThumbnail(const std::string& bytes) {
    std::vector<std::string> chunks;
    for (const coChunkAt& chunk : coChunksOf(bytes))
        if (chunk.id != "CSNP" && chunk.parent != "CSNP")
            chunks.push_back(chunk.parent + "/" + chunk.id +
                             (chunk.container ? "" : ":" + bytes.substr(chunk.Body(), chunk.size)));
    return chunks;
}

// --- The load menu's cache, read by an independent byte reader ---

struct CachedCoaster {
    bool finished = false;
    bool loadable = false;
    bool operator==(const CachedCoaster&) const = default;
};

// The name of every "INFO" chunk with its two flags; names are taken as ASCII.
std::map<std::string, CachedCoaster> ReadLoadCache(const std::string& bytes) {
    std::map<std::string, CachedCoaster> coasters;
    const auto u32At = [&bytes](size_t at) {
        if (at + 4 > bytes.size())
            throw std::out_of_range("a field past the cache's end");
        u32 value = 0;
        std::memcpy(&value, bytes.data() + at, 4);
        return value;
    };
    for (size_t at = 0; at + 10 <= bytes.size(); at += 10 + u32At(at + 4)) {
        if (bytes.compare(at, 4, "INFO") != 0)
            continue;
        size_t field = at + 14;
        std::string texts[4];
        for (std::string& text : texts) {
            const u32 units = u32At(field);
            for (u32 i = 0; i < units; ++i)
                text += bytes.at(field + 4 + 2 * i);
            field += 4 + 2 * static_cast<size_t>(units);
        }
        coasters[texts[0]] = {bytes.at(field + 8) != 0, bytes.at(field + 9) != 0};
    }
    return coasters;
}

// --- Pictures ---

struct Picture {
    g2dPixelRows rows;
    // Red, green and blue of a pixel.
    std::array<int, 3> At(u32 x, u32 y) const {
        const u8* pixel = rows.Row(y) + static_cast<size_t>(x) * rows.BytesPerPixel();
        return {pixel[0], pixel[1], pixel[2]};
    }
    // How many pixels of the box [x0, x1) x [y0, y1) pass the test, which gets red, green and blue.
    template <class Test> int Count(u32 x0, u32 y0, u32 x1, u32 y1, Test test) const {
        int count = 0;
        for (u32 y = y0; y < std::min(y1, rows.height); ++y)
            for (u32 x = x0; x < std::min(x1, rows.width); ++x) {
                const std::array<int, 3> rgb = At(x, y);
                count += test(rgb[0], rgb[1], rgb[2]);
            }
        return count;
    }
    // The longest row of lit pixels (red, green and blue over 450) in the box.
    int LongestLitRun(u32 x0, u32 y0, u32 x1, u32 y1) const {
        int longest = 0;
        for (u32 y = y0; y < y1; ++y)
            for (int x = static_cast<int>(x0), run = 0; x < static_cast<int>(x1); ++x) {
                const auto [r, g, b] = At(static_cast<u32>(x), y);
                longest = std::max(longest, run = r + g + b > 450 ? run + 1 : 0);
            }
        return longest;
    }
    bool OneColour() const {
        for (u32 y = 0; y < rows.height; ++y)
            for (u32 x = 0; x < rows.width; ++x)
                if (At(x, y) != At(0, 0))
                    return false;
        return true;
    }
};

// The thumbnail a coaster file carries, as its bitmap holds it.
Picture ReadThumbnail(const std::string& coaster) {
    for (const coChunkAt& chunk : coChunksOf(coaster))
        if (chunk.id == "CSNP")
            return {g2dDecodeBMP(
                std::span(reinterpret_cast<const u8*>(coaster.data()) + chunk.Body(), chunk.size))};
    return {};
}

Picture ReadShot(const fs::path& file) {
    const std::string bytes = ReadAll(file);
    return {g2dDecodePNG(std::span(reinterpret_cast<const u8*>(bytes.data()), bytes.size()))};
}

// An 800 x 600 picture of more than one colour.
void ExpectScreenPicture(const Picture& picture, const std::string& what) {
    EXPECT_EQ(picture.rows.width, 800u) << what;
    EXPECT_EQ(picture.rows.height, 600u) << what;
    EXPECT_FALSE(picture.OneColour()) << what;
}

// The main menu's backdrop tiles show at their centres as generated, beside the buttons (x 500 to 756,
// y 140 to 546). The backdrop is dithered to 5 bits a channel and a shown pixel blends its neighbours'
// levels, so it is held to the mean of the 4 x 4 pixels around it within one level.
void ExpectMenuTiles(const Picture& picture) {
    const toolImage backdrop = toolMenuBackdrop("uimm");
    for (int tile = 0; tile < 12; ++tile) {
        const int x = 200 * (tile % 4) + 100, y = 200 * (tile / 4) + 100;
        if (x >= 500 && x < 756 && y >= 140 && y < 546)
            continue;
        const std::array<int, 3> shown = picture.At(static_cast<u32>(x), static_cast<u32>(y));
        for (int c = 0; c < 3; ++c) {
            int sum = 0;
            for (int dy = -2; dy < 2; ++dy)
                for (int dx = -2; dx < 2; ++dx)
                    sum += backdrop.pixels[static_cast<size_t>(((y + dy) * backdrop.width + x + dx) * 3 + c)];
            EXPECT_NEAR(shown[c], sum / 16.0, 8) << "tile " << tile << " channel " << c;
        }
    }
}

// Where the builder's and menus' panels lie, and what most of each box shows: a panel that lost its look
// is drawn as an opaque white or grey box.
struct PanelLook {
    const char* what;
    u32 x0, y0, x1, y1;
    bool (*test)(int r, int g, int b);
    double share; // at least this share of the box's pixels pass
};

bool Dark(int r, int g, int b) {
    return r + g + b < 300;
}
bool Reddish(int r, int g, int b) {
    return r > g + 50 && r > b + 50;
}
bool Bluish(int r, int g, int b) {
    return b > r + 30 && b > g;
}
// The builder's untextured building view ("Texture In Build" off, the default): the grass's own green.
bool BareGround(int r, int g, int b) {
    return g > r + 15 && g > b + 25;
}
// The mountains' dry banks on the slope and the gorge's sides: olive, neither the grass nor a panel's orange.
bool DryBank(int r, int g, int b) {
    return r > b + 40 && g > b + 40 && std::abs(r - g) < 30;
}
// The selection marker's pulsing tints, pink or green, bright over the ground.
bool MarkerTint(int r, int g, int b) {
    return r + g + b > 380 && std::max({r, g, b}) - std::min({r, g, b}) > 50;
}
bool NotLightGrey(int r, int g, int b) {
    return !(std::abs(r - g) < 16 && std::abs(g - b) < 16 && r > 150);
}

void ExpectPanels(const Picture& picture, std::initializer_list<PanelLook> panels) {
    for (const PanelLook& panel : panels) {
        const double area = static_cast<double>(panel.x1 - panel.x0) * (panel.y1 - panel.y0);
        EXPECT_GE(picture.Count(panel.x0, panel.y0, panel.x1, panel.y1, panel.test) / area, panel.share)
            << panel.what;
    }
}

// The saves folder's files with their contents, but for the preferences that every exit saves.
// The names of the files under a folder, relative to it.
std::vector<std::string> FileNamesUnder(const fs::path& folder) {
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            names.push_back(fs::relative(entry.path(), folder).string());
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, std::string> FilesIn(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().filename() != "prefs.bin")
            files[fs::relative(entry.path(), folder).string()] = ReadAll(entry.path());
    return files;
}

// A run that left normally through these modes, missing no file, text or widget and releasing everything.
void ExpectCleanRun(const GameRun& run, const std::string& modes) {
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_EQ(ModesEntered(run.output), modes);
    EXPECT_FALSE(ComplainsOfSomethingMissing(run.output)) << run.output;
    EXPECT_TRUE(ReleasesEverything(run.output)) << run.output;
}

TEST(EndToEndTest, ScriptsPlayThroughToANormalExit) {
    struct Case {
        const char* script;
        const char* modes;
    };
    const Case cases[] = {
        {"quit_from_menu.inject", "0"},
        {"build_then_quit.inject", "0 6"},
        // Placing, turning and deleting a prop: the placing tool and the turning tool in between.
        {"place_turn_delete_prop.inject", "0 6 12 6 13 6"},
        // A new profile's first mission, its hint shown and closed with Escape, then back to the menus.
        {"career_hint.inject", "0 3 4 7 22 7 4 0"},
    };
    for (const Case& c : cases) {
        const GameRun run = GameHome().Play(c.script);
        EXPECT_EQ(run.exitCode, kExitNormal) << c.script << "\n" << run.output;
        EXPECT_EQ(ModesEntered(run.output), c.modes) << c.script;
        EXPECT_TRUE(std::regex_search(run.output, std::regex("frame \\d+\\.\\d{3} ms"))) << c.script;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << c.script;
        EXPECT_TRUE(ReleasesEverything(run.output)) << c.script << "\n" << run.output;
    }
}

// Two good coasters, written by the game's writer, for the runs that start from the load menu.
void WriteTwoOvals(const GameHome& home) {
    WriteOval(home.Saves() / "E2E Oval.csa");
    WriteOval(home.Saves() / "E2E Oval 2.csa");
}

// Files that an atomic save leaves behind when it is cut short, anywhere in the home.
std::vector<std::string> TemporaryFilesUnder(const fs::path& folder) {
    std::vector<std::string> names;
    for (const std::string& name : FileNamesUnder(folder))
        if (name.ends_with(".tmp"))
            names.push_back(name);
    return names;
}

// The builder reached by "Build" and "Ok", then the steps given; the script shoots "open.png" once its
// question is up.
std::string InBuilder(const std::string& steps) {
    return "wait mode 0 300; frame 10; click Build; frame 20; click Ok; wait mode 6 300; frame 30; " + steps +
           "; frame 5; shot open.png";
}

// --- The intro movies ---

// The test run's Xvfb screen, grabbed whole: a movie plays before any frame of the game, so neither a script
// nor --shot sees it.
class ScreenGrab {
  public:
    ScreenGrab() : m_display(XOpenDisplay(nullptr)) {}
    ~ScreenGrab() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    ScreenGrab(const ScreenGrab&) = delete;
    ScreenGrab& operator=(const ScreenGrab&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    // The whole screen as a picture.
    Picture Whole() const {
        Picture picture;
        ForEachPixel([&](int x, int y, int r, int g, int b) {
            picture.rows.width = static_cast<u32>(std::max<int>(picture.rows.width, x + 1));
            picture.rows.height = static_cast<u32>(y + 1);
            picture.rows.bytes.insert(picture.rows.bytes.end(),
                                      {static_cast<u8>(r), static_cast<u8>(g), static_cast<u8>(b)});
        });
        return picture;
    }
    // How many pixels of the screen, as red, green and blue bytes, pass the test.
    template <class Test> size_t Count(Test test) const {
        size_t count = 0;
        ForEachPixel([&](int, int, int r, int g, int b) { count += test(r, g, b); });
        return count;
    }
    // The box around the pixels that pass the test: left, top, right and bottom, past the end.
    template <class Test> std::array<int, 4> Bounds(Test test) const {
        std::array<int, 4> box{INT_MAX, INT_MAX, 0, 0};
        ForEachPixel([&](int x, int y, int r, int g, int b) {
            if (test(r, g, b))
                box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
                       std::max(box[3], y + 1)};
        });
        return box;
    }

  private:
    template <class Visit> void ForEachPixel(Visit visit) const {
        const Window root = DefaultRootWindow(m_display);
        XWindowAttributes attributes;
        XGetWindowAttributes(m_display, root, &attributes);
        XImage* image =
            XGetImage(m_display, root, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
        if (!image)
            return;
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                visit(x, y, static_cast<int>((pixel >> 16) & 0xFF), static_cast<int>((pixel >> 8) & 0xFF),
                      static_cast<int>(pixel & 0xFF));
            }
        XDestroyImage(image);
    }

    Display* m_display;
};

// The game window's place and size on the screen: left, top, right and bottom, past the end.
std::array<int, 4> GameWindowBox() {
    FILE* pipe =
        ::popen("xdotool search --onlyvisible --limit 1 --name '^Loopvane$' getwindowgeometry --shell", "r");
    std::map<std::string, int> values;
    char line[128];
    while (pipe && std::fgets(line, sizeof line, pipe)) {
        const std::string text(line);
        const size_t equals = text.find('=');
        if (equals != std::string::npos)
            values[text.substr(0, equals)] = std::atoi(text.c_str() + equals + 1);
    }
    if (pipe)
        ::pclose(pipe);
    return {values["X"], values["Y"], values["X"] + values["WIDTH"], values["Y"] + values["HEIGHT"]};
}

// The maker's card: a dark blue ground with the gold of "Trackwrighting" and its rule.
bool ShowsMakerCard(const ScreenGrab& screen) {
    const size_t navy = screen.Count([](int r, int g, int b) { return b < 90 && b > r + 12 && g < 40; });
    const size_t gold = screen.Count([](int r, int g, int b) { return r > 180 && g > 140 && r > b + 70; });
    return navy > 200000 && gold > 1500;
}

// The game's card: sky above a lawn.
bool ShowsGameCard(const ScreenGrab& screen) {
    const size_t sky = screen.Count([](int r, int, int b) { return b > 150 && b > r + 50; });
    const size_t lawn = screen.Count([](int r, int g, int b) { return g > r + 25 && g > b + 25; });
    return sky > 50000 && lawn > 50000;
}

// Waits up to five minutes for the picture; false when it never showed.
template <class Shows> bool WaitFor(const ScreenGrab& screen, Shows shows) {
    for (int i = 0; i < 6000; ++i) {
        if (shows(screen))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// Started without /skipvideos the game plays the maker's movie, then its own, each skipped by Space at its
// first sight, and reaches the main menu; the script then leaves.
TEST(EndToEndTest, TheIntroMoviesPlayAndSpaceSkipsEach) {
    const ScreenGrab screen;
    ASSERT_TRUE(screen.IsOpen());
    GameHome home;
    const std::string command =
        "cd '" + home.Path("").string() + "' && " + home.Environment() + LV_GAME_PROGRAM +
        " --data '" LV_DATA_DIR "' /w --trace --inject " LV_SCRIPT_DIR "/quit_from_menu.inject >out.txt 2>&1";
    int status = -1;
    std::thread game([&] { status = std::system(command.c_str()); });
    const std::string space =
        "xdotool search --sync --onlyvisible --limit 1 --name '^Loopvane$' windowfocus --sync key space";
    const bool maker = WaitFor(screen, ShowsMakerCard);
    EXPECT_TRUE(maker && std::system(space.c_str()) == 0);
    // The game's card fills the game's own window, as large as the game then draws in it: its sky reaches
    // the window's top corners, its lawn the bottom ones.
    const std::array<int, 4> window = GameWindowBox();
    EXPECT_EQ(std::tuple(window[2] - window[0], window[3] - window[1]), std::tuple(800, 600));
    std::array<int, 4> card{};
    const bool own = WaitFor(screen, [&](const ScreenGrab& s) {
        if (!ShowsGameCard(s) || ShowsMakerCard(s))
            return false;
        card = s.Bounds(
            [](int r, int g, int b) { return (b > 150 && b > r + 50) || (g > r + 25 && g > b + 25); });
        for (int side = 0; side < 4; ++side)
            if (std::abs(card[side] - window[side]) > 2)
                return false;
        return true;
    });
    EXPECT_TRUE(own) << "the card last covered " << card[0] << ", " << card[1] << " to " << card[2] << ", "
                     << card[3];
    EXPECT_TRUE(own && std::system(space.c_str()) == 0);
    game.join();
    const std::string output = ReadAll(home.Path("out.txt"));
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, kExitNormal) << output;
    EXPECT_EQ(ModesEntered(output), "0") << output;
    EXPECT_NE(output.find("menu ready"), std::string::npos) << output;
    EXPECT_FALSE(ComplainsOfSomethingMissing(output)) << output;
}

// Without /w the game is full screen from its first window to its last, with the intro movies and without,
// on the tests' Xvfb where no window manager answers a request for full screen: every sight of the game's
// window covers the screen, and the main menu is drawn over all of it, its buttons where the game drew them.
TEST(EndToEndTest, WithoutWEveryWindowOfTheGameCoversTheWholeScreen) {
    const ScreenGrab screen;
    ASSERT_TRUE(screen.IsOpen());
    const Picture before = screen.Whole();
    const std::array<int, 4> whole{0, 0, static_cast<int>(before.rows.width),
                                   static_cast<int>(before.rows.height)};
    for (const bool movies : {false, true}) {
        GameHome home;
        const std::string command =
            "cd '" + home.Path("").string() + "' && " + home.Environment() +
            LV_GAME_PROGRAM " --data '" LV_DATA_DIR "'" + (movies ? "" : " /skipvideos") +
            " --trace --frame-step 0.04 --inject " LV_SCRIPT_DIR "/full_screen_menu.inject >out.txt 2>&1";
        int status = -1;
        std::atomic<bool> running = true;
        std::thread game([&] {
            status = std::system(command.c_str());
            running = false;
        });
        std::set<std::array<int, 4>> seen;
        while (running && !fs::exists(home.Path("menu.png"))) {
            if (const std::array<int, 4> box = GameWindowBox(); box != std::array<int, 4>{})
                seen.insert(box);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        // The shot is the 800 x 600 picture the game drew; the screen shows it stretched over the display.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const Picture shown = screen.Whole();
        game.join();
        const std::string what = movies ? "with the movies" : "without the movies";
        const Picture menu = ReadShot(home.Path("menu.png"));
        ASSERT_EQ(menu.rows.width, 800u) << what;
        int alike = 0;
        int samples = 0;
        for (u32 y = 5; y < 600; y += 10)
            for (u32 x = 5; x < 800; x += 10, ++samples) {
                const std::array<int, 3> drawn = menu.At(x, y);
                const std::array<int, 3> seenThere =
                    shown.At(x * shown.rows.width / 800, y * shown.rows.height / 600);
                alike += std::abs(drawn[0] - seenThere[0]) + std::abs(drawn[1] - seenThere[1]) +
                             std::abs(drawn[2] - seenThere[2]) <
                         60;
            }
        EXPECT_GT(alike, samples * 9 / 10) << what;
        if (::testing::Test::HasFailure())
            std::ofstream(home.Path("screen.png"), std::ios::binary) << g2dEncodePNG(shown.rows);
        const std::set<std::array<int, 4>> onlyTheScreen{whole};
        EXPECT_EQ(seen, onlyTheScreen) << what;
        const std::string output = ReadAll(home.Path("out.txt"));
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, kExitNormal) << what << "\n" << output;
    }
}

// A terminal's Ctrl+C, its closing or a kill, at any moment, leaves the game as a confirmed quit does, saving
// the same files, whatever question is up; without a display the game says so and ends instead of running
// unseen.
TEST(EndToEndTest, SignalsEndTheGameAsAQuitAndNoDisplayEndsItAtOnce) {
    GameHome quitHome;
    ASSERT_EQ(quitHome.Play("quit_from_menu.inject").exitCode, kExitNormal);
    const struct {
        const char* signal;
        double delay; // 0: once the menu is ready or the script's question is up
        std::string script;
    } runs[] = {
        {"TERM", 0.1, ""},
        {"TERM", 0.2, ""},
        {"TERM", 0.3, ""},
        {"TERM", 0.5, ""},
        {"TERM", 1.0, ""},
        {"INT", 0.0, ""},
        {"HUP", 0.0, ""},
        // Asked in the builder's Think.
        {"TERM", 0.0, InBuilder("key Escape; frame 5; expect Dialog/PrimaryText \"Leave the builder\"")},
        // Opened by a key (F2, save) that the window's messages bring outside any mode's Think.
        {"TERM", 0.0,
         InBuilder(
             "click Hud/Dock/Ironvale; wait mode 17 60; move 400,420; frame 20; down; frame 2; up; wait "
             "mode 6 60; frame 10; key 60; frame 5; expect Keyboard Dialog/EditField \".*\"")},
    };
    for (const auto& r : runs) {
        const std::string what = std::string(r.signal) + " at " + std::to_string(r.delay) + " s " + r.script;
        GameHome home;
        const GameRun run = home.EndBySignal(r.signal, r.delay, r.script);
        EXPECT_EQ(run.exitCode, kExitNormal) << what << "\n" << run.output;
        EXPECT_TRUE(ReleasesEverything(run.output)) << run.output;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << what << "\n" << run.output;
        EXPECT_EQ(TemporaryFilesUnder(home.Path("")), std::vector<std::string>()) << what;
        if (r.script.empty()) {
            EXPECT_EQ(FileNamesUnder(home.Path("data")), FileNamesUnder(quitHome.Path("data"))) << what;
        }
        std::smatch took;
        ASSERT_TRUE(std::regex_search(run.output, took, std::regex("ended after (\\d+) ms"))) << run.output;
        // A guard against a hang, not a speed check: a loaded machine reaches the menu slowly.
        EXPECT_LT(std::stoi(took[1]), 120000) << what;
    }

    // No display named, and one named that no server answers (SDL would draw off screen): one line says so.
    for (const char* display : {"-u DISPLAY", "DISPLAY=:987"}) {
        const std::string command =
            std::string("env -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER ") + display + " " LV_GAME_PROGRAM " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string said;
        for (char line[512]; std::fgets(line, sizeof line, pipe);)
            said += line;
        const int status = pclose(pipe);
        EXPECT_NE(said.find("loopvane: no display"), std::string::npos) << display << ": " << said;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 15) << display;
    }
}

// "--help" lists every switch and every option of the game, one a line, on stdout, and ends well.
TEST(EndToEndTest, HelpListsEverySwitchAndOptionOneALine) {
    FILE* pipe = popen(LV_GAME_PROGRAM " --help 2>/dev/null", "r");
    ASSERT_NE(pipe, nullptr);
    std::string usage;
    for (char line[512]; std::fgets(line, sizeof line, pipe);)
        usage += line;
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << usage;
    for (const char* option :
         {"--data DIR", "--frames N", "--frame-step S", "--headless", "--inject SCRIPT", "--shot FILE",
          "--trace", "--help", "/w", "/mp3", "/skipvideos", "/r<digit>", "/ride \"NAME\"", "/perpetual",
          "/x RATE DIVISOR", "/loadpropsnow", "/tilde", "/cheat WORD"}) {
        const std::string line = std::string("\n  ") + option + " ";
        EXPECT_NE(usage.find(line), std::string::npos) << option << " is not a line of\n" << usage;
    }
}

// A command line the game cannot take ends it with exit 2 before anything starts, its first line saying
// what was wrong; a switch's fault is followed by the usage. A script that reads as a path is a file.
TEST(EndToEndTest, AWrongCommandLineIsNamedFirst) {
    const struct {
        const char* arguments;
        const char* said;
        bool usage;
    } cases[] = {
        {"--bogus /w", "loopvane: unknown switch --bogus", true},
        {"--frames 0", "loopvane: --frames takes a whole number from 1 to 4294967295", true},
        {"/w --data", "loopvane: --data needs a value", true},
        {"--inject no/such/script", "loopvane: --inject: the file \"no/such/script\" is not there", false},
        {"--inject typo.inject", "loopvane: --inject: the file \"typo.inject\" is not there", false},
        {"--inject /", "loopvane: --inject: cannot read the file \"/\": it is a folder, not a file", false},
        {"--inject 'frame 2; jump'", "loopvane: --inject: cannot read the step \" jump\"", false},
    };
    for (const auto& c : cases) {
        FILE* pipe =
            popen((std::string(LV_GAME_PROGRAM " ") + c.arguments + " 2>&1 >/dev/null").c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string said;
        for (char line[512]; std::fgets(line, sizeof line, pipe);)
            said += line;
        const int status = pclose(pipe);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2) << c.arguments << "\n" << said;
        EXPECT_EQ(said.substr(0, said.find('\n')), c.said) << c.arguments;
        EXPECT_EQ(said.find("usage: loopvane") != std::string::npos, c.usage) << c.arguments << "\n" << said;
    }
}

// Fountains on both sides of the track past the station's end, every 8 m, for the train to set spraying.
std::vector<coPropRecord> FountainsAhead() {
    std::vector<coPropRecord> fountains;
    for (float z = kFirstStraight + 6.0f; z < kFirstStraight + 32.0f; z += 8.0f)
        for (float x : {-6.0f, 6.0f}) {
            coPropRecord fountain;
            fountain.name = envString("fountain");
            fountain.position = maVector3d(x, 0.0f, z);
            fountains.push_back(fountain);
        }
    return fountains;
}

TEST(EndToEndTest, ACoasterRiddenFromTheLoadMenuTakesAShorterTrainAndGoesOnToTheBuilder) {
    GameHome home;
    WriteOval(home.Saves() / "E2E Oval.csa", FountainsAhead());
    const GameRun run = home.Play("load_ride_cars.inject");
    ExpectCleanRun(run, "0 2 11 6 0");
    // Seen from the seat, the fountains the train nears spray glinting drops, their light added to the
    // grass behind them up to white. Below the horizon nothing else is white (the statues are cream), and
    // the car stays below the band counted.
    const auto drop = [](int r, int g, int b) { return std::min({r, g, b}) > 235; };
    int sprayed = 0;
    for (const char* shot : {"spray1.png", "spray2.png", "spray3.png"})
        sprayed += ReadShot(home.Path(shot)).Count(0, 300, 800, 450, drop);
    EXPECT_GT(sprayed, 200);
}

// The skinned prop in the ride: tube dancers on both sides of the track past the station, which the train
// sets swaying as it nears them, seen from the seat and from beside the track in their orange (no other model
// of the park is orange).
TEST(EndToEndTest, TheTubeDancersStandBesideTheTrackInTheRide) {
    GameHome home;
    std::vector<coPropRecord> dancers;
    for (float z : {kFirstStraight + 8.0f, kFirstStraight + 16.0f})
        for (float x : {-5.0f, 5.0f}) {
            coPropRecord dancer;
            dancer.name = envString("tubedancer");
            dancer.position = maVector3d(x, 0.0f, z);
            dancers.push_back(dancer);
        }
    WriteOval(home.Saves() / "E2E Oval.csa", dancers);
    const GameRun run = home.Play("tube_dancers.inject");
    ExpectCleanRun(run, "0 2 11");
    const auto orange = [](int r, int g, int b) { return r > g + 60 && g > b + 30 && g > 60; };
    for (const char* shot : {"dance1.png", "dance2.png", "dance3.png"})
        EXPECT_GT(ReadShot(home.Path(shot)).Count(0, 0, 800, 600, orange), 200) << shot;
}

// The props palette's row holds more themes than it shows: it opens with its left arrow dim and its right
// arrow lit, one press of the right arrow turns both round, and the script places a prop of the last theme,
// whose tab it could click only then.
TEST(EndToEndTest, TheRightArrowPagesThePropsRowToItsLastTheme) {
    GameHome home;
    const GameRun run = home.Play("props_row.inject");
    ExpectCleanRun(run, "0 6 12 6");
    const auto lit = [](int r, int g, int b) { return r > 180 && g > 140 && b < 90; };
    struct End {
        const char* shot;
        bool leftLit, rightLit;
    };
    for (const End& end : {End{"first.png", false, true}, End{"last.png", true, false}}) {
        const Picture row = ReadShot(home.Path(end.shot));
        EXPECT_EQ(row.Count(670, 416, 686, 432, lit) > 20, end.leftLit) << end.shot;
        EXPECT_EQ(row.Count(774, 416, 792, 432, lit) > 20, end.rightLit) << end.shot;
    }
}

// The six gauges' numbers are drawn whole (nine rows of white ink each) in a ride and in the test ride
// of a coaster whose lowest speed is negative, whose builder shows dashes in the gauges before it starts.
TEST(EndToEndTest, TheGaugesNumbersAreWholeInTheRideAndTheTestRide) {
    GameHome home;
    WriteOval(home.Saves() / "E2E Oval.csa");
    const GameRun run = home.Play("gauges_negative.inject");
    ExpectCleanRun(run, "0 2 11 6 0 6 17 6 9 6");
    const auto white = [](int r, int g, int b) { return std::min({r, g, b}) > 180; };
    const u32 gaugeTops[] = {84, 110, 138, 158, 178, 204, 226};
    for (const char* shot : {"ride.png", "test.png"}) {
        const Picture picture = ReadShot(home.Path(shot));
        for (size_t gauge = 0; gauge + 1 < std::size(gaugeTops); ++gauge) {
            int inkedRows = 0;
            for (u32 y = gaugeTops[gauge]; y < gaugeTops[gauge + 1]; ++y)
                inkedRows += picture.Count(594, y, 652, y + 1, white) > 0;
            EXPECT_GE(inkedRows, 8) << shot << " gauge " << gauge;
        }
    }
    // The builder's statistics: the lowest speed's minus sign and five whole lines.
    const Picture builder = ReadShot(home.Path("builder.png"));
    int inkedRows = 0;
    for (u32 y = 350; y < 446; ++y)
        inkedRows += builder.Count(10, y, 276, y + 1, white) > 0;
    EXPECT_GE(inkedRows, 5 * 8);
}

// From the seat the track runs ahead over the lead car's nose: the car's red only in the frame's bottom
// quarter, and grey rails and ties in its middle third, where they reach the horizon.
TEST(EndToEndTest, TheSeatViewShowsTheTrackAheadOverTheCarsNose) {
    GameHome home;
    WriteOval(home.Saves() / "E2E Oval.csa");
    const GameRun run = home.Play("seat_view.inject");
    ExpectCleanRun(run, "0 2 11 6 0");
    const Picture seat = ReadShot(home.Path("seat.png"));
    const auto carRed = [](int r, int g, int b) { return r > g + 80 && r > b + 80; };
    const auto railGrey = [](int r, int g, int b) {
        return std::abs(r - g) <= 16 && std::abs(g - b) <= 16 && r + g + b < 450;
    };
    EXPECT_LT(seat.Count(0, 0, 800, 450, carRed), 100);
    EXPECT_GT(seat.Count(0, 450, 800, 600, carRed), 800 * 150 / 10);
    EXPECT_GT(seat.Count(0, 200, 800, 400, railGrey), 1000);
    // Behind the train, its cars show their red.
    EXPECT_GT(ReadShot(home.Path("behind.png")).Count(0, 0, 800, 600, carRed), 5000);
}

// With both shadow options on, the train's headlight lights the cavern's floor ahead of it: seen from the
// close seat, warm lit rock below the track, which the dark cavern alone never shows, and none far aside.
TEST(EndToEndTest, TheHeadlightLightsTheCavernFloorAheadOfTheTrain) {
    GameHome home;
    WriteOval(home.Saves() / "E2E Oval.csa", {}, "cavern");
    const GameRun run = home.Play("cavern_headlight.inject");
    ExpectCleanRun(run, "0 2 11 6 9 6 0");
    const auto lit = [](int r, int g, int b) { return r > 90 && r > b + 15 && g > b; };
    for (const char* shot : {"headlight.png", "testride.png"}) {
        const Picture seat = ReadShot(home.Path(shot));
        EXPECT_GT(seat.Count(200, 300, 600, 600, lit), 20000) << shot;
        EXPECT_LT(seat.Count(0, 80, 150, 250, lit), 50) << shot;
    }
}

TEST(EndToEndTest, ADamagedMenuScriptIsReportedAndTheGameLeaves) {
    GameHome home;
    WriteTwoOvals(home);
    const fs::path data = home.Path("installed");
    fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
    const fs::path script = data / "Data" / "GUI" / "uimm" / "uimm.gsf";
    fs::resize_file(script, fs::file_size(script) / 2);
    const std::map<std::string, std::string> saves = FilesIn(home.Saves());

    const GameRun run = home.Play("damaged_menu_script.inject", data);
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_NE(run.output.find(script.string()), std::string::npos) << run.output;
    EXPECT_EQ(FilesIn(home.Saves()), saves);
}

// A damaged file read at start-up is told in a box, never only in the log, and the game ends cleanly. A
// screen made once the game's own box is up is told there, naming its file, and what start-up made is let
// go; what fails before (the GUI pak) is told in the platform's box, which an injected run prints. The
// game lies in a folder named beyond ASCII, and the box's log line names it in its own letters.
TEST(EndToEndTest, ADamagedFileReadAtStartUpIsToldInABox) {
    const struct {
        const char* file;
        bool ownBox; // else the platform's
    } cases[] = {
        {"Data/GUI/uisp/uisp.gsf", true},
        {"Data/GUI/uitm/uitm.gsf", true},
        {"Data/GUI/gui.pak", false},
    };
    for (const auto& c : cases) {
        GameHome home("loopvane-e2e-\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B_\xC3\x86r\xC3\xB8");
        const fs::path data = home.Path("installed");
        fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
        fs::resize_file(data / c.file, 8);
        const GameRun run = home.Play("damaged_start_screen.inject", data);
        if (c.ownBox) {
            const size_t box = run.output.find("coQuestionDialog.cpp");
            ASSERT_NE(box, std::string::npos) << c.file << "\n" << run.output;
            const std::string line = run.output.substr(box, run.output.find('\n', box) - box);
            EXPECT_NE(line.find((data / c.file).string()), std::string::npos) << line;
        }
        EXPECT_EQ(run.exitCode, kExitNormal) << c.file << "\n" << run.output;
        EXPECT_TRUE(ReleasesEverything(run.output)) << c.file << "\n" << run.output;
        EXPECT_EQ(fs::exists(home.Path("error.png")), c.ownBox) << c.file << "\n" << run.output;
        // The platform's box prints the line that the engine's displayer logs.
        const std::string told =
            "Error: A file of the game cannot be read, and the game has to end. Reinstalling "
            "the game may restore it.\n" +
            (data / c.file).string() + "\nIt is cut short.\n";
        size_t times = 0;
        for (size_t at = run.output.find(told); at != std::string::npos; at = run.output.find(told, at + 1))
            ++times;
        EXPECT_EQ(times, c.ownBox ? 0u : 2u) << c.file << "\n" << run.output;
    }
}

// A text set cut to nothing is damaged, told as one cut anywhere else: the box names it and says so, and
// the game ends or goes on as for any damaged file. With the game's own error texts cut to nothing too, the
// box says in plain words that its words cannot be read, naming their file, and names the damaged set.
TEST(EndToEndTest, ATextSetCutToNothingIsNamedInTheBox) {
    const std::string ends = "A file of the game cannot be read, and the game has to end. Reinstalling the "
                             "game may restore it.\n";
    const std::string goesOn = "A file of the game cannot be read; the game goes on without the part that "
                               "needs it. Reinstalling the game may restore it.\n";
    const std::string unread =
        "The game's words for this message cannot be read; reinstalling the game may restore them.\n";
    const char* options = "damaged_options_texts.inject";
    const struct {
        const char* set;
        bool errorsCut; // the game's error texts cut to nothing as well
        const char* script;
    } cases[] = {
        {"uimm.tsf", false, "damaged_text_set.inject"},
        {"uitm.tsf", false, "damaged_text_set.inject"},
        {"uiod.tsf", false, options},
        {"uimm.tsf", true, "damaged_text_set.inject"},
    };
    for (const auto& c : cases) {
        GameHome home;
        const fs::path data = home.Path("installed");
        fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
        const fs::path set = data / "Data/Text/Eng" / c.set, errors = data / "Errors/Eng/coErrors.tsf";
        fs::resize_file(set, 0);
        if (c.errorsCut)
            fs::resize_file(errors, 0);
        const GameRun run = home.Play(c.script, data);
        // The box's whole message, as the game's log has it.
        const std::string told =
            c.errorsCut ? unread + errors.string() +
                              "\nIt is cut short.\nMessage 16 of package 32, about:\n" + set.string() + "\n"
                        : (c.script == options ? goesOn : ends) + set.string() + "\nIt is cut short.\n";
        EXPECT_NE(run.output.find("**Warning** " + told), std::string::npos) << told << "\n" << run.output;
        EXPECT_EQ(run.exitCode, kExitNormal) << c.set << "\n" << run.output;
        EXPECT_FALSE(std::regex_search(run.output, std::regex("Sanitizer|runtime error"))) << run.output;
        EXPECT_TRUE(ReleasesEverything(run.output)) << c.set << "\n" << run.output;
        ExpectScreenPicture(ReadShot(home.Path("error.png")), c.set);
    }
}

// What fails before the game's own boxes exist (a damaged or unreadable file read at start-up, no game data
// at all) is told in the platform's box, which the game draws itself where the display offers none (this
// Xvfb has no core fonts for SDL's): it names the file and what is wrong, and waits for Enter, Escape or a
// click on its button, which ends the game. (Root reads a file of mode 000 anyway, unless it gives up its
// right to.)
TEST(EndToEndTest, AnEarlyFailureWaitsInABoxUntilItIsAnswered) {
    // OK sits in the box's bottom right corner.
    const std::string click =
        "eval $(xdotool getwindowgeometry --shell $box) && xdotool mousemove --window $box "
        "$((WIDTH - 50)) $((HEIGHT - 30)) click 1";
    constexpr int kRemoved = -1, kFolder = -2, kUnreadable = -3;
    const struct {
        const char* file; // none: no game data at all
        int size;         // what the file is cut to, or kRemoved, kFolder in its place, or kUnreadable
        std::string answer;
        const char* before; // the words before the path
        const char* said;   // after the path
        int exitCode;
    } cases[] = {
        {"basicstr.tsf", 8, "xdotool key Return", "", "\nIt is cut short.", kExitNormal},
        {"basicstr.tsf", 0, "xdotool key Return", "", "\nIt is cut short.", kExitNormal},
        {"Data/Text/Eng/fontname.tsf", 8, "xdotool key Escape", "", "\nIt is cut short.", kExitNormal},
        {"Data/GUI/gui.pak", 8, click, "", "\nIt is cut short.", kExitNormal},
        {"Data/GUI/gui.pak", kRemoved, "xdotool key Return", "", "\nThe game has to end.", kExitNormal},
        {"Data/GUI/gui.pak", kFolder, "xdotool key Return", "", "\n", kExitNormal},
        {"Data/GUI/gui.pak", kUnreadable, "xdotool key Return",
         "A file could not be read: you may not read it.\n", "\n", kExitNormal},
        {"", 0, "xdotool key Return", "", " (basicstr.tsf is missing)", 15},
    };
    for (const auto& c : cases) {
        GameHome home;
        const fs::path data = home.Path("installed");
        fs::create_directories(data);
        if (*c.file) {
            fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
            if (c.size >= 0) {
                fs::resize_file(data / c.file, c.size);
            } else if (c.size == kUnreadable) {
                fs::permissions(data / c.file, fs::perms::none);
            } else {
                fs::remove(data / c.file);
                if (c.size == kFolder)
                    fs::create_directory(data / c.file);
            }
        }
        const bool dropRoot = c.size == kUnreadable && ::geteuid() == 0;
        const GameRun run = home.AnswerBox(
            data, c.answer, dropRoot ? "setpriv --bounding-set=-dac_override,-dac_read_search " : "");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.file << "\n" << run.output;
        EXPECT_NE(run.output.find("answered"), std::string::npos) << c.file << "\n" << run.output;
        EXPECT_NE(run.output.find(c.before + (*c.file ? data / c.file : data).string() + c.said),
                  std::string::npos)
            << run.output;
        EXPECT_FALSE(std::regex_search(run.output, std::regex("Sanitizer|runtime error"))) << run.output;
        // The file is told as itself, never as a file that only its absence made missing.
        EXPECT_EQ(run.output.find("uildbk_0.png"), std::string::npos) << run.output;
    }
}

// Flips the top bit of a byte of a pak entry, which the pak's own reader finds: one in the middle, or
// the second, in a picture's signature. The entry is found by the name in its local header, since
// pictures of several entries may be alike.
void DamageEntry(const fs::path& pak, const std::string& entry, bool signature = false) {
    std::string whole = ReadAll(pak);
    const auto number = [&whole](size_t at, int bytes) {
        u32 value = 0;
        for (int i = bytes; i-- > 0;)
            value = value << 8 | static_cast<u8>(whole[at + i]);
        return value;
    };
    constexpr size_t kHeader = 30;
    for (size_t name = whole.find(entry); name != std::string::npos; name = whole.find(entry, name + 1)) {
        const size_t header = name - kHeader;
        if (name < kHeader || whole.compare(header, 4, "PK\x03\x04") != 0 ||
            number(header + 26, 2) != entry.size())
            continue;
        const size_t data = name + entry.size() + number(header + 28, 2);
        whole[data + (signature ? 1 : number(header + 22, 4) / 2)] ^= '\x80';
        std::ofstream(pak, std::ios::binary) << whole;
        return;
    }
    ADD_FAILURE() << entry << " is not in " << pak;
}

// A damaged picture in the interface pak, met by palettes made at start-up in code, is named in the game's
// box with the pak and what is wrong; what was made is let go and the game ends cleanly.
TEST(EndToEndTest, ADamagedPictureOfTheInterfacePakIsNamedInTheBox) {
    for (const char* picture : {"uitm/uitmsu_o.png", "uisp/uisppbgi.png", "uiopmn_i.png"}) {
        GameHome home;
        const fs::path data = home.Path("installed");
        fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
        const fs::path pak = data / "Data/GUI/gui.pak";
        DamageEntry(pak, picture);
        const GameRun run = home.Play("damaged_gui_picture.inject", data);
        EXPECT_EQ(run.exitCode, kExitNormal) << picture << "\n" << run.output;
        EXPECT_FALSE(std::regex_search(run.output, std::regex("Sanitizer|runtime error"))) << run.output;
        EXPECT_TRUE(ReleasesEverything(run.output)) << picture << "\n" << run.output;
        const std::string told = "has to end. Reinstalling the game may restore it.\n" +
                                 std::string(picture) + " in " + pak.string() + "\nIt is damaged.";
        EXPECT_NE(run.output.find(told), std::string::npos) << told << "\n" << run.output;
    }
}

// A picture damaged in its signature, met when "Options" opens its screen: the box names it in its pak and
// says that the game goes on, never that it has to end; the log names the picture, not the screen's
// intact script; the main menu plays on, and Exit leaves.
TEST(EndToEndTest, APictureOfAScreenOpenedInPlayIsToldAndTheGamePlaysOn) {
    GameHome home;
    const fs::path data = home.Path("installed");
    fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
    const fs::path pak = data / "Data/GUI/gui.pak";
    DamageEntry(pak, "uiod/uiodbn_i.png", true);
    const GameRun run = home.Play("damaged_options_picture.inject", data);
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_TRUE(fs::exists(home.Path("error.png"))) << run.output;
    EXPECT_EQ(run.output.find("has to end"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("shows a picture that cannot be read: uiod/uiodbn_i.png in " + pak.string()),
              std::string::npos)
        << run.output;
    EXPECT_EQ(run.output.find("Could not load gui script"), std::string::npos) << run.output;
    EXPECT_TRUE(ReleasesEverything(run.output)) << run.output;
}

// Damaged content on the way into the builder: a shipped file ends the game through the error box (a
// failure the game has no text of its own for is shown by its package and number, and the log gives that
// package's text), the player's colour copy gives way to the shipped one. Either way the program ends by
// itself, cleanly, and warns of nothing but the damage.
TEST(EndToEndTest, DamagedContentIsAnsweredAndTheGameEndsCleanly) {
    const struct {
        const char* file;  // under the installation tree, or "Saves/" for the player's
        const char* bytes; // in place of the file's; none: the file is cut to 100 bytes
        const char* script;
        const char* said;
        const char* logged; // the failure in its own package's words, or null
    } cases[] = {
        {"Environments/Mountain/Data/1.end", nullptr, "damaged_content.inject", "has to end", nullptr},
        {"Tracks/Steel/Track.def", "Track { \"Rail\n", "damaged_content.inject", "has to end", nullptr},
        {"Tracks/Steel/rail.png", "not a picture", "damaged_content.inject", "has to end",
         "/Tracks/Steel/rail.png\nIt is damaged.\n"},
        {"Saves/Track Color Preference Settings/Mountain/Tracks/Steel/TrkColor.def", "ColorScheme { \"Rail\n",
         "build_then_quit.inject", "the shipped one is used", nullptr},
    };
    for (const auto& c : cases) {
        GameHome home;
        const fs::path data = home.Path("installed");
        fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
        const std::string file = c.file;
        const fs::path damaged = file.starts_with("Saves/") ? home.Saves() / file.substr(6) : data / file;
        fs::create_directories(damaged.parent_path());
        if (c.bytes)
            std::ofstream(damaged, std::ios::binary) << c.bytes;
        else
            fs::resize_file(damaged, 100);
        const GameRun run = home.Play(c.script, data);
        EXPECT_EQ(run.exitCode, kExitNormal) << file << "\n" << run.output;
        EXPECT_FALSE(std::regex_search(run.output, std::regex("Sanitizer|runtime error"))) << run.output;
        std::istringstream lines(run.output);
        int warnings = 0;
        for (std::string line; std::getline(lines, line);) {
            if (line.find("Warning") == std::string::npos)
                continue;
            ++warnings;
            EXPECT_NE(line.find(c.said), std::string::npos) << file << ": " << line;
        }
        EXPECT_EQ(warnings, 1) << file;
        if (c.logged) {
            EXPECT_NE(run.output.find(c.logged), std::string::npos) << file << "\n" << run.output;
        }
        EXPECT_TRUE(ReleasesEverything(run.output)) << file;
    }
}

// The load menu lists the good coasters over a damaged cache, and leaves out a file that is no coaster and
// one cut to its header, naming each in the log. A coaster cut behind the cache's back (its time kept, as
// a restore or a crash may leave it) is listed from the cache: "Build" tells it as damaged and the menu
// stays.
TEST(EndToEndTest, TheLoadMenuListsGoodCoastersOverADamagedCacheAndSkipsJunk) {
    GameHome home;
    WriteTwoOvals(home);
    std::ofstream(home.Saves() / "LoadCach.bin", std::ios::binary)
        << std::string("\x49\x4e\x46\x4f\xff\x7f\x01", 7);
    std::string junk(100, '\0');
    for (size_t i = 0; i < junk.size(); ++i)
        junk[i] = static_cast<char>(i * 37 + 11);
    std::ofstream(home.Saves() / "Junk.csa", std::ios::binary) << junk;
    const fs::path oval = home.Saves() / "E2E Oval.csa";
    std::ofstream(home.Saves() / "Cut.csa", std::ios::binary) << ReadAll(oval).substr(0, 8);

    const GameRun run = home.Play("load_menu_junk.inject");
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_EQ(ModesEntered(run.output), "0 2 0");
    EXPECT_FALSE(ComplainsOfSomethingMissing(run.output)) << run.output;
    // The file that is no coaster is neither listed nor cached; the log names it.
    const std::map<std::string, CachedCoaster> listed = ReadLoadCache(ReadAll(home.Saves() / "LoadCach.bin"));
    const std::map<std::string, CachedCoaster> expected = {{"E2E Oval", {true, true}},
                                                           {"E2E Oval 2", {true, true}}};
    EXPECT_EQ(listed, expected);
    EXPECT_NE(run.output.find("Junk.csa\" is no coaster file"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("Cut.csa\" is cut short"), std::string::npos) << run.output;
    const Picture loadMenu = ReadShot(home.Path("loadmenu.png"));
    ExpectScreenPicture(loadMenu, "load menu");
    ExpectPanels(loadMenu, {{"the list's backdrop", 132, 112, 644, 464, NotLightGrey, 0.9}});
    const Picture menu = ReadShot(home.Path("mainmenu.png"));
    ExpectScreenPicture(menu, "main menu");
    ExpectMenuTiles(menu);

    const fs::file_time_type saved = fs::last_write_time(oval);
    fs::resize_file(oval, 8);
    fs::last_write_time(oval, saved);
    const GameRun cut = home.Play("load_menu_cut.inject");
    ExpectCleanRun(cut, "0 2 0");
    EXPECT_EQ(fs::file_size(oval), 8u);
    ExpectScreenPicture(ReadShot(home.Path("cut_coaster.png")), "the damaged coaster's box");
}

// Replaces the first `from` in the file with `to`, cutting the file there when `to` is empty.
void Patch(const fs::path& file, const std::string& from, const std::string& to) {
    std::string bytes = ReadAll(file);
    const size_t at = bytes.find(from);
    ASSERT_NE(at, std::string::npos) << from << " is not in " << file;
    bytes = to.empty() ? bytes.substr(0, at) : bytes.replace(at, to.size(), to);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

std::string FloatBytes(float value) {
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

// A damaged game file that the tube dancers, a mission's dock or the train's cars need is named as the
// game's, wherever the player meets it: riding a saved coaster from the load menu, placing a dancer in the
// free builder, launching a mission. A skin that reads whole but gives nothing to draw (cut after its
// header, its mesh chunk renamed) and a dancer's definition that the props list could not read once made
// the dancers vanish without a word; an animation's key past any turn once named no file; a damaged car
// model was told by its error number alone. The box says what follows: the coaster or the mission is not
// opened, or the game goes on without the part. The player's coaster or career is never blamed, nothing of
// theirs is set aside, and the menu, the builder or the ride stays.
TEST(EndToEndTest, ADamagedGameModelIsNamedAsTheGamesWhereverItIsMet) {
    using namespace std::string_literals;
    const std::string model = "Themes/Ironvale/Model/";
    const char* ride = "damaged_prop_ride.inject";
    const char* place = "damaged_prop_place.inject";
    const std::string unopened = ". Reinstalling the game may restore it.\n";
    const std::string goesOn = "; the game goes on without the part that needs it" + unopened;
    const struct {
        std::string file;
        std::string from, to; // the bytes replaced; with `to` empty the file is cut at `from`
        const char* script;
        const char* modes;
        const std::string& lead; // what follows "A file of the game cannot be read"
        const char* cause;
        const char* after; // the line that says what is not opened
    } cases[] = {
        {model + "tubedancer.msk", "MSSK", "", ride, "0 2 0", unopened, "It is damaged.",
         "\nThe coaster cannot be opened."},
        {model + "tubedancer.msk", "GFRG", "GFRX", place, "0 6", goesOn, "It is damaged.", ""},
        {model + "tubedancer.msk", "", "", place, "0 6", goesOn, "It is cut short.", ""},
        {model + "tubedancersway.mx", FloatBytes(0.9f), FloatBytes(3e38f), ride, "0 2 0", unopened,
         "It is damaged.", "\nThe coaster cannot be opened."},
        {"Themes/Ironvale/Data/tubedancer.prd", "", "", ride, "0 2 0", unopened, "It is damaged.",
         "\nThe coaster cannot be opened."},
        // A version the props list does not read: the dancer is left off the list.
        {"Themes/Ironvale/Data/tubedancer.prd", "\x01\0MODL"s, "\x02\0MODL"s, ride, "0 2 0", unopened,
         "It is damaged.", "\nThe coaster cannot be opened."},
        {"Themes/Ironvale/Tracks/Steel/Model/loaddock.mx", "", "", "damaged_mission_model.inject", "0 3 4 0",
         unopened, "It is cut short.", "\nThe mission cannot be opened."},
        // The ride goes on without its cars.
        {"Themes/Ironvale/Tracks/Steel/Model/carfoll.mx", "", "", "damaged_car_ride.inject", "0 2 11", goesOn,
         "It is cut short.", ""},
    };
    for (const auto& c : cases) {
        GameHome home;
        const fs::path data = home.Path("installed");
        fs::copy(LV_DATA_DIR, data, fs::copy_options::recursive);
        Patch(data / c.file, c.from, c.to);
        std::vector<coPropRecord> dancers(2);
        for (size_t i = 0; i < dancers.size(); ++i) {
            dancers[i].name = envString("tubedancer");
            dancers[i].position = maVector3d(i == 0 ? -5.0f : 5.0f, 0.0f, kFirstStraight + 8.0f);
        }
        const fs::path oval = home.Saves() / "E2E Oval.csa";
        WriteOval(oval, dancers);
        const std::string coaster = ReadAll(oval);

        const GameRun run = home.Play(c.script, data);
        const std::string what = c.file + " " + c.script + "\n" + run.output;
        EXPECT_EQ(run.exitCode, kExitNormal) << what;
        EXPECT_EQ(ModesEntered(run.output), c.modes) << what;
        EXPECT_TRUE(ReleasesEverything(run.output)) << what;
        EXPECT_NE(run.output.find("A file of the game cannot be read" + c.lead + (data / c.file).string() +
                                  "\n" + c.cause + c.after + "\n"),
                  std::string::npos)
            << what;
        EXPECT_FALSE(std::regex_search(run.output, std::regex("coaster is damaged|mission is damaged|"
                                                              "attempt is damaged|career save is damaged")))
            << what;
        if (fs::exists(home.Path("damaged.png")))
            ExpectScreenPicture(ReadShot(home.Path("damaged.png")), c.file);
        EXPECT_EQ(ReadAll(oval), coaster) << c.file;
        for (const std::string& name : FileNamesUnder(home.Saves()))
            EXPECT_FALSE(name.ends_with(".bad")) << name;
    }
}

TEST(EndToEndTest, OptionsChosenInOneRunHoldInTheNext) {
    GameHome home;
    for (const char* script : {"options_change.inject", "options_kept.inject"}) {
        const GameRun run = home.Play(script);
        EXPECT_EQ(run.exitCode, kExitNormal) << script << "\n" << run.output;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << script << "\n" << run.output;
        EXPECT_TRUE(ReleasesEverything(run.output)) << script << "\n" << run.output;
    }
}

// A first start writes the settings of the display adapter that the driver names, read through the real
// display (Mesa's renderer name forced as a player's driver would give it); the log names the same one.
TEST(EndToEndTest, TheFirstStartWritesTheAdapterWorkaroundsOfTheRealDisplay) {
    constexpr size_t kFirstBool = 20; // the file's header, the bool chunk's header and its count
    const struct {
        const char* renderer; // empty: the driver's own
        u8 multitexture, locked, verticalSync;
    } rows[] = {
        {"", 1, 0, 0},
        {"Matrox Millennium G400", 0, 1, 1},
        {"Mesa Radeon RX 580", 1, 0, 1},
    };
    for (const auto& row : rows) {
        GameHome home;
        const std::string renderer = row.renderer;
        const GameRun run = home.Play("quit_from_menu.inject", LV_DATA_DIR,
                                      renderer.empty() ? "" : "force_gl_renderer='" + renderer + "' ");
        ASSERT_EQ(run.exitCode, kExitNormal) << run.output;
        if (!renderer.empty()) {
            EXPECT_NE(run.output.find("Display Adapter: " + renderer), std::string::npos) << run.output;
        }
        const std::string prefs = ReadAll(home.Saves() / "prefs.bin");
        ASSERT_GT(prefs.size(), kFirstBool + coPrefs::kBoolCount) << row.renderer;
        const std::array<u8, 3> written{static_cast<u8>(prefs[kFirstBool + coPrefMultitexture]),
                                        static_cast<u8>(prefs[kFirstBool + coPrefMultitextureLocked]),
                                        static_cast<u8>(prefs[kFirstBool + coPrefVerticalSync])};
        EXPECT_EQ(written, (std::array<u8, 3>{row.multitexture, row.locked, row.verticalSync}))
            << row.renderer;
    }
}

TEST(EndToEndTest, ASavedCoasterIsBuiltOnAndSavedUnderASecondName) {
    GameHome home;
    WriteOval(home.Saves() / "E2E Oval.csa");
    const GameRun run = home.Play("load_build_save.inject");
    ExpectCleanRun(run, "0 2 6 0 2 0");
    for (const char* shot : {"loadmenu.png", "builder.png", "loadmenu2.png"})
        ExpectScreenPicture(ReadShot(home.Path(shot)), shot);

    // Saved twice from the same builder, once over the first file: only the pictures may differ.
    EXPECT_EQ(ChunksButThumbnail(ReadAll(home.Saves() / "E2E Oval.csa")),
              ChunksButThumbnail(ReadAll(home.Saves() / "E2E Oval 2.csa")));
    const std::map<std::string, CachedCoaster> expected = {{"E2E Oval", {true, true}},
                                                           {"E2E Oval 2", {true, true}}};
    EXPECT_EQ(ReadLoadCache(ReadAll(home.Saves() / "LoadCach.bin")), expected);
    for (const auto& entry : fs::recursive_directory_iterator(home.Saves()))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
    for (const char* name : {"E2E Oval.csa", "E2E Oval 2.csa"}) {
        coRecordingTrackBuilder builder;
        MountainServices services;
        fsLocator file;
        fsLocatorFromNativePath((home.Saves() / name).string().c_str(), file);
        coLoadCoasterFile(file);
        EXPECT_TRUE(coCircuitIsClosed()) << name;
        EXPECT_GE(coCircuitPieceCount(), 8) << name;
        coCircuitClear();
    }
}

// Props placed by a coaster chosen in the load menu are there again when it is loaded a second time,
// on the terrain of a builder entered anew.
TEST(EndToEndTest, PropsSavedWithAChosenCoasterStandAgainWhenItIsLoaded) {
    GameHome home;
    WriteTwoOvals(home);
    const GameRun run = home.Play("props_kept.inject");
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_EQ(ModesEntered(run.output), "0 2 6 12 6 12 6 0 2 6");
    EXPECT_TRUE(ReleasesEverything(run.output)) << run.output;
    const Picture builder = ReadShot(home.Path("builder2.png"));
    ExpectScreenPicture(builder, "builder entered again");
    ExpectPanels(builder, {{"the terrain below the coaster", 300, 380, 500, 500, BareGround, 0.8}});
}

// A new coaster built, ridden to the end (the script checks the ride's time) and saved under a name.
TEST(EndToEndTest, ACoasterIsBuiltRiddenAndSaved) {
    GameHome home;
    const GameRun run = home.Play("build_ride_save.inject");
    ExpectCleanRun(run, "0 6 17 6 9 6 11 6");
    const std::map<std::string, std::string> saves = FilesIn(home.Saves());
    EXPECT_EQ(saves.count("E2E Oval.csa"), 1u);
    for (const auto& [name, bytes] : saves)
        EXPECT_TRUE(name.ends_with(".csa") || name.ends_with(".bin")) << name;
    for (const char* shot : {"empty_builder.png", "builder.png", "ride.png"})
        ExpectScreenPicture(ReadShot(home.Path(shot)), shot);
    // The empty builder's palettes where they belong: name, feedback line, statistics, the dock's tab.
    ExpectPanels(ReadShot(home.Path("empty_builder.png")),
                 {{"name", 10, 10, 366, 34, Dark, 0.95},
                  {"feedback line", 380, 8, 790, 36, Reddish, 0.6},
                  {"statistics", 594, 82, 790, 228, NotLightGrey, 0.9},
                  {"dock palette's tab", 8, 490, 130, 514, Bluish, 0.6}});
    // Once there is track, the summaries of the whole ride and of the piece, each on its dark backdrop.
    ExpectPanels(ReadShot(home.Path("builder.png")), {{"global statistics", 8, 352, 276, 444, Dark, 0.7},
                                                      {"piece statistics", 592, 236, 792, 376, Dark, 0.7}});
    // Where the builder's camera shows the oval's right bend: grey steel over the bare ground.
    const auto steel = [](int r, int g, int b) {
        return std::abs(r - g) <= 12 && std::abs(g - b) <= 12 && r + g + b < 450;
    };
    EXPECT_GT(ReadShot(home.Path("builder.png")).Count(330, 250, 440, 380, steel), 300);
    // The last piece under the marker's tint, not a grey disc. The tint sweeps through a pale middle, so
    // of three moments 0.35 s apart one is well into pink or green.
    int tinted = 0;
    for (const char* shot : {"builder.png", "marker2.png", "marker3.png"})
        tinted = std::max(tinted, ReadShot(home.Path(shot)).Count(330, 270, 440, 330, MarkerTint));
    EXPECT_GT(tinted, 500);
    // The saved thumbnail shows the park where the builder's panels stood, a fifth of the screen's size:
    // grass or sky, not the name field, the statistics or the summaries.
    const Picture thumbnail = ReadThumbnail(saves.at("E2E Oval.csa"));
    ASSERT_EQ(std::tuple(thumbnail.rows.width, thumbnail.rows.height), std::tuple(160u, 120u));
    const auto park = [](int r, int g, int b) {
        return BareGround(r, g, b) || Bluish(r, g, b) || DryBank(r, g, b);
    };
    ExpectPanels(thumbnail, {{"name", 2, 2, 73, 7, park, 0.6},
                             {"statistics", 119, 16, 158, 46, park, 0.6},
                             {"piece statistics", 118, 47, 158, 75, park, 0.6},
                             {"global statistics", 1, 70, 55, 89, park, 0.6}});
    // Nor the marker around the last piece: whichever camera the picture chose, hardly a pixel is pale and
    // warm (the marker's pulse over the grass), where sky, grass, steel and the red roof are not.
    const auto warm = [](int r, int g, int b) { return r + g + b > 450 && r > b + 30; };
    EXPECT_LT(thumbnail.Count(0, 0, 160, 120, warm), 30);
    // The time gauge of the statistics palette (top right, its bar 64 pixels wide) filled by the ride's end.
    const auto filled = [](int r, int g, int b) { return g - r > 120 && g - b > 120; };
    EXPECT_GE(ReadShot(home.Path("ride.png")).Count(654, 217, 718, 218, filled), 61);
}

// A wooden coaster built, saved and loaded again in the same run: the mountain is back under it.
TEST(EndToEndTest, AWoodenCoasterIsSavedAndLoadedAgainInOneRun) {
    GameHome home;
    const GameRun run = home.Play("wooden_save_load.inject");
    ExpectCleanRun(run, "0 6 17 6 0 2 6 0");
    EXPECT_GT(ReadShot(home.Path("loaded.png")).Count(0, 505, 170, 600, BareGround), 5000);
}

// The medal of a run is kept for the next, and a mission played again wins a better one.
TEST(EndToEndTest, AProfileMadeOnTheCareerRoadIsFoundByTheNextRun) {
    GameHome home;
    const struct {
        const char* script;
        const char* modes;
    } runs[] = {{"new_profile_career.inject", "0 3 4 7 22 7 4 0"},
                {"known_profile_career.inject", "0 3 4 0"},
                {"better_medal_career.inject", "0 3 4 7 22 7 4 0"}};
    for (const auto& r : runs) {
        const GameRun run = home.Play(r.script);
        EXPECT_EQ(run.exitCode, kExitNormal) << r.script << "\n" << run.output;
        EXPECT_EQ(ModesEntered(run.output), r.modes) << r.script;
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << r.script;
    }
}

// Settings the game saves on its own that a read-only saves folder cannot keep are told once, in the
// game's box, also on a first start (no settings yet) whose failure comes before the box exists; the game
// plays on into the builder and leaves as a quit does, and no file of the folder changes. (Root writes
// anyway, unless it gives up its right to.) The home's name holds a run of underscores, which the box's
// path draws as one bar below its line, twice as long as any other stroke of the text.
TEST(EndToEndTest, AReadOnlySavesFolderIsToldOnceAndLeftAsItWas) {
    const struct {
        const char* script;
        bool firstStart;
        int warnings; // the box's, and on a first start the held failure's
    } cases[] = {{"readonly_saves.inject", false, 1}, {"first_start_readonly.inject", true, 2}};
    for (const auto& [script, firstStart, warnings] : cases) {
        GameHome home("A1_full_medal____");
        WriteOval(home.Saves() / "E2E Oval.csa");
        ASSERT_EQ(home.Play("quit_from_menu.inject").exitCode, kExitNormal);
        if (firstStart)
            fs::remove(home.Saves() / "prefs.bin");
        const std::map<std::string, std::string> saves = FilesIn(home.Saves());
        const bool hadPrefs = fs::exists(home.Saves() / "prefs.bin");
        const std::string prefs = ReadAll(home.Saves() / "prefs.bin");
        const auto writable = [&](bool on) {
            for (const auto& entry : fs::recursive_directory_iterator(home.Path("data")))
                if (entry.is_directory())
                    fs::permissions(entry.path(), fs::perms::owner_write,
                                    on ? fs::perm_options::add : fs::perm_options::remove);
        };
        writable(false);
        const GameRun run =
            home.Play(script, LV_DATA_DIR,
                      ::geteuid() == 0 ? "setpriv --bounding-set=-dac_override,-dac_read_search " : "");
        writable(true);
        ExpectCleanRun(run, "0 6");
        EXPECT_EQ(run.output.find("injected step"), std::string::npos) << script << "\n" << run.output;
        const std::regex warning("\\*\\*Warning\\*\\*");
        EXPECT_EQ(std::distance(std::sregex_iterator(run.output.begin(), run.output.end(), warning), {}),
                  warnings)
            << run.output;
        EXPECT_EQ(FilesIn(home.Saves()), saves) << script;
        EXPECT_EQ(fs::exists(home.Saves() / "prefs.bin"), hadPrefs) << script;
        EXPECT_EQ(ReadAll(home.Saves() / "prefs.bin"), prefs) << script;
        // An underscore's stroke lies across two rows, its brighter one lit to three quarters.
        if (firstStart) {
            EXPECT_GE(ReadShot(home.Path("first_start_box.png")).LongestLitRun(216, 224, 584, 320), 20);
        }
    }
}

// A tmpfs of 256 KiB mounted over a folder while it lives; Mounted() is false where mounting is not
// allowed.
class SmallDisc {
  public:
    explicit SmallDisc(const fs::path& folder) : m_folder(folder) {
        m_mounted =
            std::system(
                ("mount -t tmpfs -o size=256k tmpfs '" + folder.string() + "' 2>/dev/null").c_str()) == 0;
    }
    ~SmallDisc() {
        if (m_mounted && std::system(("umount '" + m_folder.string() + "'").c_str()) != 0)
            std::fprintf(stderr, "%s stays mounted\n", m_folder.c_str());
    }
    SmallDisc(const SmallDisc&) = delete;
    SmallDisc& operator=(const SmallDisc&) = delete;
    bool Mounted() const { return m_mounted; }
    // Writes zeros into a file of the folder until the disc takes no more.
    void Fill() const {
        std::ofstream filler(m_folder / "filler", std::ios::binary);
        const std::string block(4096, '\0');
        while (filler.write(block.data(), block.size()).flush()) {
        }
    }

  private:
    fs::path m_folder;
    bool m_mounted = false;
};

// Voice-overs off: a hint heard saves the settings, which a full disc would then tell at a moment of its
// own choosing.
void TurnVoiceOversOff(const fs::path& saves) {
    fsLocator folder;
    fsLocatorFromNativePath(saves.c_str(), folder);
    fsAddRootDirectory(coRootSaves, folder);
    coPrefs::Load();
    coPrefs::SetBool(coPrefVoicesOff, true);
    coPrefs::Save();
    fsResetRootTable();
}

// A medal won on a full disc: the profile's folder is made, the medal's two saves fail and are told in one
// box by their own names and the cause, the medal question follows, and the game leaves normally with the
// settings as they were and no temporary file left.
TEST(EndToEndTest, AMedalOnAFullDiscIsToldOnceByTheFilesNames) {
    GameHome home;
    ASSERT_EQ(home.Play("quit_from_menu.inject").exitCode, kExitNormal);
    TurnVoiceOversOff(home.Saves());
    const std::string prefs = ReadAll(home.Saves() / "prefs.bin");
    SmallDisc disc(home.Saves());
    if (!disc.Mounted())
        GTEST_SKIP() << "a tmpfs cannot be mounted here, so the saves folder cannot be made full";
    std::ofstream(home.Saves() / "prefs.bin", std::ios::binary) << prefs;
    disc.Fill();
    const GameRun run = home.Play("full_disc_career.inject");
    ExpectCleanRun(run, "0 3 4 7 22 7 4 0");
    EXPECT_EQ(run.output.find("injected step"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::is_directory(home.Saves() / "Ann"));
    EXPECT_EQ(ReadAll(home.Saves() / "prefs.bin"), prefs);
    EXPECT_EQ(TemporaryFilesUnder(home.Saves()), std::vector<std::string>());
}

// The builder's questions answered both ways: the replace question on a second save under one name, and
// the leave question with a change unsaved, first staying, then back to the main menu; the load menu's
// delete question names a coaster whose name reads like a format, and No keeps it.
TEST(EndToEndTest, TheBuildersQuestionsAnswerBothWays) {
    GameHome home;
    WriteOval(home.Saves() / "%s%n%x.csa");
    const GameRun run = home.Play("questions.inject");
    EXPECT_EQ(run.exitCode, kExitNormal) << run.output;
    EXPECT_EQ(run.output.find("injected step"), std::string::npos) << run.output;
    EXPECT_EQ(ModesEntered(run.output), "0 6 17 6 0 2 0");
    const std::map<std::string, std::string> saves = FilesIn(home.Saves());
    EXPECT_EQ(saves.count("loop2.csa"), 1u);
    EXPECT_EQ(saves.count("%s%n%x.csa"), 1u);
}

// Finish Coaster lit where the circuit cannot close from: every piece stays as it was (saved before and
// after alike), and the builder says so.
TEST(EndToEndTest, AFinishThatCannotCloseChangesNoPieceAndSaysSo) {
    GameHome home;
    const GameRun run = home.Play("finish_cannot_close.inject");
    ExpectCleanRun(run, "0 6 17 6");
    ExpectScreenPicture(ReadShot(home.Path("cannot_close.png")), "cannot close");
    const std::vector<std::string> before = ChunksButThumbnail(ReadAll(home.Saves() / "Open.csa"));
    // The station and the twelve pieces laid.
    EXPECT_EQ(std::count_if(before.begin(), before.end(),
                            [](const std::string& chunk) { return chunk.starts_with("CPLS/"); }),
              13);
    EXPECT_EQ(ChunksButThumbnail(ReadAll(home.Saves() / "Open2.csa")), before);
}

// The ride's settings change the coaster only by what the player changes, in the builder's dialog or the
// ride's pause; the script's questions tell whether the coaster counts as changed.
TEST(EndToEndTest, RideSettingsTakenAsTheyStandLeaveTheCoasterUnchanged) {
    GameHome home;
    WriteOval(home.Saves() / "E2E Oval.csa");
    const GameRun run = home.Play("ride_settings_kept.inject");
    ExpectCleanRun(run, "0 2 6 11 6 11 6");
}

} // namespace
