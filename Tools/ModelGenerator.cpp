// Writes the default models of the game under a data folder:
//   lvModelGenerator <data folder>
#include "Tools/Model/toolDefaultModels.h"

#include "Engine/Core/Env/envExceptionX.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvModelGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteDefaultModels(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvModelGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvModelGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
