#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "g2dImageBuilder.h"

#include <gtest/gtest.h>

#include <climits>

using namespace g2dImageBuilder;

namespace {

std::span<const u8> Bytes(const std::string& file) {
    return {reinterpret_cast<const u8*>(file.data()), file.size()};
}

std::vector<u8> Pixels(std::initializer_list<int> values) {
    return std::vector<u8>(values.begin(), values.end());
}

std::string Replace(std::string file, size_t at, const std::string& bytes) {
    return file.replace(at, bytes.size(), bytes);
}

std::string Le32(u32 value) {
    std::string out;
    PutLe(out, value, 4);
    return out;
}

const std::string kSignature = "\x89PNG\r\n\x1A\n";

// A 3 x 2 picture with distinct channels, so a swapped channel, row or column shows.
const std::vector<u8> kPicture = Pixels({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18});

} // namespace

TEST(g2dImageFile, BmpRowsComeOutTopFirstInRgbWhateverTheirOrderInTheFile) {
    for (bool topDown : {false, true}) {
        // Three pixels a row: 9 bytes and 3 of padding.
        const g2dPixelRows rows = g2dDecodeBMP(Bytes(Bmp(3, 2, kPicture, topDown)));
        EXPECT_EQ(rows.width, 3u);
        EXPECT_EQ(rows.height, 2u);
        EXPECT_FALSE(rows.hasAlpha);
        EXPECT_EQ(rows.bytes, kPicture) << topDown;
    }
}

TEST(g2dImageFile, PngsOfEveryKindBecomeEightBitRgbOrRgba) {
    const std::string palette = Chunk("PLTE", std::string("\x10\x20\x30\x40\x50\x60\x70\x80\x90", 9));
    struct Case {
        const char* label;
        std::string file;
        bool hasAlpha;
        std::vector<u8> pixels;
    };
    const Case cases[] = {
        {"8-bit RGB", Png(2, 8, 2, {"\x01\x02\x03\x04\x05\x06"}), false, Pixels({1, 2, 3, 4, 5, 6})},
        {"16-bit RGBA keeps the high bytes", Png(1, 16, 6, {"\x11\xFF\x22\xFF\x33\xFF\x44\xFF"}), true,
         Pixels({0x11, 0x22, 0x33, 0x44})},
        {"4-bit palette", Png(3, 4, 3, {std::string("\x21\x00", 2)}, palette), false,
         Pixels({0x70, 0x80, 0x90, 0x40, 0x50, 0x60, 0x10, 0x20, 0x30})},
        {"palette with transparency",
         Png(2, 8, 3, {std::string("\x00\x01", 2)}, palette + Chunk("tRNS", "\x7F")), true,
         Pixels({0x10, 0x20, 0x30, 0x7F, 0x40, 0x50, 0x60, 0xFF})},
        {"8-bit grey", Png(2, 8, 0, {"\x05\xFA"}), false, Pixels({5, 5, 5, 250, 250, 250})},
        {"2-bit grey", Png(2, 2, 0, {"\xC0"}), false, Pixels({255, 255, 255, 0, 0, 0})},
        {"grey with alpha", Png(1, 8, 4, {"\x09\x80"}), true, Pixels({9, 9, 9, 0x80})},
        {"grey with a transparent level",
         Png(2, 8, 0, {"\x07\x08"}, Chunk("tRNS", std::string("\x00\x07", 2))), true,
         Pixels({7, 7, 7, 0, 8, 8, 8, 255})},
        {"two rows", Png(1, 8, 2, {"\x01\x02\x03", "\x04\x05\x06"}), false, Pixels({1, 2, 3, 4, 5, 6})},
    };
    for (const Case& c : cases) {
        g2dPixelRows rows;
        ASSERT_NO_THROW(rows = g2dDecodePNG(Bytes(c.file))) << c.label;
        EXPECT_EQ(rows.hasAlpha, c.hasAlpha) << c.label;
        EXPECT_EQ(rows.bytes, c.pixels) << c.label;
        EXPECT_EQ(rows.bytes.size(), rows.RowBytes() * rows.height) << c.label;
    }
}

