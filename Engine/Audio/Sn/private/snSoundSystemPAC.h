#pragma once
#include "Engine/Platform/Sound/plSoundBuffer.h"

#include <memory>

class plSoundDevice;

// The installed sound device (plServices).
plSoundDevice& snGetSoundDevice();
// A secondary buffer; a device failure throws snSoundSystemBufferCreateFailedX.
std::unique_ptr<plSoundBuffer> snCreateSoundBuffer(const plSoundBufferDesc& desc);

// The name of a device result code, "Unknown Error" for codes outside the table.
const char* snDSErrorName(u32 result);
// A failed device call that the sound package goes on from: its name goes to the debug log.
void snLogDSError(u32 result);

// The attenuation table: entry k (0..100) in hundredths of a decibel, -10000 at 0 and 0 at 100.
// Indices outside the table are clamped to it.
i32 snAttenuation(i32 percent);
// The table entry of a linear volume: index trunc(100 x volume); below 0, NaN included, is silence.
i32 snVolumeToAttenuation(f32 volume);
