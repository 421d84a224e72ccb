#pragma once
#include "Engine/Platform/Sound/plSoundDevice.h"

// The real backend: the mixer runs in an SDL audio callback on the driver that SDL_AUDIODRIVER
// chooses (the disk and dummy drivers serve headless runs).
class plSdlSoundDevice : public plSoundDevice {
  public:
    plSdlSoundDevice() = default;
    ~plSdlSoundDevice() override;

  protected:
    u32 OpenOutput() override;
    void CloseOutput() override;
    void RunOutput(bool running) override;

  private:
    static void Callback(void* mixer, unsigned char* stream, int bytes);

    u32 m_device = 0;
};
