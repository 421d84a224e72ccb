#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <string>
#include <vector>

class guiButton;
class guiImage;

// The builder's choice of loading dock while the circuit is empty: an icon per prop category that has a
// dock for the current coaster type, three to a row in the props palette's frame, and a larger preview
// of the dock under the pointer.
class coDockPalette : public guiContainer {
  public:
    // For the current coaster type and template list. An icon that cannot be loaded shows the default
    // one, with a warning; the default's own failure passes on.
    coDockPalette();
    ~coDockPalette() override;

    // The first icon released this frame gives its category folder name and goes back to Idle.
    bool GetItemName(std::string& name);
    // The preview follows the icon under the pointer; with several, the last one wins.
    void Think() override;

    const std::vector<guiImage*>& GetItems() const { return m_items; }
    guiImage* GetPreviewImage() const { return m_previewImage; }
    guiImage* GetGridImage() const { return m_gridImage; }

  private:
    void AddItem(const envString& category, i32 k);

    g2dFont m_paletteFont;
    guiImage* m_gridImage = nullptr;
    std::vector<guiImage*> m_items;
    std::vector<fsLocator> m_previewFiles;
    guiImage* m_hoveredItem = nullptr;
    guiImage* m_previewImage = nullptr;
};

// The categories with a dock for the coaster type, in category order: the category holds the type's
// dock and its folder in root 6's first directory holds "Tracks".
std::vector<envString> coDockCategories(const envString& coasterType);
