#include "Engine/App/App/private/appAnsiChar.h"

#include <algorithm>

namespace {

// A code page that claims more units than the buffer holds is held to the buffer.
u32 ToWide(const appAnsiCodePage& codePage, const u8* bytes, u32 count, char16_t (&out)[8]) {
    return std::min(codePage.toWide(bytes, count, out), 8u);
}

} // namespace

u32 appAssembleAnsiChar(appLeadByteState& state, u8 byte, const appAnsiCodePage& codePage,
                        char16_t (&out)[8]) {
    if (state.pending) {
        const u8 pair[2] = {state.leadByte, byte};
        state.pending = false;
        return ToWide(codePage, pair, 2, out);
    }
    if (codePage.isLeadByte(byte)) {
        state.leadByte = byte;
        state.pending = true;
        return 0;
    }
    return ToWide(codePage, &byte, 1, out);
}
