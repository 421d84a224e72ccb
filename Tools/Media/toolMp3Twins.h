#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <string_view>
#include <vector>

// The samples of a PCM WAV file (16-bit, one or two channels, interleaved) and their rate.
struct toolWave {
    u32 rate = 0;
    u32 channels = 0;
    std::vector<i16> samples;
};

// Reads the bytes of a WAV file; anything but 16-bit PCM of one or two channels, or bytes that run short,
// throws std::runtime_error naming what is wrong.
toolWave toolParseWave(std::string_view bytes);

// The bit rate of the twins: the game's sounds are mono at 22050 Hz, which this keeps clear at a fifth of
// the WAV's size.
inline constexpr u32 toolMp3TwinBitRate = 64000;

// Writes beside every ".wav" file under the folder (and its sub-folders) an ".mp3" file of the same sound,
// which the game plays with "/mp3". Returns how many were written.
u32 toolWriteMp3Twins(const std::string& folder);
