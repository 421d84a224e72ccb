#include "Source/Modes/coModeEditor.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEvent.h"
#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileEnum.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/GUI/Gui/guiWindow.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coCameraManipFocus.h"
#include "Source/Modes/coCameraManipFree.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorPick.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coEditorWorld.h"
#include "Source/Modes/coModeManipulateDock.h"
#include "Source/Modes/coModeManipulateProp.h"
#include "Source/Modes/coModePlaceProp.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Ride/coTrain.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Screens/coPointerShapes.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Sound/coSoundEffects.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPlacement.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/World/coLoadingDock.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "Source/World/coPropTemplateList.h"
#include "Source/World/coTrackProp.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kSoundError = 18;

// The main palette's feedback messages the builder shows, each with how long it stays.
constexpr u32 kMessagePlaceDock = 0;
constexpr float kMessagePlaceDockSeconds = 60.0f;
constexpr u32 kMessageCollision = 1;
constexpr u32 kMessageMeetsStart = 15;
constexpr float kMessageCollisionSeconds = 15.0f;
constexpr u32 kMessageSaved = 14;
constexpr float kMessageSavedSeconds = 5.0f;
constexpr u32 kMessageTrackPropsNeedTrack = 16;
constexpr float kMessageTrackPropsSeconds = 10.0f;

const envString kCoasterExtension(coSavedCoasterExtension);

fsLocator CoasterFile(const envString& name) {
    fsLocator locator(coRootSaves);
    envString file(name);
    file.Append(kCoasterExtension);
    locator.AppendComponent(file);
    return locator;
}

// The file is there under its own name, not only under one that differs in case.
bool ExistsAsNamed(const fsLocator& file) {
    fsLocator resolved = file;
    fsResolveRoot(resolved);
    std::string exact;
    fsLocatorToNativePath(resolved, exact);
    return fsFindFilePath(resolved) == exact;
}

bool EndsWith(const envString& text, const envString& suffix) {
    const u32 n = suffix.GetLength();
    if (text.GetLength() < n)
        return false;
    for (u32 i = 0; i < n; ++i)
        if (text[text.GetLength() - n + i] != suffix[i])
            return false;
    return true;
}

class CoasterNameTarget : public fsFileEnum::EnumTarget {
  public:
    explicit CoasterNameTarget(std::vector<envString>& names) : m_names(names) {}
    bool OnEntry(const fsLocator&, const fsLocator& entry) override {
        const envString& file = entry.GetLastComponent();
        if (EndsWith(file, kCoasterExtension) && file.GetLength() > kCoasterExtension.GetLength())
            m_names.emplace_back(0, file.GetLength() - kCoasterExtension.GetLength(), file);
        return true;
    }

  private:
    std::vector<envString>& m_names;
};

bool PushMode(i32 id) {
    coMode* mode = coGetMode(id);
    if (mode == nullptr)
        return false;
    coModePush(mode);
    return true;
}
} // namespace

const std::array<coActionButton, 30>& coEditorActionButtons() {
    static const std::array<coActionButton, 30> table = {{
        {coActionLoad, "Load", 0},
        {coActionSave, "Save", 0},
        {coActionCamera, "Camera", 0},
        {coActionGrid, "Grid", 0},
        {coActionTest, "Test", 0},
        {coActionRide, "Ride", 0},
        {coActionOptions, "Options", 0},
        {coActionBack, "Back", 0},
        {coActionStraightUp, "Straight Up", 2},
        {coActionShallowRight, "Shallow Right", 2},
        {coActionShallowLeft, "Shallow Left", 2},
        {coActionHalfLoop, "Half Loop", 2},
        {coActionHalfCorkRight, "HalfCork Right", 2},
        {coActionHalfCorkLeft, "HalfCork Left", 2},
        {coActionShortStraightaway, "Short Straightaway", 1},
        {coActionLongStraightaway, "Long Straightaway", 1},
        {coActionCurvedRight, "Curved Right", 1},
        {coActionCurvedLeft, "Curved Left", 1},
        {coActionLoop, "Loop", 1},
        {coActionCorkscrew, "Corkscrew", 1},
        {coActionSTurn, "STurn", 1},
        {coActionPitchUp, "Pitch Up", 1},
        {coActionPitchDown, "Pitch Down", 1},
        {coActionBankLeft, "Bank Left", 1},
        {coActionBankRight, "Bank Right", 1},
        {coActionFinishCoaster, "Finish Coaster", 1},
        {coActionBendRight, "Bend Right", 1},
        {coActionBendLeft, "Bend Left", 1},
        {coActionWiden, "Widen", 1},
        {coActionNarrow, "Narrow", 1},
    }};
    return table;
}

