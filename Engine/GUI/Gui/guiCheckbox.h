#pragma once
#include "Engine/GUI/Gnf/gnfValue.h"
#include "Engine/GUI/Gui/guiButton.h"

// A button that toggles a checked flag on every click; a checked box shows the checked variant
// (state + 6) of its button state.
class guiCheckbox : public guiButton, public gnfValue {
  public:
    static constexpr i32 kCheckedStates = 6;

    void Think() override;
    // Both steps toggle the flag.
    void Increase() override { m_checked = !m_checked; }
    void Decrease() override { m_checked = !m_checked; }

    // The look follows at the next Think; a disabled box, which does not think, shows it at once.
    void SetChecked(bool checked);
    bool IsChecked() const { return m_checked; }
    // A disabled box still shows whether it is checked.
    void SetEnabled(bool enabled) override;

  private:
    void ShowDisabledLook();

    bool m_checked = false;
};
