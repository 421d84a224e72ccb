#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// Image files built byte by byte, independent of the engine's readers: BMPs and PNGs whose zlib stream
// holds stored (uncompressed) blocks.
namespace g2dImageBuilder {

inline void PutLe(std::string& out, u32 value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>(value >> (8 * i));
}

inline void PutBe32(std::string& out, u32 value) {
    for (int i = 3; i >= 0; --i)
        out += static_cast<char>(value >> (8 * i));
}

// A 24-bit BMP of the pixels (red, green, blue, rows top first); bottom-up unless topDown.
inline std::string Bmp(i32 width, i32 height, const std::vector<u8>& rgb, bool topDown = false) {
    const u32 stride = (width * 3 + 3) & ~3u;
    std::string pixels;
    for (i32 i = 0; i < height; ++i) {
        const i32 row = topDown ? i : height - 1 - i;
        for (i32 x = 0; x < width; ++x)
            for (int c = 2; c >= 0; --c)
                pixels += static_cast<char>(rgb[(row * width + x) * 3 + c]);
        pixels.append(stride - width * 3, '\0');
    }
    std::string out = "BM";
    PutLe(out, 54 + static_cast<u32>(pixels.size()), 4);
    PutLe(out, 0, 4);
    PutLe(out, 54, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<u32>(width), 4);
    PutLe(out, static_cast<u32>(topDown ? -height : height), 4);
    PutLe(out, 1, 2);
    PutLe(out, 24, 2);
    out.append(24, '\0');
    return out + pixels;
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
    std::string out;
    PutBe32(out, static_cast<u32>(data.size()));
    out += type + data;
    PutBe32(out, Crc32(type + data));
    return out;
}

// A zlib stream of stored blocks.
inline std::string Zlib(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        out += static_cast<char>(at + length == raw.size() ? 1 : 0);
        PutLe(out, static_cast<u32>(length), 2);
        PutLe(out, static_cast<u32>(~length & 0xFFFF), 2);
        out += raw.substr(at, length);
        at += length;
    } while (at < raw.size());
    u32 a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBe32(out, b << 16 | a);
    return out;
}

inline std::string Ihdr(u32 width, u32 height, u8 depth, u8 colourType) {
    std::string data;
    PutBe32(data, width);
    PutBe32(data, height);
    data += static_cast<char>(depth);
    data += static_cast<char>(colourType);
    data += std::string(3, '\0');
    return Chunk("IHDR", data);
}

// A PNG of scanlines already packed for its depth and colour type (each without its filter byte);
// extra chunks (PLTE, tRNS) go before the image data.
inline std::string Png(u32 width, u8 depth, u8 colourType, const std::vector<std::string>& scanlines,
                       const std::string& extra = {}) {
    std::string raw;
    for (const std::string& line : scanlines)
        raw += '\0' + line;
    return "\x89PNG\r\n\x1A\n" + Ihdr(width, static_cast<u32>(scanlines.size()), depth, colourType) + extra +
           Chunk("IDAT", Zlib(raw)) + Chunk("IEND", "");
}

} // namespace g2dImageBuilder
