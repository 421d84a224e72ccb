// The editor's palette commands: they lay new pieces at the circuit's end and reshape, decorate,
// delete and close the track, each followed by a sound of the game's bank and a refresh.
#include "Engine/Core/Ma/maConstants.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coEditorWorld.h"
#include "Source/Modes/coModeEditor.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coPlacement.h"
#include "Source/Track/coTrackBuilder.h"

namespace {
// 27 degrees as the builder has always stored it, one float step above 27 x pi / 180.
constexpr float kBankedTurnRoll = 0.47123894f;

// The main palette's message for a Finish Coaster that cannot close the circuit, and how long it stays.
constexpr u32 kMessageCannotClose = 17;
constexpr float kMessageCannotCloseSeconds = 10.0f;

enum Sound {
    kSoundPlaced = 0,
    kSoundFinished = 1,
    kSoundBend = 2,
    kSoundRemoved = 3,
    kSoundLonger = 4,
    kSoundShorter = 5,
    kSoundPropRemoved = 7,
    kSoundError = 18,
};

void Play(int sound) {
    coGetEditorHost().PlaySound(sound);
}

bool Down(i32 action) {
    const coEditorInput* input = coGetEditorInput();
    return input != nullptr && input->IsDown(action);
}

bool Coarse() {
    return Down(coActionShift);
}

bool Fine() {
    return Down(coActionControl);
}

// Read from the keyboard itself, not through an action.
bool Invert() {
    const coEditorInput* input = coGetEditorInput();
    return input != nullptr && (input->IsKeyDown(coKeyLeftControl) || input->IsKeyDown(coKeyRightControl));
}

// The step of a pitch or bank command: the base step with its sign, five times it when coarse, one
// degree with the command's sign when fine, whatever coarse did.
float AngleStep(float base, float sign) {
    float step = base * sign;
    if (Coarse())
        step *= 5.0f;
    if (Fine())
        step = coDegrees(1.0f) * sign;
    return step;
}

// The element and tube commands work on the first piece while the dock is selected.
coCoasterPiece* DecorationTarget() {
    if (coSelectionGetKind() == coSelectionDock)
        return coCircuitFirstPiece();
    return coSelectionGetObject();
}

void ReapplyGrid() {
    coEditorHost& host = coGetEditorHost();
    host.SetGridState(host.GetGridState());
}

template <class Piece> std::unique_ptr<Piece> NewPiece() {
    return std::make_unique<Piece>();
}
} // namespace

void coModeEditor::AppendPiece(std::unique_ptr<coCoasterPiece> piece) {
    coCoasterPiece* placed = piece.get();
    coCircuitAppend(std::move(piece), true);
    coSelectionSetPiece(placed);
}