TEST(g2dImageFile, TheSignatureDecidesTheType) {
    EXPECT_EQ(g2dImageFileTypeOf(Bytes("BMxx")), g2dImageFileBMP);
    EXPECT_EQ(g2dImageFileTypeOf(Bytes(Png(1, 8, 0, {"\x01"}))), g2dImageFilePNG);
    EXPECT_EQ(g2dImageFileTypeOf(Bytes("\x89PNG\r\n\x1A")), -1);
    EXPECT_EQ(g2dImageFileTypeOf(Bytes("B")), -1);
    // "BM" alone passes the signature; the reader refuses what follows.
    EXPECT_THROW(g2dDecodeBMP(Bytes("BM" + std::string(60, '\0'))), g2dUnknownImageFileTypeX);
}

// Every damaged file ends in the reader's exception, never a crash, an overrun or a huge allocation.
TEST(g2dImageFile, DamagedFilesThrowCleanly) {
    const std::string bmp = Bmp(3, 2, kPicture);
    const std::string png = Png(2, 8, 6, {std::string(8, '\x11'), std::string(8, '\x22')});
    const size_t idat = png.find("IDAT") + 4;
    struct Case {
        const char* label;
        std::string file;
        bool isPng;
    };
    const Case cases[] = {
        {"BMP width 0", Replace(bmp, 18, Le32(0)), false},
        {"BMP width -3", Replace(bmp, 18, Le32(static_cast<u32>(-3))), false},
        {"BMP width 65536", Replace(bmp, 18, Le32(65536)), false},
        {"BMP height 0", Replace(bmp, 22, Le32(0)), false},
        {"BMP height INT_MIN", Replace(bmp, 22, Le32(0x80000000)), false},
        {"BMP height -65536", Replace(bmp, 22, Le32(static_cast<u32>(-65536))), false},
        {"BMP more rows than the file holds", Replace(bmp, 22, Le32(3)), false},
        {"BMP offset past the end", Replace(bmp, 10, Le32(0xFFFFFFF0)), false},
        {"BMP offset inside the header", Replace(bmp, 10, Le32(20)), false},
        {"BMP OS/2 header", Replace(bmp, 14, Le32(12)), false},
        {"BMP header size huge", Replace(bmp, 14, Le32(0xFFFFFFFF)), false},
        {"BMP 32 bits", Replace(bmp, 28, "\x20"), false},
        {"BMP compressed", Replace(bmp, 30, "\x01"), false},
        {"PNG width 0", Png(0, 8, 2, {""}), true},
        {"PNG width 65536", Png(65536, 8, 0, {"\x01"}), true},
        {"PNG claims 60000 x 60000",
         kSignature + Ihdr(60000, 60000, 8, 6) + Chunk("IDAT", Zlib(std::string(100, '\0'))), true},
        {"PNG bit depth 3", Png(1, 3, 0, {"\x01"}), true},
        {"PNG damaged IDAT", Replace(png, idat + 8, "\x55"), true},
        {"PNG zlib block lengths disagree",
         kSignature + Ihdr(1, 1, 8, 0) + Chunk("IDAT", Replace(Zlib(std::string(2, '\x01')), 3, "\x09")) +
             Chunk("IEND", ""),
         true},
        {"PNG without IDAT", kSignature + Ihdr(1, 1, 8, 0) + Chunk("IEND", ""), true},
        {"PNG palette missing", Png(1, 8, 3, {std::string(1, '\0')}), true},
    };
    for (const Case& c : cases) {
        if (c.isPng)
            EXPECT_THROW(g2dDecodePNG(Bytes(c.file)), g2dGeneralX) << c.label;
        else
            EXPECT_THROW(g2dDecodeBMP(Bytes(c.file)), g2dUnknownImageFileTypeX) << c.label;
    }
    // The last row may go without its padding.
    for (size_t length = 0; length < bmp.size() - 3; ++length)
        EXPECT_THROW(g2dDecodeBMP(Bytes(bmp.substr(0, length))), g2dUnknownImageFileTypeX) << length;
    // The IEND chunk after the image data is not needed; everything before it is.
    for (size_t length = 0; length < png.find("IEND") - 4; ++length)
        EXPECT_THROW(g2dDecodePNG(Bytes(png.substr(0, length))), g2dGeneralX) << length;
}