bool coIsValidCoasterName(const envString& name) {
    if (!coIsPlainFolderName(name))
        return false;
    for (u32 i = 0; i < name.GetLength(); ++i)
        if (name[i] < 0x20 || name[i] == 0x7F)
            return false;
    const std::string utf8 = envUtf16ToUtf8(std::u16string_view(name.GetData(), name.GetLength()));
    return utf8.size() + kCoasterExtension.GetLength() <= 255;
}

std::vector<envString> coListSavedCoasterNames() {
    std::vector<envString> names;
    CoasterNameTarget target(names);
    fsEnumerateFiles(fsLocator(coRootSaves), target);
    return names;
}

coModeEditor::coModeEditor() {
    appCharEventHandler::SetEnabled(false);
    m_paletteStates.Set({coPaletteStats, coPaletteProps, coPaletteTrackManip, coPaletteMain, coPaletteDock},
                        3);
    m_paletteStates.Set({coPaletteGlobalStats, coPaletteLocalStats}, 2);
    BindCommand("Short Straightaway", &coModeEditor::ShortStraightaway);
    BindCommand("Long Straightaway", &coModeEditor::LongStraightaway);
    BindCommand("Loop", &coModeEditor::Loop);
    BindCommand("Corkscrew", &coModeEditor::Corkscrew);
    BindCommand("STurn", &coModeEditor::STurn);
    BindCommand("Curved Left", &coModeEditor::CurvedLeft);
    BindCommand("Curved Right", &coModeEditor::CurvedRight);
    BindCommand("Pitch Up", &coModeEditor::PitchUp);
    BindCommand("Pitch Down", &coModeEditor::PitchDown);
    BindCommand("Bank Left", &coModeEditor::BankLeft);
    BindCommand("Bank Right", &coModeEditor::BankRight);
    BindCommand("Widen", &coModeEditor::Widen);
    BindCommand("Narrow", &coModeEditor::Narrow);
    BindCommand("Bend Left", &coModeEditor::BendLeft);
    BindCommand("Bend Right", &coModeEditor::BendRight);
    BindCommand("Delete", &coModeEditor::Delete);
    BindCommand("Finish Coaster", &coModeEditor::FinishCoaster);
    BindCommand("Add Tube Decoration", &coModeEditor::AddTubeDecoration);
    BindCommand("Remove Tube Decoration", &coModeEditor::RemoveTubeDecoration);
    BindCommand("Add Retarder", &coModeEditor::AddRetarder);
    BindCommand("Remove Retarder", &coModeEditor::RemoveRetarder);
    BindCommand("Add Accelerator", &coModeEditor::AddAccelerator);
    BindCommand("Remove Accelerator", &coModeEditor::RemoveAccelerator);
    BindCommand("Add Brake", &coModeEditor::AddBrake);
    BindCommand("Remove Brake", &coModeEditor::RemoveBrake);
    BindCommand("Add Chain", &coModeEditor::AddChain);
    BindCommand("Remove Chain", &coModeEditor::RemoveChain);
    BindCommand("Half Loop", &coModeEditor::HalfLoop);
    BindCommand("HalfCork Right", &coModeEditor::HalfCorkRight);
    BindCommand("HalfCork Left", &coModeEditor::HalfCorkLeft);
    BindCommand("Straight Up", &coModeEditor::StraightUp);
    BindCommand("Shallow Right", &coModeEditor::ShallowRight);
    BindCommand("Shallow Left", &coModeEditor::ShallowLeft);
    coAddClearSceneStep(coClearStep::Holders, this, [this] { OnSceneCleared(); });
}

coModeEditor::~coModeEditor() {
    coRemoveClearSceneSteps(this);
}

scCameraManip* coModeEditor::GetCurrentCamera() {
    if (m_cameraIndex < 0 || m_cameraIndex >= static_cast<i32>(m_cameras.size()))
        return nullptr;
    return m_cameras[static_cast<size_t>(m_cameraIndex)].get();
}

void coModeEditor::OnSceneCleared() {
    coSelectionClear();
    m_statsPiece = nullptr;
    m_flags.reset(TestRideRequested);
    m_flags.reset(RideRequested);
    m_flags.reset(Modified);
}

