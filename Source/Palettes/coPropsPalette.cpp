#include "Source/Palettes/coPropsPalette.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiPropSheet.h"
#include "Source/Screens/coPaletteImage.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coThemeList.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <string>

namespace {

// Held back and put first in this order whenever they exist.
constexpr const char* kLeadingCategories[] = {"Amusement Park", "Gothic", "Monster Island"};
// Stands above the row, where the scrolling does not move it.
constexpr const char* kEnvironment = "Environment";
constexpr f32 kTabX[] = {9.0f, 43.0f, 76.0f};
constexpr i32 kTabsShown = 3;
// The sheet tells a second click on its current tab by this state.
constexpr i32 kTabClickedAgain = 10;
// A page's category title stands between the arrows' triangles, which end 32 and begin 129 columns into
// the palette; the sheet, and so the page, starts 20 in.
constexpr i32 kTitleLeft = 32 - 20;
constexpr i32 kTitleWidth = 129 - 32;

fsLocator ThemeFile(const envString& category, const std::string& file) {
    fsLocator locator(coRootThemes);
    locator.AppendComponent(category);
    locator.AppendComponent("Icons");
    locator.AppendComponent(file.c_str());
    return locator;
}

fsLocator DefaultFile(const char* file) {
    fsLocator locator(coRootThemes);
    locator.AppendComponent(file);
    return locator;
}

template <class T>
std::unique_ptr<T> MakePiece(const char* name, i32 width, i32 height, const maVector3d& position) {
    auto piece = std::make_unique<T>();
    piece->SetName(name);
    piece->SetSize(width, height);
    piece->SetPosition(position);
    return piece;
}

// A palette rebuilt behind a modal dialog takes no Think until the dialog ends: its pictures show their
// idle look from the start, not the blank quad of a window that has no state yet.
std::unique_ptr<guiImage> MakeImage(const char* name, i32 width, i32 height, const maVector3d& position,
                                    const char* file) {
    auto image = MakePiece<guiImage>(name, width, height, position);
    coSetPaletteImage(*image, coRootGuiFile("uipp", file), 0);
    image->SetState(guiStateIdle);
    return image;
}

std::unique_ptr<guiImage> MakeArrow(const char* name, const maVector3d& position, const std::string& stem) {
    auto arrow = MakePiece<guiImage>(name, 32, 32, position);
    for (const auto& [state, suffix] : {std::pair{0, "_i.png"}, {1, "_o.png"}, {3, "_p.png"}, {5, "_d.png"}})
        coSetPaletteImage(*arrow, coRootGuiFile("uipp", (stem + suffix).c_str()), state);
    return arrow;
}

void MoveDown(guiWindow* window, f32 amount) {
    const maVector3d at = window->GetPosition();
    window->SetPosition({at.x, at.y + amount, at.z});
}

bool IsHovered(const guiWindow* button) {
    const i32 state = button->GetState();
    return state == guiStateOver || state == guiStatePressed || state == guiStateHeld;
}

} // namespace

