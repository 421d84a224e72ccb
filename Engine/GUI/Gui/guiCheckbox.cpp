#include "Engine/GUI/Gui/guiCheckbox.h"

void guiCheckbox::Think() {
    guiButton::Think();
    const i32 state = GetState();
    if (state == guiStateReleased)
        m_checked = !m_checked;
    if (!m_checked)
        return;
    // A state outside the six button states has no checked variant and is set again as it is.
    const bool buttonState = state >= guiStateIdle && state <= guiStateDisabled;
    SetState(buttonState ? state + kCheckedStates : state);
}
