#include "Engine/GUI/Gui/guiTableBox.h"

#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiText.h"

#include <algorithm>
#include <cmath>

namespace {

// The wheel's button: the first widget under the pointer to scroll by the wheel claims it.
constexpr i32 kWheelButton = 1113;
constexpr float kHighlightDepth = 0.0f;
constexpr float kContentDepth = 0.001f;
constexpr float kBackgroundDepth = 0.002f;

bool Busy(i32 state) {
    return state != guiStateIdle && state != guiStateDisabled;
}

bool UnderPointer(i32 state) {
    return state >= guiStateOver && state <= guiStateHeld;
}

// Whether a cell's window has a look for the selected state under the pointer, a button in its picture.
bool HasSelectedOverLook(const guiWindow* content) {
    const auto* button = dynamic_cast<const guiButton*>(content);
    const auto* material = button ? button->GetImage() : dynamic_cast<const guiMaterial*>(content);
    return material && material->HasStateMaterial(guiTableBox::kSelectedOverState);
}

} // namespace

guiTableBox::guiTableBox() {
    m_background = new guiImage;
    m_background->SetName("Background");
    m_background->SetPosition({0.0f, 0.0f, kBackgroundDepth});
    AddChild(m_background);
}

guiTableBox::~guiTableBox() {
    // Every cell window is a child: foreign contents go with the table as its other children do.
    m_rows.clear();
    DeleteAllChildren();
    m_background = nullptr;
}

guiTableBox::Cell guiTableBox::MakeCell(i32 column) {
    Cell cell;
    cell.enabled = m_cellsEnabled;
    cell.highlight = new guiImage;
    cell.highlight->SetSize(m_widths[static_cast<size_t>(column)], m_rowHeight);
    cell.highlight->SetColor(m_selectionColour, guiStateIdle);
    cell.highlight->SetTransparency(m_selectionAlpha, guiStateIdle);
    cell.highlight->SetState(guiStateIdle);
    cell.highlight->SetEnabled(m_cellsEnabled);
    cell.highlight->SetVisible(false);
    AddChild(cell.highlight);
    return cell;
}

void guiTableBox::DeleteContent(Cell& cell) {
    if (cell.content && cell.ownsContent)
        RemoveAndDeleteChild(cell.content);
    else if (cell.content)
        RemoveChild(cell.content);
    cell.content = nullptr;
    cell.madeText = cell.ownsContent = false;
}

void guiTableBox::DeleteCell(Cell& cell) {
    DeleteContent(cell);
    RemoveAndDeleteChild(cell.highlight);
    cell.highlight = nullptr;
}

bool guiTableBox::ReachCell(i32 row, i32 column, const char* operation) {
    const i32 rows = GetItemCount();
    if (column < 0 || column >= static_cast<i32>(m_widths.size()) || row < 0 || row > rows) {
        DBG_WARNING("table \"%s\": %s on row %d, column %d of %d x %zu; ignored", GetName().c_str(),
                    operation, row, column, rows, m_widths.size());
        return false;
    }
    if (row == rows)
        InsertRow(row);
    return true;
}

void guiTableBox::PlaceCell(Cell& cell, i32 row, i32 column) {
    float x = 0.0f;
    for (i32 c = 0; c < column; ++c)
        x += static_cast<float>(m_widths[static_cast<size_t>(c)]);
    const float y = static_cast<float>((row - m_topRow) * m_rowHeight);
    const i32 width = m_widths[static_cast<size_t>(column)];
    cell.highlight->SetSize(width, m_rowHeight);
    cell.highlight->SetPosition({x, y, kHighlightDepth});
    if (!cell.content)
        return;
    if (cell.madeText)
        cell.content->SetSize(width, m_rowHeight);
    cell.content->SetPosition({x, y, kHighlightDepth + kContentDepth});
}

void guiTableBox::PlaceRows(i32 first) {
    for (i32 r = first; r < GetItemCount(); ++r) {
        Row& row = m_rows[static_cast<size_t>(r)];
        for (size_t c = 0; c < row.size(); ++c)
            PlaceCell(row[c], r, static_cast<i32>(c));
    }
}

void guiTableBox::InsertRow(i32 index) {
    index = std::clamp(index, 0, GetItemCount());
    Row row;
    for (size_t c = 0; c < m_widths.size(); ++c)
        row.push_back(MakeCell(static_cast<i32>(c)));
    m_rows.insert(m_rows.begin() + index, std::move(row));
    PlaceRows(index);
}

