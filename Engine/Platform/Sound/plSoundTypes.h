#pragma once
#include "Engine/Core/Env/envTypes.h"

// The vocabulary of the sound device: its result codes, sample formats and buffer flags, with the
// values of the Windows sound interface that the sound package was written against.

namespace plSoundResult {
constexpr u32 Ok = 0;
constexpr u32 Generic = 0x80004005;
constexpr u32 OutOfMemory = 0x8007000E;
constexpr u32 InvalidParam = 0x80070057;
constexpr u32 ControlUnavail = 0x8878001E;
constexpr u32 InvalidCall = 0x88780032;
constexpr u32 BadFormat = 0x88780064;
constexpr u32 NoDriver = 0x88780078;
constexpr u32 BufferLost = 0x88780096;
constexpr u32 Uninitialized = 0x887800AA;
} // namespace plSoundResult

// The PCM part of a wave format record.
struct plWaveFormat {
    u16 formatTag = 1;
    u16 channels = 0;
    u32 samplesPerSec = 0;
    u32 avgBytesPerSec = 0;
    u16 blockAlign = 0;
    u16 bitsPerSample = 0;
};

// What the mixer plays: PCM, 1 or 2 channels of 8 (unsigned) or 16 (signed) bits, whole frames,
// a rate the frequency control accepts, and a byte rate that agrees with it.
bool plIsPlayableFormat(const plWaveFormat& format);

namespace plSoundFlags {
constexpr u32 PrimaryBuffer = 0x1;
constexpr u32 Static = 0x2;
constexpr u32 CtrlFrequency = 0x20;
constexpr u32 CtrlPan = 0x40;
constexpr u32 CtrlVolume = 0x80;
constexpr u32 GetCurrentPosition2 = 0x10000;
} // namespace plSoundFlags

// Bits of a buffer's status word, and the flag of Play.
namespace plSoundStatus {
constexpr u32 Playing = 0x1;
constexpr u32 BufferLost = 0x2;
constexpr u32 Looping = 0x4;
} // namespace plSoundStatus
constexpr u32 plSoundPlayLooping = 0x1;

// Ranges of the buffer controls: volume in hundredths of a decibel, pan in hundredths of a decibel
// taken off the other channel, frequency in Hz with 0 meaning the buffer's own rate.
namespace plSoundLimits {
constexpr i32 VolumeMin = -10000;
constexpr i32 VolumeMax = 0;
constexpr i32 PanLeft = -10000;
constexpr i32 PanRight = 10000;
constexpr u32 FrequencyMin = 100;
constexpr u32 FrequencyMax = 100000;
constexpr u32 FrequencyOriginal = 0;
constexpr u32 BufferBytesMax = 0x0FFFFFFF;
} // namespace plSoundLimits

struct plSoundBufferDesc {
    u32 flags = 0;
    u32 bufferBytes = 0;
    plWaveFormat format;
};