void coModeEditor::Enter() {
    appCharEventHandler::SetEnabled(true);
    EnterCommon();
    // The ride hid the props far from its camera; the builder shows the whole park.
    coPropList::UncullAll();
    m_cameraIndex = std::max(m_cameraIndex, 0);
    if (m_cameras.empty()) {
        m_cameras.push_back(std::make_unique<coCameraManipFocus>());
        m_cameras.push_back(std::make_unique<coCameraManipFree>());
        m_cameraIndex = 0;
        m_cameras[0]->Attach(&m_camera, false);
        m_camera.SetViewMatrix(maMatrix4d());
    }
    const bool fromTool =
        m_flags.test(PlacePropStarted) || m_flags.test(DockModeRequested) || m_flags.test(ManipulateStarted);
    if (!fromTool)
        coLoadSoundEffects();
    for (Flag flag : {TestRideRequested, RideRequested, PlacePropStarted, DockModeRequested,
                      ManipulateStarted, QuitRequested, CareerQuitRequested})
        m_flags.reset(flag);
    m_flags.set(NoModalDialog);
    coCollisionShowMarkers(true);
    m_markerVisible = true;

    coEditorHost& host = coGetEditorHost();
    m_flags.set(GridShown, host.GetGridState());
    m_flags.reset(GridAutomatic);
    Refresh();
    ShowBuildingView();
    coMusicRequestContext(coMusicBuilder);
    coMusicApplyContext(false);
    host.ShowBuildPalettes(true);
    if (coCircuitPieceCount() == 0)
        host.ShowMessage(kMessagePlaceDock, kMessagePlaceDockSeconds);
    else
        GiveCollisionFeedback();
    m_heldAction = -1;
    m_heldWindow = nullptr;
    // The menu that led here left the wait pointer up.
    host.SetPointerShape(coPointerArrow);
}

void coModeEditor::Exit() {
    ExitCommon();
    appCharEventHandler::SetEnabled(false);
    m_markerVisible = false;
    coGetEditorWorld().FreeSelectionMarker();
    const bool toTool =
        m_flags.test(PlacePropStarted) || m_flags.test(DockModeRequested) || m_flags.test(ManipulateStarted);
    // A builder left for good starts its next coaster unchanged; one left for a tool, the test ride or the
    // ride keeps its unsaved changes, and a builder entered from a ride takes on the changes it made.
    if (!toTool && !m_flags.test(TestRideRequested) && !m_flags.test(RideRequested)) {
        m_cameras.clear();
        m_cameraIndex = -1;
        m_flags.reset(Modified);
    }
    if (!toTool) {
        coGetEditorHost().SetPointerShape(coPointerWait);
        coReleaseSoundEffects();
        if (!coPrefs::GetBool(coPrefTextureInBuild))
            coSetWorldTextured(true);
    }
    if (m_flags.test(InterfaceHidden)) {
        m_flags.reset(InterfaceHidden);
        coGetEditorHost().ShowInterface(true);
    }
}

void coModeEditor::AskToLeave() {
    BeginModal();
    if (coGetEditorHost().AskQuestion(coQuestionLeaveBuilder, coLabelYes, coLabelNo) == 1) {
        coMusicStop();
        PushMode(coModeIdMainMenu);
        coSelectionClear();
        coGetSavedCoasterServices().ClearScene();
        SetResult(Leave);
        EndModal();
        if (m_flags.test(InterfaceHidden)) {
            m_flags.reset(InterfaceHidden);
            coGetEditorHost().ShowInterface(true);
        }
    } else {
        m_flags.reset(QuitRequested);
        EndModal();
    }
}

void coModeEditor::Think() {
    const float time = appClock::GetTime();
    BeginFrame();
    inDeviceManager::PollAll();
    // The prop placement mode was pushed by the props palette already (no mode id here). A switch asked
    // for goes first: the mode it pushed must not stay under a leave.
    const struct {
        Flag flag;
        i32 mode;
    } switches[] = {{TestRideRequested, coModeIdTestRide},
                    {RideRequested, coModeIdRide},
                    {PlacePropStarted, -1},
                    {DockModeRequested, coModeIdManipulateDock}};
    for (const auto& s : switches) {
        if (!m_flags.test(s.flag))
            continue;
        if (s.flag == TestRideRequested || s.flag == RideRequested)
            coCircuitRebuildSupports();
        if (s.flag == TestRideRequested)
            coMusicStop();
        if (auto* dock = dynamic_cast<coModeManipulateDock*>(coGetMode(coModeIdManipulateDock));
            dock != nullptr && s.flag == DockModeRequested) {
            dock->SetKind(coModeManipulateDock::PlaceNew);
            dock->SetCamera(&m_camera);
            dock->SetDock(nullptr);
        }
        if (s.mode < 0 || PushMode(s.mode))
            SetResult(Switch);
        else
            m_flags.reset(s.flag);
        return;
    }
    coEditorInput* input = coGetEditorInput();
    if ((input != nullptr && input->WasReleased(coActionEscape)) || m_flags.test(QuitRequested)) {
        AskToLeave();
        return;
    }
    coModeHost& host = coGetModeHost();
    host.UpdateGui();
    if (coPrefs::GetBool(coPrefToolTips) && !m_flags.test(InterfaceHidden))
        host.UpdateToolTip(time);
    if (HandleInput() == 2)
        return;
    if (scCameraManip* camera = GetCurrentCamera())
        camera->Update();
    coEditorClickPick(m_camera);
    UpdatePalettes();
    coPropList::UpdateAll(time);
    UpdateSelectionDisplay();
    coGetEditorWorld().ShowSelectionMarker(m_markerVisible, m_markerPosition, m_markerScale);
    host.UpdateScene(m_camera, time);
    RenderFrame(&m_camera);
}

