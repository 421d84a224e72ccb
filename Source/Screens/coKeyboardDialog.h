#pragma once
#include "Engine/GUI/Gui/guiDialog.h"
#include "Source/Screens/coDialogFrameFunction.h"

#include <array>
#include <bitset>

class guiEditField;
class xuiKeyboardSelector;
class xuiOrderedKeyboard;

// The modal dialog in which the player types a name ("uikd" with "uikd.tsf"): an edit field over an
// on-screen keyboard of one page per language, typed on by clicks or by the real keyboard, whose keys
// press the matching on-screen keys (a letter with Shift in the other case, as Caps Lock shows it). Ok takes
// only names that are not blank, can be a folder's name and are none of the folders the game keeps beside the
// profiles.
class coKeyboardDialog : public guiDialog {
  public:
    // Throws coScreenScriptX for a script without "EditField" or "Selector", and the loaders' exceptions
    // (a page's text set "uikd<page>.tsf" that is missing among them).
    coKeyboardDialog();

    // Sets the text and whether the keyboard takes more.
    void SetText(const envString& text);
    // Types the text as the keys do: a character a frame, none once the name is full.
    void Type(const envString& text);
    envString GetText() const;
    xuiKeyboardSelector* GetSelector() const { return m_selector; }
    bool IsTextFull() const { return m_textFull; }

    void Think() override;
    // The dialog dimmer lies behind the dialog during the run.
    i32 DoModal() override;

  private:
    // Measures and judges the text when it differs from the last one judged.
    void JudgeText();
    bool IsTooWide() const;
    void SetTextFull(bool full);
    void DriveRealKeys(xuiOrderedKeyboard& page);
    void TypeOneEvent(xuiOrderedKeyboard& page);
    // A letter's caption in the other case from the two tables; any other caption as it is.
    envString OtherCase(const envString& caption) const;

    guiEditField* m_field = nullptr;
    xuiKeyboardSelector* m_selector = nullptr;
    bool m_textFull = false;
    // The text last measured and judged, so an unchanged text costs no measuring a frame.
    envString m_judgedText;
    bool m_judged = false;
    bool m_tooWide = false;
    bool m_nameAllowed = false;
    i32 m_languagePage = -1;
    i32 m_englishPage = -1;
    // The characters of the engine's letter and digit key codes 0 to 35, unshifted and shifted.
    std::array<char16_t, 36> m_unshifted{};
    std::array<char16_t, 36> m_shifted{};
    // The key codes that went down while Shift was down.
    std::bitset<36> m_shiftedCodes;
    // The on-screen key a real key released with Shift this frame, to be typed in the other case.
    const guiButton* m_shiftedKey = nullptr;
};

using coKeyboardDialogFunction = coDialogFrameFunction;
