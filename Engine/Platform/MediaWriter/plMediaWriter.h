#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// Writers of compressed media: the content tools make the intro movies and the MP3 twins of the music and
// voices with them, and the media tests their fixtures.

// An MP3 file of interleaved 16-bit samples (1 or 2 channels) at the bit rate. False on failure.
bool plWriteMp3File(const std::string& path, const std::vector<i16>& samples, u32 rate, u32 channels,
                    u32 bitRate = 128000);

// What a movie file holds: RGBA frames of one size at a whole frame rate, and optionally a sound
// track of interleaved 16-bit samples.
struct plMovieContent {
    u32 width = 0;
    u32 height = 0;
    u32 frameRate = 0;
    std::vector<std::vector<u8>> frames;
    u32 audioRate = 0;
    u32 audioChannels = 0;
    std::vector<i16> audio;
};

// An AVI file of MPEG-4 video at high quality and PCM sound. Without frames it holds the sound
// alone. False on failure.
bool plWriteMovieFile(const std::string& path, const plMovieContent& content);
