// The game program. Besides the game's own options it takes the switches that kUsage lists, removed from
// the command line first.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sdl/plEndSession.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Source/App/coCommandLine.h"
#include "Source/App/coProgram.h"
#include "Source/Settings/coScreenCapture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Every switch and option, one a line: printed by --help, and on a switch the program does not know.
constexpr const char* kUsage =
    "usage: loopvane [switch ...] [option ...]\n"
    "  --data DIR         the installed game data (else $LOOPVANE_DATA, else the program's folder when it "
    "holds basicstr.tsf, else ../data beside the program)\n"
    "  --frames N         run N frames, then leave as a confirmed quit does; exit 0 when nothing was "
    "reported, else 1\n"
    "  --frame-step S     the clocks move by S seconds from one frame to the next, so that a shot after a "
    "given frame is the same each run (its random draws too)\n"
    "  --headless         the test render device and SDL's dummy video and sound: nothing is shown\n"
    "  --inject SCRIPT    play the input script (a file, or the steps themselves) into the frames; a step "
    "that fails is named and the exit code is 1\n"
    "  --shot FILE        a PNG of the last frame\n"
    "  --trace            \"mode N entered\", \"menu ready T ms\" and each frame's \"frame T ms\" on stderr\n"
    "  --help             this list\n"
    "  /w                 in a window instead of full screen\n"
    "  /mp3               music and voices from .mp3 files instead of .wav\n"
    "  /skipvideos        no intro movies\n"
    "  /r<digit>          screen size 0 800x600, 1 1024x768, 2 1152x864, 3 1280x960, 4 1600x1200, "
    "5 640x480; kept for later runs\n"
    "  /ride \"NAME\"       ride the saved coaster NAME at once\n"
    "  /perpetual         the ride starts again whenever it ends\n"
    "  /x RATE DIVISOR    capture the ride as mov00001.bmp, mov00002.bmp ... at RATE frames a second, the "
    "screen size divided by DIVISOR\n"
    "  /loadpropsnow      load every prop at start-up instead of when first needed\n"
    "  /tilde             show the frame rate\n"
    "  /cheat WORD ...    rampglow (flaming cars), velvetrug (wood everywhere), lineloop (the ride in "
    "wireframe), hiddenrails (the ride without its track)\n";

// The file by which a folder is known to hold the installed game data.
constexpr const char* kDataMarker = "basicstr.tsf";
// The random seed of a run with --frame-step.
constexpr u32 kSteppedRunSeed = 1;

// The clocks of a run with --frame-step: real time until the game's first frame (the intro movies play
// before it and would wait for ever on a clock that only frames move), then the step at each frame.
class coSteppedClock : public plTimeSource {
  public:
    explicit coSteppedClock(f64 step) : m_step(std::llround(step * 1e9)) {}
    i64 GetCounter() override { return m_stepping ? m_counter : m_real.GetCounter(); }
    i64 GetFrequency() override { return m_real.GetFrequency(); }
    u32 GetTickCount() override { return static_cast<u32>(GetCounter() / 1'000'000); }
    void NextFrame() {
        if (!m_stepping)
            m_counter = m_real.GetCounter();
        m_stepping = true;
        m_counter += m_step;
    }

  private:
    plMonotonicTimeSource m_real;
    i64 m_step;
    i64 m_counter = 0;
    bool m_stepping = false;
};

// The system's folders with the program placed in the installation tree, so that root 0 is that tree.
class coDataFolders : public plSystemFolders {
  public:
    coDataFolders(plSystemFolders& inner, std::string dataFolder)
        : m_inner(inner), m_program(std::move(dataFolder) + "/loopvane") {}
    std::string GetProgramPath() override { return m_program; }
    std::string GetTempFolder() override { return m_inner.GetTempFolder(); }
    bool GetCommonAppDataFolder(std::string& out) override { return m_inner.GetCommonAppDataFolder(out); }
    std::vector<plVolume> GetOpticalVolumes() override { return m_inner.GetOpticalVolumes(); }

  private:
    plSystemFolders& m_inner;
    std::string m_program;
};

std::string FindDataFolder(const std::string& given, const std::string& programPath) {
    if (!given.empty())
        return given;
    if (const char* variable = std::getenv("LOOPVANE_DATA"); variable && *variable)
        return variable;
    const std::filesystem::path folder = std::filesystem::path(programPath).parent_path();
    if (std::filesystem::exists(folder / kDataMarker))
        return folder.string();
    return (folder.parent_path() / "data").string();
}

// The frame shown last as a PNG, by way of the game's own screenshot bitmap.
bool WriteShot(const std::string& path) {
    const std::string bitmap = path + ".bmp";
    fsLocator file;
    fsLocatorFromNativePath(bitmap.c_str(), file);
    try {
        coGrabScreenToBmp(*g_pdevice, file, 1);
        const std::string png = g2dEncodePNG(g2dReadBMP(file));
        std::filesystem::remove(bitmap);
        std::ofstream out(path, std::ios::binary);
        out << png;
        return static_cast<bool>(out.flush());
    } catch (...) {
        std::filesystem::remove(bitmap);
        return false;
    }
}

