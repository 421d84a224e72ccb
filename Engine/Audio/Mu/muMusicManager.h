#pragma once
#include "Engine/Audio/Mu/muPlaylist.h"

#include <vector>

class snSoundJob;

// Background music from numbered playlists: one track at a time through a sound job of its own (a
// streamed WAV or MP3 music, in the music category 8), moving on when a track ends. The job belongs
// to the sound manager's active list, which pumps it; this manager only watches it.
class muMusicManager {
  public:
    // Flag bits.
    static constexpr u32 kAdvance = 1; // the next track follows when one ends
    static constexpr u32 kWrap = 2;    // the first track follows the last
    static constexpr u32 kOff = 4;     // music is off: nothing plays
    static constexpr u32 kPlaying = 8;
    static constexpr u32 kMusicCategory = 8;

    muMusicManager();
    virtual ~muMusicManager();
    muMusicManager(const muMusicManager&) = delete;
    muMusicManager& operator=(const muMusicManager&) = delete;

    // When the current track has ended: the next one, the first again, or stop.
    virtual void Update();
    virtual void Stop();
    // The current track, repeated without end when the playlist has fewer than two.
    virtual void PlayCurrent();
    virtual void EnsurePlaylist();
    // A step for one playlist, run for each at construction; the manager itself has nothing to do.
    virtual void PreparePlaylist(u32 /*index*/) {}

    // Appends empty playlists until there are n; never removes any.
    void SetPlaylistCount(u32 count);
    u32 GetPlaylistCount() const { return static_cast<u32>(m_playlists.size()); }
    // Ignored outside the playlists; the old current one becomes the previous one.
    void SetCurrentPlaylist(i32 index);
    i32 GetCurrentPlaylist() const { return m_current; }
    muPlaylist& GetPlaylist(u32 index) { return m_playlists.at(index); }

    // An ".m3u" or ".M3U" file replaces the playlist's tracks with its own; any other file (the empty
    // locator too, for silence) is appended as one track.
    void LoadPlaylist(const fsLocator& file, u32 index);
    void ClearPlaylist(u32 index);
    void SetShuffle(u32 index, bool on);
    bool IsShuffled(u32 index) const;
    // The current playlist's job gets the volume at once.
    void SetPlaylistVolume(u32 index, f32 volume);

    // Of the current playlist.
    i32 GetTrackCount() const;
    // Moves the position by one; false at the end or the start.
    bool NextTrack();
    bool PreviousTrack();
    // Any position: one outside the tracks plays silence.
    void SetTrack(i32 position);
    i32 GetTrack() const { return CurrentList().position; }

    // Plays the current track with the loop count (see snSoundJob::SetLoopCount). An empty track
    // stops the music. A track whose file is missing or cannot be played is warned about and the next
    // one is tried as if it had ended; when none plays, the music stops. Nothing is thrown.
    void PlayTrack(i32 loops);
    void Pause();
    void Resume();
    void ReleaseJob();

    u32 GetFlags() const { return m_flags; }
    void SetFlags(u32 flags) { m_flags = flags; }
    // The job of the current track; null when there is none or the sound manager has deleted it.
    snSoundJob* GetJob() const;

  private:
    // Starts the current track; false when its file cannot be played (the job is released then).
    bool StartTrack(i32 loops);
    // To the track that follows the current one by the flags: the next, or the first after the last
    // when wrapping. False when the music should stop instead.
    bool AdvanceTrack();

    muPlaylist& CurrentList() { return m_playlists[static_cast<size_t>(m_current)]; }
    const muPlaylist& CurrentList() const { return m_playlists[static_cast<size_t>(m_current)]; }

    std::vector<muPlaylist> m_playlists;
    i32 m_current = 0;
    u32 m_flags = kAdvance | kWrap;
    snSoundJob* m_job = nullptr;
};

// The program's one music manager: installed by the audio start-up, deleted by its stop.
void muSetMusicManager(muMusicManager* manager);
muMusicManager* muGetMusicManager();
void muDestroyMusicManager();
