#pragma once
#include "Engine/Core/Env/envTypes.h"

// The ANSI windows' typed bytes: a double-byte code page sends a character as two WM_CHAR bytes, a
// lead byte and a trail byte. This platform types wide characters only; the assembler is kept for
// text that arrives in a double-byte code page.

// The code page: IsDBCSLeadByte, and MultiByteToWideChar into at most 8 units (the count made, 0 when
// the bytes form no character).
struct appAnsiCodePage {
    bool (*isLeadByte)(u8 byte);
    u32 (*toWide)(const u8* bytes, u32 count, char16_t* out);
};

// The waiting first byte of a double-byte character.
struct appLeadByteState {
    u8 leadByte = 0;
    bool pending = false;
};

// Takes one byte; returns how many units of out to dispatch, in order (0 while a lead byte waits).
u32 appAssembleAnsiChar(appLeadByteState& state, u8 byte, const appAnsiCodePage& codePage,
                        char16_t (&out)[8]);
