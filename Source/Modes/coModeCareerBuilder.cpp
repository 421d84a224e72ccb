#include "Source/Modes/coModeCareerBuilder.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEvent.h"
#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coCareerPalettes.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coFlythroughIntro.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coModeTool.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Park/coWorldSwitches.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Screens/coQuestionTexts.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coMusic.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coPropPack.h"
#include "Source/World/coTargetRingList.h"

#include <algorithm>
#include <exception>
#include <string>
#include <vector>

namespace {
constexpr u32 kTextSetNumber = 32;
constexpr u32 kObjectivesTitleText = 46;
constexpr int kSoundMissionFailed = 20;
constexpr double kSoundDelay = 4.0;
constexpr int kMusicBuilding = 1;
constexpr i32 kFirstMission = 1;
constexpr i32 kLastMission = 8;
// How far above a prop's top its number stands, in metres.
constexpr float kMarkAbove = 1.5f;

// The message that an attempt was saved.
constexpr u32 kMessageMissionSaved = 13;
constexpr float kMessageMissionSavedSeconds = 5.0f;

// The kind of piece a closing "Finish Coaster" replaced by an S-turn, while that S-turn ends the
// circuit; -1 for none. It belongs to the world and goes with it.
int g_closingReplaced = -1;

// The budget of a track element code (chain 1, brake 2, booster 3, retarder 4); -1 for none.
int ElementBudget(i32 element) {
    switch (element) {
    case 1:
        return 6;
    case 2:
        return 8;
    case 3:
        return 7;
    case 4:
        return 9;
    default:
        return -1;
    }
}

// The element commands work on the first piece while the dock is selected.
coCoasterPiece* DecorationTarget() {
    if (coSelectionGetKind() == coSelectionDock)
        return coCircuitFirstPiece();
    return coSelectionGetObject();
}

// The text of a set that may be missing: empty with a warning.
envString TextOf(const fsLocator& set, u32 id) {
    try {
        const gfTextSet texts(set, kTextSetNumber, true);
        if (texts.HasText(id))
            return texts.GetText(id);
    } catch (const envExceptionX&) {
    }
    DBG_WARNING("career builder: text %u of a text set is missing", id);
    return envString();
}

fsLocator TextFile(std::initializer_list<envString> components) {
    fsLocator locator(coRootText);
    for (const envString& component : components)
        locator.AppendComponent(component);
    return locator;
}
} // namespace

coModeCareerBuilder::coModeCareerBuilder() {
    m_paletteStates.Set({coPaletteObjectives}, 3);
    coAddClearSceneStep(coClearStep::TrackObjects, this, [] { g_closingReplaced = -1; });
}

coModeCareerBuilder::~coModeCareerBuilder() {
    coRemoveClearSceneSteps(this);
}

envString coModeCareerBuilder::GetTrackType() const {
    const u32 count = m_missionFile.GetComponentCount();
    return count >= 2 ? m_missionFile.GetComponent(count - 2) : envString();
}

fsLocator coModeCareerBuilder::PlayerMissionFile() const {
    fsLocator file = fsGetRootDirectory(coRootSaves, 0);
    file.AppendComponent(m_player);
    file.AppendComponent(GetTrackType());
    file.AppendComponent(m_missionFile.GetLastComponent());
    return file;
}

envString coModeCareerBuilder::GetMissionText(const fsLocator& mission, i32 missionNumber, u32 textId) {
    const u32 count = mission.GetComponentCount();
    if (count < 2)
        return envString();
    std::string name = "Mission" + std::to_string(missionNumber) + ".tsf";
    return TextOf(TextFile({envString("Missions"), mission.GetComponent(count - 2), envString(name.c_str())}),
                  textId);
}

