#include "Source/App/coScreenEditorHost.h"

#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Palettes/coDockPalette.h"
#include "Source/Palettes/coGlobalStatsPalette.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coReportException.h"

#include <climits>
#include <cmath>

namespace {

template <class Palette> Palette* Find(i32 index) {
    return dynamic_cast<Palette*>(coPaletteManager::GetPalette(index));
}

} // namespace

std::string coScreenEditorHost::TakeReleasedTrackButton() {
    auto* palette = Find<coTrackManipPalette>(coPaletteTrackManip);
    return palette ? envStringToNarrow(palette->GetReleasedButtonName()) : std::string();
}

std::string coScreenEditorHost::TakeChosenDock() {
    auto* palette = Find<coDockPalette>(coPaletteDock);
    std::string type;
    return palette && palette->GetItemName(type) ? type : std::string();
}

coMainButton coScreenEditorHost::TakeMainButton() {
    auto* palette = Find<coMainPalette>(coPaletteMain);
    // The top bar's codes 2 to 9.
    constexpr coMainButton kButtons[8] = {coMainButton::Ride, coMainButton::Back,   coMainButton::Test,
                                          coMainButton::Grid, coMainButton::Camera, coMainButton::Load,
                                          coMainButton::Save, coMainButton::Options};
    const i32 code = palette ? palette->GetPressedButton() : 0;
    return code >= 2 && code <= 9 ? kButtons[code - 2] : coMainButton::None;
}

void coScreenEditorHost::ShowBuildPalettes(bool active) {
    coPaletteManager::ShowBuildPalettes(active);
}

guiWindow* coScreenEditorHost::FindButton(const char* name) {
    for (const i32 index : {coPaletteTrackManip, coPaletteMain})
        if (const auto* palette = Find<guiContainer>(index))
            if (guiWindow* button = palette->FindChild(name))
                return button;
    return nullptr;
}

void coScreenEditorHost::UpdatePalettes(const coEditorPaletteState& state) {
    if (auto* palette = Find<coTrackManipPalette>(coPaletteTrackManip))
        palette->SetPieceState({.circuitEmpty = state.empty,
                                .pieceContext = state.pieceOrDock,
                                .piece = state.piece,
                                .pieceIsFirst = state.isFirst,
                                .tube = state.tube,
                                .element = state.element,
                                .trackCollides = state.collides,
                                .finishAllowed = state.canClose,
                                .circuitClosed = state.closed,
                                .deleteAllowed = state.canDelete,
                                .pieceEditable = state.canEdit});
    if (auto* palette = Find<coMainPalette>(coPaletteMain); palette && palette->IsEnabled()) {
        palette->FindChild("Test")->SetEnabled(state.testEnabled);
        palette->FindChild("Ride")->SetEnabled(state.rideEnabled);
    }
}

envString coScreenEditorHost::GetCoasterName() const {
    const auto* palette = Find<coMainPalette>(coPaletteMain);
    return palette ? palette->GetCoasterName() : envString();
}

void coScreenEditorHost::SetCoasterName(const envString& name) {
    if (auto* palette = Find<coMainPalette>(coPaletteMain))
        palette->SetCoasterName(name);
}

void coScreenEditorHost::ShowMessage(u32 message, float seconds) {
    if (auto* palette = Find<coMainPalette>(coPaletteMain))
        palette->ShowFeedback(message > INT_MAX ? -1 : static_cast<i32>(message),
                              static_cast<i32>(std::lround(seconds)));
}

bool coScreenEditorHost::GetGridState() const {
    const auto* palette = Find<coMainPalette>(coPaletteMain);
    return palette && palette->IsGridShown();
}

void coScreenEditorHost::SetGridState(bool shown) {
    auto* palette = Find<coMainPalette>(coPaletteMain);
    if (palette && palette->IsGridShown() != shown)
        palette->ToggleGrid();
}

void coScreenEditorHost::SetGlobalStats(const float (&values)[9]) {
    if (auto* palette = Find<coGlobalStatsPalette>(coPaletteGlobalStats))
        palette->SetStats(values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                          values[7], values[8]);
}

void coScreenEditorHost::SetPieceStats(const coRidePieceStats* stats, float rideTime) {
    auto* palette = Find<coStatsPalette>(coPaletteStats);
    if (!palette)
        return;
    if (!stats) {
        palette->ClearStats();
        return;
    }
    palette->SetStats(stats->speed, stats->height, stats->g.x, stats->g.y, stats->g.z, stats->time, rideTime);
}

namespace {

// Runs a new dialog of the window tree over the current mode's modal frame, the editor in view behind
// it, and deletes it however the run ends. A dialog whose screen cannot be made is reported and counts
// as cancelled (2).
template <class Dialog, class Run> i32 RunDialog(const char* name, Run run) {
    Dialog* dialog = nullptr;
    try {
        dialog = new Dialog;
    } catch (const envExceptionX&) {
        coReportCurrentException();
        return 2;
    }
    dialog->SetName(name);
    guiWindowMgr::AddWindow(dialog);
    struct Delete {
        guiWindow* dialog;
        ~Delete() { guiWindowMgr::DeleteWindow(dialog); }
    } owner{dialog};
    coDialogFrameFunction frame(coCurrentMode()->ModalFrameStart());
    dialog->SetThinkFunction(&frame);
    return run(*dialog);
}

} // namespace

i32 coScreenEditorHost::AskQuestion(u32 primary, u32 ok, u32 cancel) {
    return RunDialog<coQuestionDialog>("Dialog", [&](coQuestionDialog& question) {
        question.SetPrimaryTextNum(primary);
        question.SetOkTextNum(ok);
        question.SetCancelTextNum(cancel);
        return question.DoModal();
    });
}

i32 coScreenEditorHost::RunKeyboardDialog(envString& text) {
    return RunDialog<coKeyboardDialog>("Keyboard Dialog", [&](coKeyboardDialog& keyboard) {
        keyboard.SetText(text);
        const i32 result = keyboard.DoModal();
        if (result == 1)
            text = keyboard.GetText();
        return result;
    });
}

i32 coScreenEditorHost::RunRidePauseDialog(int mode) {
    return coRunRidePauseDialog(mode);
}
