#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// RIFF WAVE bytes written field by field, right or wrong as asked, independent of the reader.
namespace snWaveBuilder {

inline void Put16(std::string& out, u32 value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

inline void Put32(std::string& out, u32 value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// A chunk with the size it declares, and the pad byte after odd contents.
inline std::string Chunk(const char* id, const std::string& contents, u32 declared, bool pad = true) {
    std::string out(id, 4);
    Put32(out, declared);
    out += contents;
    if (pad && contents.size() % 2)
        out += '\0';
    return out;
}
inline std::string Chunk(const char* id, const std::string& contents) {
    return Chunk(id, contents, static_cast<u32>(contents.size()));
}

inline std::string Riff(const std::string& chunks, u32 declared) {
    std::string out = "RIFF";
    Put32(out, declared);
    return out + "WAVE" + chunks;
}
inline std::string Riff(const std::string& chunks) {
    return Riff(chunks, static_cast<u32>(4 + chunks.size()));
}

inline std::string FmtContents(u16 tag, u16 channels, u32 rate, u32 bytesPerSec, u16 align, u16 bits) {
    std::string out;
    Put16(out, tag);
    Put16(out, channels);
    Put32(out, rate);
    Put32(out, bytesPerSec);
    Put16(out, align);
    Put16(out, bits);
    return out;
}
inline std::string Pcm(u16 channels, u32 rate, u16 bits) {
    const u16 align = static_cast<u16>(channels * bits / 8);
    return Chunk("fmt ", FmtContents(1, channels, rate, rate * align, align, bits));
}

inline std::string Samples16(const std::vector<i16>& samples) {
    std::string out;
    for (i16 s : samples)
        Put16(out, static_cast<u16>(s));
    return out;
}

// The canonical file: "fmt " then "data".
inline std::string Wave16(const std::vector<i16>& samples, u16 channels = 1, u32 rate = 22050) {
    return Riff(Pcm(channels, rate, 16) + Chunk("data", Samples16(samples)));
}

} // namespace snWaveBuilder
