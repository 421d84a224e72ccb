#include "Source/Palettes/coBackground.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Source/Screens/coScreenScript.h"

#include <string>

coBackground::coBackground() {
    coLoadScreenScript("uibk", nullptr, this);
    for (i32 i = 0; i < kTileCount; ++i)
        m_tiles[static_cast<size_t>(i)] =
            coFindWidget<guiImage>(*this, "uibk", std::to_string(i).c_str(), "Image");
}

void coBackground::SetImage(const char* name) {
    for (i32 i = 0; i < kTileCount; ++i) {
        fsLocator file = coScreenScriptFolder(name);
        file.AppendComponent((std::string(name) + "_" + std::to_string(i) + ".png").c_str());
        m_tiles[static_cast<size_t>(i)]->SetImage(file, 0);
    }
}

void coBackground::ReleaseImages() {
    for (guiImage* tile : m_tiles)
        tile->ReleaseTextures();
}
