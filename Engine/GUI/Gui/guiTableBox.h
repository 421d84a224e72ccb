#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/GUI/Gnf/gnfSelection.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"

#include <map>
#include <memory>
#include <vector>

class guiImage;

// A grid of rows and columns whose cells hold windows, usually texts the table makes itself, each cell
// with its own selection highlight. Rows are the row height high; the rows from the top row on that fit
// the window are shown. Rows or single cells are selected by the pointer, the view scrolls by keys,
// wheel and fraction. Indices that name no row or column are refused with a warning.
class guiTableBox : public guiContainer, public appCharEventHandler, public gnfView, public gnfSelection {
  public:
    // The state that selected cells show, and under the pointer where their windows have a look for it.
    static constexpr i32 kSelectedState = 6;
    static constexpr i32 kSelectedOverState = 7;

    guiTableBox();
    ~guiTableBox() override;

    // The window's flag, not the character handler's.
    using guiContainer::IsEnabled;
    using guiContainer::SetEnabled;

    // Clamped to 0..row count, so any larger index appends.
    void InsertRow(i32 index);
    // Clamped to 0..column count; later columns move right.
    void InsertColumn(i32 index, i32 width);
    // -1 stands for every row or column: one cell emptied, a row, a column, or everything.
    void RemoveCells(i32 row, i32 column);
    // Every row goes; with forgetColumns the columns too.
    void Clear(bool forgetColumns);
    void SetRowHeight(i32 height);
    i32 GetRowHeight() const { return m_rowHeight; }
    void GetDimensions(i32& rows, i32& columns) const;
    // 0 for a column that is not there.
    i32 GetColumnWidth(i32 column) const;

    // A row equal to the row count appends one first.
    void SetCellText(i32 row, i32 column, const std::vector<envString>& lines, i32 state);
    void SetCellTexts(i32 row, i32 column, const std::vector<std::vector<envString>>& lines,
                      const std::vector<i32>& states);
    // The window becomes a child that the table does not own: replaced or removed with its cell, it is
    // the caller's again; one still in the table when the table goes is deleted with it.
    void SetCellWindow(i32 row, i32 column, guiWindow* window);
    // A window the table owns from here on: deleted with its cell, or at once when the cell is refused.
    void SetCellWindow(i32 row, i32 column, std::unique_ptr<guiWindow> window);
    guiWindow* GetCellWindow(i32 row, i32 column) const;
    // The per-line style lists of the texts the table makes; the values are guiText's x offsets.
    void SetCellStateStyle(i32 state, const std::vector<g2dFont>& fonts, const std::vector<i32>& offsets,
                           const std::vector<g3dTextColour>& colours);
    void SetCellStateStyle(i32 state, g2dFont font, i32 offset, const g3dTextColour& colour);
    // Null when the state has no font.
    g2dFont GetCellStateFont(i32 state) const;
    void SetCellTextureSize(i32 width, i32 height);
    // The state-0 transparency of every highlight; 0 keeps them hidden.
    void SetCellTransparency(f32 alpha);
    void SetCellsEnabled(bool enabled);

    // Switching it off selects the whole row of every cell that was selected.
    void SetCellSelection(bool cellSelection);
    // Row -1 is every row; the column counts with cell selection only.
    void SetSelected(i32 row, i32 column, bool selected);
    void GetSelectedCells(std::vector<i32>& rows, std::vector<i32>& columns) const;
    void GetSelectedWindows(std::vector<guiWindow*>& windows) const;
    void SetKeyboardWanted(bool wanted);
    // Set around filling a table: clearing it runs one visibility pass.
    void SetDeferLayout(bool defer);

    i32 GetTopRow() const { return m_topRow; }
    i32 GetVisibleRows() const { return m_visibleRows; }
    // Visibility passes run so far, for the cost of filling.
    i32 GetVisibilityPassCount() const { return m_passes; }
    guiImage* GetBackground() const { return m_background; }

    void SetVisible(bool visible) override;
    void Think() override;
    void SetPosition(const maVector3d& position) override;
    void SetSize(i32 width, i32 height) override;
    void OnChar(appCharEvent* event) override;

    bool FitsVertically() const override;
    bool FitsHorizontally() const override;
    float GetHorizontalScroll() const override { return 0.0f; }
    float GetVerticalScroll() const override { return m_verticalFraction; }
    void SetVerticalScroll(float fraction) override;

    // The first row with a selected cell, or -1.
    i32 GetSelection() const override;
    // Selects every cell of the row; the earlier selection stays.
    void Select(i32 row) override;
    // The state-0 text of the row's first cell when that is a text.
    const envString& GetItemText(i32 row) const override;
    i32 GetItemCount() const override { return static_cast<i32>(m_rows.size()); }

  private:
    struct Cell {
        bool madeText = false;
        bool ownsContent = false;
        bool selected = false;
        bool enabled = true;
        guiWindow* content = nullptr;
        guiImage* highlight = nullptr;
    };
    using Row = std::vector<Cell>;

    Cell MakeCell(i32 column);
    void DeleteCell(Cell& cell);
    void DeleteContent(Cell& cell);
    // A row equal to the count is appended; false with a warning for anything else out of range.
    bool ReachCell(i32 row, i32 column, const char* operation);
    void PlaceCell(Cell& cell, i32 row, i32 column);
    void PlaceRows(i32 first);
    void ScrollTo(i32 top);
    // After rows went: the top row comes back so that the window stays full.
    void ClampTopRow();
    void UpdateFraction();
    void VisibilityPass(bool forced);
    bool IsRowShown(i32 row) const;
    // A cell is shown and enabled in the rows on view; its highlight only while selected and not clear.
    void ShowCell(Cell& cell, i32 row);
    void ShowHighlight(Cell& cell, i32 row);
    void ShowNewContent(Cell& cell, i32 row);
    void SelectCell(Cell& cell, i32 row, bool selected);
    void StyleText(guiWindow& text) const;
    bool IsInside(const guiWindow* window) const;

    guiImage* m_background = nullptr;
    bool m_cellSelection = false;
    i32 m_rowHeight = 0;
    std::vector<i32> m_widths;
    i32 m_totalWidth = 0;
    f32 m_selectionAlpha = 0.0f;
    g3dTextColour m_selectionColour{0, 0, 0};
    i32 m_textureWidth = 128;
    i32 m_textureHeight = 64;
    std::map<i32, std::vector<g2dFont>> m_styleFonts;
    std::map<i32, std::vector<i32>> m_styleOffsets;
    std::map<i32, std::vector<g3dTextColour>> m_styleColours;
    std::vector<Row> m_rows;
    i32 m_topRow = 0;
    i32 m_visibleRows = 0;
    bool m_deferLayout = false;
    i32 m_laidOutRows = 0;
    i32 m_laidOutVisible = 0;
    bool m_keyboardWanted = true;
    bool m_cellsEnabled = true;
    f32 m_verticalFraction = 0.0f;
    i32 m_passes = 0;
};
