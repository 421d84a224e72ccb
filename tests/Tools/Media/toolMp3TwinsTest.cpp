#include "Tools/Media/toolMp3Twins.h"

#include "Tools/Sound/toolSoundSynth.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::string Le(u32 value, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// A WAV of the given "fmt " fields and data bytes, chunks in the order given.
std::string Wave(u16 format, u16 channels, u16 bits, const std::string& data, bool dataFirst = false) {
    const std::string fmt = "fmt " + Le(16, 4) + Le(format, 2) + Le(channels, 2) + Le(22050, 4) +
                            Le(22050 * channels * bits / 8, 4) + Le(channels * bits / 8, 2) + Le(bits, 2);
    const std::string samples = "data" + Le(static_cast<u32>(data.size()), 4) + data;
    const std::string body = "WAVE" + (dataFirst ? samples + fmt : fmt + samples);
    return "RIFF" + Le(static_cast<u32>(body.size()), 4) + body;
}

TEST(toolMp3Twins, TheWaveReaderTakesPcm16AndNamesWhatElseItMeets) {
    const std::vector<i16> tone = toolSynthesize({toolSoundKind::Tone, 440.0f, 0.1f, false}, 1);
    const toolWave read = toolParseWave(toolBuildWave(tone));
    EXPECT_EQ(std::tuple(read.rate, read.channels), std::tuple(22050u, 1u));
    EXPECT_EQ(read.samples, tone);
    // A chunk of its own before the samples is stepped over, padding byte and all.
    const std::string listed = Wave(1, 2, 16, "abcd");
    const std::string extra = listed.substr(0, 36) + "LIST" + Le(3, 4) + "xyz" + '\0' + listed.substr(36);
    EXPECT_EQ(toolParseWave(extra).samples.size(), 2u);

    const std::string good = Wave(1, 1, 16, "abcd");
    const struct {
        std::string bytes;
        const char* what;
    } bad[] = {
        {"", "no RIFF WAVE header"},
        {good.substr(0, 30), "runs past the end"},
        {good.substr(0, good.size() - 1), "runs past the end"},
        {Wave(3, 1, 16, "abcd"), "not 16-bit PCM"},
        {Wave(1, 1, 8, "abcd"), "not 16-bit PCM"},
        {Wave(1, 3, 16, "abcdef"), "not one or two channels"},
        {Wave(1, 1, 16, "abcd", true), "samples before their format"},
        {good.substr(0, 36), "no samples"},
    };
    for (const auto& c : bad) {
        try {
            toolParseWave(c.bytes);
            ADD_FAILURE() << c.what;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(c.what), std::string::npos) << e.what();
        }
    }
}

} // namespace