int coModeEditor::HandleInput() {
    int result = 0;
    if (!m_flags.test(InterfaceHidden)) {
        result = HandleActions();
        if (result != 0 && result != 3)
            return result;
    }
    const coEditorInput* input = coGetEditorInput();
    if (input != nullptr && !input->IsMouseClaimed(coMouseRecordLeft) && result != 3)
        return 0;
    result = RunPaletteCommand(coGetEditorHost().TakeReleasedTrackButton());
    if (result != 0)
        return result;
    result = HandleManipulatePalettes();
    if (result != 0) {
        m_flags.set(Modified);
        return result;
    }
    result = HandlePropsPalette();
    if (result == 0)
        result = HandleMainPalette();
    if (result == 0)
        result = HandleDockPalette();
    return result;
}

void coModeEditor::BindActionWindows() {
    m_actionWindows.clear();
    for (const coActionButton& entry : coEditorActionButtons())
        if (guiWindow* window = coGetEditorHost().FindButton(entry.button))
            m_actionWindows[entry.action] = window;
}

guiWindow* coModeEditor::GetActionWindow(i32 action) {
    // The element keys press whichever of the Add and Remove buttons the selected piece shows.
    static const struct {
        const char* add;
        const char* remove;
        i32 element;
    } elements[] = {{"Add Accelerator", "Remove Accelerator", 3},
                    {"Add Brake", "Remove Brake", 2},
                    {"Add Chain", "Remove Chain", 1},
                    {"Add Retarder", "Remove Retarder", 4},
                    {"Add Tube Decoration", "Remove Tube Decoration", -1}};
    if (action >= coActionAccelerator && action <= coActionTubeDecoration) {
        coCoasterPiece* piece =
            coSelectionGetKind() == coSelectionDock ? coCircuitFirstPiece() : coSelectionGetObject();
        if (piece == nullptr)
            return nullptr;
        const auto& e = elements[action - coActionAccelerator];
        const bool present = e.element < 0 ? piece->GetTube() != 0 : piece->GetElement() == e.element;
        return coGetEditorHost().FindButton(present ? e.remove : e.add);
    }
    const auto found = m_actionWindows.find(action);
    return found == m_actionWindows.end() ? nullptr : found->second;
}

int coModeEditor::PressActionWindow(i32 action, guiWindow* window) {
    const coEditorInput* input = coGetEditorInput();
    if (input == nullptr || window == nullptr || !window->IsEnabled())
        return 0;
    if (input->IsHeld(action)) {
        window->SetState(guiStateHeld);
    } else if (input->IsDown(action)) {
        window->SetState(guiStatePressed);
    } else if (input->WasReleased(action)) {
        window->SetState(guiStateReleased);
        m_heldAction = -1;
        m_heldWindow = nullptr;
        return 3;
    } else {
        return 0;
    }
    m_heldAction = action;
    m_heldWindow = window;
    return 3;
}

