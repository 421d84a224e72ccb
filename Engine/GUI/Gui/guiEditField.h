#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/GUI/Gnf/gnfValue.h"
#include "Engine/GUI/Gui/guiContainer.h"

#include <string>

class guiImage;
class guiScrollingText;

// The one-line text entry: a background, a scrolling text and a blinking caret, fed by the
// application's character events while the field holds the focus. Only the focused field's handler
// is enabled, so a keystroke reaches one field.
class guiEditField : public guiContainer, public appCharEventHandler {
  public:
    guiEditField();
    ~guiEditField() override;

    // Both bases have an enabled flag: the window's is the field's, the handler's follows the focus.
    using guiContainer::IsEnabled;
    using guiContainer::SetEnabled;

    // Hidden caret while unfocused; else shown when visible and editable.
    void SetVisible(bool visible) override;
    // Enables the handler while focused, blinks the caret (shown the first half of each second), and
    // holds a read-only field in state 6.
    void Think() override;
    void SetPosition(const maVector3d& position) override;
    // The background and the text take the size; the caret keeps its own.
    void SetSize(i32 width, i32 height) override;
    void OnChar(appCharEvent* event) override;

    envString GetText() const;
    // The caret goes to the end.
    void SetText(const envString& text);
    void SetEditable(bool editable);
    bool IsEditable() const { return m_editable; }
    // Clamped to the text.
    void SetCaretIndex(i32 index);
    i32 GetCaretIndex() const { return m_caretIndex; }
    void SetCaretOffset(i32 x, i32 y);
    bool IsFocused() const;

    guiImage* GetBackground() const { return m_background; }
    guiScrollingText* GetTextWindow() const { return m_text; }
    guiImage* GetCaret() const { return m_caret; }

  protected:
    // Home, End, Left and Right move the caret in every field; true when c was one of them.
    bool MoveCaret(char16_t c);
    // Backspace and Delete; true when c was one of them.
    bool Erase(char16_t c);
    void Insert(char16_t c);

  private:
    // Scrolls the text until the caret is inside it, then places the caret image.
    void UpdateCaret();

    bool m_editable = true;
    i32 m_caretIndex = 0;
    i32 m_caretOffsetX = 0;
    i32 m_caretOffsetY = 0;
    f32 m_lastTime = 0.0f;
    f32 m_blinkTime = 0.0f;
    guiImage* m_background = nullptr;
    guiScrollingText* m_text = nullptr;
    guiImage* m_caret = nullptr;
};

// Digits only, whatever the editable flag.
class guiEditFieldInteger : public guiEditField {
  public:
    void OnChar(appCharEvent* event) override;
};

// A decimal number whose value follows the text every frame and steps by 0.01.
class guiEditFieldFloat : public guiEditField, public gnfValue {
  public:
    void OnChar(appCharEvent* event) override;
    void Think() override;
    void Increase() override;
    void Decrease() override;

    f64 GetValue() const { return m_value; }

  private:
    // Four significant digits, fixed for decimal exponents -1 to 3, else with a three-digit exponent;
    // trailing zeros go but the point stays ("1.", "1.e-002").
    void ShowValue();

    f64 m_value = 0.0;
    f64 m_step = static_cast<f64>(0.01f);
};

// The text of a float field's value (ShowValue's format); 0 gives "0.".
std::string guiFormatFieldValue(f64 value);