void coModeCareerBuilder::LoadMission(const fsLocator& file, i32 careerIndex) {
    coMissionBudgets budgets{};
    coObjectiveSet objectives;
    coMissionLocks locks;
    coFlythroughPath path;
    coLoadMission(file, budgets, objectives, locks, path);

    coCareerPalettes& palettes = coGetCareerPalettes();
    m_careerIndex = careerIndex;
    palettes.ForgetSelectedPiece();
    palettes.ClearObjectives();
    m_budgets = budgets;
    m_objectives = std::move(objectives);
    m_locks = std::move(locks);
    m_path.TakeFrom(path);
    SetFlag(Modified, false);
    ShowBudgets();
    if (coCircuitPieceCount() > 0)
        coSelectLoadingDock();
    // The prop objectives read the measures of a run that tracks the props, as the builder's own runs
    // do: a mission won already is found won below, not again once the player is in.
    coRideSetPropTracking(true);
    Refresh();

    m_missionFile = file;
    const i32 number = coMissionNumber(envStringToNarrow(file.GetLastComponent()));
    const envString trackType = GetTrackType();
    envString typeFile(trackType);
    typeFile.Append(envString(".tsf"));
    const fsLocator typeTexts = TextFile({typeFile});
    m_hint = number > 0 ? TextOf(typeTexts, static_cast<u32>(number)) : envString();
    palettes.ShowHintKey(m_hint.GetLength() > 0);
    coGetEditorHost().SetCoasterName(
        number > 0 ? TextOf(typeTexts, static_cast<u32>(number) + coCoasterNameOffset) : envString());
    m_objectivesTitle = TextOf(TextFile({envString("uiop.tsf")}), kObjectivesTitleText);
    UpdateObjectivesPalette();

    if (coCircuitPieceCount() > 1)
        coSelectionSetPiece(coCircuitLastPiece());
    m_completed = coCircuitIsClosed() && m_objectives.AllMet(0);
    m_introPending = true;
}

void coModeCareerBuilder::Restart() {
    fsLocator file = PlayerMissionFile();
    const bool attempt = fsFileExists(file);
    if (!attempt) {
        file = fsLocator(coRootMissions);
        file.AppendComponent(GetTrackType());
        file.AppendComponent(m_missionFile.GetLastComponent());
    }
    try {
        LoadMission(file, m_careerIndex);
    } catch (const envExceptionX& failure) {
        ReportLoadFailure(failure, file, attempt ? coErrorDamagedAttempt : coErrorDamagedMission);
        return;
    }
    ShowBuildingView();
    SetFlag(Modified, false);
}

std::exception_ptr coModeCareerBuilder::WriteMission() {
    try {
        fsLocator folder = fsGetRootDirectory(coRootSaves, 0);
        for (const envString& level : {m_player, GetTrackType()}) {
            folder.AppendComponent(level);
            if (!fsDirectoryExists(folder))
                fsCreateDirectory(folder);
        }
        coWriteMissionFile(PlayerMissionFile(), m_budgets, m_objectives, m_locks, m_path);
    } catch (const envExceptionX&) {
        return std::current_exception();
    }
    SetFlag(Modified, false);
    coGetEditorHost().ShowMessage(kMessageMissionSaved, kMessageMissionSavedSeconds);
    return nullptr;
}

void coModeCareerBuilder::SaveMission() {
    if (const std::exception_ptr failure = WriteMission())
        coGetEditorHost().ReportFailures({failure});
}

bool coModeCareerBuilder::CompleteMission() {
    coMusicPause();
    const i32 number = coMissionNumber(envStringToNarrow(m_missionFile.GetLastComponent()));
    i32 level = 1;
    for (int objectives = 3; objectives >= 1; --objectives)
        if (m_objectives.AllMet(objectives)) {
            level = objectives + 1;
            break;
        }
    const envString text = GetMissionText(m_missionFile, number, static_cast<u32>(level - 1));
    coGetEditorHost().PlaySound(kSoundMissionFailed + level);
    if (m_finalMission && GetTrackType() == envString("Final"))
        coUnlockCareerRewardPack();
    UpdateObjectivesPalette();
    std::vector<std::exception_ptr> failures;
    // The coaster first: a stop between the two writes leaves at worst the old medal beside the coaster
    // that wins the new one again, never the new medal beside an older coaster.
    if (const std::exception_ptr failure = WriteMission())
        failures.push_back(failure);
    // A mission outside the career's eight is played, but has no place in the save.
    if (number < kFirstMission || number > kLastMission) {
        DBG_WARNING("career builder: a mission file not named Mission1 to Mission8; the medal is not kept");
    } else {
        try {
            coCareerSave::Write(m_careerIndex, m_player, GetTrackType(), number - 1, level);
        } catch (const envExceptionX&) {
            failures.push_back(std::current_exception());
        }
    }
    // The attempt and the medal fail for one cause (a full disc, say): the player is told once.
    if (!failures.empty())
        coGetEditorHost().ReportFailures(failures);

    BeginModal();
    bool menu = false;
    const i32 result = coGetCareerPalettes().RunMedalDialog(level, text, menu);
    if (menu) {
        SetFlag(CareerQuitRequested);
        m_leaveWithoutAsking = true;
    }
    EndModal();
    coMusicRequestContext(kMusicBuilding);
    coMusicApplyContext(false);
    return result == 1;
}

