#include "Source/Screens/coMainMenu.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coSoundEffects.h"

#include <string>

coMainMenu::coMainMenu() {
    coLoadScreenScript("uimm", "uimm.tsf", this);
    for (const char* button : kButtons)
        coFindWidget<guiButton>(*this, "uimm", button, "Button");
    UpdatePending();
}

coMainMenu::~coMainMenu() {
    DeleteAllChildren();
    if (m_voice)
        snSoundManager::DestroySound(m_voice);
    m_voice = nullptr;
}

void coMainMenu::UpdatePending() {
    m_pending = false;
    for (i32 i = 0; i < 6; ++i)
        m_pending = m_pending || coPrefs::GetBool(coPrefFirstMenuHint + i);
}

void coMainMenu::Think() {
    guiContainer::Think();
    if (!m_pending || coPrefs::GetBool(coPrefVoicesOff))
        return;
    const f32 now = appClock::GetTime();
    bool over = false;
    for (i32 i = 0; i < 6 && !over; ++i) {
        const guiWindow* button = FindChild(kButtons[i]);
        if (!button || button->GetState() != 1)
            continue;
        over = true;
        const i32 pref = coPrefFirstMenuHint + i;
        if (!coPrefs::GetBool(pref))
            continue;
        m_hover += now - m_lastThink;
        if (m_hover > 1.0f)
            PlayVoiceOver(pref, kButtons[i]);
    }
    if (!over)
        m_hover = 0.0f;
    m_lastThink = now;
}

void coMainMenu::PlayVoiceOver(i32 pref, const char* button) {
    m_hover = 0.0f;
    if (m_voice && m_voice->IsPlaying())
        return;
    if (m_voice) {
        snSoundManager::DestroySound(m_voice);
        m_voice = nullptr;
    }
    if (m_broken.count(button))
        return;
    fsLocator file(coRootVoice);
    file.AppendComponent((std::string(button) + ".wav").c_str());
    m_voice = coStartVoiceOver(file, envString(button));
    if (!m_voice) {
        // Silence, and the preference stays.
        m_broken.insert(button);
        return;
    }
    coPrefs::SetBool(pref, false);
    coPrefs::SaveOnItsOwn();
    UpdatePending();
}
