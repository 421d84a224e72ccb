#pragma once
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Source/SavedCoaster/coLoadCache.h"

#include <functional>
#include <vector>

class guiTableBox;

// The load menu's widget tree from the script "uilm": the player's saved coasters in a table of four
// sortable columns (name, environment, track type, date), and "Build", "Ride" and "Delete" following the
// selected coaster. Construction brings the load-menu cache up to date from the saves folders; the end
// writes it back. Coasters whose track type or environment is missing are listed in red.
class coLoadMenu : public guiContainer {
  public:
    enum SortKey : i32 { kByName = 1, kByEnvironment, kByTrackType, kByDate };

    // askQuestion runs the question of that dialog text, naming the coaster, before a delete; true for
    // OK. Throws coScreenScriptX for a script without its widgets, and the loaders' exceptions.
    explicit coLoadMenu(std::function<bool(u32 textEntry, const envString& name)> askQuestion);
    ~coLoadMenu() override;

    void Think() override;

    // The selected coaster's name and file; empty when no row is selected.
    envString GetSelectedName() const;
    fsLocator GetSelectedFile() const;
    guiTableBox* GetTable() const { return m_table; }
    // The listed coasters in display order.
    const std::vector<coLoadCacheEntry>& GetEntries() const { return m_entries; }
    // The saves folders that could not be read: their coasters are not listed.
    const std::vector<fsLocator>& GetUnreadableFolders() const { return m_unreadable; }

  private:
    void RebuildList();
    void CollectEntries();
    void SortEntries();
    void FillRow(i32 row, const coLoadCacheEntry& entry);
    void SetButtons(i32 row);
    void DisableButtons();
    void DeleteSelected(i32 row);
    i32 FirstSelectedRow() const;

    std::function<bool(u32, const envString&)> m_askQuestion;
    guiTableBox* m_table = nullptr;
    g2dFont m_font;
    coLoadCacheMap m_cache;
    // Set when the cache file no longer holds the map: a coaster file was read or deleted.
    bool m_cacheChanged = false;
    std::vector<coLoadCacheEntry> m_entries;
    std::vector<fsLocator> m_unreadable;
    i32 m_selectedRow = -1;
    i32 m_sortKey = kByName;
    envString m_environmentFilter;
    envString m_trackTypeFilter;
};
