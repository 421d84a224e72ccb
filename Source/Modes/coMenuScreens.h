#pragma once
#include "Engine/GUI/Gui/guiContainer.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// The menu screens and dialogs in their least form, built in code until they are made from their
// scripts: named buttons with English labels, and the selections the menus read, which the player's
// clicks (or a test) set. A button is pressed when its state is 2, a click completed this frame.

inline constexpr i32 coButtonReleased = 2;

// Whether the screen's button of that name was clicked this frame; it goes back to idle once read, so a
// modal run that keeps the screen from thinking does not find it clicked again.
bool coTakeReleased(guiContainer& screen, const char* name);

class coMenuButton : public guiWindow {
  public:
    coMenuButton(const char* name, const char* label);
    void Think() override {}
    void Draw() override {}
    void SetColor(const std::array<u8, 3>&, i32) override {}
    void SetTransparency(float, i32) override {}

  private:
    std::string m_label;
};

class coMenuScreen : public guiContainer {
  public:
    using Buttons = std::vector<std::pair<const char*, const char*>>; // name, label
    coMenuScreen(const char* name, const Buttons& buttons);
    // Whether the named button was clicked this frame; it goes back to idle once read.
    bool TakePressed(const char* name);
    void Press(const char* name);
};

// A modal dialog: the frame function runs once a loop until the dialog has its answer (1 OK, 2 Cancel),
// from the player's Return or Escape, the run loop's quit, or a preset answer. The dialog is on the modal
// stack only while it runs, however the run ends.
class coModalDialog : public coMenuScreen {
  public:
    coModalDialog(const char* name, const Buttons& buttons);
    i32 DoModal(const std::function<void()>& frame);
    // Ends the next run at once with this answer (0: the run waits for the player).
    void SetAnswer(i32 answer) { m_answer = answer; }
    void SetLabel(const envString& text) { m_label = text; }

  private:
    i32 m_answer = 0;
    envString m_label;
};
