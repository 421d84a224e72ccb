#pragma once
#include "Tools/Sound/toolSoundSynth.h"

#include <string>
#include <vector>

// One sound file of the default content: its path under the data folder and what it sounds like.
struct toolDefaultSound {
    std::string path;
    toolSoundSpec spec;
};

// The interface and effect sounds, the ride sounds of the "Steel" type, the screams, the music, the
// mountain's ambient loop; the voice-overs are spoken by lvVoiceGenerator.
std::vector<toolDefaultSound> toolDefaultSounds();
// The ride sounds of a coaster type, named by file name as its pak holds them.
std::vector<toolDefaultSound> toolRideSounds();

// Writes every default sound under the data folder, and the ride sounds into the folder the "Wooden"
// type's pak is made from.
void toolWriteDefaultSounds(const std::string& dataFolder, const std::string& woodenFolder);
