#include "Engine/GUI/Gui/guiListBox.h"

#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"

#include <algorithm>
#include <cmath>

namespace {

// The depth of the list's parts never reaches 0, so the highlight stays in front of the rows.
constexpr float kLeastDepth = 0.02f;

// 0 for anything not above 0 (NaN too), 1 for anything at or above 1.
float Clamp01(float f) {
    return !(f > 0.0f) ? 0.0f : f >= 1.0f ? 1.0f : f;
}

} // namespace

guiListBox::guiListBox() {
    m_background = new guiImage;
    m_background->SetName("Background");
    AddChild(m_background);
    m_highlight = new guiButton;
    m_highlight->SetName("Highlight");
    AddChild(m_highlight);
    m_template = new guiButton;
    m_template->SetName("RowTemplate");
    m_template->SetVisible(false);
    m_template->SetEnabled(false);
    SetPosition(GetPosition());
    appCharEventHandler::SetEnabled(false);
}

guiListBox::~guiListBox() {
    m_rows.clear();
    DeleteAllChildren();
    delete m_template;
    m_background = nullptr;
    m_highlight = nullptr;
    m_template = nullptr;
}

guiButton* guiListBox::GetRow(i32 index) const {
    return index >= 0 && index < GetItemCount() ? m_rows[static_cast<size_t>(index)] : nullptr;
}

guiButton* guiListBox::MakeRow(const envString& text) const {
    auto* row = new guiButton;
    // Off view until the layout places it, so it draws no text before it is seen.
    row->SetVisible(false);
    row->SetEnabled(false);
    const guiText& form = *m_template->GetText();
    guiText& rowText = *row->GetText();
    i32 w = 0, h = 0;
    form.GetSize(w, h);
    rowText.SetSize(w, h);
    form.GetTextureSize(w, h);
    rowText.SetTextureSize(w, h);
    rowText.SetDefaultColor(form.GetDefaultColor());
    rowText.SetDefaultFont(form.GetDefaultFont());
    rowText.SetDefaultXOffset(form.GetDefaultXOffset());
    for (i32 state : m_highlightStates) {
        const guiTextRecord* record = form.FindRecord(state);
        // State 0 always holds the text: the list reads its rows' texts there.
        if (!record && state != guiStateIdle)
            continue;
        if (record) {
            rowText.SetStateStyle(record->colours, record->fonts, record->offsets, state);
            rowText.SetTile(record->tile.x, record->tile.y, state);
        }
        rowText.SetText(text, state);
    }
    const guiImage& image = *m_template->GetImage();
    guiImage& rowImage = *row->GetImage();
    for (i32 state : m_highlightStates) {
        if (!image.HasStateMaterial(state))
            continue;
        rowImage.SetColor(image.GetColor(state), state);
        rowImage.SetTransparency(image.GetTransparency(state), state);
        if (!image.HasTexture(state))
            continue;
        fsLocator file;
        image.GetImageFile(state, file);
        rowImage.SetImage(file, state);
        f32 u = 1.0f, v = 1.0f;
        image.GetTile(u, v, state);
        rowImage.SetTile(u, v, state);
        rowImage.SetTextureOffset(image.GetTextureOffset(state), state);
    }
    row->SetTextPositioning(m_template->GetTextPositioning());
    f32 iw = 0, ih = 0, tw = 0, th = 0;
    m_template->GetLayout(iw, ih, tw, th);
    row->SetLayout(iw, ih, tw, th);
    row->SetOrientation(m_template->GetOrientation());
    row->SetPivotPoint(m_template->GetPivotPoint());
    row->SetScale(m_template->GetScale());
    m_template->GetSize(w, h);
    row->SetSize(w, h);
    i32 horizontal = 0, vertical = 0;
    m_template->GetJustification(horizontal, vertical);
    row->SetJustification(horizontal, vertical);
    row->SetPosition(m_template->GetPosition());
    row->SetState(guiStateIdle);
    return row;
}

void guiListBox::InsertRow(i32 index, const envString& text) {
    index = std::clamp(index, 0, GetItemCount());
    guiButton* row = MakeRow(text);
    AddChild(row);
    m_rows.insert(m_rows.begin() + index, row);
    if (m_selection < 0)
        Select(0);
    i32 first = 0, last = 0;
    GetVisibleRange(first, last);
    if (index >= first && index <= last)
        LayoutRows();
}

void guiListBox::AppendRow(const envString& text) {
    InsertRow(GetItemCount(), text);
}

void guiListBox::RemoveRow(i32 index) {
    guiButton* row = GetRow(index);
    if (!row)
        return;
    m_rows.erase(m_rows.begin() + index);
    RemoveAndDeleteChild(row);
    LayoutRows();
}

void guiListBox::RemoveAllRows() {
    for (i32 i = GetItemCount() - 1; i >= 0; --i)
        RemoveRow(i);
}

i32 guiListBox::TopRowOf(float fraction) const {
    return static_cast<i32>(
        std::floor(Clamp01(fraction) * static_cast<float>(GetItemCount() - m_visibleRows) + 0.5f));
}

void guiListBox::GetVisibleRange(i32& first, i32& last) const {
    const i32 n = GetItemCount();
    first = std::max(TopRowOf(m_fraction), 0);
    if (n > m_visibleRows && first > n - m_visibleRows)
        first = n - m_visibleRows;
    last = std::min(first + m_visibleRows - 1, n - 1);
}