void coModeCareerBuilder::CheckCompletion() {
    if (!coCircuitIsClosed() || coCollisionHasMarkers() || !m_objectives.AllMet(0)) {
        m_completed = false;
        return;
    }
    if (m_completed)
        return;
    if (CompleteMission())
        SetFlag(RideRequested);
    m_completed = true;
}

void coModeCareerBuilder::UpdateObjectivesPalette() {
    // Every edit passes here: a circuit opened since its completion (a delete, say) completes again when
    // it closes, whichever command closes it.
    if (!coCircuitIsClosed())
        m_completed = false;
    // A ring the track passes for the first time chimes here, once; the objectives then find it passed.
    coTargetRingList::AllPassed(true);
    std::vector<std::pair<envString, bool>> rows;
    rows.emplace_back(m_objectivesTitle, coCircuitIsClosed());
    for (int i = 0; i < m_objectives.GetCount(0); ++i) {
        envString description;
        bool met = false;
        m_objectives.GetObjective(i, 0, description, met);
        rows.emplace_back(description, met);
    }
    coGetCareerPalettes().SetObjectives(rows);
}

void coModeCareerBuilder::UpdatePropMarks() {
    std::vector<std::pair<maVector2d, i32>> marks;
    i32 width = 0, height = 0;
    guiGetScreenSize(width, height);
    for (const auto& objective : m_objectives.GetLevel(0)) {
        const auto* ordering = dynamic_cast<const coPropOrderingObjective*>(objective.get());
        if (ordering == nullptr || ordering->GetProp() == nullptr)
            continue;
        // Over the prop's top, or over its foot while it has no box yet.
        const maBoundingBox box = coGetRideProps().GetBounds(ordering->GetProp());
        maVector3d above = coGetMissionWorld().GetPropPosition(ordering->GetProp());
        if (box.maxY >= box.minY)
            above = maVector3d(box.GetCenter().x, box.maxY, box.GetCenter().z);
        above.y += kMarkAbove;
        maVector2d at;
        if (coProjectToScreen(GetCamera(), above, width, height, at.x, at.y))
            marks.emplace_back(at, ordering->GetOrder());
    }
    coGetCareerPalettes().SetPropMarks(marks);
}

void coModeCareerBuilder::PlaySoundLater(int effect) {
    m_soundPending = true;
    m_soundStart = appClock::GetTime();
    m_soundEffect = effect;
}

void coModeCareerBuilder::PlayDelayedSoundWhenDue() {
    if (m_soundPending && appClock::GetTime() - m_soundStart >= kSoundDelay) {
        m_soundPending = false;
        coGetEditorHost().PlaySound(m_soundEffect);
    }
}

void coModeCareerBuilder::LeaveToCareerMenu() {
    coMusicStop();
    coSelectionClear();
    coGetSavedCoasterServices().ClearScene();
    coModePush(coGetMode(coModeIdCareerMenu));
    SetResult(Leave);
}

void coModeCareerBuilder::Think() {
    if (m_introPending) {
        auto* intro = dynamic_cast<coFlythroughIntro*>(coGetMode(coModeIdFlythrough));
        if (m_path.GetPointCount() == 0 || intro == nullptr) {
            m_introPending = false;
            return;
        }
        fsLocator voice(coRootVoice);
        voice.AppendComponent(GetTrackType());
        const std::string name =
            "mvo" + std::to_string(coMissionNumber(envStringToNarrow(m_missionFile.GetLastComponent()))) +
            ".wav";
        voice.AppendComponent(name.c_str());
        intro->SetPath(&m_path);
        intro->SetVoiceFile(voice);
        coModePush(coGetMode(coModeIdFlythrough));
        SetResult(Switch);
        SetFlag(ManipulateStarted);
        coGetCareerPalettes().AllowFeedbackVoice(true);
        return;
    }
    if (!TestFlag(CareerQuitRequested)) {
        PlayDelayedSoundWhenDue();
        coModeEditor::Think();
        UpdatePropMarks();
        return;
    }
    BeginFrame();
    if (m_leaveWithoutAsking) {
        LeaveToCareerMenu();
        return;
    }
    AskToLeave();
}

