// Writes an ".mp3" twin beside every music and voice ".wav" of a data folder, for the game's "/mp3":
//   lvMp3TwinWriter <data folder>
#include "Tools/Media/toolMp3Twins.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvMp3TwinWriter <data folder>\n", stderr);
        return 2;
    }
    try {
        const std::filesystem::path data(argv[1]);
        for (const char* folder : {"Data/Music", "Data/Voice"})
            if (toolWriteMp3Twins((data / folder).string()) == 0)
                throw std::runtime_error(std::string("no sound in ") + folder);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvMp3TwinWriter: %s\n", e.what());
        return 1;
    }
    return 0;
}
