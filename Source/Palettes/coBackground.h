#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

#include <array>

class guiImage;

// The full-screen picture behind the menus: twelve tiles "0" to "11" from the script "uibk", each
// showing one twelfth of a menu's picture.
class coBackground : public guiContainer {
  public:
    static constexpr i32 kTileCount = 12;

    // Throws coScreenScriptX when the script lacks a tile.
    coBackground();

    // Tile i shows "<name>_<i>.png" of the folder "<name>" under the GUI root; the file system's
    // exception passes on for a tile that cannot be loaded.
    void SetImage(const char* name);
    void ReleaseImages();

  private:
    std::array<guiImage*, kTileCount> m_tiles{};
};

// The background palette shows the picture of that menu ("uimm", "uilm", "uisi", "uicm"); an empty name
// releases its textures. Nothing without a background.
void coShowMenuBackground(const char* name);
