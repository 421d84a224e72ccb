#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <vector>

// One playlist: music files with a current position, an optional shuffled order and a volume.
struct muPlaylist {
    std::vector<fsLocator> tracks;
    // Indices into the tracks, used only while shuffled.
    std::vector<u32> order;
    // Into the tracks, or into the order while shuffled.
    i32 position = 0;
    f32 volume = 1.0f;
    bool shuffle = false;

    // The track at the position; the empty locator (silence) when the position or the order points
    // past the tracks.
    const fsLocator& GetCurrentTrack() const;
    // Appends a track; a shuffled list is shuffled anew.
    void AddTrack(const fsLocator& track);
    // On: the order becomes a fresh permutation of the tracks. Off: the order is dropped.
    void SetShuffle(bool on);
    void Clear();
};

// Whether the name ends in ".m3u" or ".M3U" (no other mix of cases).
bool muIsPlaylistFile(const fsLocator& file);

// Reads an ".m3u" file into the playlist, clearing it first when asked. Lines are ended by CR, LF or
// both; blank lines and lines starting with "#" are skipped, and a byte-order mark is dropped. A line
// starting with "/", "\" or a drive letter and colon is a full path; any other is relative to the
// playlist's folder. "/" and "\" both separate folders. Throws fsFileDoesntExistX for a missing file
// and snUnsupportedPlaylistTypeX for another kind of file.
void muReadPlaylistFile(const fsLocator& file, muPlaylist& playlist, bool clearFirst);
