// Writes the game screens' pictures and the GUI toolkit's default skin under a data folder; the captions
// lettered into faces come from a text-set source (0: the credits' Ok):
//   lvGuiImageGenerator <data folder> <captions.tss>
#include "Tools/Image/toolGuiSkin.h"
#include "Tools/Image/toolScreenPictures.h"
#include "Tools/TextSet/toolTextSetSource.h"

#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: lvGuiImageGenerator <data folder> <captions.tss>\n", stderr);
        return 2;
    }
    try {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string source{std::istreambuf_iterator<char>(in), {}};
        envString okCaption;
        for (const toolTextSetEntry& entry : toolParseTextSetSource(source, argv[2]))
            if (entry.id == 0)
                okCaption = entry.text;
        plFreeTypeFonts fonts;
        for (const toolDefaultTexture& picture : toolScreenPictures(okCaption, fonts)) {
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
