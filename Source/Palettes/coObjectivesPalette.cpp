#include "Source/Palettes/coObjectivesPalette.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"

#include <memory>

namespace {

constexpr i32 kToggleKey = 14;
// The list beside its slider, and a row: two lines of the panel's font and a gap.
constexpr i32 kListWidth = 248;
constexpr i32 kRowHeight = 40;

// The panel's pictures lie in the GUI root itself.
fsLocator GuiImage(const char* name) {
    fsLocator file(coRootGui);
    file.AppendComponent(name);
    return file;
}

} // namespace

coObjectivesPalette::coObjectivesPalette() {
    coLoadScreenScript("uiop", "uiop.tsf", this);
    // After the script, whose container would otherwise place the panel.
    SetJustification(guiJustifyLeft, guiJustifyTop);
    SetPosition({0.0f, 165.0f, 0.0f});
    SetSize(288, 160);
    m_font = g2dFont::GetByTextId(1, 14);
    m_scroll = coFindWidget<xuiScrollBox>(*this, "uiop", "ScrollBox", "ScrollBox");
    m_hintKey = coFindWidget<guiText>(*this, "uiop", "HintKey", "Text");
    coShowWidget(m_hintKey, false);

    // Rows with room for an objective wrapped to two lines and a gap under it, so that the next one
    // reads apart; what does not fit scrolls.
    auto box = std::make_unique<guiTableBox>();
    box->SetName("ObjectivesBox");
    box->SetCellsEnabled(false);
    box->SetRowHeight(kRowHeight);
    box->InsertColumn(0, kListWidth);
    box->SetCellStateStyle(0, m_font, 1, {255, 255, 255});
    box->SetCellTransparency(0.0f);
    box->SetCellTextureSize(kListWidth, kRowHeight);
    box->SetPosition({0.0f, 0.0f, 0.99f});
    m_box = m_scroll->SetView(std::move(box));
    // The scroll box lays its new view out beside the slider at its next size.
    i32 width = 0, height = 0;
    m_scroll->GetSize(width, height);
    m_scroll->SetSize(width, height);
    // After the table's size, which it would take: from the panel's left edge, behind the slider too.
    guiImage* background = m_box->GetBackground();
    background->SetImage(GuiImage("uishbk_i.png"), 0);
    background->SetSize(256, 256);
    background->SetState(0);
    background->SetEnabled(false);
    background->SetPosition({-m_box->GetPosition().x, -8.0f, 1.0f});

    auto tab = std::make_unique<guiImage>();
    tab->SetName("Tab");
    tab->SetSize(32, 32);
    tab->SetJustification(guiJustifyRight, guiJustifyTop);
    tab->SetPosition({8.0f, -7.0f, 0.0f});
    tab->SetImage(GuiImage("uiopmn_i.png"), 0);
    tab->SetImage(GuiImage("uiopmn_o.png"), 1);
    tab->SetImage(GuiImage("uiopmn_p.png"), 3);
    m_tab = AddChild(std::move(tab));
}

coObjectivesPalette::~coObjectivesPalette() {
    g2dFont::Release(m_font);
    DeleteAllChildren();
}

void coObjectivesPalette::SetObjective(i32 row, const envString& text, bool met) {
    i32 rows = 0, columns = 0;
    m_box->GetDimensions(rows, columns);
    if (row >= rows) {
        row = rows;
        m_box->SetCellText(row, 0, {envString()}, 0);
    }
    auto* cell = dynamic_cast<guiText*>(m_box->GetCellWindow(row, 0));
    if (!cell)
        return;
    if (row == rows) {
        cell->SetWordWrap(1);
        cell->SetSoundEnabled(false);
    }
    const g3dTextColour colour = met ? g3dTextColour{0, 255, 0} : g3dTextColour{255, 0, 0};
    if (cell->GetDefaultColor() == colour && cell->GetText(0) == text)
        return;
    cell->SetDefaultStyle({colour, colour}, {m_font, m_font}, {1, 200});
    // The table styled the cell's state itself, so the new defaults are handed to that state too.
    cell->SetStateStyle({colour, colour}, {m_font, m_font}, {1, 200}, 0);
    cell->SetText(text, 0);
}

void coObjectivesPalette::ClearObjectives() {
    m_box->Clear(false);
    m_scroll->SetVerticalScroll(0.0f);
}

void coObjectivesPalette::ShowHintKey(bool shown) {
    coShowWidget(m_hintKey, shown);
}

void coObjectivesPalette::SetCollapsed(bool collapse) {
    if (collapse && GetPosition().x == 0.0f) {
        m_collapsed = true;
        MoveTo(kCollapsedX);
    } else if (!collapse && m_collapsed) {
        m_collapsed = false;
        MoveTo(0.0f);
    }
}

void coObjectivesPalette::Think() {
    guiContainer::Think();
    const inKeyboard* keyboard =
        inDeviceManager::GetKeyboardCount() > 0 ? inDeviceManager::GetKeyboard(0) : nullptr;
    if (m_tab->GetState() == 2 || (keyboard && keyboard->WasKeyReleased(kToggleKey)))
        MoveTo(GetPosition().x == 0.0f ? kCollapsedX : 0.0f);
}

void coObjectivesPalette::MoveTo(f32 x) {
    maVector3d position = GetPosition();
    position.x = x;
    SetPosition(position);
}
