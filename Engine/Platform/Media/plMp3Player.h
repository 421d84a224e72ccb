#pragma once
#include "Engine/Platform/Media/plMediaEvents.h"
#include "Engine/Platform/Media/plMp3Decoder.h"
#include "Engine/Platform/Media/plStreamVoice.h"

#include <deque>
#include <memory>
#include <string>

class plSoundDevice;

// The program's one MP3 player, shared by whoever holds it: Acquire makes it when nobody does, and it
// goes with the last holder. One file plays at a time, decoded into a stream voice of the sound device.
// Whoever set the source owns what plays; the end of the file is told to that owner alone.
// The player runs on the frame: GetEvent keeps the voice filled, so poll it every frame.
class plMp3Player {
  public:
    static std::shared_ptr<plMp3Player> Acquire(plSoundDevice& device);

    // The decoder comes from the installed media decoders.
    explicit plMp3Player(plSoundDevice& device);
    plMp3Player(const plMp3Player&) = delete;
    plMp3Player& operator=(const plMp3Player&) = delete;

    // Replaces what plays with the file, stopped at its start. A file that cannot be decoded plays
    // as nothing (it ends as soon as it runs); false then.
    bool SetSource(const std::string& path, const void* owner);
    // Stops and forgets the source.
    void ClearSource();
    bool IsOwner(const void* owner) const { return m_owner != nullptr && m_owner == owner; }

    void Run();
    void Pause();
    // Halts where it is; SeekToStart and Run play it again.
    void Stop();
    void SeekToStart();
    // Hundredths of a decibel, -10000 to 0; kept for later sources.
    void SetVolume(i32 volume);

    // Keeps the stream going and hands out the next event; false when none is waiting.
    bool GetEvent(i32& code);

  private:
    plSoundDevice& m_device;
    std::unique_ptr<plMp3Decoder> m_decoder;
    std::unique_ptr<plStreamVoice> m_voice;
    const void* m_owner = nullptr;
    std::deque<i32> m_events;
    i32 m_volume = 0;
    bool m_running = false;
    bool m_completed = false;
};