void coModeCareerBuilder::AskToLeave() {
    SetFlag(QuitRequested, false);
    SetFlag(CareerQuitRequested, false);
    BeginModal();
    if (coGetEditorHost().AskQuestion(coQuestionLeaveBuilder, coLabelYes, coLabelNo) == 1)
        LeaveToCareerMenu();
    EndModal();
}

void coModeCareerBuilder::ShowBudgets() {
    for (int i = 0; i < coMissionBudgetCount; ++i)
        coGetCareerPalettes().SetBudgetCount(i, m_budgets[static_cast<size_t>(i)]);
}

void coModeCareerBuilder::Enter() {
    coCollisionSetForced(true);
    coCareerPalettes& palettes = coGetCareerPalettes();
    palettes.AllowFeedbackVoice(false);
    const bool fromSubMode = TestFlag(ManipulateStarted);
    coRideSetPropTracking(true);
    coModeEditor::Enter();
    palettes.EnableSaveButton();
    m_leaveWithoutAsking = false;
    // Whatever hid the counters while the builder was away (a ride's "Load"), they show again.
    if (m_missionFile.GetComponentCount() > 0)
        ShowBudgets();
    if (fromSubMode) {
        UpdateObjectivesPalette();
        CheckCompletion();
    }
}

void coModeCareerBuilder::Exit() {
    coRideSetPropTracking(false);
    const bool toSubMode = TestFlag(TestRideRequested) || TestFlag(RideRequested) ||
                           TestFlag(PlacePropStarted) || TestFlag(DockModeRequested) ||
                           TestFlag(ManipulateStarted);
    coModeEditor::Exit();
    coGetCareerPalettes().SetPropMarks({});
    if (toSubMode) {
        m_introPending = false;
        return;
    }
    coCollisionSetForced(false);
    coGetCareerPalettes().HideBudgetCounts();
    m_introPending = true;
}

int coModeCareerBuilder::HandleMainButton(coMainButton button) {
    switch (button) {
    case coMainButton::Back:
        SetFlag(CareerQuitRequested);
        return 2;
    case coMainButton::Load:
        BeginModal();
        if (coGetEditorHost().AskQuestion(coQuestionRestartMission, coLabelYes, coLabelNo) == 1)
            Restart();
        EndModal();
        return 2;
    case coMainButton::Save:
        SaveMission();
        return 1;
    case coMainButton::Options: {
        BeginModal();
        const coStoredRideSettings stored;
        coGetEditorHost().RunRidePauseDialog(1);
        if (!(coStoredRideSettings() == stored))
            SetFlag(Modified);
        EndModal();
        return 1;
    }
    default:
        return coModeEditor::HandleMainButton(button);
    }
}

void coModeCareerBuilder::OnChar(appCharEvent* event) {
    switch (event->GetChar()) {
    case u'p':
    case u'P':
        if (m_hint.GetLength() > 0) {
            BeginModal();
            coGetCareerPalettes().ShowHint(m_hint);
            EndModal();
        }
        break;
    case appKeyCharF1:
        Restart();
        break;
    case appKeyCharF2:
        SaveMission();
        break;
    default:
        coModeEditor::OnChar(event);
        break;
    }
}

void coModeCareerBuilder::UpdateTrackManipPalette(coEditorPaletteState& state) {
    state.canClose = state.canClose && (!coCollisionHasMarkers() || coCollisionOnlyAtJoint());
}

bool coModeCareerBuilder::IsLockedPiece(const coCoasterPiece* piece) const {
    if (m_locks.piecesFree)
        return false;
    i32 index = 0;
    for (const coCoasterPiece* p = coCircuitFirstPiece(); p != nullptr && index < m_locks.lockedPieces;
         p = p->GetNext(), ++index) {
        if (p == piece)
            return true;
        if (p->GetNext() == coCircuitFirstPiece())
            break;
    }
    return false;
}

bool coModeCareerBuilder::IsLockedProp(const coProp* prop) const {
    return !m_locks.propsFree && std::find(m_locks.lockedProps.begin(), m_locks.lockedProps.end(), prop) !=
                                     m_locks.lockedProps.end();
}

