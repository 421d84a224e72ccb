#pragma once
#include "Engine/Platform/Sound/plSoundTypes.h"

#include <memory>
#include <vector>

class plSoundMixer;
struct plSoundVoice;

// A secondary sound buffer: a voice of the mixer, shaped like the buffer interface the sound package
// was written for. Every call returns a plSoundResult code. Positions and sizes are in bytes.
// The frame thread owns it; the mixer reads its voice under the mixer's lock.
class plSoundBuffer {
  public:
    plSoundBuffer(std::shared_ptr<plSoundMixer> mixer, std::shared_ptr<plSoundVoice> voice);
    ~plSoundBuffer();
    plSoundBuffer(const plSoundBuffer&) = delete;
    plSoundBuffer& operator=(const plSoundBuffer&) = delete;

    // plSoundStatus bits: playing, looping, lost.
    u32 GetStatus(u32& status) const;
    // Plays from the cursor, once or (plSoundPlayLooping) round and round. A lost buffer refuses.
    u32 Play(u32 flags);
    u32 Stop();
    u32 GetCurrentPosition(u32& playCursor) const;
    u32 SetCurrentPosition(u32 position);

    // Each control needs its flag at creation (ControlUnavail otherwise) and refuses values out of
    // its range (InvalidParam); see plSoundLimits.
    u32 SetVolume(i32 volume);
    u32 GetVolume(i32& volume) const;
    u32 SetPan(i32 pan);
    u32 GetPan(i32& pan) const;
    u32 SetFrequency(u32 frequency);
    // The playing rate: the format's own while the frequency is at its original value.
    u32 GetFrequency(u32& frequency) const;

    // Hands out a staging copy of bytes at offset, split in two where it wraps past the end; the
    // bytes written there reach the sound data at Unlock, under the mixer's lock. One lock at a time.
    u32 Lock(u32 offset, u32 bytes, void*& first, u32& firstBytes, void*& second, u32& secondBytes);
    // Takes the pointers that Lock handed out and how many bytes of each were written.
    u32 Unlock(void* first, u32 firstBytes, void* second, u32 secondBytes);

    u32 GetSize() const { return m_size; }
    // The voice, for the device to make duplicates that share its data.
    const std::shared_ptr<plSoundVoice>& GetVoice() const { return m_voice; }

  private:
    bool HasControl(u32 flag) const;

    std::shared_ptr<plSoundMixer> m_mixer;
    std::shared_ptr<plSoundVoice> m_voice;
    plWaveFormat m_format;
    u32 m_size;
    std::vector<u8> m_staging;
    bool m_locked = false;
    u32 m_lockOffset = 0;
    u32 m_lockFirst = 0;
    u32 m_lockSecond = 0;
};
