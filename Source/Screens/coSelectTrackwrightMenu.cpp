#include "Source/Screens/coSelectTrackwrightMenu.h"

#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"

namespace {

constexpr const char* kScript = "uisi";
constexpr const char* kTexts = "uisi.tsf";
// Rows of 16 pixels: 15 of them in the 240-pixel list.
constexpr i32 kRowHeight = 16;
constexpr i32 kRowStates[] = {0, 1, guiTableBox::kSelectedState, guiTableBox::kSelectedOverState};
// The saves folder's sub-folders that are not profiles.
constexpr const char16_t* kNotProfiles[] = {u".", u"..", u"Track Color Preference Settings",
                                            u"Directory For Unlocked Props"};

// The ranking of the profile's second career; a save that cannot be read leaves the row unranked.
i32 CompletedTrackTypes(const envString& profile) {
    std::vector<i32> counts;
    try {
        coCareerSave::Load(profile, nullptr, counts);
    } catch (const envExceptionX& e) {
        DBG_WARNING("The career of \"%s\" cannot be read (error 0x%08X)", envStringToUtf8(profile).c_str(),
                    e.GetCode());
        return 0;
    }
    return counts.size() > 1 ? counts[1] : 0;
}

// Adds a row for each profile folder found.
class RowAdder : public fsFileEnum::EnumTarget {
  public:
    explicit RowAdder(guiTableBox* table) : m_table(table), m_texts(coScreenTextSet(kTexts), 32, true) {}
    bool OnEntry(const fsLocator&, const fsLocator& entry) override {
        const envString& name = entry.GetLastComponent();
        for (const char16_t* skipped : kNotProfiles)
            if (name == envString(skipped))
                return true;
        m_names.push_back(name);
        const envString shown = coFitToColumn(name, m_table->GetCellStateFont(0), m_table->GetColumnWidth(0));
        const envString& ranking = m_texts.GetText(coRankingTextId(CompletedTrackTypes(name)));
        m_table->InsertRow(m_row);
        for (const i32 state : kRowStates) {
            m_table->SetCellText(m_row, 0, {shown}, state);
            m_table->SetCellText(m_row, 1, {ranking}, state);
        }
        // The ranking's column is narrower than the names': its text texture matches it, or the text is
        // squeezed to half its width.
        if (auto* cell = dynamic_cast<guiText*>(m_table->GetCellWindow(m_row, 1)))
            cell->SetTextureSize(m_table->GetColumnWidth(1), kRowHeight);
        ++m_row;
        return true;
    }
    void OnUnreadable(const fsLocator& directory) override { m_unreadable.push_back(directory); }
    std::vector<envString>& GetNames() { return m_names; }
    std::vector<fsLocator>& GetUnreadable() { return m_unreadable; }

  private:
    guiTableBox* m_table;
    const gfTextSet m_texts;
    std::vector<envString> m_names;
    std::vector<fsLocator> m_unreadable;
    i32 m_row = 0;
};

} // namespace

u32 coRankingTextId(i32 completed) {
    constexpr u32 kIds[] = {10, 4, 3, 5, 6};
    return completed >= 0 && completed < 5 ? kIds[completed] : 10;
}

envString coFitToColumn(const envString& text, g2dFont font, i32 width) {
    const auto fits = [&](const envString& candidate) {
        u32 w = 0, h = 0;
        g2dFont::MeasureText(font, candidate, w, h);
        return static_cast<i64>(w) < width;
    };
    if (fits(text))
        return text;
    const envString dots(u"...");
    envString kept(0, text.GetLength() >= 3 ? text.GetLength() - 3 : 0, text);
    envString shown = kept;
    shown.Append(dots);
    while (!fits(shown) && kept.GetLength() > 0) {
        kept.Resize(kept.GetLength() - 1);
        shown = kept;
        shown.Append(dots);
    }
    return shown;
}

coSelectTrackwrightMenu::coSelectTrackwrightMenu() {
    m_font = g2dFont::GetByTextId(1, 15);
    i32 width = 0, height = 0;
    g2dScreen::GetSize(width, height);
    SetSize(width, height);
    coLoadScreenScript(kScript, kTexts, this);
    // Without a profile the keyboard opens over the menu before the menu thinks: its buttons show their
    // idle look from the start, not the blank quad of a window that has no state yet.
    for (const char* name : {"Load Trackwright", "New Trackwright", "Main Menu"})
        coFindWidget<guiWindow>(*this, kScript, name, "Button")->SetState(guiStateIdle);
    auto* box = coFindWidget<xuiScrollBox>(*this, kScript, "ScrollBox", "ScrollBox");

    auto table = std::make_unique<guiTableBox>();
    m_table = table.get();
    m_table->SetName("SelectBox");
    m_table->GetBackground()->SetEnabled(false);
    m_table->GetBackground()->SetVisible(false);
    m_table->SetDeferLayout(true);
    m_table->SetSize(384, 240);
    m_table->SetRowHeight(kRowHeight);
    m_table->SetCellStateStyle(0, m_font, coListTextMargin, g3dTextColour{255, 255, 255});
    m_table->SetCellStateStyle(1, m_font, coListTextMargin, g3dTextColour{255, 252, 0});
    m_table->SetCellStateStyle(guiTableBox::kSelectedState, m_font, coListTextMargin,
                               g3dTextColour{0, 255, 0});
    m_table->SetCellStateStyle(guiTableBox::kSelectedOverState, m_font, coListTextMargin,
                               g3dTextColour{150, 255, 150});
    m_table->SetCellTransparency(0.0f);
    // Text textures as high as the rows, so the texts show 1:1.
    m_table->SetCellTextureSize(256, kRowHeight);
    m_table->InsertColumn(0, 256);
    m_table->InsertColumn(1, 128);
    box->SetView(std::move(table));

    RowAdder adder(m_table);
    fsEnumerateDirectories(fsLocator(coRootSaves), adder);
    m_names = std::move(adder.GetNames());
    m_unreadable = std::move(adder.GetUnreadable());
    if (!m_names.empty())
        m_table->SetSelected(0, 0, true);
    m_table->SetDeferLayout(false);
    if (m_names.empty())
        FindChild("Load Trackwright")->SetEnabled(false);
}

coSelectTrackwrightMenu::~coSelectTrackwrightMenu() {
    DeleteAllChildren();
    m_table = nullptr;
    g2dFont::Release(m_font);
}

envString coSelectTrackwrightMenu::GetSelectedName() const {
    std::vector<i32> rows, columns;
    m_table->GetSelectedCells(rows, columns);
    if (rows.empty() || rows.front() < 0 || static_cast<size_t>(rows.front()) >= m_names.size())
        return envString();
    return m_names[static_cast<size_t>(rows.front())];
}
