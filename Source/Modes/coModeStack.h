#pragma once
#include "Source/Modes/coMode.h"

// The mode table: every mode under its fixed id. It does not own the modes (the application does).
inline constexpr i32 coModeTableSize = 24;
inline constexpr i32 coModeIdMainMenu = 0;
inline constexpr i32 coModeIdSplashScreen = 1;
inline constexpr i32 coModeIdLoadMenu = 2;
inline constexpr i32 coModeIdSelectTrackwright = 3;
inline constexpr i32 coModeIdCareerMenu = 4;
inline constexpr i32 coModeIdBuilder = 6;
inline constexpr i32 coModeIdCareerBuilder = 7;
inline constexpr i32 coModeIdTestRide = 9;
inline constexpr i32 coModeIdRide = 11;
inline constexpr i32 coModeIdPlaceProp = 12;
inline constexpr i32 coModeIdRotateProp = 13;
inline constexpr i32 coModeIdTranslateProp = 14;
inline constexpr i32 coModeIdPlaceTrackProp = 15;
inline constexpr i32 coModeIdTranslateTrackProp = 16;
inline constexpr i32 coModeIdManipulateDock = 17;
inline constexpr i32 coModeIdFlythrough = 22;

coMode* coGetMode(i32 id);
void coSetMode(i32 id, coMode* mode);
void coClearModeTable();
// True when the mode stands in the table, so nobody but its owner may delete it.
bool coIsTableMode(const coMode* mode);

// The mode stack: the entry at the current index is the current mode. A push from inside a Think
// only appends; the manager settles the current entry after the Think from the mode's result.
// Pushing nothing is refused with a warning.
void coModePush(coMode* mode);
coMode* coCurrentMode();
bool coModeStackIsEmpty();
// An entry just below the current one, holding the mode of that slot.
bool coModeStackIsPrevious(i32 id);
// The mode of the entry just below the topmost entry of `mode`; null when it has none or is not stacked.
coMode* coModeStackBelow(const coMode* mode);
// Only the current entry stays, at index 0; nothing is entered or left.
void coModeStackKeepCurrent();
// As a confirmed quit: the current mode is left and the stack emptied.
void coModeStackLeaveAll();
// Empties the stack (program end, tests).
void coModeStackClear();
i32 coModeStackCurrentIndex();
// The current mode is entered at the next manager frame.
bool coModeStackIsNewlyCurrent();
i32 coModeStackSize();

// One frame: enter the newly-current mode, think, then act on its result. A confirmed quit leaves the
// mode and empties the stack.
void coModeManagerUpdate();
// Whether the current mode's Enter or Think is running, so a coModeExitX thrown now reaches the manager.
bool coModeStackCatchesExit();
