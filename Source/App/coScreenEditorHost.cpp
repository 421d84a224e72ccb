#include "Source/App/coScreenEditorHost.h"

#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Source/App/coModeDialog.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Palettes/coDockPalette.h"
#include "Source/Palettes/coGlobalStatsPalette.h"
#include "Source/Palettes/coLocalStatsPalette.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Screens/coChooseAnimDialog.h"
#include "Source/Screens/coDialogFrameFunction.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coReportException.h"
#include "Source/Screens/coRunDialog.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/World/coPropTemplateList.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

namespace {

template <class Palette> Palette* Find(i32 index) {
    return dynamic_cast<Palette*>(coPaletteManager::GetPalette(index));
}

constexpr i32 kManipulatePalettes[] = {coPaletteManipulateProp, coPaletteManipulateDock,
                                       coPaletteManipulateRing, coPaletteManipulateSpot};

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
    const auto* track = Find<coTrackManipPalette>(coPaletteTrackManip);
    return track ? track->FindPlacer(name) : nullptr;
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
    PlaceManipulatePalettes(state);
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

void coScreenEditorHost::SetSelectedPiece(const coCoasterPiece* piece) {
    if (auto* palette = Find<coLocalStatsPalette>(coPaletteLocalStats))
        palette->SetStats(piece);
}

i32 coScreenEditorHost::AskQuestion(u32 primary, u32 ok, u32 cancel) {
    return coRunModeDialog<coQuestionDialog>("Dialog", [&](coQuestionDialog& dialog) {
        dialog.SetPrimaryTextNum(primary);
        dialog.SetOkTextNum(ok);
        dialog.SetCancelTextNum(cancel);
        return dialog.DoModal();
    });
}

i32 coScreenEditorHost::RunKeyboardDialog(envString& text) {
    return coRunModeDialog<coKeyboardDialog>("Keyboard Dialog", [&](coKeyboardDialog& dialog) {
        dialog.SetText(text);
        const i32 result = dialog.DoModal();
        if (result == 1)
            text = dialog.GetText();
        return result;
    });
}

i32 coScreenEditorHost::RunRidePauseDialog(int mode) {
    return coRunRidePauseDialog(mode);
}

coPropTemplate* coScreenEditorHost::TakeChosenProp() {
    const auto* palette = Find<coPropsPalette>(coPaletteProps);
    i32 button = 0, category = 0;
    if (!palette || !palette->IsEnabled() || !palette->GetClickedProp(button, category))
        return nullptr;
    return coPropTemplateList::GetTemplate(button, category);
}

std::string coScreenEditorHost::TakeManipulateButton() {
    const coManipulatePalette* palette = ShownManipulatePalette();
    if (!palette)
        return std::string();
    for (const guiButton* button : {palette->GetRotateButton(), palette->GetTranslateButton(),
                                    palette->GetChooseAnimButton(), palette->GetDeleteButton()})
        if (button->IsEnabled() && button->GetState() == guiStateReleased)
            return button->GetName();
    return std::string();
}

std::string coScreenEditorHost::TakeManipulatePress() {
    const coManipulatePalette* palette = ShownManipulatePalette();
    if (!palette)
        return std::string();
    for (guiButton* button : {palette->GetRotateButton(), palette->GetTranslateButton()}) {
        const i32 state = button->GetState();
        if (button->IsEnabled() && (state == guiStatePressed || state == guiStateHeld)) {
            // The tool takes over the held button: its release is the tool's, not the palette's.
            button->GetImage()->ReleaseCapture(guiMouseButtons::kMain);
            return button->GetName();
        }
    }
    return std::string();
}

void coScreenEditorHost::ShowManipulatePalette(i32 index, bool shown) {
    auto* palette = Find<coManipulatePalette>(index);
    if (!palette)
        return;
    coShowWidget(palette, shown);
    if (shown)
        for (guiButton* button : {palette->GetRotateButton(), palette->GetTranslateButton()})
            button->SetState(guiStateIdle);
}

i32 coScreenEditorHost::RunChooseAnimDialog(coProp& prop) {
    // Opened where "Choose Anim" was clicked, kept whole on the screen.
    i32 x = 0, y = 0;
    if (const auto* palette = Find<coManipulatePalette>(coPaletteManipulateProp)) {
        const maVector3d at = palette->GetChooseAnimButton()->GetWorldMatrix().GetTranslation();
        i32 width = 0, height = 0;
        guiGetScreenSize(width, height);
        x = std::clamp(static_cast<i32>(at.x), 0, std::max(width - 128, 0));
        y = std::clamp(static_cast<i32>(at.y), 0, std::max(height - 80, 0));
    }
    return coRunNewDialog<coChooseAnimDialog>(
        "Dialog", 2,
        [](coChooseAnimDialog& dialog) {
            // The list stands over the world, which goes on being drawn behind it.
            coDialogFrameFunction frame(coCurrentMode()->ModalFrameStart(), false);
            dialog.SetThinkFunction(&frame);
            return dialog.DoModal();
        },
        &prop, x, y);
}

void coScreenEditorHost::PlaceManipulatePalettes(const coEditorPaletteState& state) {
    for (const i32 index : kManipulatePalettes) {
        auto* palette = Find<coManipulatePalette>(index);
        if (!palette)
            continue;
        const bool shown = index == state.manipulatePalette && state.selection && state.camera;
        coShowWidget(palette, shown);
        // Hidden again while the object is behind the eye.
        if (shown)
            palette->AttachToObject(*state.camera, *state.selection);
    }
}

coManipulatePalette* coScreenEditorHost::ShownManipulatePalette() {
    for (const i32 index : kManipulatePalettes)
        if (auto* palette = Find<coManipulatePalette>(index);
            palette && palette->IsEnabled() && palette->IsEffectivelyVisible())
            return palette;
    return nullptr;
}

void coScreenEditorHost::ReportError(const envExceptionX& failure) {
    // The editor reports from its handler, where the exception in flight keeps its full type and path.
    if (std::current_exception()) {
        coReportCurrentException();
        return;
    }
    try {
        throw failure;
    } catch (const envExceptionX&) {
        coReportCurrentException();
    }
}

void coScreenEditorHost::ReportFailures(const std::vector<std::exception_ptr>& failures) {
    coReportFailures(failures);
}

void coScreenEditorHost::ReportDamagedFile(u32 text, const fsLocator& file) {
    coReportFileProblem(text, file);
}

void coScreenEditorHost::SetPointerShape(i32 shape) {
    guiCursorMgr::SetShape(shape);
}

void coScreenEditorHost::ShowInterface(bool shown) {
    guiCursorMgr::SetVisible(shown);
    coPaletteManager::SetHudEnabled(shown);
    coPaletteManager::SetHudVisible(shown);
    if (!shown)
        guiToolTip::Hide();
}