coPropsPalette::coPropsPalette()
    : m_titleFont(g2dFont::GetByTextId(0, 12)), m_captionFont(g2dFont::GetByTextId(1, 14)) {
    const int categories = coPropTemplateList::GetCategoryCount();
    for (int c = 0; c < categories; ++c)
        m_rows = std::max(m_rows, (coPropTemplateList::GetTemplateCount(c) + 2) / 3);
    const i32 gridHeight = 32 * m_rows;

    SetSize(160, gridHeight + 150);
    SetJustification(1, 4);
    SetPosition({-10.0f, 25.0f, 0.95f});

    // Each piece is a child from the start, so that a failure further on leaves none unowned.
    m_top = AddChild(MakeImage("Top", 128, 128, {22.0f, -11.0f, 0.99f}, "uippnb_i.png"));
    m_leftArrow = AddChild(MakeArrow("LeftArrow", {12.0f, 45.0f, 0.98f}, "uippla"));
    m_rightArrow = AddChild(MakeArrow("RightArrow", {7.0f, 45.0f, 0.98f}, "uippra"));
    m_rightArrow->SetJustification(1, 3);
    m_left = AddChild(MakeImage("Left", 32, gridHeight, {11.0f, 64.0f, 1.0f}, "uipplr_i.png"));
    m_right = AddChild(MakeImage("Right", 32, gridHeight, {12.0f, 64.0f, 1.0f}, "uipplr_i.png"));
    m_right->SetJustification(1, 3);

    auto* bar = AddChild(MakePiece<guiButton>("Bar", 128, 32, {15.0f, 59.0f, 0.93f}));
    bar->SetJustification(0, 4);
    // The bar stays disabled, so the disabled state shows the same picture and caption.
    for (const i32 state : {0, 5})
        coSetPaletteImage(*bar->GetImage(), coRootGuiFile("uipp", "uippbr_i.png"), state);
    guiText* caption = bar->GetText();
    caption->SetDefaultFont(m_captionFont);
    caption->SetDefaultColor({255, 255, 255});
    caption->SetDefaultXOffset(1);
    caption->SetTextureSize(128, 32);
    caption->SetPosition({25.0f, 9.0f, 0.92f});
    const envString title = gfTextSet(coScreenTextSet("uipp.tsf"), 32, true).GetText(0);
    for (const i32 state : {0, 5})
        caption->SetText(title, state);
    bar->SetEnabled(false);

    // Its own picture: the dock palette's, made for a panel 19 further in, would stick out on the left.
    guiImage* bottoms = AddChild(MakeImage("Bottoms", 121, 64, {0.0f, 19.0f, 1.0f}, "uippbp_i.png"));
    bottoms->SetJustification(0, 4);
    m_grid = AddChild(MakeImage("Grid", 96, gridHeight, {32.0f, 64.0f, 1.0f}, "uippgd_i.png"));
    m_preview = AddChild(MakePiece<guiImage>("", 121 - 24, 64 - 10, {32.0f, 5.0f, 0.0f}));
    m_preview->SetJustification(0, 4);
    m_preview->SetVisible(false);
    m_sheet = AddChild(MakePiece<xuiPropSheet>("Palette", 128, 0, {20.0f, 44.0f, 0.989f}));

    std::vector<guiButton*> leading(std::size(kLeadingCategories), nullptr);
    guiButton* environmentTab = nullptr;
    i32 activePage = -1;
    for (int c = 0; c < categories; ++c) {
        const envString& name = coPropTemplateList::GetCategoryName(c);
        const std::string folder = envStringToNarrow(name);
        const bool environment = folder == kEnvironment;
        guiButton* tab = m_sheet->AddPage(MakeTab(name, environment ? 64 : 32), MakePage(c));
        const auto lead = std::find(std::begin(kLeadingCategories), std::end(kLeadingCategories), folder);
        if (environment)
            environmentTab = tab;
        else if (lead != std::end(kLeadingCategories))
            leading[static_cast<size_t>(lead - std::begin(kLeadingCategories))] = tab;
        else
            m_tabs.push_back(tab);
        if (lead == std::begin(kLeadingCategories))
            activePage = c;
    }
    // After the last page: the sheet lays out every tab each time one is added.
    if (environmentTab)
        environmentTab->SetPosition({31.0f, -51.0f, 0.99f});
    std::erase(leading, nullptr);
    m_tabs.insert(m_tabs.begin(), leading.begin(), leading.end());
    // Empty means no category at all: the held-back and the "Environment" tabs are categories too.
    m_empty = categories == 0;

    LayoutTabRow();
    if (activePage >= 0)
        m_sheet->SetActivePage(activePage);
    m_currentTab = m_sheet->GetActiveTab();
    if (!m_empty)
        LoadPageImages(CurrentCategory());
}

coPropsPalette::~coPropsPalette() {
    DeleteAllChildren();
    g2dFont::Release(m_titleFont);
    g2dFont::Release(m_captionFont);
}

std::unique_ptr<guiButton> coPropsPalette::MakeTab(const envString& category, i32 width) {
    auto tab = MakePiece<guiButton>(envStringToNarrow(category).c_str(), width, 32, {0.0f, 0.0f, 0.99f});
    guiImage* image = tab->GetImage();
    coSetPaletteImageOr(*image, ThemeFile(category, "thmtab_i.png"), DefaultFile("thmtab_i.png"), 0);
    coSetPaletteImageOr(*image, ThemeFile(category, "thmtab_s.png"), DefaultFile("thmtab_s.png"), 6);
    coShowWidget(tab->GetText(), false);
    tab->SetState(guiStateIdle);
    return tab;
}

std::unique_ptr<guiContainer> coPropsPalette::MakePage(i32 category) {
    auto page = MakePiece<guiContainer>(std::to_string(category).c_str(), 0, 0, {0.0f, 0.0f, 0.0f});
    const envString& folder = coPropTemplateList::GetCategoryName(category);
    // Centred at its own size in the room between the arrows.
    auto* title = page->AddChild(
        MakePiece<guiText>("Top", kTitleWidth, 16, {static_cast<f32>(kTitleLeft), 5.0f, 0.935f}));
    title->SetDefaultFont(m_titleFont);
    title->SetDefaultColor({255, 255, 255}); // white on the palette's blue, as its other captions
    title->SetTextureSize(128, 16);
    envString display;
    coThemeList::GetDisplayName(display, folder);
    u32 inkWidth = 0, inkHeight = 0;
    g2dFont::MeasureText(m_titleFont, display, inkWidth, inkHeight);
    title->SetDefaultXOffset(std::max((kTitleWidth - static_cast<i32>(inkWidth)) / 2, 0));
    title->SetText(display, 0);
    title->SetTile(static_cast<f32>(kTitleWidth) / 128.0f, 1.0f, 0);

    for (i32 j = 0; j < coPropTemplateList::GetTemplateCount(category); ++j) {
        const coPropTemplate* propTemplate = coPropTemplateList::GetTemplate(j, category);
        auto* button = page->AddChild(MakePiece<guiImage>(
            std::to_string(j).c_str(), 28, 28,
            {static_cast<f32>(32 * (j % 3) + 14), static_cast<f32>(32 * (j / 3) + 23), 0.0f}));
        button->SetToolTipText(propTemplate->GetName());
        button->SetState(0);
        const std::string file = envStringToNarrow(propTemplate->GetInternalName());
        m_records.push_back(
            {button, ThemeFile(folder, file + "_i.png"), ThemeFile(folder, file + "_pd.png"), category});
    }
    return page;
}

