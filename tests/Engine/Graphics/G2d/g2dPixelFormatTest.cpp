#include "Engine/Graphics/G2d/g2dPixelFormat.h"

#include <gtest/gtest.h>

namespace {

g2dPixelFormat FormatOf(i32 d3dFormat) {
    g2dPixelFormat format;
    g2dGetPixelFormat(static_cast<plD3dFormat>(d3dFormat), format);
    return format;
}

} // namespace

TEST(g2dPixelFormat, EveryKnownFormatMapsBackToItself) {
    for (i32 d3dFormat = 20; d3dFormat <= 26; ++d3dFormat)
        EXPECT_EQ(FormatOf(d3dFormat).ToD3DFormat(), static_cast<plD3dFormat>(d3dFormat));
    // Palettes and unknown sizes are not texel layouts.
    g2dPixelFormat untouched = FormatOf(23);
    g2dGetPixelFormat(plD3dFormat::P8, untouched);
    EXPECT_EQ(untouched, FormatOf(23));
    EXPECT_EQ(g2dPixelFormat{}.ToD3DFormat(), plD3dFormat::Unknown);
    EXPECT_EQ(g2dPixelFormat{8}.ToD3DFormat(), plD3dFormat::Unknown);
}

TEST(g2dPixelFormat, PackingKeepsTheTopBitsOfEachChannel) {
    const u8 white[3] = {255, 255, 255};
    const u8 halfRed[4] = {255, 0, 0, 128};
    const u8 colour[4] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(FormatOf(23).PackRGB(white), 0xFFFFu);
    EXPECT_EQ(FormatOf(24).PackRGB(white), 0x7FFFu);
    EXPECT_EQ(FormatOf(26).PackRGBA(halfRed), 0x8F00u);
    EXPECT_EQ(FormatOf(25).PackRGBA(halfRed), 0xFC00u);
    EXPECT_EQ(FormatOf(21).PackRGBA(colour), 0x78123456u);
    // Formats without alpha drop it.
    EXPECT_EQ(FormatOf(22).PackRGBA(colour), 0x123456u);
    EXPECT_EQ(FormatOf(20).PackRGB(colour), 0x123456u);

    using Channels = std::array<u8, 4>;
    EXPECT_EQ(FormatOf(23).Unpack(0xF800), (Channels{248, 0, 0, 0}));
    EXPECT_EQ(FormatOf(26).Unpack(0x8F00), (Channels{240, 0, 0, 128}));
    EXPECT_EQ(FormatOf(21).Unpack(0x78123456), (Channels{0x12, 0x34, 0x56, 0x78}));
    EXPECT_EQ(FormatOf(22).Unpack(0xFF123456), (Channels{0x12, 0x34, 0x56, 0}));
}
