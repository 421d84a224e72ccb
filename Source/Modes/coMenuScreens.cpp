#include "Source/Modes/coMenuScreens.h"

#include "Engine/App/App/appWindow.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"

coMenuButton::coMenuButton(const char* name, const char* label) : m_label(label) {
    SetName(name);
}

coMenuScreen::coMenuScreen(const char* name, const Buttons& buttons) {
    SetName(name);
    for (const auto& [buttonName, label] : buttons)
        AddChild(std::make_unique<coMenuButton>(buttonName, label));
}

bool coTakeReleased(guiContainer& screen, const char* name) {
    guiWindow* button = screen.FindChild(name);
    if (!button || button->GetState() != coButtonReleased)
        return false;
    button->SetState(0);
    return true;
}

bool coMenuScreen::TakePressed(const char* name) {
    return coTakeReleased(*this, name);
}

void coMenuScreen::Press(const char* name) {
    if (guiWindow* button = FindChild(name))
        button->SetState(coButtonReleased);
}

coModalDialog::coModalDialog(const char* name, const Buttons& buttons) : coMenuScreen(name, buttons) {}

i32 coModalDialog::DoModal(const std::function<void()>& frame) {
    guiWindowMgr::PushModal(this);
    struct Pop {
        ~Pop() { guiWindowMgr::PopModal(); }
    } pop;
    i32 answer = m_answer;
    while (answer == 0) {
        frame();
        const inKeyboard* keyboard = inDeviceManager::GetKeyboard(0);
        const appWindow* window = appGetWindow();
        if (TakePressed("Ok") || (keyboard && keyboard->WasKeyReleased(inKeyReturn)))
            answer = 1;
        else if (TakePressed("Cancel") || (keyboard && keyboard->WasKeyReleased(inKeyEscape)) ||
                 (window && window->IsQuitRequested()))
            answer = 2;
    }
    m_answer = 0;
    return answer;
}
