#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/GUI/Gnf/gnfSelection.h"
#include "Engine/GUI/Gnf/gnfView.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <vector>

class guiButton;
class guiImage;

// A single column of text rows, each a button made like the row template, with exactly one selected
// row shown by a highlight that repeats its text. Keys move the selection and scroll it into view, the
// wheel scrolls, a click selects. Rows off view are hidden and disabled, so they draw no text.
class guiListBox : public guiContainer, public appCharEventHandler, public gnfView, public gnfSelection {
  public:
    guiListBox();
    ~guiListBox() override;

    // The window's flag, not the character handler's.
    using guiContainer::IsEnabled;
    using guiContainer::SetEnabled;

    // Taken by the next SetSize.
    void SetRowHeight(i32 height) { m_rowHeight = height; }
    i32 GetRowHeight() const { return m_rowHeight; }
    // Filled like any button; rows made later copy its looks.
    guiButton* GetRowTemplate() const { return m_template; }
    guiButton* GetHighlight() const { return m_highlight; }
    guiImage* GetBackground() const { return m_background; }
    // Null beyond the rows.
    guiButton* GetRow(i32 index) const;
    i32 GetVisibleRows() const { return m_visibleRows; }
    // The first row on view.
    i32 GetTopRow() const;

    // The index is clamped to 0..row count. The first row of an empty list becomes the selection.
    void InsertRow(i32 index, const envString& text);
    void AppendRow(const envString& text);
    // An index that names no row is ignored.
    void RemoveRow(i32 index);
    void RemoveAllRows();

    void SetSize(i32 width, i32 height) override;
    void SetPosition(const maVector3d& position) override;
    void Think() override;
    void OnChar(appCharEvent* event) override;

    bool FitsVertically() const override { return m_visibleRows >= GetItemCount(); }
    float GetVerticalScroll() const override { return m_fraction; }
    void SetVerticalScroll(float fraction) override;

    i32 GetSelection() const override { return m_selection; }
    // Clamped to the rows; an empty list keeps -1.
    void Select(i32 index) override;
    const envString& GetItemText(i32 index) const override;
    i32 GetItemCount() const override { return static_cast<i32>(m_rows.size()); }

  private:
    guiButton* MakeRow(const envString& text) const;
    i32 TopRowOf(float fraction) const;
    void GetVisibleRange(i32& first, i32& last) const;
    float FractionOf(i32 row) const;
    i32 ClampRow(i32 row) const;
    void LayoutRows();
    // On the selected row, keeping its own depth.
    void PlaceHighlight();
    bool IsPointed() const;

    i32 m_rowHeight = 0;
    i32 m_visibleRows = 0;
    i32 m_selection = -1;
    float m_fraction = 0.0f;
    guiImage* m_background = nullptr;
    guiButton* m_highlight = nullptr;
    guiButton* m_template = nullptr;
    std::vector<guiButton*> m_rows;
    // The highlight text's states that repeat the selected row's text.
    std::vector<i32> m_highlightStates{0, 1, 2, 3, 4, 5};
};