void guiTableBox::InsertColumn(i32 index, i32 width) {
    index = std::clamp(index, 0, static_cast<i32>(m_widths.size()));
    width = std::max(width, 0);
    m_widths.insert(m_widths.begin() + index, width);
    m_totalWidth += width;
    for (Row& row : m_rows)
        row.insert(row.begin() + index, MakeCell(index));
    PlaceRows(0);
}

void guiTableBox::RemoveCells(i32 row, i32 column) {
    const i32 rows = GetItemCount();
    const i32 columns = static_cast<i32>(m_widths.size());
    if (row < -1 || row >= rows || column < -1 || column >= columns) {
        DBG_WARNING("table \"%s\": no cells at row %d, column %d of %d x %d; nothing removed",
                    GetName().c_str(), row, column, rows, columns);
        return;
    }
    if (row >= 0 && column >= 0) {
        Cell& cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
        DeleteCell(cell);
        cell = MakeCell(column);
    } else if (row >= 0) {
        for (Cell& cell : m_rows[static_cast<size_t>(row)])
            DeleteCell(cell);
        m_rows.erase(m_rows.begin() + row);
    } else if (column >= 0) {
        for (Row& cells : m_rows) {
            DeleteCell(cells[static_cast<size_t>(column)]);
            cells.erase(cells.begin() + column);
        }
        m_totalWidth -= m_widths[static_cast<size_t>(column)];
        m_widths.erase(m_widths.begin() + column);
    } else {
        Clear(true);
    }
    ClampTopRow();
    PlaceRows(0);
    VisibilityPass(false);
}

void guiTableBox::Clear(bool forgetColumns) {
    for (Row& row : m_rows)
        for (Cell& cell : row)
            DeleteCell(cell);
    m_rows.clear();
    m_topRow = 0;
    m_verticalFraction = 0.0f;
    if (!forgetColumns)
        return;
    m_widths.clear();
    m_totalWidth = 0;
}

void guiTableBox::ClampTopRow() {
    m_topRow = std::max(0, std::min(m_topRow, GetItemCount() - m_visibleRows));
    UpdateFraction();
}

void guiTableBox::UpdateFraction() {
    const i32 range = GetItemCount() - m_visibleRows;
    m_verticalFraction = range > 0 ? static_cast<f32>(m_topRow) / static_cast<f32>(range) : 0.0f;
}

void guiTableBox::SetRowHeight(i32 height) {
    height = std::max(height, 0);
    if (height == m_rowHeight)
        return;
    m_rowHeight = height;
    i32 width = 0, windowHeight = 0;
    GetSize(width, windowHeight);
    m_visibleRows = height > 0 ? windowHeight / height : 0;
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (size_t c = 0; c < m_widths.size(); ++c)
            if (guiWindow* content = m_rows[r][c].content)
                content->SetSize(m_widths[c], height);
    PlaceRows(0);
    VisibilityPass(false);
}

void guiTableBox::GetDimensions(i32& rows, i32& columns) const {
    rows = GetItemCount();
    columns = static_cast<i32>(m_widths.size());
}

i32 guiTableBox::GetColumnWidth(i32 column) const {
    return column >= 0 && column < static_cast<i32>(m_widths.size()) ? m_widths[static_cast<size_t>(column)]
                                                                     : 0;
}

void guiTableBox::SetCellText(i32 row, i32 column, const std::vector<envString>& lines, i32 state) {
    if (!ReachCell(row, column, "SetCellText"))
        return;
    Cell& cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
    if (auto* text = dynamic_cast<guiText*>(cell.content)) {
        text->SetTextLines(lines, state);
        return;
    }
    DeleteContent(cell);
    auto* text = new guiText;
    text->SetName("tableboxtext");
    text->SetTextureSize(m_textureWidth, m_textureHeight);
    text->SetDrawStateInUseOnly(true);
    text->SetVisible(false);
    StyleText(*text);
    AddChild(text);
    cell.content = text;
    cell.madeText = cell.ownsContent = true;
    PlaceCell(cell, row, column);
    text->SetTextLines(lines, state);
    text->SetState(guiStateIdle);
    ShowNewContent(cell, row);
    VisibilityPass(false);
}

void guiTableBox::SetCellTexts(i32 row, i32 column, const std::vector<std::vector<envString>>& lines,
                               const std::vector<i32>& states) {
    for (size_t i = 0; i < lines.size() && i < states.size(); ++i)
        SetCellText(row, column, lines[i], states[i]);
}