bool coModeCareerBuilder::CanDeleteSelection() {
    switch (coSelectionGetKind()) {
    case coSelectionPiece:
        if (IsLockedPiece(coSelectionGetObject()))
            return false;
        break;
    case coSelectionProp:
        if (IsLockedProp(coSelectionGetProp()))
            return false;
        break;
    case coSelectionDock:
    case coSelectionRing:
        return false;
    default:
        break;
    }
    return coModeEditor::CanDeleteSelection();
}

bool coModeCareerBuilder::CanEditSelectedPiece() {
    return m_locks.piecesFree ||
           (coSelectionGetKind() != coSelectionDock && !IsLockedPiece(coSelectionGetObject()));
}

bool coModeCareerBuilder::CanManipulateProp() {
    return !IsLockedProp(coSelectionGetProp());
}

void coModeCareerBuilder::TakeBudget(int index) {
    if (index < 0 || index >= coMissionBudgetCount || m_budgets[static_cast<size_t>(index)] <= 0)
        return;
    coGetCareerPalettes().SetBudgetCount(index, --m_budgets[static_cast<size_t>(index)]);
}

void coModeCareerBuilder::GiveBackBudget(int index) {
    if (index < 0 || index >= coMissionBudgetCount || m_budgets[static_cast<size_t>(index)] < 0)
        return;
    coGetCareerPalettes().SetBudgetCount(index, ++m_budgets[static_cast<size_t>(index)]);
}

// A piece takes from its budget only when the circuit grew.
void coModeCareerBuilder::RunPieceCommand(int budget, const std::function<void()>& command) {
    if (m_budgets[static_cast<size_t>(budget)] == 0)
        return;
    const i32 before = coCircuitPieceCount();
    command();
    UpdateObjectivesPalette();
    if (coCircuitPieceCount() > before)
        TakeBudget(budget);
}

// An element takes from its budget only when the piece changed, and gives back the one it replaced.
void coModeCareerBuilder::RunAddCommand(int budget, const std::function<void()>& command) {
    if (m_budgets[static_cast<size_t>(budget)] == 0)
        return;
    const coCoasterPiece* target = DecorationTarget();
    const i32 before = target != nullptr ? target->GetElement() : 0;
    command();
    UpdateObjectivesPalette();
    CheckCompletion();
    if (target != nullptr && target->GetElement() != before) {
        TakeBudget(budget);
        GiveBackBudget(ElementBudget(before));
    }
}

void coModeCareerBuilder::RunRemoveCommand(const std::function<void()>& command) {
    const coCoasterPiece* target = DecorationTarget();
    const i32 before = target != nullptr ? target->GetElement() : 0;
    command();
    UpdateObjectivesPalette();
    CheckCompletion();
    if (target != nullptr && target->GetElement() != before)
        GiveBackBudget(ElementBudget(before));
}

void coModeCareerBuilder::ShortStraightaway() {
    RunPieceCommand(coPieceCodeStraight, [this] { coModeEditor::ShortStraightaway(); });
}
void coModeCareerBuilder::LongStraightaway() {
    RunPieceCommand(coPieceCodeStraight, [this] { coModeEditor::LongStraightaway(); });
}
void coModeCareerBuilder::CurvedRight() {
    RunPieceCommand(coPieceCodeTurnRight, [this] { coModeEditor::CurvedRight(); });
}
void coModeCareerBuilder::CurvedLeft() {
    RunPieceCommand(coPieceCodeTurnLeft, [this] { coModeEditor::CurvedLeft(); });
}
void coModeCareerBuilder::STurn() {
    RunPieceCommand(coPieceCodeSTurn, [this] { coModeEditor::STurn(); });
}
void coModeCareerBuilder::Loop() {
    RunPieceCommand(coPieceCodeLoop, [this] { coModeEditor::Loop(); });
}
void coModeCareerBuilder::Corkscrew() {
    RunPieceCommand(coPieceCodeCorkscrew, [this] { coModeEditor::Corkscrew(); });
}
void coModeCareerBuilder::HalfLoop() {
    RunPieceCommand(coPieceCodeHalfLoop, [this] { coModeEditor::HalfLoop(); });
}
void coModeCareerBuilder::HalfCorkRight() {
    RunPieceCommand(coPieceCodeHalfCorkscrewRight, [this] { coModeEditor::HalfCorkRight(); });
}
void coModeCareerBuilder::HalfCorkLeft() {
    RunPieceCommand(coPieceCodeHalfCorkscrewLeft, [this] { coModeEditor::HalfCorkLeft(); });
}
void coModeCareerBuilder::StraightUp() {
    RunPieceCommand(coPieceCodeUp, [this] { coModeEditor::StraightUp(); });
}
void coModeCareerBuilder::ShallowRight() {
    RunPieceCommand(coPieceCodeShallowTurnRight, [this] { coModeEditor::ShallowRight(); });
}
void coModeCareerBuilder::ShallowLeft() {
    RunPieceCommand(coPieceCodeShallowTurnLeft, [this] { coModeEditor::ShallowLeft(); });
}

