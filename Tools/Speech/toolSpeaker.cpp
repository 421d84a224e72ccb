#include "Tools/Speech/toolSpeaker.h"

#include "Tools/Sound/toolSoundSynth.h"

#include <espeak-ng/speak_lib.h>

#include <stdexcept>

namespace {

// Called with each piece of the sound; the text's sample buffer rides along as the events' user data.
int TakeSamples(short* samples, int count, espeak_EVENT* events) {
    if (samples && count > 0) {
        auto* out = static_cast<std::vector<i16>*>(events->user_data);
        out->insert(out->end(), samples, samples + count);
    }
    return 0;
}

} // namespace

toolSpeaker::toolSpeaker() {
    // Synchronous: espeak_Synth returns once every sample went through the callback. DONT_EXIT: a
    // failure is reported here instead of ending the process.
    const int rate = espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    if (rate != static_cast<int>(toolSampleRate)) {
        if (rate > 0)
            espeak_Terminate();
        throw std::runtime_error("the speech synthesiser cannot be started at " +
                                 std::to_string(toolSampleRate) + " Hz (it answered " + std::to_string(rate) +
                                 ")");
    }
    espeak_SetSynthCallback(TakeSamples);
    if (espeak_SetVoiceByName("en") != EE_OK) {
        espeak_Terminate();
        throw std::runtime_error("the speech synthesiser has no English voice");
    }
}

toolSpeaker::~toolSpeaker() {
    espeak_Terminate();
}

std::vector<i16> toolSpeaker::Speak(const std::string& text) {
    std::vector<i16> samples;
    const espeak_ERROR result =
        espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr, &samples);
    if (result != EE_OK || samples.empty())
        throw std::runtime_error("the speech synthesiser could not speak \"" + text + "\"");
    return samples;
}
