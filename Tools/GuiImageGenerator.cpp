// Writes the GUI toolkit's default skin under a data folder:
//   lvGuiImageGenerator <data folder>
#include "Tools/Image/toolGuiSkin.h"

#include "Engine/Core/Env/envExceptionX.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvGuiImageGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        toolWriteGuiSkin(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvGuiImageGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvGuiImageGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
