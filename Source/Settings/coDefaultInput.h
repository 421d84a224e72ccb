#pragma once
#include "Engine/Core/Env/envTypes.h"

// Binds the game's actions to their default keys on the first keyboard and buttons on the first mouse,
// through the input layer's virtual joystick. Once, at start-up, after the input devices are started.
void coBindDefaultInput();

// Input actions and key codes the editor and its dialogs read.
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
inline constexpr i32 coKeyLeftControl = 69;
inline constexpr i32 coKeyRightControl = 75;
inline constexpr i32 coMouseRecordLeft = 1111;
inline constexpr i32 coMouseRecordRight = 1112;
inline constexpr i32 coMouseRecordWheel = 1113;
