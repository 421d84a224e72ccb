#include "Engine/Core/Env/envLittleEndian.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// High bits set in every byte, so a sign extension or a swapped byte shows.
TEST(envLittleEndian, NumbersGoInLowestByteFirstAndComeBackWhole) {
    std::vector<u8> bytes;
    envAppendLe32(bytes, 0xF1E2D3C4u);
    envAppendLe16(bytes, 0xB5A6);
    EXPECT_EQ(bytes, (std::vector<u8>{0xC4, 0xD3, 0xE2, 0xF1, 0xA6, 0xB5}));
    EXPECT_EQ(envLe32(bytes.data()), 0xF1E2D3C4u);
    EXPECT_EQ(envLe16(bytes.data() + 4), 0xB5A6);
    std::string text;
    envAppendLe16(text, 0x8041);
    EXPECT_EQ(text, "\x41\x80");
}
