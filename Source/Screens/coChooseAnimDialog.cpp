#include "Source/Screens/coChooseAnimDialog.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Source/Screens/coPaletteImage.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropAnimation.h"
#include "Source/World/coPropTemplate.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr g3dTextColour kIdleColour{255, 255, 255};
constexpr g3dTextColour kOverColour{255, 252, 0};
constexpr g3dTextColour kSelectedColour{0, 255, 0};
constexpr g3dTextColour kSelectedOverColour{150, 255, 150};
// The list of animation events is template list 1.
constexpr int kEventList = 1;

} // namespace

void SetTableRowText(guiTableBox& table, i32 row, const envString& text) {
    i32 rows = 0, columns = 0;
    table.GetDimensions(rows, columns);
    if (row >= rows) {
        table.SetCellText(rows, 0, {envString()}, 0);
        row = rows;
    }
    for (const i32 state : {0, 1, guiTableBox::kSelectedState, guiTableBox::kSelectedOverState})
        table.SetCellText(row, 0, {text}, state);
}

coChooseAnimDialog::coChooseAnimDialog(coProp* prop, i32 x, i32 y)
    : m_listFont(g2dFont::GetByTextId(1, 14)), m_prop(prop) {
    auto table = std::make_unique<guiTableBox>();
    m_eventTable = table.get();
    m_eventTable->SetName("ObjectivesBox");
    m_eventTable->SetSize(128, 80);
    // Rows of 16 pixels: five show in the 80-pixel list.
    m_eventTable->SetRowHeight(16);
    m_eventTable->SetCellStateStyle(0, m_listFont, coListTextMargin, kIdleColour);
    m_eventTable->SetCellStateStyle(1, m_listFont, coListTextMargin, kOverColour);
    m_eventTable->SetCellStateStyle(guiTableBox::kSelectedState, m_listFont, coListTextMargin,
                                    kSelectedColour);
    m_eventTable->SetCellStateStyle(guiTableBox::kSelectedOverState, m_listFont, coListTextMargin,
                                    kSelectedOverColour);
    m_eventTable->InsertColumn(0, 128);
    m_eventTable->SetCellTransparency(0.0f);
    m_eventTable->SetCellTextureSize(128, 16);
    m_eventTable->SetPosition({4.0f, 4.0f, 0.0f});
    if (guiImage* background = m_eventTable->GetBackground()) {
        coSetPaletteImage(*background, coRootGuiFile("uisp", "uigsbg_i.png"), 0);
        background->SetPosition({-4.0f, -4.0f, 1.0f});
        background->SetSize(148, 148);
        background->SetState(0);
    }

    const coPropTemplate& propTemplate = m_prop->GetTemplate();
    for (int i = 0; i < propTemplate.GetListSize(kEventList); ++i) {
        const envString& name = propTemplate.GetAnimation(kEventList, i).GetDisplayName();
        SetTableRowText(*m_eventTable, i,
                        name.GetLength() == 0 ? envString(std::to_string(i).c_str()) : name);
    }
    // Row -1 would select every row; an event past the list leaves none selected.
    if (const i32 active = m_prop->GetActiveEvent();
        active >= 0 && active < propTemplate.GetListSize(kEventList))
        m_eventTable->SetSelected(active, -1, true);
    AddChild(std::move(table));

    SetJustification(0, 3);
    SetSize(128, 80);
    SetPosition({static_cast<f32>(x), static_cast<f32>(y), 0.0f});
    SetKeysEnabled(false);
    for (guiWindow* child : {static_cast<guiWindow*>(GetOk()), static_cast<guiWindow*>(GetCancel()),
                             static_cast<guiWindow*>(GetBackground())})
        coShowWidget(child, false);
}

coChooseAnimDialog::~coChooseAnimDialog() {
    g2dFont::Release(m_listFont);
}

void coChooseAnimDialog::Think() {
    guiContainer::Think();
    inVirtualJoystick* input = inDeviceManager::GetVirtualJoystick();
    std::vector<i32> rows, columns;
    m_eventTable->GetSelectedCells(rows, columns);
    // An active event past the list leaves no selection: nothing to choose, but Escape still cancels.
    if (!rows.empty()) {
        const i32 row = rows.front();
        if (row != m_prop->GetActiveEvent()) {
            Choose(row);
            return;
        }
        // The active row's cell shows the selected state whatever the pointer does, so a click on it is
        // read from the pointer's place.
        const auto* cell = dynamic_cast<const guiMaterial*>(
            m_eventTable->GetCellWindow(row, columns.empty() ? 0 : columns.front()));
        if (cell && cell->IsPointerOver() && input->WasButtonReleased(coActionMouseLeft)) {
            Choose(row);
            return;
        }
    }
    if (input->WasButtonReleased(coActionEscape)) {
        // The mode underneath must not take the same Escape as its own.
        input->SuppressRelease(coActionEscape);
        EndDialog(false);
    }
}

void coChooseAnimDialog::Choose(i32 event) {
    m_prop->SetActiveEvent(event);
    EndDialog(true);
}