bool coPropsPalette::GetClickedProp(i32& button, i32& category) const {
    if (m_empty)
        return false;
    const auto* page = static_cast<const guiContainer*>(m_sheet->GetActivePage());
    for (i32 i = 0; i < page->GetChildCount(); ++i) {
        const guiWindow* child = page->FindChild(std::to_string(i).c_str());
        if (child && child->GetState() == guiStateReleased) {
            button = i;
            category = CurrentCategory();
            return true;
        }
    }
    return false;
}

void coPropsPalette::Think() {
    if (m_empty)
        return;
    guiContainer::Think();

    if (guiButton* tab = m_sheet->GetActiveTab(); tab != m_currentTab) {
        ReleasePageImages();
        m_currentTab = tab;
        LoadPageImages(CurrentCategory());
        if (m_folded && IsEnabled())
            Unfold();
    }

    if (m_rightArrow->GetState() == guiStateReleased)
        ++m_firstTab;
    else if (m_leftArrow->GetState() == guiStateReleased)
        --m_firstTab;
    LayoutTabRow();

    UpdatePreview();

    if (IsEnabled() && m_currentTab->GetState() == kTabClickedAgain) {
        if (!m_folded) {
            Fold();
        } else {
            Unfold();
            coShowWidget(m_sheet->GetActivePage(), true);
        }
    }
}

void coPropsPalette::LayoutTabRow() {
    const i32 count = static_cast<i32>(m_tabs.size());
    m_firstTab = std::clamp(m_firstTab, 0, std::max(count - kTabsShown, 0));
    // Only tabs that change are shown or hidden: disabling a tab resets its state, which would lose the
    // second click on the current tab that folds the palette.
    for (i32 i = 0; i < count; ++i) {
        guiButton* tab = m_tabs[static_cast<size_t>(i)];
        const i32 slot = i - m_firstTab;
        const bool shown = slot >= 0 && slot < kTabsShown;
        if (tab->IsVisible() != shown || tab->IsEnabled() != shown)
            coShowWidget(tab, shown);
        if (shown)
            tab->SetPosition({kTabX[slot], -24.0f, 0.99f});
    }
    m_leftArrow->SetEnabled(m_firstTab != 0);
    m_rightArrow->SetEnabled(m_firstTab < count - kTabsShown);
}

i32 coPropsPalette::CurrentCategory() const {
    const std::string& name = m_sheet->GetActivePage()->GetName();
    i32 category = -1;
    std::from_chars(name.data(), name.data() + name.size(), category);
    return category;
}

void coPropsPalette::LoadPageImages(i32 category) {
    for (const ButtonRecord& record : m_records) {
        if (record.category != category)
            continue;
        coSetPaletteImageOr(*record.button, record.icon, DefaultFile("prpdef_i.png"), {0, 1, 3});
    }
}

void coPropsPalette::ReleasePageImages() {
    // Only the current page holds images.
    for (const ButtonRecord& record : m_records)
        record.button->ReleaseTextures();
}

void coPropsPalette::UpdatePreview() {
    if (m_hovered && !IsHovered(m_hovered)) {
        m_preview->SetVisible(false);
        m_hovered = nullptr;
    }
    // A hidden page's button may keep its last state: only the current page's buttons show a preview.
    const i32 category = CurrentCategory();
    for (const ButtonRecord& record : m_records) {
        if (record.category != category || !IsHovered(record.button))
            continue;
        m_hovered = record.button;
        m_preview->SetVisible(true);
        coSetPaletteImageOr(*m_preview, record.preview, DefaultFile("prpdefpd.png"), 0);
        m_preview->SetState(0);
    }
}

void coPropsPalette::Fold() {
    for (guiWindow* window : {m_left, m_right, m_grid, static_cast<guiWindow*>(m_leftArrow),
                              static_cast<guiWindow*>(m_rightArrow), m_sheet->GetActivePage()})
        coShowWidget(window, false);
    const f32 amount = static_cast<f32>(32 * m_rows + 20);
    MoveDown(m_sheet, amount);
    MoveDown(m_top, amount);
    m_folded = true;
}

void coPropsPalette::Unfold() {
    for (guiWindow* window : {m_left, m_right, m_grid, static_cast<guiWindow*>(m_leftArrow),
                              static_cast<guiWindow*>(m_rightArrow)})
        coShowWidget(window, true);
    const f32 amount = static_cast<f32>(32 * m_rows + 20);
    MoveDown(m_sheet, -amount);
    MoveDown(m_top, -amount);
    m_folded = false;
}
