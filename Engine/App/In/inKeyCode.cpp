#include "Engine/App/In/inKeyCode.h"

#include "Engine/Platform/Window/plDirectInputKeys.h"

#include <array>
#include <utility>

namespace {

using namespace plDik;

constexpr std::pair<u8, i32> kKeys[] = {
    {A, inKeyA},
    {B, inKeyA + 1},
    {C, inKeyA + 2},
    {D, inKeyA + 3},
    {E, inKeyA + 4},
    {F, inKeyA + 5},
    {G, inKeyA + 6},
    {H, inKeyA + 7},
    {I, inKeyA + 8},
    {J, inKeyA + 9},
    {K, inKeyA + 10},
    {L, inKeyA + 11},
    {M, inKeyA + 12},
    {N, inKeyA + 13},
    {O, inKeyA + 14},
    {P, inKeyA + 15},
    {Q, inKeyA + 16},
    {R, inKeyA + 17},
    {S, inKeyA + 18},
    {T, inKeyA + 19},
    {U, inKeyA + 20},
    {V, inKeyA + 21},
    {W, inKeyA + 22},
    {X, inKeyA + 23},
    {Y, inKeyA + 24},
    {Z, inKeyZ},
    {D0, inKey0},
    {D1, inKey0 + 1},
    {D2, inKey0 + 2},
    {D3, inKey0 + 3},
    {D4, inKey0 + 4},
    {D5, inKey0 + 5},
    {D6, inKey0 + 6},
    {D7, inKey0 + 7},
    {D8, inKey0 + 8},
    {D9, inKey9},
    {Escape, inKeyEscape},
    {F1, inKeyF1},
    {F2, inKeyF1 + 1},
    {F3, inKeyF1 + 2},
    {F4, inKeyF1 + 3},
    {F5, inKeyF1 + 4},
    {F6, inKeyF1 + 5},
    {F7, inKeyF7},
    {F8, inKeyF1 + 7},
    {F9, inKeyF1 + 8},
    {F10, inKeyF10},
    {F11, inKeyF11},
    {F12, inKeyF12},
    {SysRq, inKeyPrintScreen},
    {Scroll, inKeyScrollLock},
    {Pause, inKeyPause},
    {Grave, inKeyGrave},
    {Minus, inKeyMinus},
    {Equals, inKeyEquals},
    {Back, inKeyBackspace},
    {Tab, inKeyTab},
    {LBracket, inKeyLeftBracket},
    {RBracket, inKeyRightBracket},
    {Backslash, inKeyBackslash},
    {Capital, inKeyCapsLock},
    {Semicolon, inKeySemicolon},
    {Apostrophe, inKeyApostrophe},
    {Return, inKeyReturn},
    {LShift, inKeyLeftShift},
    {Comma, inKeyComma},
    {Period, inKeyPeriod},
    {Slash, inKeySlash},
    {RShift, inKeyRightShift},
    {LControl, inKeyLeftControl},
    {LWin, inKeyLeftWindows},
    {LMenu, inKeyLeftAlt},
    {Space, inKeySpace},
    {RMenu, inKeyRightAlt},
    {RWin, inKeyRightWindows},
    {RControl, inKeyRightControl},
    {Insert, inKeyInsert},
    {Home, inKeyHome},
    {Prior, inKeyPageUp},
    {Delete, inKeyDelete},
    {End, inKeyEnd},
    {Next, inKeyPageDown},
    {Up, inKeyUp},
    {Down, inKeyDown},
    {Left, inKeyLeft},
    {Right, inKeyRight},
    {Numpad0, inKeyNumpad0},
    {Numpad1, inKeyNumpad0 + 1},
    {Numpad2, inKeyNumpad0 + 2},
    {Numpad3, inKeyNumpad0 + 3},
    {Numpad4, inKeyNumpad0 + 4},
    {Numpad5, inKeyNumpad0 + 5},
    {Numpad6, inKeyNumpad0 + 6},
    {Numpad7, inKeyNumpad0 + 7},
    {Numpad8, inKeyNumpad0 + 8},
    {Numpad9, inKeyNumpad9},
    {NumLock, inKeyNumLock},
    {Divide, inKeyNumpadDivide},
    {Multiply, inKeyNumpadMultiply},
    {Subtract, inKeyNumpadMinus},
    {Add, inKeyNumpadPlus},
    {Decimal, inKeyNumpadDecimal},
    {NumpadEnter, inKeyNumpadEnter},
};
static_assert(std::size(kKeys) == inKeyCodeCount);

constexpr std::array<i32, 256> BuildTable() {
    std::array<i32, 256> table{};
    table.fill(-1);
    for (const auto& [scanCode, code] : kKeys)
        table[scanCode] = code;
    return table;
}

constexpr std::array<i32, 256> kTable = BuildTable();

} // namespace

i32 inKeyCodeOfScanCode(u8 scanCode) {
    return kTable[scanCode];
}
