#include "Source/Screens/coLoadMenu.h"

#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiTableBox.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

namespace {

constexpr const char* kScript = "uilm";
// Rows of 16 pixels: 22 of them in the 352-pixel list.
constexpr i32 kRowHeight = 16;
constexpr i32 kCellStates[] = {0, 1, 3, guiTableBox::kSelectedState, guiTableBox::kSelectedOverState};
constexpr const char* kHeaders[] = {"Name", "Environment", "TrackType", "Date"};

// Brings each coaster file found up to date in its own copy of the cache, keeping the loading screen
// up. It is presented after each 40 ms of scanning rather than once a file: with a frame a file,
// presenting (in step with the display) would cost far more than reading the cache, and hundreds of
// coasters would take seconds.
class RowAdder : public fsFileEnum::EnumTarget {
  public:
    explicit RowAdder(coLoadCacheMap cache) : m_cache(std::move(cache)) {}
    bool OnEntry(const fsLocator& directory, const fsLocator& entry) override {
        fsLocator file = directory;
        file.AppendComponent(entry.GetLastComponent());
        m_readAny = coScanLoadCacheFile(file, m_cache) || m_readAny;
        if (std::chrono::steady_clock::now() - m_lastShown >= kShowInterval) {
            coLoadingScreenShow(false);
            m_lastShown = std::chrono::steady_clock::now();
        }
        return true;
    }
    void OnUnreadable(const fsLocator& directory) override { m_unreadable.push_back(directory); }
    coLoadCacheMap& GetCache() { return m_cache; }
    std::vector<fsLocator>& GetUnreadable() { return m_unreadable; }
    // Whether a coaster file was read, so that the cache changed.
    bool ReadAny() const { return m_readAny; }

  private:
    static constexpr std::chrono::milliseconds kShowInterval{40};
    coLoadCacheMap m_cache;
    std::vector<fsLocator> m_unreadable;
    bool m_readAny = false;
    std::chrono::steady_clock::time_point m_lastShown = std::chrono::steady_clock::now();
};

bool ByName(const coLoadCacheEntry& a, const coLoadCacheEntry& b) {
    return a.name < b.name;
}
bool ByEnvironment(const coLoadCacheEntry& a, const coLoadCacheEntry& b) {
    if (a.environmentText == b.environmentText)
        return ByName(a, b);
    return a.environmentText < b.environmentText;
}
bool ByTrackType(const coLoadCacheEntry& a, const coLoadCacheEntry& b) {
    if (a.trackTypeText == b.trackTypeText)
        return ByName(a, b);
    return a.trackTypeText < b.trackTypeText;
}
bool ByDate(const coLoadCacheEntry& a, const coLoadCacheEntry& b) {
    if (a.fileTime == b.fileTime)
        return ByName(a, b);
    return a.fileTime > b.fileTime;
}

} // namespace

coLoadMenu::coLoadMenu(std::function<bool(u32 textEntry, const envString& name)> askQuestion)
    : m_askQuestion(std::move(askQuestion)) {
    m_font = g2dFont::GetByTextId(1, 14);
    i32 width = 0, height = 0;
    g2dScreen::GetSize(width, height);
    SetSize(width, height);
    coLoadScreenScript(kScript, "uilm.tsf", this);
    for (const char* name : {"Build", "Ride", "Delete", "Back", "Main Menu"})
        coFindWidget<guiWindow>(*this, kScript, name, "Button");
    for (const char* name : kHeaders)
        coFindWidget<guiWindow>(*this, kScript, name, "Button");
    auto* box = coFindWidget<xuiScrollBox>(*this, kScript, "ScrollBox", "ScrollBox");

    auto table = std::make_unique<guiTableBox>();
    m_table = table.get();
    m_table->SetName("LoadBox");
    m_table->GetBackground()->SetEnabled(false);
    m_table->GetBackground()->SetVisible(false);
    m_table->SetDeferLayout(true);
    m_table->SetSize(512, 352);
    m_table->SetRowHeight(kRowHeight);
    for (const i32 state : kCellStates) {
        const g3dTextColour colour = state == 0                                 ? g3dTextColour{255, 255, 255}
                                     : state == guiTableBox::kSelectedState     ? g3dTextColour{0, 255, 0}
                                     : state == guiTableBox::kSelectedOverState ? g3dTextColour{150, 255, 150}
                                                                                : g3dTextColour{255, 252, 0};
        // Each half of a row holds two texts, each under its header's caption.
        m_table->SetCellStateStyle(state, {m_font, m_font}, {coListTextMargin, 164}, {colour, colour});
    }
    m_table->SetCellTransparency(0.0f);
    // Text textures as high as the rows, so the texts show 1:1.
    m_table->SetCellTextureSize(256, kRowHeight);
    m_table->InsertColumn(0, 256);
    m_table->InsertColumn(1, 256);
    box->SetView(std::move(table));

    coReadLoadCache(m_cache);
    RowAdder adder(m_cache);
    coLoadingScreenShow(true);
    // Every file: the name test of the scan takes ".csa" in any case, which a filter would not.
    fsEnumerateFiles(fsLocator(coRootSaves), adder);
    m_cache = std::move(adder.GetCache());
    m_unreadable = std::move(adder.GetUnreadable());
    m_cacheChanged = adder.ReadAny();

    RebuildList();
    coLoadingScreenStep();
    if (m_entries.empty()) {
        DisableButtons();
        return;
    }
    m_selectedRow = 0;
    m_table->SetSelected(0, 0, true);
    SetButtons(0);
}