void coModeEditor::ShortStraightaway() {
    AppendPiece(NewPiece<coCoasterPieceStraight>());
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::LongStraightaway() {
    auto piece = NewPiece<coCoasterPieceStraight>();
    piece->SetRunLength(20.0f);
    piece->Build();
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::Loop() {
    auto piece = NewPiece<coCoasterPieceLoop>();
    if (Fine()) {
        piece->SetSlide(-piece->GetSlide());
        piece->Build();
    }
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::Corkscrew() {
    auto piece = NewPiece<coCoasterPieceCorkscrew>();
    if (Fine())
        piece->SetApproachAngle(-piece->GetApproachAngle());
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::STurn() {
    maVector3d join;
    const bool found = coCircuitFindJoinPoint(5.0f, 20.0f, join);
    auto piece = NewPiece<coCoasterPieceSTurn>();
    coCoasterPieceSTurn* turn = piece.get();
    AppendPiece(std::move(piece));
    if (found && turn->GetNext() == nullptr && turn->FitToPoint(join))
        coCircuitReflowFrom(turn, true);
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::CurvedLeft() {
    auto piece = NewPiece<coCoasterPieceTurn>();
    piece->SetRoll(-kBankedTurnRoll);
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::CurvedRight() {
    auto piece = NewPiece<coCoasterPieceTurn>();
    piece->SetAngle(-maHalfPiF);
    piece->SetRoll(kBankedTurnRoll);
    piece->Build();
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::HalfLoop() {
    auto piece = NewPiece<coCoasterPieceHalfLoop>();
    if (Invert()) {
        piece->SetInverted(true);
        piece->Build();
    }
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::HalfCorkRight() {
    auto piece = NewPiece<coCoasterPieceHalfCorkscrew>();
    piece->SetAngle(-maHalfPiF);
    if (Invert())
        piece->SetDownward(true);
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::HalfCorkLeft() {
    auto piece = NewPiece<coCoasterPieceHalfCorkscrew>();
    if (Invert())
        piece->SetDownward(true);
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::StraightUp() {
    auto piece = NewPiece<coCoasterPieceUp>();
    if (Invert()) {
        piece->SetDown(true);
        piece->Build();
    }
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::ShallowRight() {
    auto piece = NewPiece<coCoasterPieceShallowTurn>();
    piece->SetAngle(maPiF / 180.0f * -15.0f);
    piece->SetRoll(kBankedTurnRoll);
    piece->Build();
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::ShallowLeft() {
    auto piece = NewPiece<coCoasterPieceShallowTurn>();
    piece->SetRoll(-kBankedTurnRoll);
    AppendPiece(std::move(piece));
    Play(kSoundPlaced);
    Refresh();
}

void coModeEditor::ChangePitch(float sign) {
    float step = AngleStep(maPiF * 0.03f, sign);
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece == nullptr)
        return;
    if (!coSlopeWithinLimits(*piece, step)) {
        Play(kSoundError);
        return;
    }
    const float before = piece->GetBaseSlope();
    coPieceChangePitch(piece, before + step);
    // Pitch Up always sounds the bend; Pitch Down only when the slope really moved.
    Play(sign > 0.0f || piece->GetBaseSlope() != before ? kSoundBend : kSoundError);
    Refresh();
}

void coModeEditor::PitchUp() {
    ChangePitch(1.0f);
}

void coModeEditor::PitchDown() {
    ChangePitch(-1.0f);
}

void coModeEditor::ChangeRoll(float sign) {
    const float step = AngleStep(maPiF * 0.05f, sign);
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece == nullptr)
        return;
    if (!coRollWithinLimits(*piece, step)) {
        Play(kSoundError);
        return;
    }
    piece->SetRoll(piece->GetRoll(0) + step);
    coGetTrackBuilder().RebuildPieceObjects(piece, 1);
    Play(kSoundBend);
    Refresh();
}

void coModeEditor::BankLeft() {
    ChangeRoll(-1.0f);
}

void coModeEditor::BankRight() {
    ChangeRoll(1.0f);
}

void coModeEditor::AdjustParameter(bool parameterA, float sign, int changedSound) {
    float step = sign;
    const bool coarse = Coarse();
    const bool fine = Fine();
    if (coarse && !fine)
        step *= 5.0f;
    else if (fine && !coarse)
        step *= 0.2f;
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece == nullptr)
        return;
    const auto get = [&] { return parameterA ? piece->GetParamANormalised() : piece->GetParamBNormalised(); };
    const float remembered = get();
    if (parameterA)
        piece->AdjustParamA(step);
    else
        piece->AdjustParamB(step);
    const bool wasInside = coCircuitInsideWorld();
    bool changed = get() != remembered;
    // Only an edit that takes a circuit which was inside the world out of it is undone.
    if (!coCircuitReflowFrom(piece, true) && wasInside) {
        if (parameterA)
            piece->SetParamANormalised(remembered);
        else
            piece->SetParamBNormalised(remembered);
        coCircuitReflowFrom(piece, true);
        changed = false;
    }
    coGetTrackBuilder().RebuildPieceObjects(piece, 2);
    Play(changed ? changedSound : kSoundError);
    Refresh();
}

void coModeEditor::Widen() {
    AdjustParameter(true, 1.0f, kSoundLonger);
}

void coModeEditor::Narrow() {
    AdjustParameter(true, -1.0f, kSoundShorter);
}

void coModeEditor::BendLeft() {
    AdjustParameter(false, -1.0f, kSoundBend);
}

void coModeEditor::BendRight() {
    AdjustParameter(false, 1.0f, kSoundBend);
}

bool coModeEditor::CanDeleteSelection() {
    switch (coSelectionGetKind()) {
    case coSelectionPiece:
        return coSelectionGetObject() != nullptr && coSelectionGetObject() == coCircuitLastPiece();
    case coSelectionProp:
        return coSelectionGetProp() != nullptr;
    case coSelectionDock:
        return coCircuitPieceCount() == 1;
    default:
        return false;
    }
}

void coModeEditor::Delete() {
    coEditorWorld& world = coGetEditorWorld();
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece != nullptr && piece == coCircuitLastPiece()) {
        if (piece == coCircuitFirstPiece())
            coSelectionClear();
        else if (coCircuitPieceCount() == 2)
            coSelectLoadingDock();
        else
            coSelectionSetPiece(piece->GetPrevious());
        coCircuitRemoveLast();
        Play(kSoundRemoved);
    } else if (coProp* prop = coSelectionGetProp()) {
        maBoundingBox box;
        world.GetObjectBox(coSelectionGetObjectBase(), box);
        coSelectionClear();
        world.RemoveProp(prop);
        Play(kSoundPropRemoved);
        coGetTrackBuilder().RebuildNearBox({box.minX, box.maxX, box.minY, box.maxY, box.minZ, box.maxZ});
        ReapplyGrid();
    } else if (coSelectionGetKind() == coSelectionDock && coCircuitPieceCount() == 1) {
        coSelectionClear();
        world.FreeDock();
        coCircuitRemoveLast();
        Play(kSoundRemoved);
        // The circuit is empty again: the dock chooser comes back.
        coGetEditorHost().ShowBuildPalettes(true);
        ReapplyGrid();
    }
    Refresh();
}

void coModeEditor::FinishCoaster() {
    if (!coCircuitEndMeetsStart())
        return;
    // A circuit that cannot close keeps its pieces as they were; the player is told so.
    if (coCircuitTryClose())
        Play(kSoundFinished);
    else
        coGetEditorHost().ShowMessage(kMessageCannotClose, kMessageCannotCloseSeconds);
    Refresh();
}

void coModeEditor::SetElement(int element, int sound) {
    coCoasterPiece* piece = DecorationTarget();
    if (piece == nullptr)
        return;
    piece->SetElement(element);
    coGetTrackBuilder().RebuildPieceObjects(piece, 0);
    Play(sound);
    Refresh();
}

void coModeEditor::SetTube(int tube, int sound) {
    coCoasterPiece* piece = DecorationTarget();
    if (piece == nullptr)
        return;
    piece->SetTube(tube);
    coGetTrackBuilder().RebuildPieceObjects(piece, 0);
    Play(sound);
    Refresh();
}

void coModeEditor::AddTubeDecoration() {
    SetTube(1, 9);
}

void coModeEditor::RemoveTubeDecoration() {
    SetTube(0, 14);
}

void coModeEditor::AddRetarder() {
    SetElement(4, 11);
}

void coModeEditor::RemoveRetarder() {
    SetElement(0, 16);
}

void coModeEditor::AddAccelerator() {
    SetElement(3, 10);
}

void coModeEditor::RemoveAccelerator() {
    SetElement(0, 15);
}

void coModeEditor::AddBrake() {
    SetElement(2, 12);
}

void coModeEditor::RemoveBrake() {
    SetElement(0, 17);
}

void coModeEditor::AddChain() {
    SetElement(1, 8);
}

void coModeEditor::RemoveChain() {
    SetElement(0, 13);
}
