#include "Source/Palettes/coMainPalette.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/World/coPlacementGrid.h"

#include <cstdio>

namespace {

constexpr i32 kErrorSound = 18;
constexpr const char* kMessages = "uimpfb.tsf";

bool HasErrorSound(i32 message) {
    return message == 1 || message == 4 || message == 7 || message == 8 || message == 16 || message == 17;
}

} // namespace

coMainPalette::coMainPalette() {
    coLoadScreenScript("uimp", nullptr, this);
    const std::vector<envString> tooltips = coReadTexts("uimp.tsf");
    for (i32 i = 0; i < GetChildCount(); ++i) {
        guiWindow* child = GetChild(i);
        if (child->GetToolTipNum() != -1 && child->GetToolTipText().GetLength() == 0)
            child->SetToolTipText(
                coTextOrEmpty(tooltips, static_cast<u32>(child->GetToolTipNum()), "uimp.tsf"));
    }
    m_name = coFindWidget<guiText>(*this, "uimp", "Name", "Text");
    const g3dTextColour white{255, 255, 255};
    const g2dFont font = m_name->GetDefaultFont();
    m_name->SetDefaultStyle({white, white}, {font, font}, {1, 178});
    SetCoasterName(envString(u""));
    m_nameBackground = coFindWidget<guiWindow>(*this, "uimp", "Name Background", "Window");
    for (const char* button : kButtons)
        m_buttons.push_back(coFindWidget<guiWindow>(*this, "uimp", button, "Window"));
    m_feedback = coFindWidget<guiButton>(*this, "uimp", "Feedback", "Button");
    if (!dynamic_cast<guiText*>(m_feedback->FindChild("Text")))
        coThrowMissingWidget("uimp", "Feedback/Text", "Text");
    m_texts = coReadTexts(kMessages);
    HideFeedback();
}

coMainPalette::~coMainPalette() {
    DeleteAllChildren();
    if (m_voice)
        snSoundManager::DestroySound(m_voice);
    m_voice = nullptr;
}

void coMainPalette::SetCoasterName(const envString& name) {
    m_name->SetText(name, 0);
}

void coMainPalette::ShowCoasterName() {
    m_name->SetVisible(true);
    m_nameBackground->SetVisible(true);
}

envString coMainPalette::GetCoasterName() const {
    return m_name->GetText(0);
}

i32 coMainPalette::GetPressedButton() const {
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i]->GetState() == 2)
            return static_cast<i32>(i) + 2;
    return 0;
}

void coMainPalette::ToggleGrid() {
    m_gridShown = !m_gridShown;
    ApplyGrid();
}

void coMainPalette::ApplyGrid() {
    if (m_gridShown)
        coGetPlacementGrid().ShowOverlay();
    else
        coGetPlacementGrid().HideOverlay();
}

void coMainPalette::HideButtons(bool hide) {
    for (guiWindow* button : m_buttons) {
        button->SetVisible(!hide);
        button->SetEnabled(!hide);
    }
}

void coMainPalette::SetEnabled(bool enabled) {
    guiContainer::SetEnabled(enabled);
    for (size_t i = 0; i < 6; ++i)
        m_buttons[i]->SetEnabled(enabled);
    UpdateSaveButton();
    m_buttons[7]->SetEnabled(enabled);
    if (!enabled)
        HideFeedback();
}

void coMainPalette::SetVisible(bool visible) {
    guiContainer::SetVisible(visible);
    if (!visible)
        HideFeedback();
}

void coMainPalette::UpdateSaveButton() {
    guiWindow* save = m_buttons[6];
    if (!IsEnabled()) {
        save->SetEnabled(false);
        return;
    }
    // The player's saved coasters lie in the first folder of the saves root.
    std::vector<fsLocator> saves;
    fsGetRootDirectories(coRootSaves, saves);
    if (saves.empty()) {
        save->SetEnabled(true);
        return;
    }
    envString fileName = GetCoasterName();
    fileName.Append(envString(coSavedCoasterExtension));
    fsLocator file = saves.front();
    file.AppendComponent(fileName);
    save->SetEnabled(!(fsFileExists(file) && fsIsFileReadOnly(file)));
}

void coMainPalette::ShowFeedback(i32 message, i32 seconds) {
    if (message < 0 || message >= kMessageCount) {
        DBG_WARNING("Feedback message %d is not one of 0 to %d; nothing shown", message, kMessageCount - 1);
        return;
    }
    m_feedback->SetVisible(true);
    m_name->SetVisible(true);
    m_nameBackground->SetVisible(true);
    m_message = message;
    m_shownAt = appClock::GetTime();
    m_duration = static_cast<f32>(seconds);
    auto* text = static_cast<guiText*>(m_feedback->FindChild("Text"));
    text->SetText(coTextOrEmpty(m_texts, static_cast<u32>(message), kMessages), 0);
    if (HasErrorSound(message) && m_soundsAllowed)
        coPlaySoundEffect(kErrorSound);
    // A hint still being spoken is never cut off, and none starts over it.
    if (m_voice && m_voice->IsPlaying())
        return;
    if (m_voice) {
        snSoundManager::DestroySound(m_voice);
        m_voice = nullptr;
    }
    if (m_soundsAllowed && !coPrefs::GetBool(coPrefVoicesOff) && message < 11 &&
        coPrefs::GetBool(coPrefFirstPaletteHint + message))
        PlayVoiceOver(message);
}

void coMainPalette::PlayVoiceOver(i32 message) {
    if (m_broken.count(message))
        return;
    char name[16];
    std::snprintf(name, sizeof name, "fbvo%02d.wav", message);
    fsLocator file(coRootVoice);
    file.AppendComponent(name);
    m_voice = coStartVoiceOver(file, envString(name));
    if (!m_voice) {
        // Silence, and the preference stays.
        m_broken.insert(message);
        return;
    }
    coPrefs::SetBool(coPrefFirstPaletteHint + message, false);
    coPrefs::SaveOnItsOwn();
}

void coMainPalette::HideFeedback() {
    if (m_message == 11 || m_message == 12) {
        m_name->SetVisible(false);
        m_nameBackground->SetVisible(false);
    }
    m_message = -1;
    m_shownAt = 0.0f;
    m_feedback->SetVisible(false);
}

void coMainPalette::Think() {
    guiContainer::Think();
    if (appClock::GetTime() - m_shownAt >= m_duration)
        HideFeedback();
    // The collision messages go as soon as the track is clear.
    if ((m_message == 1 || m_message == 15) && !coCollisionHasMarkers())
        HideFeedback();
}
