#pragma once
#include "Engine/App/Fs/fsLocator.h"

// Background music by context: the menus, the builder, the ride and a second building context each
// choose among six playlists of the music manager (four shipped ones, the player's own track, silence)
// with their own volume and on/off preferences. Modes request a context when they start and apply it.
// Context c's choice k is the manager's playlist c x 6 + k.
inline constexpr int coMusicMenu = 0;
inline constexpr int coMusicBuilder = 1;
inline constexpr int coMusicRide = 2;
// Follows the builder's choice and own track.
inline constexpr int coMusicSecondBuilder = 3;
inline constexpr int coMusicContextCount = 4;

inline constexpr int coMusicChoiceCount = 6;
inline constexpr int coMusicOwnTrack = 4;
inline constexpr int coMusicSilence = 5;

// At audio start: installs a music manager when none is, fills its 24 playlists from root 15 (".mp3"
// names with session flag 4, else ".wav"), and takes the builder's choice, own track and shuffle and the
// volumes from the preferences. No context is current afterwards; the ride starts silent.
void coMusicStart();
// At application stop: the builder's choice, own track and own-track shuffle go to the preferences,
// which are saved only when one of them changed.
void coMusicSaveSettings();

// The new current context (-1: none); the old one becomes the previous, and no longer counts as paused.
// Nothing plays until applied. A context outside 0 to 3 is ignored.
void coMusicRequestContext(int context);
int coMusicGetContext();
// Switches the music to the current context. A track that cannot be played leaves the music silent
// with a warning.
void coMusicApplyContext(bool restart);
// Stops the manager and destroys its job; the current context becomes idle.
void coMusicStop();
// Only a playing context pauses and only a paused one resumes.
void coMusicPause();
void coMusicResume();
// While disabled, starting a track does nothing.
void coMusicSetDisabled(bool disabled);

// In the accessors below a negative context means the current one; a context that does not exist is
// ignored (its choice reads as silence, its own track as empty), and a choice outside 0 to 5 becomes 0.
void coMusicSetChoice(int context, int choice);
int coMusicGetChoice(int context);
fsLocator coMusicGetOwnTrack(int context);
void coMusicSetOwnTrack(int context, const fsLocator& track);
// The playlist of the context's current choice.
void coMusicClearPlaylist(int context);
void coMusicClearChoicePlaylist(int choice, int context);
// Choice -1: the context's current choice.
void coMusicAddTrack(const fsLocator& track, int context, int choice);
void coMusicSetShuffle(int context, int choice, bool shuffle);
// Every playlist at its context's volume preference.
void coMusicApplyVolumes();
// The volume of the manager's current playlist.
void coSetMusicVolume(float volume);

// Once a frame: the previous / next track and shuffle keys when the current playlist has more than one
// track, then the manager's update.
void coMusicHandleKeys();
