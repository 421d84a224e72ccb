// Writes the default models of the game under a data folder:
//   lvModelGenerator <data folder> <folder of the "Wooden" pak's files>
#include "Engine/Core/Env/envExceptionX.h"
#include "Tools/Model/toolAnimatedModels.h"
#include "Tools/Model/toolDefaultModels.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lvModelGenerator <data folder> <wooden pak folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteDefaultModels(argv[1]);
        toolWriteWoodenModels(argv[2]);
        const std::filesystem::path geometry = std::filesystem::path(argv[1]) / "Data" / "Geom";
        std::filesystem::create_directories(geometry);
        toolWriteAnimatedModels(geometry.string());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvModelGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvModelGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
