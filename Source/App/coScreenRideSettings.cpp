#include "Source/App/coScreenRideSettings.h"

#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Modes/coMode.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coRidePauseDialog.h"
#include "Source/Screens/coTrackColorPicker.h"

coScreenRideSettings::~coScreenRideSettings() {
    DestroyDialog();
}

bool coScreenRideSettings::Ensure() {
    if (m_dialog)
        return true;
    try {
        m_dialog = new coRidePauseDialog;
    } catch (...) {
        coReportCurrentException();
        return false;
    }
    guiWindowMgr::AddWindow(m_dialog);
    return true;
}

void coScreenRideSettings::CreateDialog() {
    Ensure();
    m_madeForOneUse = false;
}

void coScreenRideSettings::DestroyDialog() {
    if (m_dialog)
        guiWindowMgr::DeleteWindow(m_dialog);
    m_dialog = nullptr;
}

void coScreenRideSettings::SetMode(int mode) {
    // A dialog made for the last use lists that moment's car types and schemes: a new one for this use.
    if (m_madeForOneUse)
        DestroyDialog();
    if (!m_dialog) {
        m_madeForOneUse = true;
        if (!Ensure())
            return;
    }
    m_dialog->SetMode(mode);
}

void coScreenRideSettings::SetSettings(const coRideSettings& settings) {
    if (m_dialog)
        m_dialog->SetSettings(settings);
}

void coScreenRideSettings::GetSettings(coRideSettings& settings) {
    if (m_dialog)
        m_dialog->GetSettings(settings);
}

void coScreenRideSettings::GetSchemes(std::vector<coColorScheme>& out) {
    if (m_dialog)
        m_dialog->GetColourPicker()->GetSchemes(out);
    else
        coRidePauseDialogScreens::GetSchemes(out);
}

int coScreenRideSettings::DoModal() {
    if (!m_dialog)
        return 2;
    coMode* mode = coCurrentMode();
    std::function<void()> frameStart = mode ? mode->ModalFrameStart() : std::function<void()>([] {});
    m_dialog->SetFrameStart(frameStart);
    coRidePauseDialogFunction frame(frameStart);
    m_dialog->SetThinkFunction(&frame);
    const int result = m_dialog->DoModal();
    m_dialog->SetThinkFunction(nullptr);
    return result;
}

int coScreenRideSettings::GetExitAction() const {
    return m_dialog ? m_dialog->GetExitAction() : 0;
}

void coScreenRideSettings::HideFeedback() {
    if (auto* palette = dynamic_cast<coMainPalette*>(coPaletteManager::GetPalette(coPaletteMain)))
        palette->HideFeedback();
}

void coScreenRideSettings::SetObjectivesCollapsed(bool collapsed) {
    if (auto* palette = dynamic_cast<coObjectivesPalette*>(coPaletteManager::GetPalette(coPaletteObjectives)))
        palette->SetCollapsed(collapsed);
}
