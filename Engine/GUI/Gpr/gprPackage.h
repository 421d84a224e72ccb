#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <map>
#include <string>

// The error text package of the GUI scripts.
constexpr u32 gprErrorPackage = 20;

// Reference-counted start and stop of the GUI script package. The first start starts env, dbg and ch,
// fills the state-name table and registers "gprErrors.tsf"; the last stop empties the table and stops
// ch, dbg and env. A stop with nothing started is ignored with a warning.
void gprInit();
void gprShutdown();
u32 gprGetInitCount();

// Names of numbered values in scripts, the window states among them ("Idle" 0 .. "Disabled" 5);
// empty while the package is down.
std::map<std::string, i32>& gprGetStateNames();
