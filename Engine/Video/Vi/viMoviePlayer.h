#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>

// The movie player's link to the platform: whether a movie may be skipped, and the Space key.
class viMovieBackend {
  public:
    // Flag bit 3: the movie may be skipped with Space.
    static constexpr u8 kSkippable = 0x08;

    virtual ~viMovieBackend() = default;
    // Lets go of what a movie left behind; a movie holds nothing once it has returned.
    virtual void Release() {}
    // Whether Space is down or was pressed since the last query.
    virtual bool IsSkipRequested();

    bool IsSkippable() const { return (m_flags & kSkippable) != 0; }
    void SetSkippable(bool skippable);

    // Three settings the back end carries for its owner beside the flags; playing reads none of them.
    i32 setting1 = 1;
    f32 setting2 = 1.0f;
    i32 setting3 = 0;

  private:
    u8 m_flags = 0x0B;
};

// Plays movie files full screen over the program's window, each to its end (or until the player
// skips it with Space) before Play returns. Nothing of the game runs meanwhile.
class viMoviePlayer {
  public:
    viMoviePlayer();
    virtual ~viMoviePlayer();
    viMoviePlayer(const viMoviePlayer&) = delete;
    viMoviePlayer& operator=(const viMoviePlayer&) = delete;

    // A file that is missing or cannot be shown returns at once.
    void Play(const fsLocator& file);
    virtual void Close();

    viMovieBackend* GetBackend() const { return m_backend.get(); }

  private:
    std::unique_ptr<viMovieBackend> m_backend;
};

// Plays one movie with the backend's skip setting; returns when it has ended, was skipped, or could
// not be played.
void viPlayMovieFile(viMovieBackend& backend, const fsLocator& file);
