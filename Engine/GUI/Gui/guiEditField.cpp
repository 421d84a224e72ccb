#include "Engine/GUI/Gui/guiEditField.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appKeyChars.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dScreen.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr i32 kReadOnlyState = 6;

// Trailing zeros of the fraction go; the point stays.
std::string TrimFraction(std::string digits) {
    if (digits.find('.') == std::string::npos)
        return digits + '.';
    digits.erase(digits.find_last_not_of('0') + 1);
    return digits;
}

} // namespace

guiEditField::guiEditField() {
    m_background = new guiImage;
    m_background->SetName("Background");
    m_background->SetPosition({0.0f, 0.0f, 1.0f});
    m_text = new guiScrollingText;
    m_text->SetName("Text");
    m_text->SetPosition({0.0f, 0.0f, 0.5f});
    m_caret = new guiImage;
    m_caret->SetName("Caret");
    m_caret->SetPosition({0.0f, 0.0f, 0.4f});
    AddChild(m_background);
    AddChild(m_text);
    AddChild(m_caret);
    SetEditable(true);
    appCharEventHandler::SetEnabled(false);
    m_caret->SetVisible(false);
    // The caret is a mark, not a target: thinking, it would take the pointer's clicks from the widgets
    // under it (a keyboard's keys) and the focus from the field.
    m_caret->SetEnabled(false);
}

guiEditField::~guiEditField() {
    DeleteAllChildren();
    m_background = nullptr;
    m_text = nullptr;
    m_caret = nullptr;
}

bool guiEditField::IsFocused() const {
    return GetFocusWindow() == this || ContainsFocus();
}

void guiEditField::SetVisible(bool visible) {
    guiWindow::SetVisible(visible);
    m_caret->SetVisible(IsFocused() && visible && m_editable);
}

void guiEditField::Think() {
    const bool focused = IsFocused();
    appCharEventHandler::SetEnabled(focused);
    guiContainer::Think();
    const f32 now = static_cast<f32>(appGetTime());
    m_blinkTime += now - m_lastTime;
    m_lastTime = now;
    if (m_editable && focused) {
        m_caret->SetVisible(m_blinkTime <= 0.5f);
        if (m_blinkTime >= 1.0f)
            m_blinkTime = 0.0f;
    } else {
        m_caret->SetVisible(false);
        m_blinkTime = 0.0f;
    }
    if (!m_editable)
        SetState(kReadOnlyState);
}

void guiEditField::SetPosition(const maVector3d& position) {
    guiWindow::SetPosition(position);
    const float depths[] = {1.0f, 0.9f, 0.8f};
    guiWindow* children[] = {m_background, m_text, m_caret};
    for (size_t i = 0; i < 3; ++i) {
        const maVector3d& at = children[i]->GetPosition();
        children[i]->SetPosition({at.x, at.y, depths[i]});
    }
}

void guiEditField::SetSize(i32 width, i32 height) {
    guiWindow::SetSize(width, height);
    m_background->SetSize(width, height);
    m_text->SetSize(width, height);
}

envString guiEditField::GetText() const {
    return m_text->GetText(0);
}

void guiEditField::SetText(const envString& text) {
    m_text->SetText(text, 0);
    SetCaretIndex(static_cast<i32>(text.GetLength()));
}

void guiEditField::SetEditable(bool editable) {
    m_editable = editable;
    if (IsFocused())
        m_caret->SetVisible(editable);
}

void guiEditField::SetCaretIndex(i32 index) {
    m_caretIndex = std::clamp(index, 0, static_cast<i32>(GetText().GetLength()));
    UpdateCaret();
}

void guiEditField::SetCaretOffset(i32 x, i32 y) {
    const maVector3d& at = m_caret->GetPosition();
    m_caret->SetPosition(
        {at.x + static_cast<f32>(x - m_caretOffsetX), at.y + static_cast<f32>(y - m_caretOffsetY), at.z});
    m_caretOffsetX = x;
    m_caretOffsetY = y;
}

void guiEditField::UpdateCaret() {
    const envString text = GetText();
    i32 width = 0, height = 0, textureWidth = 0, textureHeight = 0;
    m_text->GetSize(width, height);
    m_text->GetTextureSize(textureWidth, textureHeight);
    f32 tileU = 1.0f, tileV = 1.0f;
    m_text->GetTile(tileU, tileV, 0);
    // A tile of 0 would divide by zero; it shows the texture once, as 1 does.
    if (tileU == 0.0f)
        tileU = 1.0f;
    // The text draws with the screen's font when it has none of its own.
    const g2dFont font = m_text->GetFont(0) ? m_text->GetFont(0) : g2dScreen::GetDefaultFont();
    if (m_caretIndex < m_text->GetFirstVisibleChar())
        m_text->SetFirstVisibleChar(m_caretIndex, 0);
    f32 x = 0.0f;
    for (;;) {
        const i32 first = m_text->GetFirstVisibleChar();
        u32 w = 0, h = 0;
        g2dFont::MeasureText(
            font, envString(static_cast<u32>(first), static_cast<u32>(m_caretIndex - first), text), w, h);
        x = static_cast<f32>(w) * static_cast<f32>(width) / static_cast<f32>(std::max(textureWidth, 1)) /
            tileU;
        // Keep one character before the caret in view, and stop when the text cannot scroll (word
        // wrap) or the field is too narrow for any glyph: the caret then stands at the right edge.
        if (x < static_cast<f32>(width - 1) || first + 1 >= m_caretIndex)
            break;
        m_text->SetFirstVisibleChar(first + 1, 0);
        if (m_text->GetFirstVisibleChar() != first + 1)
            break;
    }
    x = std::clamp(x, 0.0f, static_cast<f32>(std::max(width - 1, 0)));
    const maVector3d& at = m_caret->GetPosition();
    m_caret->SetPosition({static_cast<f32>(m_caretOffsetX) + x, at.y, at.z});
}

