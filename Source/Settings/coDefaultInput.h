#pragma once
#include "Engine/App/In/inKeyCode.h"
#include "Engine/Core/Env/envTypes.h"

// Binds the game's actions to their default keys on the first keyboard and buttons on the first mouse,
// through the input layer's virtual joystick. Once, at start-up, after the input devices are started.
void coBindDefaultInput();

// The game's input actions, named once here for the bindings and the modes that read them.
inline constexpr i32 coActionEscape = 36;
inline constexpr i32 coActionNum4 = 103;
inline constexpr i32 coActionNum6 = 104;
inline constexpr i32 coActionNum9 = 105;
inline constexpr i32 coActionNum3 = 106;
inline constexpr i32 coActionNum8 = 107;
inline constexpr i32 coActionNum5 = 108;
inline constexpr i32 coActionLeft = 109;
inline constexpr i32 coActionRight = 110;
inline constexpr i32 coActionUp = 111;
inline constexpr i32 coActionDown = 112;
inline constexpr i32 coActionShift = 113;
inline constexpr i32 coActionControl = 114;
inline constexpr i32 coActionMouseLeft = 115;
inline constexpr i32 coActionMouseRight = 116;
// The editor's buttons, in the order they are polled.
inline constexpr i32 coActionLoad = 117;
inline constexpr i32 coActionSave = 118;
inline constexpr i32 coActionCamera = 119;
inline constexpr i32 coActionGrid = 120;
inline constexpr i32 coActionTest = 121;
inline constexpr i32 coActionRide = 122;
inline constexpr i32 coActionOptions = 123;
inline constexpr i32 coActionBack = 124;
inline constexpr i32 coActionStraightUp = 125;
inline constexpr i32 coActionShallowRight = 126;
inline constexpr i32 coActionShallowLeft = 127;
inline constexpr i32 coActionHalfLoop = 128;
inline constexpr i32 coActionHalfCorkRight = 129;
inline constexpr i32 coActionHalfCorkLeft = 130;
inline constexpr i32 coActionShortStraightaway = 131;
inline constexpr i32 coActionLongStraightaway = 132;
inline constexpr i32 coActionCurvedRight = 133;
inline constexpr i32 coActionCurvedLeft = 134;
inline constexpr i32 coActionLoop = 135;
inline constexpr i32 coActionCorkscrew = 136;
inline constexpr i32 coActionSTurn = 137;
inline constexpr i32 coActionPitchUp = 138;
inline constexpr i32 coActionPitchDown = 139;
inline constexpr i32 coActionBankLeft = 140;
inline constexpr i32 coActionBankRight = 141;
// 142 to 146 press the Add or the Remove button of a track element, whichever the piece shows.
inline constexpr i32 coActionAccelerator = 142;
inline constexpr i32 coActionBrake = 143;
inline constexpr i32 coActionChain = 144;
inline constexpr i32 coActionRetarder = 145;
inline constexpr i32 coActionTubeDecoration = 146;
inline constexpr i32 coActionFinishCoaster = 147;
inline constexpr i32 coActionBendRight = 148;
inline constexpr i32 coActionBendLeft = 149;
inline constexpr i32 coActionWiden = 150;
inline constexpr i32 coActionNarrow = 151;
// The editor's selection keys.
inline constexpr i32 coActionSelectPrevious = 152;
inline constexpr i32 coActionSelectNext = 153;
inline constexpr i32 coActionSelectDock = 154;
inline constexpr i32 coActionSelectLast = 155;
// The test ride's speed keys.
inline constexpr i32 coActionSlower = 156;
inline constexpr i32 coActionFaster = 157;
// The music keys, each taken on release.
inline constexpr i32 coActionPreviousTrack = 158;
inline constexpr i32 coActionNextTrack = 159;
inline constexpr i32 coActionToggleShuffle = 160;

// Key codes and mouse records the editor and its dialogs read.
inline constexpr i32 coKeyLeftControl = inKeyLeftControl;
inline constexpr i32 coKeyRightControl = inKeyRightControl;
inline constexpr i32 coMouseRecordLeft = 1111;
inline constexpr i32 coMouseRecordRight = 1112;
inline constexpr i32 coMouseRecordWheel = 1113;