void guiTableBox::SetCellWindow(i32 row, i32 column, guiWindow* window) {
    if (!window || !ReachCell(row, column, "SetCellWindow"))
        return;
    Cell& cell = m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)];
    DeleteContent(cell);
    AddChild(window);
    cell.content = window;
    PlaceCell(cell, row, column);
    window->SetState(guiStateIdle);
    ShowNewContent(cell, row);
    VisibilityPass(false);
}

void guiTableBox::SetCellWindow(i32 row, i32 column, std::unique_ptr<guiWindow> window) {
    SetCellWindow(row, column, window.get());
    if (GetCellWindow(row, column) != window.get())
        return;
    m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)].ownsContent = true;
    window.release();
}

guiWindow* guiTableBox::GetCellWindow(i32 row, i32 column) const {
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= static_cast<i32>(m_widths.size()))
        return nullptr;
    return m_rows[static_cast<size_t>(row)][static_cast<size_t>(column)].content;
}

void guiTableBox::StyleText(guiWindow& window) const {
    auto& text = static_cast<guiText&>(window);
    for (const auto& [state, colours] : m_styleColours) {
        const auto fonts = m_styleFonts.find(state);
        const auto offsets = m_styleOffsets.find(state);
        text.SetStateStyle(colours, fonts == m_styleFonts.end() ? std::vector<g2dFont>{} : fonts->second,
                           offsets == m_styleOffsets.end() ? std::vector<i32>{} : offsets->second, state);
    }
}

void guiTableBox::SetCellStateStyle(i32 state, const std::vector<g2dFont>& fonts,
                                    const std::vector<i32>& offsets,
                                    const std::vector<g3dTextColour>& colours) {
    m_styleFonts[state] = fonts;
    m_styleOffsets[state] = offsets;
    m_styleColours[state] = colours;
    for (Row& row : m_rows)
        for (Cell& cell : row)
            if (cell.madeText)
                static_cast<guiText*>(cell.content)->SetStateStyle(colours, fonts, offsets, state);
}

void guiTableBox::SetCellStateStyle(i32 state, g2dFont font, i32 offset, const g3dTextColour& colour) {
    SetCellStateStyle(state, std::vector<g2dFont>{font}, std::vector<i32>{offset},
                      std::vector<g3dTextColour>{colour});
}

g2dFont guiTableBox::GetCellStateFont(i32 state) const {
    const auto found = m_styleFonts.find(state);
    return found == m_styleFonts.end() || found->second.empty() ? g2dFont{} : found->second.front();
}

void guiTableBox::SetCellTextureSize(i32 width, i32 height) {
    if (width == m_textureWidth && height == m_textureHeight)
        return;
    m_textureWidth = width;
    m_textureHeight = height;
    for (Row& row : m_rows)
        for (Cell& cell : row)
            if (cell.madeText)
                static_cast<guiText*>(cell.content)->SetTextureSize(width, height);
}

void guiTableBox::SetCellTransparency(f32 alpha) {
    if (alpha == m_selectionAlpha)
        return;
    m_selectionAlpha = alpha;
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (Cell& cell : m_rows[r]) {
            cell.highlight->SetTransparency(alpha, guiStateIdle);
            ShowHighlight(cell, static_cast<i32>(r));
        }
}

void guiTableBox::SetCellsEnabled(bool enabled) {
    m_cellsEnabled = enabled;
    for (Row& row : m_rows)
        for (Cell& cell : row) {
            cell.enabled = enabled;
            cell.highlight->SetEnabled(cell.highlight->IsEnabled() && enabled);
        }
}

void guiTableBox::SetCellSelection(bool cellSelection) {
    m_cellSelection = cellSelection;
    if (cellSelection)
        return;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        Row& row = m_rows[r];
        if (std::any_of(row.begin(), row.end(), [](const Cell& cell) { return cell.selected; }))
            for (Cell& cell : row)
                SelectCell(cell, static_cast<i32>(r), true);
    }
}

void guiTableBox::SetSelected(i32 row, i32 column, bool selected) {
    const i32 rows = GetItemCount();
    const bool columnMissing = m_cellSelection && (column < 0 || column >= static_cast<i32>(m_widths.size()));
    if (row < -1 || row >= rows || (row >= 0 && columnMissing)) {
        DBG_WARNING("table \"%s\": no cell at row %d, column %d to select", GetName().c_str(), row, column);
        return;
    }
    for (i32 r = 0; r < rows; ++r) {
        if (row != -1 && r != row)
            continue;
        Row& cells = m_rows[static_cast<size_t>(r)];
        for (size_t c = 0; c < cells.size(); ++c)
            if (row == -1 || !m_cellSelection || static_cast<i32>(c) == column)
                SelectCell(cells[c], r, selected);
    }
}

