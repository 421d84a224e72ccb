#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "g2dImageBuilder.h"

#include <gtest/gtest.h>
#include <zlib.h>

using namespace g2dImageBuilder;

namespace {

std::span<const u8> Bytes(const std::string& file) {
    return {reinterpret_cast<const u8*>(file.data()), file.size()};
}

std::string Replace(std::string file, size_t at, const std::string& bytes) {
    return file.replace(at, bytes.size(), bytes);
}

// A 3 x 2 picture with distinct channels, so a swapped channel, row or column shows.
const std::vector<u8> kPicture = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};

// A valid 1-bit grey PNG of zeros, deflated as tightly as zlib can, so a small file holds a large image.
std::string ZeroGreyPng(u32 width, u32 height) {
    const std::string raw(size_t{height} * ((width + 7) / 8 + 1), '\0');
    std::string deflated(compressBound(raw.size()), '\0');
    uLongf size = deflated.size();
    compress2(reinterpret_cast<Bytef*>(deflated.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
              raw.size(), Z_BEST_COMPRESSION);
    deflated.resize(size);
    return kPngSignature + Ihdr(width, height, 1, 0) + Chunk("IDAT", deflated) + Chunk("IEND", "");
}

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
    const std::string palette = Chunk("PLTE", "\x10\x20\x30\x40\x50\x60\x70\x80\x90");
    const std::string zero(1, '\0');
    struct Case {
        const char* label;
        std::string file;
        bool hasAlpha;
        std::vector<u8> pixels;
    };
    const Case cases[] = {
        {"8-bit RGB", Png(2, 8, 2, {"\x01\x02\x03\x04\x05\x06"}), false, {1, 2, 3, 4, 5, 6}},
        {"16-bit RGBA keeps the high bytes",
         Png(1, 16, 6, {"\x11\xFF\x22\xFF\x33\xFF\x44\xFF"}),
         true,
         {0x11, 0x22, 0x33, 0x44}},
        {"4-bit palette",
         Png(3, 4, 3, {"\x21" + zero}, palette),
         false,
         {0x70, 0x80, 0x90, 0x40, 0x50, 0x60, 0x10, 0x20, 0x30}},
        {"palette with transparency",
         Png(2, 8, 3, {zero + "\x01"}, palette + Chunk("tRNS", "\x7F")),
         true,
         {0x10, 0x20, 0x30, 0x7F, 0x40, 0x50, 0x60, 0xFF}},
        {"8-bit grey", Png(2, 8, 0, {"\x05\xFA"}), false, {5, 5, 5, 250, 250, 250}},
        {"2-bit grey", Png(2, 2, 0, {"\xC0"}), false, {255, 255, 255, 0, 0, 0}},
        {"grey with alpha", Png(1, 8, 4, {"\x09\x80"}), true, {9, 9, 9, 0x80}},
        {"grey with a transparent level",
         Png(2, 8, 0, {"\x07\x08"}, Chunk("tRNS", zero + "\x07")),
         true,
         {7, 7, 7, 0, 8, 8, 8, 255}},
        {"two rows", Png(1, 8, 2, {"\x01\x02\x03", "\x04\x05\x06"}), false, {1, 2, 3, 4, 5, 6}},
    };
    for (const Case& c : cases) {
        g2dPixelRows rows;
        ASSERT_NO_THROW(rows = g2dDecodePNG(Bytes(c.file))) << c.label;
        EXPECT_EQ(rows.hasAlpha, c.hasAlpha) << c.label;
        EXPECT_EQ(rows.bytes, c.pixels) << c.label;
    }
}

