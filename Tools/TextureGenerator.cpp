// Writes the default textures of the game under a data folder, and the "Wooden" type's into the folder
// its pak is made from:
//   lvTextureGenerator <data folder> <Wooden pak folder>
#include "Tools/Image/toolDefaultTextures.h"

#include "Engine/Core/Env/envExceptionX.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lvTextureGenerator <data folder> <Wooden pak folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteDefaultTextures(argv[1], argv[2]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvTextureGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvTextureGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
