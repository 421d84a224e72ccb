#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// Plain synthesised sounds for the default content, as canonical PCM WAV files (22050 Hz, mono, 16-bit).
inline constexpr u32 toolSampleRate = 22050;

enum class toolSoundKind {
    Tone,   // a sine at the frequency
    Noise,  // white noise low-passed at the frequency
    Clicks, // short noise bursts, frequency of them a second
    Melody, // a major arpeggio on the frequency over a bass, four notes a second
};

struct toolSoundSpec {
    toolSoundKind kind;
    float frequency;
    float seconds;
    // A loop sustains at full level from end to end (a tone in whole cycles); any other sound starts
    // quickly and dies away.
    bool loop;
};

// The samples of the sound; noise comes from the seed, so the same spec and seed give the same sound.
std::vector<i16> toolSynthesize(const toolSoundSpec& spec, u32 seed);

// The 44-byte canonical header ("RIFF", "WAVE", a 16-byte "fmt " chunk, "data") and the samples.
std::string toolBuildWave(const std::vector<i16>& samples);