i32 guiListBox::GetTopRow() const {
    i32 first = 0, last = 0;
    GetVisibleRange(first, last);
    return first;
}

i32 guiListBox::ClampRow(i32 row) const {
    return std::clamp(row, 0, std::max(GetItemCount() - 1, 0));
}

float guiListBox::FractionOf(i32 row) const {
    const i32 range = GetItemCount() - m_visibleRows;
    return range > 0 ? Clamp01(static_cast<float>(ClampRow(row)) / static_cast<float>(range)) : 0.0f;
}

void guiListBox::LayoutRows() {
    i32 first = 0, last = 0;
    GetVisibleRange(first, last);
    i32 width = 0, height = 0;
    GetSize(width, height);
    for (i32 i = 0; i < GetItemCount(); ++i) {
        guiButton& row = *m_rows[static_cast<size_t>(i)];
        const bool shown = i >= first && i <= last;
        if (shown) {
            row.SetSize(width, m_rowHeight);
            row.SetPosition({0.0f, static_cast<float>((i - first) * m_rowHeight), row.GetPosition().z});
        }
        row.SetVisible(shown);
        row.SetEnabled(shown);
    }
    if (m_rows.empty()) {
        m_selection = -1;
        m_fraction = 0.0f;
    } else if (m_selection != ClampRow(m_selection)) {
        Select(m_selection);
    }
}

void guiListBox::Select(i32 index) {
    if (m_rows.empty())
        return;
    m_selection = ClampRow(index);
    PlaceHighlight();
    const envString& text = GetItemText(m_selection);
    for (i32 state : m_highlightStates)
        m_highlight->GetText()->SetText(text, state);
}

void guiListBox::PlaceHighlight() {
    const guiButton& row = *m_rows[static_cast<size_t>(m_selection)];
    m_highlight->SetPosition({row.GetPosition().x, row.GetPosition().y, m_highlight->GetPosition().z});
}

const envString& guiListBox::GetItemText(i32 index) const {
    const guiButton* row = GetRow(index);
    const guiTextRecord* record = row ? row->GetText()->FindRecord(guiStateIdle) : nullptr;
    return record ? record->fields.front() : gnfEmptyString();
}

void guiListBox::SetVerticalScroll(float fraction) {
    if (!std::isfinite(fraction))
        return;
    m_fraction = fraction;
    LayoutRows();
}

void guiListBox::SetSize(i32 width, i32 height) {
    guiContainer::SetSize(width, height);
    if (m_rowHeight < 1)
        return;
    GetSize(width, height);
    m_visibleRows = height / m_rowHeight;
    m_highlight->SetSize(width, m_rowHeight);
    m_template->SetSize(width, m_rowHeight);
    m_background->SetSize(width, height);
    // Rows added before the size would otherwise wait for the next scroll to be placed.
    LayoutRows();
}

void guiListBox::SetPosition(const maVector3d& position) {
    guiWindow::SetPosition(position);
    const float depth = std::max(position.z, kLeastDepth);
    const auto keepPlace = [](guiWindow& window, float z) {
        window.SetPosition({window.GetPosition().x, window.GetPosition().y, z});
    };
    keepPlace(*m_background, depth);
    keepPlace(*m_template, depth - 0.01f);
    keepPlace(*m_highlight, depth - 0.02f);
    // Rows made before the list was placed would stay behind its background.
    for (guiButton* row : m_rows)
        keepPlace(*row, depth - 0.01f);
}

bool guiListBox::IsPointed() const {
    const guiWindow* over = GetOverWindow();
    return over && (over == this || over->IsDescendantOf(this));
}

void guiListBox::OnChar(appCharEvent* event) {
    if (m_selection < 0 || m_rows.empty())
        return;
    const char16_t c = event->GetChar();
    const i32 step = c == appKeyCharPageUp     ? -m_visibleRows
                     : c == appKeyCharPageDown ? m_visibleRows
                     : c == appKeyCharUp       ? -1
                     : c == appKeyCharDown     ? 1
                                               : 0;
    if (step == 0)
        return;
    Select(m_selection + step);
    i32 first = 0, last = 0;
    GetVisibleRange(first, last);
    if (m_selection < first)
        m_fraction = FractionOf(m_selection);
    else if (m_selection > last)
        m_fraction = FractionOf(m_selection - m_visibleRows + 1);
    LayoutRows();
}

void guiListBox::Think() {
    guiContainer::Think();
    const bool pointed = IsPointed();
    appCharEventHandler::SetEnabled(pointed);
    if (m_rows.empty()) {
        m_highlight->SetVisible(false);
        return;
    }
    m_highlight->SetVisible(true);
    if (const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick(); joystick && pointed) {
        i32 x = 0, y = 0, wheel = 0;
        joystick->GetAxis3D(0, x, y, wheel);
        if (wheel != 0)
            SetVerticalScroll(FractionOf(TopRowOf(m_fraction) - wheel));
    }
    i32 first = 0, last = 0;
    GetVisibleRange(first, last);
    for (i32 i = first; i <= last; ++i) {
        if (i != m_selection && m_rows[static_cast<size_t>(i)]->GetState() == guiStateReleased) {
            Select(i);
            LayoutRows();
            break;
        }
    }
    GetVisibleRange(first, last);
    PlaceHighlight();
    m_highlight->SetVisible(m_selection >= first && m_selection <= last);
}
