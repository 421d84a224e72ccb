#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <map>
#include <string>

class fsLocator;
class gfTextSet;

// The error text package of the GUI scripts.
constexpr u32 gprErrorPackage = 20;

// Reference-counted start and stop of the GUI script package. The first start starts env, dbg and ch,
// fills the keyword table, makes the parsers, fills the state-name table and registers
// "gprErrors.tsf"; the last stop empties the names, deletes the parsers, empties the keywords and stops
// ch, dbg and env. A stop with nothing started is ignored with a warning.
void gprInit();
void gprShutdown();

// Names of numbered values in scripts, the window states among them ("Idle" 0 .. "Disabled" 5);
// empty while the package is down.
std::map<std::string, i32>& gprGetStateNames();
void gprSetNamedValue(const char* name, i32 value);
// -1 for a name the table does not hold.
i32 gprGetNamedValue(const std::string& name);
i32 gprStateNameToNumber(const std::string& name);
// The first name in name order whose value is the state; "Idle" when none has it.
std::string gprStateNumberToName(i32 state);

// The text set that numbered texts of the script being loaded come from. A push closes the set
// installed before it; a set that cannot be opened throws and leaves none installed.
void gprPushTextSet(const fsLocator& file);
void gprPopTextSet();
const gfTextSet* gprGetTextSet();
