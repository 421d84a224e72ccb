#pragma once
#include "Engine/Core/Env/envTestBytes.h"

#include <string>
#include <vector>

// RIFF WAVE bytes written field by field, right or wrong as asked, independent of the reader.
namespace snWaveBuilder {

// A chunk with the size it declares, and the pad byte after odd contents.
inline std::string Chunk(const char* id, const std::string& contents, u32 declared, bool pad = true) {
    return envTestBytes().Text(std::string(id, 4)).U32(declared).Text(contents).Str() +
           (pad && contents.size() % 2 ? std::string(1, '\0') : "");
}
inline std::string Chunk(const char* id, const std::string& contents) {
    return Chunk(id, contents, static_cast<u32>(contents.size()));
}

inline std::string Riff(const std::string& chunks, u32 declared) {
    return envTestBytes().Text("RIFF").U32(declared).Text("WAVE").Text(chunks).Str();
}
inline std::string Riff(const std::string& chunks) {
    return Riff(chunks, static_cast<u32>(4 + chunks.size()));
}

inline std::string FmtContents(u16 tag, u16 channels, u32 rate, u32 bytesPerSec, u16 align, u16 bits) {
    return envTestBytes().U16(tag).U16(channels).U32(rate).U32(bytesPerSec).U16(align).U16(bits).Str();
}
inline std::string Pcm(u16 channels, u32 rate, u16 bits) {
    const u16 align = static_cast<u16>(channels * bits / 8);
    return Chunk("fmt ", FmtContents(1, channels, rate, rate * align, align, bits));
}

inline std::string Samples16(const std::vector<i16>& samples) {
    envTestBytes out;
    for (i16 s : samples)
        out.Le(s);
    return out.Str();
}

// The canonical file: "fmt " then "data".
inline std::string Wave16(const std::vector<i16>& samples, u16 channels = 1, u32 rate = 22050) {
    return Riff(Pcm(channels, rate, 16) + Chunk("data", Samples16(samples)));
}

// Sample i is i % 32749 + 1: never 0, so silence shows as 0 and every sample tells its place.
inline std::vector<i16> Ramp(u32 count) {
    std::vector<i16> samples(count);
    for (u32 i = 0; i < count; ++i)
        samples[i] = static_cast<i16>(i % 32749 + 1);
    return samples;
}

} // namespace snWaveBuilder
