#include "Tools/Media/toolMp3Twins.h"

#include "Engine/Platform/MediaWriter/plMediaWriter.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

namespace fs = std::filesystem;

u32 Little(std::string_view bytes, size_t at, size_t size) {
    u32 value = 0;
    for (size_t i = 0; i < size; ++i)
        value |= static_cast<u32>(static_cast<u8>(bytes[at + i])) << (8 * i);
    return value;
}

} // namespace

toolWave toolParseWave(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE")
        throw std::runtime_error("no RIFF WAVE header");
    toolWave wave;
    bool format = false;
    for (size_t at = 12; at + 8 <= bytes.size();) {
        const std::string_view id = bytes.substr(at, 4);
        const u32 size = Little(bytes, at + 4, 4);
        const size_t body = at + 8;
        if (size > bytes.size() - body)
            throw std::runtime_error("the \"" + std::string(id) + "\" chunk runs past the end");
        if (id == "fmt ") {
            if (size < 16 || Little(bytes, body, 2) != 1 || Little(bytes, body + 14, 2) != 16)
                throw std::runtime_error("not 16-bit PCM");
            wave.channels = Little(bytes, body + 2, 2);
            wave.rate = Little(bytes, body + 4, 4);
            if (wave.channels < 1 || wave.channels > 2 || wave.rate == 0)
                throw std::runtime_error("not one or two channels at a rate");
            format = true;
        } else if (id == "data") {
            if (!format)
                throw std::runtime_error("samples before their format");
            wave.samples.resize(size / 2);
            std::memcpy(wave.samples.data(), bytes.data() + body, wave.samples.size() * 2);
            return wave;
        }
        at = body + size + (size & 1);
    }
    throw std::runtime_error("no samples");
}

u32 toolWriteMp3Twins(const std::string& folder) {
    u32 written = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() || entry.path().extension() != ".wav")
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        toolWave wave;
        try {
            wave = toolParseWave(bytes);
        } catch (const std::runtime_error& e) {
            throw std::runtime_error(entry.path().string() + ": " + e.what());
        }
        fs::path twin = entry.path();
        twin.replace_extension(".mp3");
        if (!plWriteMp3File(twin.string(), wave.samples, wave.rate, wave.channels, toolMp3TwinBitRate))
            throw std::runtime_error("could not write " + twin.string());
        ++written;
    }
    return written;
}