int coModeEditor::HandleActions() {
    if (m_heldAction >= 0) {
        if (const int result = PressActionWindow(m_heldAction, m_heldWindow))
            return result;
    }
    for (i32 action = coActionLoad; action <= coActionNarrow; ++action)
        if (const int result = PressActionWindow(action, GetActionWindow(action)))
            return result;
    const coEditorInput* input = coGetEditorInput();
    if (input == nullptr)
        return 0;
    const bool hasPieces = coCircuitPieceCount() > 0;
    int result = 0;
    if (input->IsDown(coActionSelectDock) && hasPieces) {
        coSelectLoadingDock();
        result = 1;
    } else if (input->IsDown(coActionSelectLast) && hasPieces) {
        if (coCircuitPieceCount() == 1)
            coSelectLoadingDock();
        else
            coSelectionSetPiece(coCircuitLastPiece());
        result = 1;
    } else if (input->WasReleased(coActionSelectNext)) {
        SelectNext();
        result = 1;
    } else if (input->WasReleased(coActionSelectPrevious)) {
        SelectPrevious();
        result = 1;
    }
    if (result != 0) {
        m_heldAction = -1;
        m_heldWindow = nullptr;
        return result;
    }
    // The wheel steps through the circuit unless a window scrolls with it.
    const i32 steps = input->GetAxisZ();
    if (steps != 0 && !input->IsMouseClaimed(coMouseRecordWheel)) {
        for (i32 i = 0; i < std::abs(steps); ++i) {
            if (steps > 0)
                SelectNext();
            else
                SelectPrevious();
        }
    }
    return 0;
}

int coModeEditor::HandleManipulatePalettes() {
    coEditorHost& host = coGetEditorHost();
    // Rotating and moving hand over to the prop and dock tools; a ring has no tool, so there is
    // nothing to do for it, nor for a spot object.
    if (StartManipulateTool(host.TakeManipulatePress()))
        return 2;
    const std::string released = host.TakeManipulateButton();
    if (coProp* prop = coSelectionGetProp(); prop != nullptr && released == "Choose Anim") {
        BeginModal();
        host.RunChooseAnimDialog(*prop);
        EndModal();
        return 2;
    }
    if (released == "Delete" && CanDeleteSelection()) {
        Delete();
        return 2;
    }
    return 0;
}

bool coModeEditor::StartManipulateTool(const std::string& button) {
    const bool rotate = button == "Rotate";
    if (!rotate && button != "Translate")
        return false;
    coModeTool* tool = nullptr;
    if (coProp* prop = coSelectionGetProp(); prop != nullptr && CanManipulateProp()) {
        if (rotate) {
            auto* mode = dynamic_cast<coModeRotateProp*>(coGetMode(coModeIdRotateProp));
            if (mode != nullptr)
                mode->SetProp(prop);
            tool = mode;
        } else if (auto* trackProp = dynamic_cast<coTrackProp*>(prop)) {
            auto* mode = dynamic_cast<coModeTranslateTrackProp*>(coGetMode(coModeIdTranslateTrackProp));
            if (mode != nullptr)
                mode->SetProp(trackProp);
            tool = mode;
        } else {
            auto* mode = dynamic_cast<coModeTranslateProp*>(coGetMode(coModeIdTranslateProp));
            if (mode != nullptr)
                mode->SetProp(prop);
            tool = mode;
        }
    } else if (coLoadingDock* dock = coSelectionGetDock();
               dock != nullptr && coCircuitPieceCount() == 1 && CanManipulateDock()) {
        auto* mode = dynamic_cast<coModeManipulateDock*>(coGetMode(coModeIdManipulateDock));
        if (mode != nullptr) {
            mode->SetKind(rotate ? coModeManipulateDock::Turn : coModeManipulateDock::Move);
            mode->SetDock(dock);
        }
        tool = mode;
    }
    if (tool == nullptr)
        return false;
    tool->SetCamera(&m_camera);
    coModePush(tool);
    SetResult(Switch);
    m_flags.set(ManipulateStarted);
    return true;
}

int coModeEditor::HandlePropsPalette() {
    coEditorHost& host = coGetEditorHost();
    coPropTemplate* chosen = host.TakeChosenProp();
    if (chosen == nullptr)
        return 0;
    if (chosen->IsTrackProp() && coCircuitPieceCount() < 2) {
        host.ShowMessage(kMessageTrackPropsNeedTrack, kMessageTrackPropsSeconds);
        return 2;
    }
    // The first prop of a kind loads its model and animations; without them there is nothing to place.
    try {
        coLoadPropTemplate(*chosen);
    } catch (const envExceptionX& failure) {
        host.ReportError(failure);
        return 2;
    }
    coModeTool* tool = nullptr;
    if (chosen->IsTrackProp()) {
        auto* mode = dynamic_cast<coModePlaceTrackProp*>(coGetMode(coModeIdPlaceTrackProp));
        if (mode != nullptr)
            mode->SetTemplate(chosen);
        tool = mode;
    } else {
        auto* mode = dynamic_cast<coModePlaceProp*>(coGetMode(coModeIdPlaceProp));
        if (mode != nullptr)
            mode->SetTemplate(chosen);
        tool = mode;
    }
    if (tool == nullptr)
        return 0;
    tool->SetCamera(&m_camera);
    m_flags.set(PlacePropStarted);
    coModePush(tool);
    m_flags.set(Modified);
    return 2;
}

