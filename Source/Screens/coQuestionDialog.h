#pragma once
#include "Engine/App/Gf/gfErrorHandler.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <vector>

class guiButton;
class guiText;

// The game's one modal question box: a line of text, "Ok", "Cancel" and, in the career, "Menu" with a
// medal picture; its buttons and questions are labelled by number from "uimc.tsf". One long-lived
// instance is also the in-game error displayer. Built hidden and disabled; a fresh dialog each question,
// since the "Menu" choice is never cleared.
class coQuestionDialog : public guiDialog, public gfErrorDisplayer {
  public:
    // Throws coScreenScriptX for a script without "PrimaryText", and the loaders' exceptions.
    coQuestionDialog();
    // The career's medal question: medal 2, 3 or 4 shows the bronze, silver or gold picture; "Menu" is
    // shown and usable.
    explicit coQuestionDialog(i32 medal);

    void SetPrimaryText(const envString& text);
    // Outside the text set: an empty text and a warning.
    void SetPrimaryTextNum(u32 number);
    // The text with the name in place of its "%s".
    void SetPrimaryTextNum(u32 number, const envString& name);
    void SetOkTextNum(u32 number);
    void SetCancelTextNum(u32 number);
    bool WasMenuChosen() const { return m_menuChosen; }

    // Ends the run with 2 once "Menu" was clicked, and with 1 on Escape when Ok stands alone.
    void Think() override;
    // The dialog dimmer lies behind the dialog during the run; an Ok without Cancel or Menu beside it
    // stands in the middle.
    i32 DoModal() override;
    // Type 0: Ok, Cancel, Menu answer abort, retry, ignore; type 1: Ok, Cancel answer ok, cancel; any
    // other type shows Ok and answers ok. The message goes to the debug log first.
    u32 Display(u32 type, const envString& message) override;

  private:
    coQuestionDialog(i32 medal, bool medalQuestion);
    void SetLabel(guiButton* button, u32 number);
    void PlaceOk();
    // Neither Cancel nor Menu shows: the box only tells something.
    bool IsOkAlone() const;

    std::vector<envString> m_texts;
    guiText* m_primary = nullptr;
    guiButton* m_menu = nullptr;
    // Where the script puts Ok, left of Cancel.
    f32 m_okLeft = 0.0f;
    bool m_menuChosen = false;
    // The last run was ended through "Menu" (the error display's third answer).
    bool m_menuEndedRun = false;
};

// The text with its lines that hold a '/' (paths) cut in their middle to one row ("/home/.../Saves/a.csa",
// the last name whole), the longest first, until it wraps to at most `rows` rows narrower than `width`
// in the font; a text with room is left as it is.
envString coFitToRows(const envString& text, g2dFont font, i32 width, size_t rows);
