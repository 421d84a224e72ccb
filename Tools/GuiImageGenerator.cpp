// Writes the game screens' pictures and the GUI toolkit's default skin under a data folder:
//   lvGuiImageGenerator <data folder>
#include "Tools/Image/toolGuiSkin.h"
#include "Tools/Image/toolScreenPictures.h"

#include "Engine/Core/Env/envExceptionX.h"

#include <cstdio>
#include <exception>
#include <filesystem>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: lvGuiImageGenerator <data folder>\n", stderr);
        return 2;
    }
    try {
        for (const toolDefaultTexture& picture : toolScreenPictures()) {
            const std::filesystem::path path = std::filesystem::path(argv[1]) / picture.path;
            std::filesystem::create_directories(path.parent_path());
            toolWritePng(path.string(), picture.image);
        }
        // The skin last: its badge stands for every file written here.
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