void guiTableBox::SelectCell(Cell& cell, i32 row, bool selected) {
    if (cell.selected == selected)
        return;
    cell.selected = selected;
    ShowHighlight(cell, row);
    if (cell.content)
        cell.content->SetState(selected ? kSelectedState : guiStateIdle);
}

void guiTableBox::GetSelectedCells(std::vector<i32>& rows, std::vector<i32>& columns) const {
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (size_t c = 0; c < m_rows[r].size(); ++c)
            if (m_rows[r][c].selected) {
                rows.push_back(static_cast<i32>(r));
                columns.push_back(static_cast<i32>(c));
            }
}

void guiTableBox::GetSelectedWindows(std::vector<guiWindow*>& windows) const {
    for (const Row& row : m_rows)
        for (const Cell& cell : row)
            if (cell.selected && cell.content)
                windows.push_back(cell.content);
}

void guiTableBox::SetKeyboardWanted(bool wanted) {
    m_keyboardWanted = wanted;
    if (IsInside(GetFocusWindow()))
        appCharEventHandler::SetEnabled(wanted);
}

void guiTableBox::SetDeferLayout(bool defer) {
    m_deferLayout = defer;
    if (!defer)
        VisibilityPass(true);
}

bool guiTableBox::IsRowShown(i32 row) const {
    return row >= m_topRow && row < m_topRow + m_visibleRows;
}

bool guiTableBox::IsInside(const guiWindow* window) const {
    return window && (window == this || window->IsDescendantOf(this));
}

void guiTableBox::ShowHighlight(Cell& cell, i32 row) {
    cell.highlight->SetVisible(cell.selected && IsRowShown(row) &&
                               cell.highlight->GetTransparency(guiStateIdle) != 0.0f);
}

void guiTableBox::ShowCell(Cell& cell, i32 row) {
    const bool shown = IsRowShown(row);
    if (cell.content) {
        cell.content->SetVisible(shown);
        cell.content->SetEnabled(shown);
    }
    ShowHighlight(cell, row);
    cell.highlight->SetEnabled(shown && cell.enabled);
}

void guiTableBox::ShowNewContent(Cell& cell, i32 row) {
    // The pass below is skipped while the counts stand still, which would leave new content hidden.
    if (!m_deferLayout)
        ShowCell(cell, row);
}

void guiTableBox::VisibilityPass(bool forced) {
    const i32 rows = GetItemCount();
    if (!forced && (m_deferLayout ||
                    (rows <= m_visibleRows && rows == m_laidOutRows && m_visibleRows == m_laidOutVisible)))
        return;
    ++m_passes;
    m_laidOutRows = rows;
    m_laidOutVisible = m_visibleRows;
    for (i32 r = 0; r < rows; ++r)
        for (Cell& cell : m_rows[static_cast<size_t>(r)])
            ShowCell(cell, r);
}

void guiTableBox::ScrollTo(i32 top) {
    if (top == m_topRow || top < 0 || top + m_visibleRows > GetItemCount())
        return;
    m_topRow = top;
    UpdateFraction();
    PlaceRows(0);
    VisibilityPass(false);
}

void guiTableBox::SetVisible(bool visible) {
    guiContainer::SetVisible(visible);
    if (visible)
        VisibilityPass(false);
}

void guiTableBox::SetPosition(const maVector3d& position) {
    guiWindow::SetPosition(position);
    const maVector3d& back = m_background->GetPosition();
    m_background->SetPosition({back.x, back.y, kBackgroundDepth});
    PlaceRows(0);
}

void guiTableBox::SetSize(i32 width, i32 height) {
    guiContainer::SetSize(width, height);
    m_background->SetSize(width, height);
    i32 w = 0, h = 0;
    GetSize(w, h);
    m_visibleRows = m_rowHeight > 0 ? h / m_rowHeight : 0;
    VisibilityPass(false);
}

void guiTableBox::OnChar(appCharEvent* event) {
    switch (event->GetChar()) {
    case appKeyCharPageUp:
        ScrollTo(m_topRow - m_visibleRows);
        break;
    case appKeyCharPageDown:
        ScrollTo(m_topRow + m_visibleRows);
        break;
    case appKeyCharUp:
        ScrollTo(m_topRow - 1);
        break;
    case appKeyCharDown:
        ScrollTo(m_topRow + 1);
        break;
    default:
        break;
    }
}

