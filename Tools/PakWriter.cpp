// Packs every file under a folder into a pak of stored entries, named by their paths in the folder:
//   lvPakWriter <folder> <output.pak>
#include "Engine/Core/Env/envExceptionX.h"
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
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvPakWriter: %s: cannot be written (error 0x%08X)\n", argv[2], e.GetCode());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvPakWriter: %s\n", e.what());
        return 1;
    }
    return 0;
}
