#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Source/App/coInjector.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

// The exit codes of the program.
inline constexpr int coExitNormal = 13;
inline constexpr int coExitNotStarted = 15;

// What the program's own switches ask of a run (they are taken off the command line first).
struct coProgramSwitches {
    // Frames to run, then leave as if the player confirmed the quit; the exit code is then 0 when
    // nothing was reported, else 1. 0: run until the player leaves.
    u32 frames = 0;
    bool trace = false;
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    // Called after the last frame was drawn, before anything is torn down.
    std::function<void()> lastFrame;
    // Called as each frame starts, modal frames included.
    std::function<void()> frameStart;
    // Input played into the frames; a failed step ends the run with exit code 1.
    std::shared_ptr<coInjector> injector;
    // The seed of the game's random numbers, for runs that must repeat; none: a fresh one each start.
    std::optional<u32> randomSeed;
};

// The game from start to end on the installed platform services: the engine's packages, the game's error
// texts and basic strings, the single-instance guard, the 3D package, then the application's run loop;
// everything started is stopped in reverse however the run ends. Returns the exit code.
int coRunProgram(const std::string& commandLine, const coProgramSwitches& switches);

// The graphics packages as the game starts them: an, g2d, then g3d with the game's render lists (the GUI
// draws into the overlay list). A failed start stops what it started and passes the exception on.
void coStartGraphics();
void coStopGraphics();
