#pragma once
#include "Engine/Platform/Sound/plSoundBuffer.h"
#include "Engine/Platform/Sound/plSoundTypes.h"

#include <memory>

class plSoundMixer;

// The program's sound output, shaped like the sound interface the sound package was written for:
// open it, give the primary buffer its format and play it, then create secondary buffers that the
// one mixer behind it plays. A backend moves the mixer's output to a device (or to memory).
class plSoundDevice {
  public:
    virtual ~plSoundDevice();
    plSoundDevice(const plSoundDevice&) = delete;
    plSoundDevice& operator=(const plSoundDevice&) = delete;

    // Reaches the default output for this program, in the current output format; NoDriver when
    // there is none.
    u32 Open();
    // Stops the output and forgets the primary buffer. Buffers still held stay valid and go quiet.
    void Close();
    bool IsOpen() const { return m_open; }

    virtual u32 CreatePrimaryBuffer();
    // The output format: PCM, 16 bits, 1 or 2 channels (BadFormat otherwise). The output is reached
    // again in it; when that fails the device is closed.
    u32 SetPrimaryFormat(const plWaveFormat& format);
    u32 PlayPrimary();

    // A secondary buffer of whole silence in a playable format (BadFormat otherwise).
    virtual u32 CreateBuffer(const plSoundBufferDesc& desc, std::unique_ptr<plSoundBuffer>& out);
    // A buffer on the same sound data with its own cursor and controls, stopped at the start; it
    // takes the original's volume, pan and frequency as they are now.
    u32 DuplicateBuffer(const plSoundBuffer& original, std::unique_ptr<plSoundBuffer>& out);

    // The output is silent while the program's window is inactive; buffers play on.
    void SetApplicationActive(bool active);

  protected:
    plSoundDevice();

    // The backend: reach the device in the mixer's format with the mixer idle, let it go, and run
    // or idle the mixer on it.
    virtual u32 OpenOutput() = 0;
    virtual void CloseOutput() = 0;
    virtual void RunOutput(bool running) = 0;

    plSoundMixer& GetMixer() { return *m_mixer; }

  private:
    std::shared_ptr<plSoundMixer> m_mixer;
    bool m_open = false;
    bool m_hasPrimary = false;
    bool m_primaryPlaying = false;
};
