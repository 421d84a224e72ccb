// Writes the default park world under a data folder: the "Mountain" and "cavern" environments, the "Ironvale"
// dock and the target rings' textures:
//   lvWorldGenerator <data folder>
#include "Engine/Core/Env/envExceptionX.h"
#include "Tools/World/toolParkWorld.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvWorldGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteMountain(argv[1]);
        toolWriteCavern(argv[1]);
        toolWriteIronvaleDock(argv[1]);
        toolWriteRingTextures(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvWorldGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvWorldGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
