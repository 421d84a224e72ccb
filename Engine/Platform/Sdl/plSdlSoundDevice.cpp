#include "Engine/Platform/Sdl/plSdlSoundDevice.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Sound/plSoundMixer.h"

#include <SDL.h>

#include <cstring>

namespace {

// About 23 ms at 22050 Hz: the cursor moves in blocks of this many frames.
constexpr Uint16 kCallbackFrames = 512;

} // namespace

plSdlSoundDevice::~plSdlSoundDevice() {
    Close();
}

// SDL converts to whatever the device takes, so the callback always receives the mixer's format.
u32 plSdlSoundDevice::OpenOutput() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        DBG_WARNING("no audio output: %s", SDL_GetError());
        return plSoundResult::NoDriver;
    }
    plSoundMixer& mixer = GetMixer();
    SDL_AudioSpec want{};
    want.freq = static_cast<int>(mixer.GetOutputRate());
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(mixer.GetOutputChannels());
    want.samples = kCallbackFrames;
    want.callback = &plSdlSoundDevice::Callback;
    want.userdata = &mixer;
    SDL_AudioSpec have{};
    m_device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (m_device == 0) {
        DBG_WARNING("audio device not opened: %s", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return plSoundResult::NoDriver;
    }
    return plSoundResult::Ok;
}

void plSdlSoundDevice::CloseOutput() {
    SDL_CloseAudioDevice(m_device);
    m_device = 0;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void plSdlSoundDevice::RunOutput(bool running) {
    SDL_PauseAudioDevice(m_device, running ? 0 : 1);
}

// Nothing may leave through SDL's C frames: a mixer that cannot run (its lock refused) plays silence.
void plSdlSoundDevice::Callback(void* mixer, unsigned char* stream, int bytes) {
    auto& target = *static_cast<plSoundMixer*>(mixer);
    const u32 frameBytes = 2 * target.GetOutputChannels();
    try {
        target.Mix(reinterpret_cast<i16*>(stream), static_cast<u32>(bytes) / frameBytes);
    } catch (...) {
        std::memset(stream, 0, static_cast<size_t>(bytes));
    }
}