bool guiEditField::MoveCaret(char16_t c) {
    const i32 length = static_cast<i32>(GetText().GetLength());
    switch (c) {
    case appKeyCharHome:
        SetCaretIndex(0);
        return true;
    case appKeyCharEnd:
        SetCaretIndex(length);
        return true;
    case appKeyCharLeft:
        if (m_caretIndex > 0)
            SetCaretIndex(m_caretIndex - 1);
        return true;
    case appKeyCharRight:
        if (m_caretIndex < length)
            SetCaretIndex(m_caretIndex + 1);
        return true;
    default:
        return false;
    }
}

bool guiEditField::Erase(char16_t c) {
    envString text = GetText();
    if (c == appKeyCharDelete) {
        if (m_caretIndex < static_cast<i32>(text.GetLength())) {
            const i32 caret = m_caretIndex;
            text.EraseChar(static_cast<u32>(caret));
            SetText(text);
            SetCaretIndex(caret);
        }
        return true;
    }
    if (c == appKeyCharBackspace) {
        if (m_caretIndex > 0) {
            const i32 caret = m_caretIndex - 1;
            text.EraseChar(static_cast<u32>(caret));
            SetText(text);
            SetCaretIndex(caret);
        }
        return true;
    }
    return false;
}

void guiEditField::Insert(char16_t c) {
    envString text = GetText();
    const i32 caret = m_caretIndex + 1;
    text.InsertChar(static_cast<u32>(m_caretIndex), c);
    SetText(text);
    SetCaretIndex(caret);
}

void guiEditField::OnChar(appCharEvent* event) {
    const char16_t c = event->GetChar();
    if (MoveCaret(c) || !m_editable)
        return;
    if (Erase(c) || c == appKeyCharEscape || c == appKeyCharTab || c == appKeyCharEnter ||
        (c >= appKeyCharFirst && c <= appKeyCharLast))
        return;
    Insert(c);
}

void guiEditFieldInteger::OnChar(appCharEvent* event) {
    const char16_t c = event->GetChar();
    if (MoveCaret(c) || Erase(c))
        return;
    if (c >= u'0' && c <= u'9')
        Insert(c);
}

void guiEditFieldFloat::OnChar(appCharEvent* event) {
    const char16_t c = event->GetChar();
    const bool passes = c == appKeyCharBackspace || c == appKeyCharHome || c == appKeyCharDelete ||
                        c == appKeyCharEnd || c == appKeyCharLeft || c == appKeyCharRight ||
                        (c >= u'0' && c <= u'9') || (c == u'.' && !GetText().Contains(u".")) ||
                        (c == u'-' && GetCaretIndex() == 0);
    if (passes)
        guiEditField::OnChar(event);
}

void guiEditFieldFloat::Think() {
    guiEditField::Think();
    m_value = envStringToFloat(GetText());
}

void guiEditFieldFloat::Increase() {
    m_value += m_step;
    ShowValue();
}

void guiEditFieldFloat::Decrease() {
    m_value -= m_step;
    ShowValue();
}

void guiEditFieldFloat::ShowValue() {
    SetText(envString(guiFormatFieldValue(m_value).c_str()));
}

std::string guiFormatFieldValue(f64 value) {
    char buffer[64];
    if (value == 0.0)
        return "0.";
    if (!std::isfinite(value))
        return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
    // The exponent after rounding to four digits decides the notation, as 9999.5 becomes 1.000e+04.
    const std::string scientific(
        buffer, std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 3).ptr);
    const size_t e = scientific.find('e');
    const i32 exponent = std::atoi(scientific.c_str() + e + 1);
    if (exponent >= -1 && exponent <= 3)
        return TrimFraction(std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value,
                                                              std::chars_format::fixed, 3 - exponent)
                                                    .ptr));
    const std::string digits = std::to_string(std::abs(exponent));
    return TrimFraction(scientific.substr(0, e)) + 'e' + (exponent < 0 ? '-' : '+') +
           std::string(3 - std::min<size_t>(digits.size(), 3), '0') + digits;
}
