// The game program. Besides the game's own options it takes these switches, removed from the command
// line first:
//   --data DIR   the installation tree (else $LOOPVANE_DATA, else the program's folder when it holds
//                "basicstr.tsf", else "../data" beside the program)
//   --frames N   run N frames, then leave as if the player confirmed the quit; exit 0 when nothing was
//                reported, else 1
//   --frame-step S  the clocks move by S seconds from one frame to the next and stand still within a
//                frame, so that a shot after a given number of frames shows the same picture each run
//   --headless   the test render device and SDL's dummy video and sound drivers
//   --inject S   plays the input script S (a file, or the steps themselves) into the frames; a step
//                that fails is named on stderr and the exit code is 1
//   --shot FILE  a PNG of the last frame
//   --trace      "mode N entered", "menu ready T ms" and each frame's "frame T ms" (its start to its
//                present) on stderr
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Sdl/plEndSession.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "Engine/Platform/plMessageBox.h"
#include "Engine/Platform/plTimeSource.h"
#include "Source/App/coCommandLine.h"
#include "Source/App/coProgram.h"
#include "Source/Settings/coScreenCapture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The file by which a folder is known to hold the installed game data.
constexpr const char* kDataMarker = "basicstr.tsf";

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

// An injected script: the file's text when the argument names one, else the argument itself.
std::string ReadScript(const std::string& argument) {
    std::ifstream file(argument);
    if (!file)
        return argument;
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
    coProgramSwitches program;
    std::vector<std::string> rest;
};

bool ReadSwitches(int argc, char** argv, Switches& out) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const bool hasValue = i + 1 < argc;
        if (argument == "--data" && hasValue) {
            out.data = argv[++i];
        } else if (argument == "--shot" && hasValue) {
            out.shot = argv[++i];
        } else if (argument == "--inject" && hasValue) {
            out.inject = argv[++i];
        } else if (argument == "--frames" && hasValue) {
            const char* text = argv[++i];
            char* end = nullptr;
            const long long frames = std::strtoll(text, &end, 10);
            if (*end != '\0' || frames <= 0 || frames > std::numeric_limits<u32>::max())
                return false;
            out.program.frames = static_cast<u32>(frames);
        } else if (argument == "--frame-step" && hasValue) {
            const char* text = argv[++i];
            char* end = nullptr;
            out.frameStep = std::strtod(text, &end);
            if (*end != '\0' || !(out.frameStep > 0.0 && out.frameStep <= 1.0))
                return false;
        } else if (argument == "--headless") {
            out.headless = true;
        } else if (argument == "--trace") {
            out.program.trace = true;
        } else if (argument.rfind("--", 0) == 0) {
            return false;
        } else {
            out.rest.push_back(argument);
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Switches switches;
    if (!ReadSwitches(argc, argv, switches)) {
        std::fputs("usage: loopvane [--data DIR] [--frames N] [--frame-step S] [--headless] "
                   "[--inject SCRIPT] [--shot FILE] [--trace] [options]\n",
                   stderr);
        return 2;
    }
    if (switches.headless) {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
    }
    if (!plDisplayAvailable()) {
        std::fputs("loopvane: no display (DISPLAY and WAYLAND_DISPLAY are unset); start it on a desktop, or "
                   "with --headless\n",
                   stderr);
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
    plTestTimeSource steppedTime;
    if (switches.frameStep > 0.0) {
        steppedTime.SetFrequency(1'000'000'000);
        services.time = &steppedTime;
        switches.program.frameStart = [&steppedTime, step = switches.frameStep] {
            steppedTime.Advance(step);
        };
    }
    plInstallServices(services);
    // Without its data the game cannot even read its error texts: say which folder lacks them.
    if (!std::filesystem::exists(std::filesystem::path(data) / kDataMarker)) {
        const std::string text = "No game data in " + data + " (" + kDataMarker +
                                 " is missing); give the installed data with --data DIR.";
        std::fprintf(stderr, "loopvane: %s\n", text.c_str());
        const envString shown(text.c_str());
        plGetMessageBox().Show(std::u16string(shown.GetData(), shown.GetLength()), u"Loopvane can't start",
                               plMb::Ok | plMb::IconError);
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
    if (!switches.inject.empty()) {
        try {
            switches.program.injector = std::make_shared<coInjector>(ReadScript(switches.inject), WriteShot);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "loopvane: --inject: %s\n", error.what());
            return 2;
        }
    }
    const int code = coRunProgram(coJoinArguments(switches.rest), switches.program);
    plInstallServices({});
    // A picture asked for and not written fails the run, so that scripts relying on it notice.
    return shotFailed ? 1 : code;
}
