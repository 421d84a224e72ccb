#pragma once
#include "Engine/Core/Env/envTypes.h"

// The Windows virtual-key numbers, the key codes of every key message. Letters and digits are
// their upper-case ASCII codes ('A' = 0x41, '0' = 0x30).
namespace plVk {
constexpr u32 Back = 8, Tab = 9, Return = 13, Shift = 16, Control = 17, Menu = 18, Pause = 19, Capital = 20;
constexpr u32 Escape = 27, Space = 32, Prior = 33, Next = 34, End = 35, Home = 36;
constexpr u32 Left = 37, Up = 38, Right = 39, Down = 40, Print = 42, Snapshot = 44, Insert = 45, Delete = 46;
constexpr u32 LWin = 91, RWin = 92, Apps = 93;
constexpr u32 Numpad0 = 96, Multiply = 106, Add = 107, Subtract = 109, Decimal = 110, Divide = 111;
constexpr u32 F1 = 112, F2 = 113, F3 = 114, F4 = 115, F5 = 116, F6 = 117, F7 = 118, F8 = 119, F9 = 120;
constexpr u32 F10 = 121, F11 = 122, F12 = 123, F24 = 135;
constexpr u32 NumLock = 144, Scroll = 145;
constexpr u32 LControl = 162, RControl = 163, LMenu = 164, RMenu = 165;
constexpr u32 Oem1 = 0xBA, OemPlus = 0xBB, OemComma = 0xBC, OemMinus = 0xBD, OemPeriod = 0xBE, Oem2 = 0xBF;
constexpr u32 Oem3 = 0xC0, Oem4 = 0xDB, Oem5 = 0xDC, Oem6 = 0xDD, Oem7 = 0xDE;
} // namespace plVk
