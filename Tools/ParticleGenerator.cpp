// Writes the default particle effects of the game under a data folder:
//   lvParticleGenerator <data folder>
#include "Engine/Core/Env/envExceptionX.h"
#include "Tools/Particle/toolParticleTemplates.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvParticleGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteParticleEffects(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvParticleGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvParticleGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