int coModeEditor::HandleDockPalette() {
    const std::string type = coGetEditorHost().TakeChosenDock();
    if (type.empty())
        return 0;
    if (auto* mode = dynamic_cast<coModeManipulateDock*>(coGetMode(coModeIdManipulateDock)))
        mode->SetDockType(type.c_str());
    m_flags.set(DockModeRequested);
    m_flags.set(Modified);
    return 2;
}

void coModeEditor::UpdatePalettes() {
    coEditorPaletteState state;
    const i32 kind = coSelectionGetKind();
    state.empty = coCircuitPieceCount() == 0;
    state.pieceOrDock = kind == coSelectionPiece || kind == coSelectionDock;
    coCoasterPiece* piece = kind == coSelectionDock ? coCircuitFirstPiece() : coSelectionGetObject();
    state.piece = piece;
    if (piece != nullptr) {
        state.isFirst = piece == coCircuitFirstPiece();
        state.element = piece->GetElement();
        state.tube = piece->GetTube();
    }
    state.canEdit = CanEditSelectedPiece();
    state.canDelete = CanDeleteSelection();
    state.closed = coCircuitIsClosed();
    state.collides = coCollisionHasMarkers();
    state.canClose = coCircuitEndMeetsStart() && !coCircuitIsClosed();
    UpdateTrackManipPalette(state);
    state.testEnabled = !state.empty;
    state.rideEnabled = state.closed && !state.collides;
    if (kind == coSelectionProp && CanManipulateProp())
        state.manipulatePalette = 4;
    else if (kind == coSelectionDock && coCircuitPieceCount() == 1 && CanManipulateDock())
        state.manipulatePalette = 5;
    else if (kind == coSelectionRing)
        state.manipulatePalette = 6;
    else if (kind == coSelectionSpot)
        state.manipulatePalette = 7;
    if (state.manipulatePalette != 0) {
        // A dock the park handed over without its pickable object is an object all the same.
        state.selection = coSelectionGetObjectBase();
        if (state.selection == nullptr)
            state.selection = coSelectionGetDock();
        state.camera = &m_camera;
    }
    coGetEditorHost().UpdatePalettes(state);
}

int coModeEditor::HandleMainPalette() {
    return HandleMainButton(coGetEditorHost().TakeMainButton());
}

int coModeEditor::HandleMainButton(coMainButton button) {
    coEditorHost& host = coGetEditorHost();
    switch (button) {
    case coMainButton::None:
        return 0;
    case coMainButton::Ride: {
        BeginModal();
        const bool metric = coPrefs::GetBool(coPrefMetricUnits);
        const coStoredRideSettings stored;
        if (host.RunRidePauseDialog(2) == 1)
            m_flags.set(RideRequested);
        if (!(coStoredRideSettings() == stored))
            m_flags.set(Modified);
        if (coPrefs::GetBool(coPrefMetricUnits) != metric)
            Refresh();
        EndModal();
        return 1;
    }
    case coMainButton::Back:
        m_flags.set(QuitRequested);
        return 2;
    case coMainButton::Test:
        m_flags.set(TestRideRequested);
        return 2;
    case coMainButton::Grid:
        m_flags.flip(GridShown);
        host.SetGridState(m_flags.test(GridShown));
        return 1;
    case coMainButton::Camera:
        SwitchCamera();
        return 1;
    case coMainButton::Load:
        BeginModal();
        if (host.AskQuestion(coQuestionLoadFromBuilder, coLabelYes, coLabelNo) == 1 &&
            PushMode(coModeIdLoadMenu)) {
            SetResult(Switch);
            EndModal();
            return 2;
        }
        EndModal();
        return 1;
    case coMainButton::Save:
        SaveAs();
        return 1;
    case coMainButton::Options: {
        BeginModal();
        const u8 drag = coGetTrainDragOn();
        const bool metric = coPrefs::GetBool(coPrefMetricUnits);
        const coStoredRideSettings stored;
        host.RunRidePauseDialog(0);
        if (!(coStoredRideSettings() == stored))
            m_flags.set(Modified);
        // Air drag changes the ride and its statistics; the units only how they are shown.
        if (coGetTrainDragOn() != drag || coPrefs::GetBool(coPrefMetricUnits) != metric)
            Refresh();
        EndModal();
        return 1;
    }
    }
    return 0;
}

