#pragma once
#include "Engine/Core/Env/envTypes.h"

// The exit code of a program that found another instance running.
constexpr i32 appSecondInstanceExitCode = 15;

// True when another instance is running: its window is restored and brought to the front, or, when it
// cannot be reached (another user runs it), the user is told so. The caller then shuts its packages down
// and ends with appSecondInstanceExitCode. The program entry gives the name "LoopvaneApp" and the
// application's title.
bool appCheckSingleInstance(const char* name, const char* title);
// Takes the machine-wide guard of the name ("Global\" and the name, from Windows NT 5 on) for the rest
// of the run; true when another process already holds it. A guard that cannot be made counts as free.
bool appCreateInstanceMutex(const char* name);