void coModeCareerBuilder::PitchUp() {
    coModeEditor::PitchUp();
    UpdateObjectivesPalette();
    CheckCompletion();
}
void coModeCareerBuilder::PitchDown() {
    coModeEditor::PitchDown();
    UpdateObjectivesPalette();
    CheckCompletion();
}
void coModeCareerBuilder::BankLeft() {
    coModeEditor::BankLeft();
    UpdateObjectivesPalette();
    CheckCompletion();
}
void coModeCareerBuilder::BankRight() {
    coModeEditor::BankRight();
    UpdateObjectivesPalette();
    CheckCompletion();
}
void coModeCareerBuilder::Widen() {
    coModeEditor::Widen();
    UpdateObjectivesPalette();
}
void coModeCareerBuilder::Narrow() {
    coModeEditor::Narrow();
    UpdateObjectivesPalette();
}
void coModeCareerBuilder::BendLeft() {
    coModeEditor::BendLeft();
    UpdateObjectivesPalette();
}
void coModeCareerBuilder::BendRight() {
    coModeEditor::BendRight();
    UpdateObjectivesPalette();
}

void coModeCareerBuilder::AddChain() {
    RunAddCommand(6, [this] { coModeEditor::AddChain(); });
}
void coModeCareerBuilder::AddAccelerator() {
    RunAddCommand(7, [this] { coModeEditor::AddAccelerator(); });
}
void coModeCareerBuilder::AddBrake() {
    RunAddCommand(8, [this] { coModeEditor::AddBrake(); });
}
void coModeCareerBuilder::AddRetarder() {
    RunAddCommand(9, [this] { coModeEditor::AddRetarder(); });
}
void coModeCareerBuilder::RemoveChain() {
    RunRemoveCommand([this] { coModeEditor::RemoveChain(); });
}
void coModeCareerBuilder::RemoveAccelerator() {
    RunRemoveCommand([this] { coModeEditor::RemoveAccelerator(); });
}
void coModeCareerBuilder::RemoveBrake() {
    RunRemoveCommand([this] { coModeEditor::RemoveBrake(); });
}
void coModeCareerBuilder::RemoveRetarder() {
    RunRemoveCommand([this] { coModeEditor::RemoveRetarder(); });
}

void coModeCareerBuilder::Delete() {
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece == nullptr) {
        coModeEditor::Delete();
        UpdateObjectivesPalette();
        return;
    }
    const i32 count = coCircuitPieceCount();
    const int kind = coObjectivePieceKind(*piece);
    const int element = ElementBudget(piece->GetElement());
    const int replaced =
        piece == coCircuitLastPiece() && kind == coPieceCodeSTurn ? std::exchange(g_closingReplaced, -1) : -1;
    coModeEditor::Delete();
    if (coCircuitPieceCount() < count) {
        GiveBackBudget(element);
        GiveBackBudget(replaced >= 0 ? replaced : kind);
    } else if (replaced >= 0) {
        g_closingReplaced = replaced;
    }
    UpdateObjectivesPalette();
}

void coModeCareerBuilder::FinishCoaster() {
    const coCoasterPiece* last = coCircuitLastPiece();
    const int lastKind = last != nullptr ? coObjectivePieceKind(*last) : -1;
    coModeEditor::FinishCoaster();
    UpdateObjectivesPalette();
    CheckCompletion();
    last = coCircuitLastPiece();
    if (lastKind != coPieceCodeSTurn && last != nullptr && coObjectivePieceKind(*last) == coPieceCodeSTurn)
        g_closingReplaced = lastKind;
    if (!m_completed)
        PlaySoundLater(kSoundMissionFailed);
}
