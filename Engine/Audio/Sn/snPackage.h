#pragma once
#include "Engine/App/Fs/fsLocator.h"

// The error text package of sound.
constexpr u32 snErrorPackage = 14;

// Reference-counted start and stop of the sound package. The first start starts dbg, builds the
// attenuation table and registers "snErrors.tsf"; the last stop stops dbg. Neither touches the sound
// device: the game's audio start-up calls snStartSoundSystem.
void snInit();
void snShutdown();
u32 snGetInitCount();

// Whether the file's last component names a WAV file: at least five characters ending in ".wav" in
// any case ("a.WaV" is one, ".wav" is not).
bool snIsWavFile(const fsLocator& file);
