#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// Image files built byte by byte, independent of the engine's readers: BMPs and PNGs whose zlib stream
// holds stored (uncompressed) blocks.
namespace g2dImageBuilder {

inline std::string Le(u32 value, int bytes = 4) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
    return out;
}

inline std::string Be32(u32 value) {
    const std::string le = Le(value);
    return {le.rbegin(), le.rend()};
}

// A 24-bit BMP of the pixels (red, green, blue, rows top first); bottom-up unless topDown.
inline std::string Bmp(i32 width, i32 height, const std::vector<u8>& rgb, bool topDown = false) {
    std::string pixels;
    for (i32 i = 0; i < height; ++i) {
        const i32 row = topDown ? i : height - 1 - i;
        for (i32 x = 0; x < width; ++x)
            for (int c = 2; c >= 0; --c)
                pixels += static_cast<char>(rgb[(row * width + x) * 3 + c]);
        pixels.append((4 - width * 3 % 4) % 4, '\0');
    }
    return "BM" + Le(54 + static_cast<u32>(pixels.size())) + Le(0) + Le(54) + Le(40) + Le(width) +
           Le(topDown ? -height : height) + Le(1, 2) + Le(24, 2) + std::string(24, '\0') + pixels;
}

inline u32 Crc32(const std::string& bytes) {
    u32 crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

inline std::string Chunk(const std::string& type, const std::string& data) {
    return Be32(static_cast<u32>(data.size())) + type + data + Be32(Crc32(type + data));
}

// A zlib stream of one stored block (up to 65535 bytes).
inline std::string Zlib(const std::string& raw) {
    u32 a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    const auto length = static_cast<u32>(raw.size());
    return "\x78\x01\x01" + Le(length, 2) + Le(~length, 2) + raw + Be32(b << 16 | a);
}

inline std::string Ihdr(u32 width, u32 height, u8 depth, u8 colourType) {
    return Chunk("IHDR", Be32(width) + Be32(height) + static_cast<char>(depth) +
                             static_cast<char>(colourType) + std::string(3, '\0'));
}

const std::string kPngSignature = "\x89PNG\r\n\x1A\n";

// A PNG of scanlines already packed for its depth and colour type (each without its filter byte);
// extra chunks (PLTE, tRNS) go before the image data.
inline std::string Png(u32 width, u8 depth, u8 colourType, const std::vector<std::string>& scanlines,
                       const std::string& extra = {}) {
    std::string raw;
    for (const std::string& line : scanlines)
        raw += '\0' + line;
    return kPngSignature + Ihdr(width, static_cast<u32>(scanlines.size()), depth, colourType) + extra +
           Chunk("IDAT", Zlib(raw)) + Chunk("IEND", "");
}

} // namespace g2dImageBuilder