void coModeEditor::SwitchCamera() {
    if (m_cameras.size() < 2)
        return;
    m_cameras[static_cast<size_t>(m_cameraIndex)]->Detach();
    m_cameraIndex = m_cameraIndex == 0 ? 1 : 0;
    m_cameras[static_cast<size_t>(m_cameraIndex)]->Attach(&m_camera, false);
}

int coModeEditor::RunPaletteCommand(const std::string& button) {
    const auto found = m_commands.find(button);
    if (found == m_commands.end())
        return 0;
    m_flags.set(Modified);
    (this->*found->second)();
    GiveCollisionFeedback();
    return m_flags.test(DockModeRequested) ? 2 : 1;
}

void coModeEditor::GiveCollisionFeedback() {
    coEditorHost& host = coGetEditorHost();
    if (coCollisionHasMarkers()) {
        const bool atJoint = coCollisionOnlyAtJoint() && coCircuitEndMeetsStart() && !coCircuitIsClosed();
        host.ShowMessage(atJoint ? kMessageMeetsStart : kMessageCollision, kMessageCollisionSeconds);
    }
    const bool kindFour = coCollisionHasKindFourMarker();
    if (kindFour && !m_flags.test(GridShown)) {
        host.SetGridState(true);
        m_flags.set(GridShown);
        m_flags.set(GridAutomatic);
    }
    if (m_flags.test(GridAutomatic) && !kindFour) {
        m_flags.reset(GridAutomatic);
        if (m_flags.test(GridShown)) {
            host.SetGridState(false);
            m_flags.reset(GridShown);
        }
    }
}

void coModeEditor::Refresh() {
    m_statsPiece = nullptr;
    coRideComputeStats();
    const coRideStats& stats = coGetRideStats();
    const float values[9] = {stats[0], stats[1],  stats[2],  stats[4], stats[8],
                             stats[9], stats[10], stats[11], stats[12]};
    coGetEditorHost().SetGlobalStats(values);
}

void coModeEditor::UpdateSelectionDisplay() {
    coEditorHost& host = coGetEditorHost();
    coCoasterPiece* piece = coSelectionGetObject();
    if (coSelectionGetKind() == coSelectionDock)
        piece = coCircuitFirstPiece();
    // Every frame: pitching or widening changes the selected piece without a new selection.
    host.SetSelectedPiece(piece);
    if (piece != nullptr) {
        if (piece != m_statsPiece) {
            const coRidePieceStats& stats = coRideStatsFind(piece);
            host.SetPieceStats(stats.measured ? &stats : nullptr, coGetRideStats()[coStatRideTime]);
            m_statsPiece = piece;
        }
        PlaceSelectionMarker(coGetEditorWorld().GetPieceBox(*piece));
        return;
    }
    // Unconditionally: a refresh forgets the statistics piece while its figures are still shown.
    host.SetPieceStats(nullptr, 0.0f);
    m_statsPiece = nullptr;
    maBoundingBox box;
    const coObject* object = coSelectionGetObjectBase();
    if (object != nullptr && coGetEditorWorld().GetObjectBox(object, box))
        PlaceSelectionMarker(box);
    else
        m_markerVisible = false;
}

maVector3d coModeEditor::MarkerScale(const maBoundingBox& box) {
    const maVector3d extent = box.GetMax() - box.GetMin();
    return maVector3d(-std::max(extent.x, 4.0f) * 0.6f, std::max(extent.y, 4.0f) * 0.6f,
                      std::max(extent.z, 4.0f) * 0.6f);
}

void coModeEditor::PlaceSelectionMarker(const maBoundingBox& box) {
    m_markerVisible = true;
    m_markerPosition = box.GetCenter();
    m_markerScale = MarkerScale(box);
}

void coModeEditor::BeginModal() {
    appCharEventHandler::SetEnabled(false);
    m_flags.reset(NoModalDialog);
    if (m_flags.test(InterfaceHidden))
        coGetEditorHost().ShowInterface(true);
    // Behind a dialog the palettes stay on screen but take no clicks; the dialog's own go on top.
    coPaletteStates modal;
    modal.Set({coPaletteStats, coPaletteProps, coPaletteTrackManip, coPaletteMain}, 2);
    const guiWindow* global = coPaletteManager::GetPalette(coPaletteGlobalStats);
    if (global != nullptr && global->IsVisible())
        modal.Set({coPaletteGlobalStats, coPaletteLocalStats}, 2);
    else
        modal.Set({coPaletteDock}, 2);
    coPaletteManager::ApplyStates(modal);
}

void coModeEditor::EndModal() {
    appCharEventHandler::SetEnabled(true);
    m_flags.set(NoModalDialog);
    if (m_flags.test(InterfaceHidden))
        coGetEditorHost().ShowInterface(false);
    coPaletteManager::ApplyStates(m_paletteStates);
    coGetEditorHost().ShowBuildPalettes(true);
}

