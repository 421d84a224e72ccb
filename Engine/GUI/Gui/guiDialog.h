#pragma once
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/Graphics/G2d/g2dFont.h"

class guiButton;
class guiFunction;
class guiImage;

// The container every dialog box is made from: a background with an Ok and a Cancel button in front
// of it, built hidden and disabled; DoModal shows it on top of everything and keeps the application's
// frame going through the owner's frame function until the user or the program ends it.
class guiDialog : public guiContainer {
  public:
    guiDialog();
    ~guiDialog() override;

    // The background at the dialog's place with depth 1.0, the buttons at it with depth 0.99.
    void SetPosition(const maVector3d& position) override;
    // The background takes the size; the buttons keep theirs.
    void SetSize(i32 width, i32 height) override;

    // 0 at once without a frame function; else 1 for Ok or Enter, 2 for Cancel or Escape, or what
    // EndDialog asked for. Leaves the modal stack however it ends, an exception included.
    virtual i32 DoModal();
    // Called once when the run ends; false only for Cancel and Escape.
    virtual void OnClose(bool accepted);

    void SetThinkFunction(guiFunction* function) { m_frame = function; }
    guiFunction* GetThinkFunction() const { return m_frame; }
    void SetKeysEnabled(bool enabled) { m_keysEnabled = enabled; }
    // Result 1 when ok, else 2, taken at the next test of the run.
    void EndDialog(bool ok);

    guiButton* GetOk() const { return m_ok; }
    guiButton* GetCancel() const { return m_cancel; }
    guiImage* GetBackground() const { return m_background; }

  private:
    // The result of this iteration's tests, 0 to go on.
    i32 TestEnd(bool okKey, bool cancelKey, bool& accepted);

    // Held for derived dialogs; nothing here draws with it.
    g2dFont m_font;
    guiButton* m_ok = nullptr;
    guiButton* m_cancel = nullptr;
    guiImage* m_background = nullptr;
    guiFunction* m_frame = nullptr;
    bool m_endRequested = false;
    i32 m_result = 0;
    bool m_keysEnabled = true;
};