void guiTableBox::Think() {
    guiContainer::Think();
    const bool pointed = IsInside(GetOverWindow());
    appCharEventHandler::SetEnabled(m_keyboardWanted && pointed);
    const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
    if (joystick && guiMouseButtons::IsUnclaimed(kWheelButton)) {
        i32 x = 0, y = 0, wheel = 0;
        joystick->GetAxis3D(0, x, y, wheel);
        if (wheel != 0 && pointed) {
            ScrollTo(m_topRow - wheel);
            guiMouseButtons::Claim(kWheelButton);
        }
    }
    if (!m_cellsEnabled)
        return;
    // The pointer's state spreads over the row; selected cells show the selected state, lit under the
    // pointer where their windows have a look for that.
    std::vector<std::pair<size_t, size_t>> selected;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        Row& row = m_rows[r];
        const auto pointed = [](const Cell& cell) {
            return UnderPointer(cell.highlight->GetState()) ||
                   (cell.content && UnderPointer(cell.content->GetState()));
        };
        const bool rowPointed = !m_cellSelection && std::any_of(row.begin(), row.end(), pointed);
        for (size_t c = 0; c < row.size(); ++c) {
            Cell& cell = row[c];
            if (cell.content && Busy(cell.highlight->GetState()))
                cell.content->SetState(cell.highlight->GetState());
            if (cell.selected) {
                selected.emplace_back(r, c);
                const bool lit = (rowPointed || pointed(cell)) && HasSelectedOverLook(cell.content);
                cell.highlight->SetState(kSelectedState);
                if (cell.content)
                    cell.content->SetState(lit ? kSelectedOverState : kSelectedState);
            } else if (!m_cellSelection && cell.content && Busy(cell.content->GetState())) {
                const i32 state = cell.content->GetState();
                for (Cell& other : row)
                    if (&other != &cell && other.content)
                        other.content->SetState(state);
            }
        }
    }
    // A selected cell was just put in the selected state, so only another cell reads as a click.
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (size_t c = 0; c < m_rows[r].size(); ++c) {
            const Cell& cell = m_rows[r][c];
            const bool clicked = cell.highlight->GetState() == guiStateReleased ||
                                 (cell.content && cell.content->GetState() == guiStateReleased);
            if (!clicked)
                continue;
            for (const auto& [sr, sc] : selected) {
                if (m_cellSelection)
                    SelectCell(m_rows[sr][sc], static_cast<i32>(sr), false);
                else
                    for (Cell& other : m_rows[sr])
                        SelectCell(other, static_cast<i32>(sr), false);
            }
            if (m_cellSelection)
                SelectCell(m_rows[r][c], static_cast<i32>(r), true);
            else
                for (Cell& other : m_rows[r])
                    SelectCell(other, static_cast<i32>(r), true);
            return;
        }
}

bool guiTableBox::FitsVertically() const {
    return m_visibleRows >= GetItemCount();
}

bool guiTableBox::FitsHorizontally() const {
    i32 width = 0, height = 0;
    GetSize(width, height);
    return m_totalWidth <= width;
}

void guiTableBox::SetVerticalScroll(float fraction) {
    if (!std::isfinite(fraction))
        return;
    m_verticalFraction = fraction;
    const double target = std::floor(static_cast<double>(GetItemCount() - m_visibleRows) * fraction + 0.5);
    if (target >= 0.0 && target <= static_cast<double>(GetItemCount()))
        ScrollTo(static_cast<i32>(target));
}

i32 guiTableBox::GetSelection() const {
    for (size_t r = 0; r < m_rows.size(); ++r)
        for (const Cell& cell : m_rows[r])
            if (cell.selected)
                return static_cast<i32>(r);
    return -1;
}

void guiTableBox::Select(i32 row) {
    if (row < 0 || row >= GetItemCount()) {
        DBG_WARNING("table \"%s\": no row %d to select", GetName().c_str(), row);
        return;
    }
    for (Cell& cell : m_rows[static_cast<size_t>(row)])
        SelectCell(cell, row, true);
}

const envString& guiTableBox::GetItemText(i32 row) const {
    if (row < 0 || row >= GetItemCount() || m_rows[static_cast<size_t>(row)].empty())
        return gnfEmptyString();
    const auto* text = dynamic_cast<const guiText*>(m_rows[static_cast<size_t>(row)].front().content);
    const guiTextRecord* record = text ? text->FindRecord(guiStateIdle) : nullptr;
    return record ? record->fields.front() : gnfEmptyString();
}
