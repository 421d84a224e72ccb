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

void guiCheckbox::SetChecked(bool checked) {
    m_checked = checked;
    ShowDisabledLook();
}

void guiCheckbox::SetEnabled(bool enabled) {
    guiButton::SetEnabled(enabled);
    if (enabled && GetState() == guiStateDisabled + kCheckedStates)
        SetState(guiStateIdle);
    ShowDisabledLook();
}

void guiCheckbox::ShowDisabledLook() {
    if (!IsEnabled())
        SetState(m_checked ? guiStateDisabled + kCheckedStates : guiStateDisabled);
}