coLoadMenu::~coLoadMenu() {
    DeleteAllChildren();
    m_table = nullptr;
    g2dFont::Release(m_font);
    // Every entry came from the cache file and its coaster file is still there unchanged: the cache
    // file already holds what the write would give.
    const bool unchanged =
        !m_cacheChanged && !m_cache.empty() &&
        std::all_of(m_cache.begin(), m_cache.end(), [](const auto& cached) { return cached.second.seen; });
    if (unchanged)
        return;
    // The cache only saves time: a failed write leaves the next opening to read the files again.
    try {
        coWriteLoadCache(m_cache);
    } catch (const envExceptionX& e) {
        DBG_WARNING("The load-menu cache cannot be written (error 0x%08X)", e.GetCode());
    }
}

void coLoadMenu::RebuildList() {
    m_entries.clear();
    m_table->Clear(false);
    CollectEntries();
    SortEntries();
    m_table->SetDeferLayout(true);
    for (size_t i = 0; i < m_entries.size(); ++i)
        FillRow(static_cast<i32>(i), m_entries[i]);
    m_table->SetDeferLayout(false);
    if (!m_entries.empty())
        m_table->SetSelected(0, 0, true);
}

void coLoadMenu::CollectEntries() {
    for (const auto& [file, entry] : m_cache) {
        if (entry.seen &&
            (m_environmentFilter.GetLength() == 0 || m_environmentFilter == entry.environmentText) &&
            (m_trackTypeFilter.GetLength() == 0 || m_trackTypeFilter == entry.trackTypeText))
            m_entries.push_back(entry);
    }
}

void coLoadMenu::SortEntries() {
    constexpr bool (*kComparators[])(const coLoadCacheEntry&,
                                     const coLoadCacheEntry&) = {ByName, ByEnvironment, ByTrackType, ByDate};
    if (m_sortKey >= kByName && m_sortKey <= kByDate)
        std::sort(m_entries.begin(), m_entries.end(), kComparators[m_sortKey - kByName]);
}

void coLoadMenu::FillRow(i32 row, const coLoadCacheEntry& entry) {
    m_table->InsertRow(row);
    const std::vector<i32> states(std::begin(kCellStates), std::end(kCellStates));
    const std::vector<std::vector<envString>> left(states.size(), {entry.name, entry.environmentText});
    const std::vector<std::vector<envString>> right(states.size(), {entry.trackTypeText, entry.dateText});
    m_table->SetCellTexts(row, 0, left, states);
    m_table->SetCellTexts(row, 1, right, states);
    if (entry.loadable)
        return;
    for (const i32 column : {0, 1})
        for (const i32 state : kCellStates)
            m_table->GetCellWindow(row, column)->SetColor({255, 0, 0}, state);
}

void coLoadMenu::SetButtons(i32 row) {
    const coLoadCacheEntry& entry = m_entries[static_cast<size_t>(row)];
    FindChild("Build")->SetEnabled(entry.loadable);
    FindChild("Ride")->SetEnabled(entry.finished && entry.loadable);
    FindChild("Delete")->SetEnabled(!entry.readOnly);
}

void coLoadMenu::DisableButtons() {
    for (const char* name : {"Delete", "Ride", "Build"})
        FindChild(name)->SetEnabled(false);
}

i32 coLoadMenu::FirstSelectedRow() const {
    std::vector<i32> rows, columns;
    m_table->GetSelectedCells(rows, columns);
    if (rows.empty() || rows.front() < 0 || static_cast<size_t>(rows.front()) >= m_entries.size())
        return -1;
    return rows.front();
}

envString coLoadMenu::GetSelectedName() const {
    const i32 row = FirstSelectedRow();
    return row < 0 ? envString() : m_entries[static_cast<size_t>(row)].name;
}

fsLocator coLoadMenu::GetSelectedFile() const {
    const i32 row = FirstSelectedRow();
    return row < 0 ? fsLocator() : m_entries[static_cast<size_t>(row)].file;
}

void coLoadMenu::Think() {
    guiContainer::Think();
    if (m_entries.empty())
        return;
    const i32 row = FirstSelectedRow();
    for (i32 key = kByName; key <= kByDate; ++key) {
        if (FindChild(kHeaders[key - kByName])->GetState() == guiStateReleased) {
            m_sortKey = key;
            RebuildList();
            SetButtons(0);
            return;
        }
    }
    if (FindChild("Delete")->GetState() == guiStateReleased) {
        if (row >= 0)
            DeleteSelected(row);
    } else if (row >= 0 && row != m_selectedRow) {
        m_selectedRow = row;
        SetButtons(row);
    }
}

void coLoadMenu::DeleteSelected(i32 row) {
    if (!m_askQuestion(coQuestionDeleteCoaster, m_entries[static_cast<size_t>(row)].name))
        return;
    // The entry's own file: with several saves folders, the one it was found in.
    const fsLocator file = m_entries[static_cast<size_t>(row)].file;
    try {
        fsDeleteFile(file);
    } catch (const fsFileDoesntExistX&) {
        // Gone already (removed behind the menu's back): the entry goes all the same.
    }
    m_table->RemoveCells(row, -1);
    coLoadCacheEntry gone;
    gone.file = file;
    m_cache[file] = gone;
    m_cacheChanged = true;
    m_entries.erase(m_entries.begin() + row);
    if (m_entries.empty()) {
        DisableButtons();
        return;
    }
    m_selectedRow = std::clamp(m_selectedRow, 0, static_cast<i32>(m_entries.size()) - 1);
    m_table->SetSelected(m_selectedRow, 0, true);
    SetButtons(m_selectedRow);
}
