// Writes the default sounds of the game under a data folder: the interface and effect sounds, the ride
// sounds of the "Steel" type and "Tracks/Wooden.pak", the screams and the music:
//   lvSoundGenerator <data folder>
#include "Tools/Sound/toolDefaultSounds.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvSoundGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteDefaultSounds(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvSoundGenerator: %s\n", e.what());
        return 1;
    }
    return 0;
}