void coModeEditor::SelectNext() {
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece == nullptr && coSelectionGetKind() == coSelectionDock)
        piece = coCircuitFirstPiece();
    if (piece == nullptr)
        return;
    coCoasterPiece* next = piece->GetNext();
    if (next != nullptr && next != coCircuitFirstPiece())
        coSelectionSetPiece(next);
    else
        coSelectLoadingDock();
}

void coModeEditor::SelectPrevious() {
    coCoasterPiece* first = coCircuitFirstPiece();
    coCoasterPiece* result = nullptr;
    if (coCoasterPiece* piece = coSelectionGetObject())
        result = piece->GetPrevious();
    else if (coSelectionGetKind() == coSelectionDock && first != nullptr)
        result = coCircuitPieceCount() == 1 ? first : first->GetPrevious();
    else
        return;
    if (result == first && first != nullptr)
        coSelectLoadingDock();
    else if (result == nullptr)
        coSelectionSetPiece(coCircuitLastPiece());
    else
        coSelectionSetPiece(result);
}

void coModeEditor::OnChar(appCharEvent* event) {
    switch (event->GetChar()) {
    case appKeyCharF1:
        Revert();
        break;
    case appKeyCharF2:
        if (m_flags.test(Modified))
            Save();
        break;
    case appKeyCharDelete:
        if (CanDeleteSelection()) {
            m_flags.set(Modified);
            Delete();
        }
        break;
    case appKeyCharTab:
        if (m_flags.test(NoModalDialog)) {
            m_flags.flip(InterfaceHidden);
            coGetEditorHost().ShowInterface(!m_flags.test(InterfaceHidden));
        }
        break;
    default:
        break;
    }
}

void coModeEditor::Revert() {
    coEditorHost& host = coGetEditorHost();
    const envString name = host.GetCoasterName();
    if (name.GetLength() == 0)
        return;
    const fsLocator file = CoasterFile(name);
    try {
        // Reads take a name that differs only in case, but that is another coaster, not this one's file.
        if (!ExistsAsNamed(file))
            throw fsFileDoesntExistX(file);
        coLoadCoasterFile(file);
    } catch (const envExceptionX& failure) {
        // The loader keeps the coaster it had when the file cannot be read whole.
        ReportLoadFailure(failure, file, coErrorDamagedCoaster);
        return;
    }
    m_flags.reset(Modified);
    ShowBuildingView();
    if (coCircuitPieceCount() > 0)
        coSelectLoadingDock();
    Refresh();
}

void coModeEditor::ReportLoadFailure(const envExceptionX& failure, const fsLocator& file, u32 damagedText) {
    coEditorHost& host = coGetEditorHost();
    // A damaged game file that the coaster needs is named as the game's by the general report.
    if (coIsDamageOf(std::current_exception(), file))
        host.ReportDamagedFile(damagedText, file);
    else
        host.ReportError(failure);
}

void coModeEditor::ShowBuildingView() {
    if (!coPrefs::GetBool(coPrefTextureInBuild))
        coSetWorldTextured(false);
}

void coModeEditor::Save() {
    coEditorHost& host = coGetEditorHost();
    const envString name = host.GetCoasterName();
    if (name.GetLength() == 0) {
        SaveAs();
        return;
    }
    try {
        coSaveCoasterFile(CoasterFile(name));
    } catch (const envExceptionX& failure) {
        host.ReportError(failure);
        return;
    }
    m_flags.reset(Modified);
}

void coModeEditor::SaveAs() {
    coEditorHost& host = coGetEditorHost();
    const std::vector<envString> existing = coListSavedCoasterNames();
    BeginModal();
    envString name = host.GetCoasterName();
    for (;;) {
        if (host.RunKeyboardDialog(name) != 1) {
            EndModal();
            return;
        }
        if (!coIsValidCoasterName(name)) {
            host.PlaySound(kSoundError);
            continue;
        }
        const bool taken = std::find(existing.begin(), existing.end(), name) != existing.end();
        if (!taken || host.AskQuestion(coQuestionReplaceCoaster, coLabelYes, coLabelNo) == 1)
            break;
    }
    try {
        coSaveCoasterFile(CoasterFile(name));
        m_flags.reset(Modified);
        host.SetCoasterName(name);
        host.ShowMessage(kMessageSaved, kMessageSavedSeconds);
    } catch (const envExceptionX& failure) {
        host.ReportError(failure);
    }
    EndModal();
}
