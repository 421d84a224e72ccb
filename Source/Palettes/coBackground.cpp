#include "Source/Palettes/coBackground.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Source/Palettes/coPaletteManager.h"
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
        // The background is never thought, so the tiles take the state they show themselves.
        m_tiles[static_cast<size_t>(i)]->SetState(0);
    }
}

void coBackground::ReleaseImages() {
    for (guiImage* tile : m_tiles)
        tile->ReleaseTextures();
}

void coShowMenuBackground(const char* name) {
    auto* background = dynamic_cast<coBackground*>(coPaletteManager::GetPalette(coPaletteBackground));
    if (!background)
        return;
    if (*name)
        background->SetImage(name);
    else
        background->ReleaseImages();
}
