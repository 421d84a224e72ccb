// Writes the default sounds of the game under a data folder: the interface and effect sounds, the ride
// sounds of the "Steel" type, the screams, the music and the default theme's fanfare; and the "Wooden"
// type's ride sounds into the folder its pak is made from:
//   lvSoundGenerator <data folder> <Wooden pak folder>
#include "Tools/Sound/toolDefaultSounds.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lvSoundGenerator <data folder> <Wooden pak folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteDefaultSounds(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvSoundGenerator: %s\n", e.what());
        return 1;
    }
    return 0;
}
