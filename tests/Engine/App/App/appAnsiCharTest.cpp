#include "Engine/App/App/private/appAnsiChar.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A small double-byte code page: 0x81-0x9F lead; a pair becomes one unit 0x4E00 + trail, a lone byte
// itself, a pair with a trail below 0x40 nothing, and byte 0xFF two units.
bool IsLead(u8 byte) {
    return byte >= 0x81 && byte <= 0x9F;
}

u32 ToWide(const u8* bytes, u32 count, char16_t* out) {
    if (count == 2) {
        if (bytes[1] < 0x40)
            return 0;
        out[0] = static_cast<char16_t>(0x4E00 + bytes[1]);
        return 1;
    }
    if (bytes[0] == 0xFF) {
        out[0] = u'A';
        out[1] = u'B';
        return 2;
    }
    out[0] = bytes[0];
    return 1;
}

u32 Greedy(const u8*, u32, char16_t* out) {
    out[0] = u'G';
    return 99;
}

std::vector<char16_t> Feed(appLeadByteState& state, std::initializer_list<u8> bytes,
                           const appAnsiCodePage& page = {IsLead, ToWide}) {
    std::vector<char16_t> units;
    for (u8 byte : bytes) {
        char16_t out[8];
        const u32 n = appAssembleAnsiChar(state, byte, page, out);
        units.insert(units.end(), out, out + n);
    }
    return units;
}

} // namespace

TEST(appAnsiChar, ADoubleByteCharacterArrivesAsOneAndTheNextByteStartsAfresh) {
    appLeadByteState state;
    EXPECT_EQ(Feed(state, {'a'}), std::vector<char16_t>({u'a'}));
    EXPECT_EQ(Feed(state, {0x88}), std::vector<char16_t>());
    EXPECT_TRUE(state.pending);
    EXPECT_EQ(Feed(state, {0x41}), std::vector<char16_t>({0x4E41}));
    EXPECT_FALSE(state.pending);
    // A second lead-range byte right after a complete pair is a new lead byte, not a trail.
    EXPECT_EQ(Feed(state, {0x88, 0x88, 0x88}), std::vector<char16_t>({0x4E88}));
    EXPECT_TRUE(state.pending);
    EXPECT_EQ(Feed(state, {0x20, 'b'}), std::vector<char16_t>({u'b'})); // a pair that converts to nothing
    EXPECT_EQ(Feed(state, {0xFF}), std::vector<char16_t>({u'A', u'B'}));
    // A code page that claims more than the buffer holds is held to the buffer.
    char16_t out[8];
    appLeadByteState fresh;
    EXPECT_EQ(appAssembleAnsiChar(fresh, 'x', {IsLead, Greedy}, out), 8u);
}
