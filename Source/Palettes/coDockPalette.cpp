#include "Source/Palettes/coDockPalette.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coPaletteImage.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"

#include <memory>

namespace {

constexpr i32 kLeftWidth = 32;

fsLocator ThemeFile(const envString& category, const char* file) {
    fsLocator locator(coRootThemes);
    locator.AppendComponent(category);
    locator.AppendComponent("Icons");
    locator.AppendComponent(file);
    return locator;
}

fsLocator DefaultFile(const char* file) {
    fsLocator locator(coRootThemes);
    locator.AppendComponent(file);
    return locator;
}

std::unique_ptr<guiImage> MakeFramePiece(const char* name, i32 width, i32 height, const maVector3d& position,
                                         const char* file) {
    auto piece = std::make_unique<guiImage>();
    piece->SetName(name);
    piece->SetSize(width, height);
    piece->SetPosition(position);
    coSetPaletteImage(*piece, coRootGuiFile("uipp", file), 0);
    piece->SetState(0);
    piece->SetEnabled(false);
    return piece;
}

} // namespace

std::vector<envString> coDockCategories(const envString& coasterType) {
    std::vector<envString> categories;
    for (int c = 0; c < coPropTemplateList::GetCategoryCount(); ++c) {
        const envString& name = coPropTemplateList::GetCategoryName(c);
        if (!coPropTemplateList::HasDockStyle(c, coasterType))
            continue;
        fsLocator tracks = fsGetRootDirectory(coRootThemes, 0);
        tracks.AppendComponent(name);
        tracks.AppendComponent("Tracks");
        if (fsDirectoryExists(tracks))
            categories.push_back(name);
    }
    return categories;
}

coDockPalette::coDockPalette() : m_paletteFont(g2dFont::GetByTextId(1, 14)) {
    const std::vector<envString> categories =
        coDockCategories(envString(coGetCoasterDefinition().GetCoasterTypeName().c_str()));
    const i32 n = static_cast<i32>(categories.size());
    const i32 rows = (n + 2) / 3;
    const i32 gridHeight = 32 * rows;

    SetSize(160, gridHeight + 150);
    SetJustification(0, 4);
    SetPosition({-10.0f, 25.0f, 0.95f});

    // The top ends where the icon grid begins, so the icons show whole below it.
    auto top = MakeFramePiece("Top", 120, 16, {20.0f, 48.0f, 0.9f}, "uipptp_i.png");
    auto left = MakeFramePiece("Left", kLeftWidth, gridHeight, {11.0f, 64.0f, 0.0f}, "uipplr_i.png");
    auto right = MakeFramePiece("Right", 32, gridHeight, {12.0f, 64.0f, 0.0f}, "uipplr_i.png");
    right->SetJustification(1, 3);
    auto bottoms = MakeFramePiece("Bottoms", 121, 64, {19.0f, 0.0f, 1.0f}, "uippbm_i.png");
    bottoms->SetJustification(0, 4);
    auto grid = MakeFramePiece("Grid", 96, gridHeight, {32.0f, 64.0f, 1.0f}, "uippgd_i.png");
    // The cell picture repeats three times across and once a row down.
    grid->SetTile(3.0f, static_cast<f32>(rows), 0);

    auto bar = std::make_unique<guiButton>();
    bar->SetName("Bar");
    bar->SetSize(128, 32);
    bar->SetJustification(0, 4);
    // The bar stays disabled, so the disabled state shows the same picture and caption.
    for (const i32 state : {0, 5})
        coSetPaletteImage(*bar->GetImage(), coRootGuiFile("uipp", "uippbr_i.png"), state);
    guiText* caption = bar->GetText();
    caption->SetDefaultFont(m_paletteFont);
    caption->SetTextureSize(128, 32);
    caption->SetDefaultXOffset(1);
    caption->SetDefaultColor({255, 255, 255});
    caption->SetPosition({25.0f, 9.0f, 0.92f});
    const envString title = gfTextSet(coScreenTextSet("uipp.tsf"), 32, true).GetText(1);
    for (const i32 state : {0, 5})
        caption->SetText(title, state);
    bar->SetState(0);
    bar->SetEnabled(false);
    bar->SetPosition({15.0f, 59.0f, 0.93f});

    auto preview = std::make_unique<guiImage>();
    preview->SetSize(121 - 24, 64 - 10);
    preview->SetJustification(0, 4);
    preview->SetPosition({32.0f, 5.0f, 0.0f});
    preview->SetEnabled(false);
    preview->SetVisible(false);

    for (auto* piece : {&top, &left, &right, &bottoms})
        AddChild(std::move(*piece));
    AddChild(std::move(bar));
    m_gridImage = AddChild(std::move(grid));
    m_previewImage = AddChild(std::move(preview));
    for (i32 k = 0; k < n; ++k)
        AddItem(categories[static_cast<size_t>(k)], k);
}

coDockPalette::~coDockPalette() {
    DeleteAllChildren();
    g2dFont::Release(m_paletteFont);
}

void coDockPalette::AddItem(const envString& category, i32 k) {
    auto item = std::make_unique<guiImage>();
    item->SetSize(28, 28);
    item->SetName(envStringToNarrow(category).c_str());
    coSetPaletteImageOr(*item, ThemeFile(category, "dock_i.png"), DefaultFile("dckdef_i.png"), {0, 1, 3});
    item->SetColor({170, 170, 170}, 0);
    item->SetColor({65, 65, 65}, 3);
    envString display;
    coThemeList::GetDisplayName(display, category);
    item->SetToolTipText(display);
    item->SetState(0);
    item->SetPosition(
        {static_cast<f32>((k % 3) * 32 + kLeftWidth + 2), static_cast<f32>((k / 3) * 32 + 66), 0.9f});
    m_items.push_back(AddChild(std::move(item)));
    m_previewFiles.push_back(ThemeFile(category, "dock_pd.png"));
}

bool coDockPalette::GetItemName(std::string& name) {
    for (guiImage* item : m_items)
        if (item->GetState() == guiStateReleased) {
            name = item->GetName();
            item->SetState(guiStateIdle);
            return true;
        }
    return false;
}

void coDockPalette::Think() {
    guiContainer::Think();
    const auto hovered = [](const guiImage* item) {
        const i32 state = item->GetState();
        return state == guiStateOver || state == guiStatePressed || state == guiStateHeld;
    };
    if (m_hoveredItem && !hovered(m_hoveredItem)) {
        m_previewImage->SetVisible(false);
        m_hoveredItem = nullptr;
    }
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (!hovered(m_items[i]))
            continue;
        m_hoveredItem = m_items[i];
        m_previewImage->SetVisible(true);
        coSetPaletteImageOr(*m_previewImage, m_previewFiles[i], DefaultFile("dckdefpd.png"), 0);
        m_previewImage->SetState(0);
    }
}
