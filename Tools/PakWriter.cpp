// Packs every file under a folder into a pak of stored entries, named by their paths in the folder:
//   lvPakWriter <folder> <output.pak>
#include "Tools/Pak/toolPakWriter.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lvPakWriter <folder> <output.pak>\n", stderr);
        return 2;
    }
    try {
        toolWritePak(argv[2], toolCollectPakEntries(argv[1]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvPakWriter: %s\n", e.what());
        return 1;
    }
    return 0;
}
