#include "Engine/Platform/Sound/plSoundTypes.h"

bool plIsPlayableFormat(const plWaveFormat& f) {
    return f.formatTag == 1 && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) &&
           f.blockAlign == f.channels * f.bitsPerSample / 8 &&
           f.samplesPerSec >= plSoundLimits::FrequencyMin && f.samplesPerSec <= plSoundLimits::FrequencyMax &&
           f.avgBytesPerSec == f.samplesPerSec * f.blockAlign;
}
