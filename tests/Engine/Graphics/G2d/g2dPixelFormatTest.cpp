#include "Engine/Graphics/G2d/g2dPixelFormat.h"
#include "g2dScreenFixture.h"

TEST(g2dPixelFormat, FormatsMapBothWaysAndPackTheTopBitsOfEachChannel) {
    for (i32 d3dFormat = 20; d3dFormat <= 26; ++d3dFormat)
        EXPECT_EQ(FormatOf(static_cast<plD3dFormat>(d3dFormat)).ToD3DFormat(),
                  static_cast<plD3dFormat>(d3dFormat));
    g2dPixelFormat untouched = FormatOf(plD3dFormat::R5G6B5);
    g2dGetPixelFormat(plD3dFormat::P8, untouched);
    EXPECT_EQ(untouched, FormatOf(plD3dFormat::R5G6B5));
    EXPECT_EQ(g2dPixelFormat{8}.ToD3DFormat(), plD3dFormat::Unknown);

    const u8 white[3] = {255, 255, 255};
    const u8 halfRed[4] = {255, 0, 0, 128};
    const u8 colour[4] = {0x12, 0x34, 0x56, 0x78};
    EXPECT_EQ(FormatOf(plD3dFormat::R5G6B5).PackRGB(white), 0xFFFFu);
    EXPECT_EQ(FormatOf(plD3dFormat::X1R5G5B5).PackRGB(white), 0x7FFFu);
    EXPECT_EQ(FormatOf(plD3dFormat::A4R4G4B4).PackRGBA(halfRed), 0x8F00u);
    EXPECT_EQ(FormatOf(plD3dFormat::A1R5G5B5).PackRGBA(halfRed), 0xFC00u);
    EXPECT_EQ(FormatOf(plD3dFormat::A8R8G8B8).PackRGBA(colour), 0x78123456u);
    EXPECT_EQ(FormatOf(plD3dFormat::X8R8G8B8).PackRGBA(colour), 0x123456u);

    using Channels = std::array<u8, 4>;
    EXPECT_EQ(FormatOf(plD3dFormat::R5G6B5).Unpack(0xF800), (Channels{248, 0, 0, 0}));
    EXPECT_EQ(FormatOf(plD3dFormat::A4R4G4B4).Unpack(0x8F00), (Channels{240, 0, 0, 128}));
    EXPECT_EQ(FormatOf(plD3dFormat::X8R8G8B8).Unpack(0xFF123456), (Channels{0x12, 0x34, 0x56, 0}));
}
