// Writes the game screens' pictures and the GUI toolkit's default skin under a data folder, those of the
// interface folder "Data/GUI" into the folder that its "gui.pak" is packed from; the captions lettered into
// faces come from a text-set source (0: the credits' Ok):
//   lvGuiImageGenerator <data folder> <captions.tss> <gui pak folder>
#include "Tools/Image/toolBuilderPalettePictures.h"
#include "Tools/Image/toolGuiSkin.h"
#include "Tools/Image/toolMenuPictures.h"
#include "Tools/Image/toolParkPalettePictures.h"
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
    if (argc != 4) {
        std::fputs("usage: lvGuiImageGenerator <data folder> <captions.tss> <gui pak folder>\n", stderr);
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
        std::vector<toolDefaultTexture> pictures = toolScreenPictures(okCaption, fonts);
        for (auto* more :
             {&toolBuilderPalettePictures, &toolParkPalettePictures, &toolGuiSkin, &toolMenuPictures})
            for (toolDefaultTexture& picture : more())
                pictures.push_back(std::move(picture));
        const std::string gui = "Data/GUI/";
        for (const toolDefaultTexture& picture : pictures) {
            const bool packed = picture.path.compare(0, gui.size(), gui) == 0;
            const std::filesystem::path path =
                packed ? std::filesystem::path(argv[3]) / picture.path.substr(gui.size())
                       : std::filesystem::path(argv[1]) / picture.path;
            std::filesystem::create_directories(path.parent_path());
            toolWritePng(path.string(), picture.image);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lvGuiImageGenerator: %s\n", e.what());
        return 1;
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "lvGuiImageGenerator: error 0x%08X\n", e.GetCode());
        return 1;
    }
    return 0;
}
