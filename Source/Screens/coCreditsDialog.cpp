#include "Source/Screens/coCreditsDialog.h"

#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPrefs.h"

namespace {

constexpr i32 kColumns = 5;
// A row's texts start at multiples of 16; the first five of them are shown.
constexpr u32 kRowStride = 16;
constexpr i32 kRowHeight = 16;

} // namespace

coCreditsDialog::coCreditsDialog() {
    m_tableFont = g2dFont::GetByTextId(1, 14);
    const i32 resolution = coPrefs::GetInt(coPrefResolution);
    m_displayFont = g2dFont::GetByTextId(0, resolution == 3 || resolution == 4 ? 26 : 14);
    SetName("CreditsDialog");
    coLoadScreenScript("uicd", nullptr, this);

    auto table = std::make_unique<guiTableBox>();
    m_table = table.get();
    m_table->SetName("CreditsBox");
    m_table->GetBackground()->SetEnabled(false);
    m_table->GetBackground()->SetVisible(false);
    m_table->SetDeferLayout(true);
    m_table->SetSize(640, 432);
    // Text textures show 1:1 in rows of their own height: 27 rows in the table.
    m_table->SetRowHeight(kRowHeight);
    m_table->SetCellStateStyle(0, m_tableFont, 1, g3dTextColour{255, 255, 255});
    m_table->SetCellTransparency(0.0f);
    m_table->SetCellTextureSize(128, kRowHeight);
    for (i32 c = 0; c < kColumns; ++c)
        m_table->InsertColumn(c, 128);
    coFindWidget<xuiScrollBox>(*this, "uicd", "ScrollBox", "ScrollBox")->SetView(std::move(table));

    const gfTextSet credits(coScreenTextSet("Credits.tsf"), 32, true);
    m_rows = static_cast<i32>(credits.GetTexts().size()) / kColumns;
    for (i32 r = 0; r < m_rows; ++r) {
        m_table->InsertRow(m_rows);
        for (i32 c = 0; c < kColumns; ++c)
            m_table->SetCellText(
                r, c, {credits.GetText(kRowStride * static_cast<u32>(r) + static_cast<u32>(c))}, 0);
    }
    for (i32 i = 0; i < m_table->GetChildCount(); ++i)
        m_table->GetChild(i)->SetSoundEnabled(false);
    m_table->SetDeferLayout(false);

    m_lines = coReadTexts("uicdcdsp.tsf");
    SetEnabled(false);
    SetVisible(false);
}

coCreditsDialog::~coCreditsDialog() {
    DeleteAllChildren();
    g2dFont::Release(m_tableFont);
    g2dFont::Release(m_displayFont);
}

void coCreditsDialog::Think() {
    guiContainer::Think();
    const inKeyboard* keys = inDeviceManager::GetKeyboard(0);
    if (keys && keys->WasKeyReleased(inKeyEscape))
        EndDialog(true);
}

void coCreditsDialog::GetLineOrigin(i32 resolution, i32& x, i32& y) {
    int width = 0, height = 0;
    coPrefs::GetResolution(resolution, width, height);
    x = static_cast<i32>(static_cast<float>(width) * 0.1875f);
    y = static_cast<i32>(static_cast<float>(height) * 0.8f);
}

void coCreditsDialogFunction::DrawOverlay() {
    if (!m_dialog)
        return;
    i32 x = 0, y = 0;
    coCreditsDialog::GetLineOrigin(coPrefs::GetInt(coPrefResolution), x, y);
    const u8 white[3] = {255, 255, 255};
    const std::vector<envString>& lines = m_dialog->GetDisplayLines();
    for (size_t i = 0; i < lines.size(); ++i)
        g2dScreen::DrawText(x, y + 20 * static_cast<i32>(i), m_dialog->GetDisplayFont(), lines[i], white);
}
