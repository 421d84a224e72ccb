// Writes the default models of the game into a folder: lvModelGenerator <folder>
#include "Tools/Model/toolModels.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvModelGenerator <folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteDefaultModels(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvModelGenerator: %s\n", e.what());
        return 1;
    }
    return 0;
}