// Every damaged file ends in the reader's exception, never a crash, an overrun or a huge allocation.
TEST(g2dImageFile, DamagedFilesThrowCleanly) {
    const std::string bmp = Bmp(3, 2, kPicture);
    const std::string png = Png(2, 8, 6, {std::string(8, '\x11'), std::string(8, '\x22')});
    const std::pair<const char*, std::string> bmps[] = {
        {"width 0", Replace(bmp, 18, Le(0))},
        {"width -3", Replace(bmp, 18, Le(-3))},
        {"width 65536", Replace(bmp, 18, Le(65536))},
        {"height 0", Replace(bmp, 22, Le(0))},
        {"height INT_MIN", Replace(bmp, 22, Le(0x80000000))},
        {"height -65536", Replace(bmp, 22, Le(-65536))},
        {"more rows than the file holds", Replace(bmp, 22, Le(3))},
        {"offset past the end", Replace(bmp, 10, Le(0xFFFFFFF0))},
        {"offset inside the header", Replace(bmp, 10, Le(20))},
        {"OS/2 header", Replace(bmp, 14, Le(12))},
        {"header size huge", Replace(bmp, 14, Le(0xFFFFFFFF))},
        {"32 bits", Replace(bmp, 28, "\x20")},
        {"compressed", Replace(bmp, 30, "\x01")},
        {"BM and zeros", "BM" + std::string(60, '\0')},
    };
    const std::pair<const char*, std::string> pngs[] = {
        {"width 0", Png(0, 8, 2, {""})},
        {"width 65536", Png(65536, 8, 0, {"\x01"})},
        {"claims 60000 x 60000",
         kPngSignature + Ihdr(60000, 60000, 8, 6) + Chunk("IDAT", Zlib(std::string(100, 0)))},
        {"bit depth 3", Png(1, 3, 0, {"\x01"})},
        {"IDAT fails its CRC", Replace(png, png.find("IDAT") + 12, "\x55")},
        {"zlib block lengths disagree", kPngSignature + Ihdr(1, 1, 8, 0) +
                                            Chunk("IDAT", Replace(Zlib("\x01\x01"), 3, "\x09")) +
                                            Chunk("IEND", "")},
        {"no IDAT", kPngSignature + Ihdr(1, 1, 8, 0) + Chunk("IEND", "")},
        {"palette missing", Png(1, 8, 3, {std::string(1, '\0')})},
    };
    for (const auto& [label, file] : bmps)
        EXPECT_THROW(g2dDecodeBMP(Bytes(file)), g2dUnknownImageFileTypeX) << label;
    for (const auto& [label, file] : pngs)
        EXPECT_THROW(g2dDecodePNG(Bytes(file)), g2dDamagedImageX) << label;
    // The last row may go without its padding.
    for (size_t length = 0; length < bmp.size() - 3; ++length)
        EXPECT_THROW(g2dDecodeBMP(Bytes(bmp.substr(0, length))), g2dUnknownImageFileTypeX) << length;
    // The IEND chunk after the image data is not needed; everything before it is.
    for (size_t length = 0; length < png.find("IEND") - 4; ++length)
        EXPECT_THROW(g2dDecodePNG(Bytes(png.substr(0, length))), g2dDamagedImageX) << length;
}

// Grey and palette PNGs expand three times and more once decoded: the size cap, not the file's size,
// bounds what a decoder allocates.
TEST(g2dImageFile, ImagesBeyondTheLargestAreRefused) {
    EXPECT_EQ(g2dDecodePNG(Bytes(ZeroGreyPng(g2dMaxImageSide, 1))).width, g2dMaxImageSide);
    EXPECT_EQ(g2dDecodeBMP(Bytes(Bmp(g2dMaxImageSide, 1, std::vector<u8>(g2dMaxImageSide * 3)))).width,
              g2dMaxImageSide);
    EXPECT_THROW(g2dDecodePNG(Bytes(ZeroGreyPng(g2dMaxImageSide + 1, 1))), g2dGeneralX);
    EXPECT_THROW(g2dDecodePNG(Bytes(ZeroGreyPng(1, g2dMaxImageSide + 1))), g2dGeneralX);
    EXPECT_THROW(g2dDecodePNG(Bytes(ZeroGreyPng(8200, 8200))), g2dGeneralX);
    EXPECT_THROW(g2dDecodeBMP(Bytes(Bmp(g2dMaxImageSide + 1, 1, std::vector<u8>((g2dMaxImageSide + 1) * 3)))),
                 g2dUnknownImageFileTypeX);
}
