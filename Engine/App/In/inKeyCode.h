#pragma once
#include "Engine/Core/Env/envTypes.h"

// The engine's own key codes, the indices of the keyboard's key tables and the controls that key bindings
// name.
enum inKeyCode : i32 {
    inKeyA = 0, // the letters in order to inKeyZ = 25
    inKeyZ = 25,
    inKey0 = 26, // the digits in order to inKey9 = 35
    inKey9 = 35,
    inKeyEscape = 36,
    inKeyF1 = 37, // F1 to F10 in order
    inKeyF7 = 43,
    inKeyF10 = 46,
    inKeyF11 = 47,
    inKeyF12 = 48,
    inKeyPrintScreen,
    inKeyScrollLock,
    inKeyPause,
    inKeyGrave,
    inKeyMinus,
    inKeyEquals,
    inKeyBackspace,
    inKeyTab,
    inKeyLeftBracket,
    inKeyRightBracket,
    inKeyBackslash,
    inKeyCapsLock,
    inKeySemicolon,
    inKeyApostrophe,
    inKeyReturn,
    inKeyLeftShift,
    inKeyComma,
    inKeyPeriod,
    inKeySlash,
    inKeyRightShift,
    inKeyLeftControl,
    inKeyLeftWindows,
    inKeyLeftAlt,
    inKeySpace,
    inKeyRightAlt,
    inKeyRightWindows,
    inKeyRightControl,
    inKeyInsert,
    inKeyHome,
    inKeyPageUp,
    inKeyDelete,
    inKeyEnd,
    inKeyPageDown,
    inKeyUp,
    inKeyDown,
    inKeyLeft,
    inKeyRight,
    inKeyNumpad0, // keypad 0 to 9 in order
    inKeyNumpad9 = inKeyNumpad0 + 9,
    inKeyNumLock,
    inKeyNumpadDivide,
    inKeyNumpadMultiply,
    inKeyNumpadMinus,
    inKeyNumpadPlus,
    inKeyNumpadDecimal,
    inKeyNumpadEnter,
    inKeyCodeCount
};
static_assert(inKeyPrintScreen == 49 && inKeyNumpad0 == 86 && inKeyNumpadEnter == 102);

// The key of a capital letter 'A' to 'Z', and of a digit 0 to 9 on the main keys.
constexpr i32 inKeyLetter(char letter) {
    return inKeyA + (letter - 'A');
}
constexpr i32 inKeyDigit(i32 digit) {
    return inKey0 + digit;
}

// The key code of a DirectInput key number, or -1 for a key the engine does not read.
i32 inKeyCodeOfScanCode(u8 scanCode);
