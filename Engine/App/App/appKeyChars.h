#pragma once
#include "Engine/Core/Env/envTypes.h"

// The control characters that keys type, and the space.
inline constexpr u16 appKeyCharBackspace = 8;
inline constexpr u16 appKeyCharTab = 9;
inline constexpr u16 appKeyCharEnter = 13;
inline constexpr u16 appKeyCharEscape = 27;
inline constexpr u16 appKeyCharSpace = 32;

// Keys that type nothing reach character handlers as private-use characters, one a key from F1 to
// Num Lock (the window's key table, appKeyDownChar). These are the ones that handlers read by name.
inline constexpr u16 appKeyCharFirst = 0xE000;
inline constexpr u16 appKeyCharF1 = 0xE000;
inline constexpr u16 appKeyCharF2 = 0xE001;
inline constexpr u16 appKeyCharHome = 0xE016;
inline constexpr u16 appKeyCharPageUp = 0xE017;
inline constexpr u16 appKeyCharDelete = 0xE018;
inline constexpr u16 appKeyCharEnd = 0xE019;
inline constexpr u16 appKeyCharPageDown = 0xE01A;
inline constexpr u16 appKeyCharUp = 0xE01B;
inline constexpr u16 appKeyCharDown = 0xE01C;
inline constexpr u16 appKeyCharLeft = 0xE01D;
inline constexpr u16 appKeyCharRight = 0xE01E;
inline constexpr u16 appKeyCharLast = 0xE01F;