// An injected script: the file's text when the argument names one, else the argument itself. An
// argument that reads as a path (a '/' in it, or the .inject ending, and not steps joined by ';' or
// lines) and names no file is a file missed. A folder opens as a file would but reads as nothing: it is
// no script.
std::string ReadScript(const std::string& argument) {
    if (std::error_code ignored; std::filesystem::is_directory(argument, ignored))
        throw std::runtime_error("cannot read the file \"" + argument + "\": it is a folder, not a file");
    std::ifstream file(argument);
    if (!file) {
        const bool steps = argument.find_first_of(";\n") != std::string::npos;
        const bool path = !steps && (argument.find('/') != std::string::npos || argument.ends_with(".inject"));
        if (!path)
            return argument;
        throw std::runtime_error(std::filesystem::exists(argument)
                                     ? "cannot read the file \"" + argument + "\""
                                     : "the file \"" + argument + "\" is not there");
    }
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

struct Switches {
    std::string data;
    double frameStep = 0.0;
    std::string shot;
    std::string inject;
    bool headless = false;
    bool help = false;
    coProgramSwitches program;
    std::vector<std::string> rest;
};

// What is wrong with the command line, or empty when nothing is.
std::string ReadSwitches(int argc, char** argv, Switches& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        const bool takesValue = argument == "--data" || argument == "--shot" || argument == "--inject" ||
                                argument == "--frames" || argument == "--frame-step";
        if (takesValue && !hasValue) {
            return argument + " needs a value";
        } else if (argument == "--data") {
            out.data = argv[++i];
        } else if (argument == "--shot") {
            out.shot = argv[++i];
        } else if (argument == "--inject") {
            out.inject = argv[++i];
        } else if (argument == "--frames") {
            const char* text = argv[++i];
            char* end = nullptr;
            const long long frames = std::strtoll(text, &end, 10);
            if (*end != '\0' || frames <= 0 || frames > std::numeric_limits<u32>::max())
                return "--frames takes a whole number from 1 to " +
                       std::to_string(std::numeric_limits<u32>::max());
            out.program.frames = static_cast<u32>(frames);
        } else if (argument == "--frame-step") {
            const char* text = argv[++i];
            char* end = nullptr;
            out.frameStep = std::strtod(text, &end);
            if (*end != '\0' || !(out.frameStep > 0.0 && out.frameStep <= 1.0))
                return "--frame-step takes seconds above 0 up to 1";
        } else if (argument == "--headless") {
            out.headless = true;
        } else if (argument == "--help") {
            out.help = true;
        } else if (argument == "--trace") {
            out.program.trace = true;
        } else if (argument.rfind("--", 0) == 0) {
            return "unknown switch " + argument;
        } else {
            out.rest.push_back(argument);
        }
    }
    return {};
}

} // namespace

int main(int argc, char** argv) {
    // First of all: a termination signal at any later moment ends the game as a confirmed quit does.
    plCatchEndSessionSignals();
    Switches switches;
    if (const std::string wrong = ReadSwitches(argc, argv, switches); !wrong.empty()) {
        std::fprintf(stderr, "loopvane: %s\n", wrong.c_str());
        std::fputs(kUsage, stderr);
        return 2;
    }
    if (switches.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    // A script that cannot be read is a fault of the command line, told before anything starts.
    if (!switches.inject.empty()) {
        try {
            switches.program.injector = std::make_shared<coInjector>(ReadScript(switches.inject), WriteShot);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "loopvane: --inject: %s\n", error.what());
            return 2;
        }
    }
    if (switches.headless) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    if (const std::string problem = plDisplayProblem(); !problem.empty()) {
        std::fprintf(stderr, "loopvane: %s; start it on a desktop, or with --headless\n", problem.c_str());
        return coExitNotStarted;
    }

    plSystemServices system;
    plServices services = system.GetServices();
    const std::string data = FindDataFolder(switches.data, services.folders->GetProgramPath());
    coDataFolders folders(*services.folders, data);
    services.folders = &folders;
    plFakeD3d fakeD3d;
    if (switches.headless)
        services.d3d = &fakeD3d;
    // Nobody is there to answer a box of an injected or headless run: it prints and takes its default.
    plStderrMessageBox unattendedBox;
    if (switches.headless || !switches.inject.empty())
        services.messageBox = &unattendedBox;
    coSteppedClock steppedTime(switches.frameStep);
    if (switches.frameStep > 0.0) {
        services.time = &steppedTime;
        switches.program.frameStart = [&steppedTime] { steppedTime.NextFrame(); };
        // The same draws each run, so that a stepped run shows the same picture each time.
        switches.program.randomSeed = kSteppedRunSeed;
    }
    plInstallServices(services);
    // Without its data the game cannot even read its error texts: say which folder lacks them.
    if (!std::filesystem::exists(std::filesystem::path(data) / kDataMarker)) {
        const std::string text = "No game data in " + data + " (" + kDataMarker +
                                 " is missing); give the installed data with --data DIR.";
        std::fprintf(stderr, "loopvane: %s\n", text.c_str());
        plGetMessageBox().Show(envUtf8ToUtf16(text), u"Loopvane can't start", plMb::Ok | plMb::IconError);
        plInstallServices({});
        return coExitNotStarted;
    }

    bool shotFailed = false;
    if (!switches.shot.empty())
        switches.program.lastFrame = [&switches, &shotFailed] {
            shotFailed = !WriteShot(switches.shot);
            if (shotFailed)
                std::fprintf(stderr, "loopvane: cannot write %s\n", switches.shot.c_str());
        };
    const int code = coRunProgram(coJoinArguments(switches.rest), switches.program);
    plInstallServices({});
    // A picture asked for and not written fails the run, so that scripts relying on it notice.
    return shotFailed ? 1 : code;
}
