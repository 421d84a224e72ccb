#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <memory>
#include <vector>

class guiButton;
class guiImage;
class xuiPropSheet;

// The builder's prop catalogue: a tab per prop category in a property sheet, each page a grid of icon
// buttons three to a row, a preview of the prop under the pointer, a tab row that scrolls with two
// arrows, and a fold on a second click of the current tab. Only the current page's buttons hold images.
class coPropsPalette : public guiContainer {
  public:
    // A tab or prop picture that cannot be loaded shows the default one, with a warning; the default's
    // own failure passes on.
    coPropsPalette();
    ~coPropsPalette() override;

    // The lowest-numbered button of the current page released this frame, as the template list's
    // (index, category); false for none and for a palette without categories.
    bool GetClickedProp(i32& button, i32& category) const;
    void Think() override;

    bool IsFolded() const { return m_folded; }
    i32 GetFirstTab() const { return m_firstTab; }
    const std::vector<guiButton*>& GetTabs() const { return m_tabs; }
    xuiPropSheet* GetSheet() const { return m_sheet; }
    guiImage* GetPreview() const { return m_preview; }

  private:
    struct ButtonRecord {
        guiImage* button;
        fsLocator icon;
        fsLocator preview;
        i32 category;
    };

    std::unique_ptr<guiButton> MakeTab(const envString& category, i32 width);
    std::unique_ptr<guiContainer> MakePage(i32 category);
    void LayoutTabRow();
    i32 CurrentCategory() const;
    void LoadPageImages(i32 category);
    void ReleasePageImages();
    void UpdatePreview();
    void Fold();
    void Unfold();

    g2dFont m_titleFont;
    g2dFont m_captionFont;
    guiWindow* m_top = nullptr;
    guiImage* m_leftArrow = nullptr;
    guiImage* m_rightArrow = nullptr;
    guiWindow* m_left = nullptr;
    guiWindow* m_right = nullptr;
    guiWindow* m_grid = nullptr;
    xuiPropSheet* m_sheet = nullptr;
    guiImage* m_preview = nullptr;
    guiButton* m_currentTab = nullptr;
    std::vector<guiButton*> m_tabs;
    std::vector<ButtonRecord> m_records;
    guiImage* m_hovered = nullptr;
    bool m_empty = false;
    bool m_folded = false;
    i32 m_firstTab = 0;
    i32 m_rows = 0;
};
