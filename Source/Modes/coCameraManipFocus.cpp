#include "Source/Modes/coCameraManipFocus.h"

#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorSelection.h"
#include "Source/Modes/coEditorWorld.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coParkWorld.h"

namespace {
constexpr float kMaxPitch = coDegrees(80.0f);
// The pitch climbs a degree a step, so 80 degrees up from the lowest pitch take at most 100 steps.
constexpr int kMaxClearanceSteps = 101;

float Diagonal(const maBoundingBox& box) {
    return 2.0f * box.GetRadius();
}
} // namespace

coCameraManipFocus::coCameraManipFocus()
    : coOrbitManip(coGetParkWorld().GetStartPosition(), coDegrees(20.0f), coDegrees(80.0f), 70.0f,
                   {30.0f, 200.0f, coDegrees(-20.0f), kMaxPitch}) {}

void coCameraManipFocus::FindTarget(maVector3d& target, float& desired) const {
    coCoasterPiece* piece = coSelectionGetObject();
    if (piece == nullptr && coSelectionGetKind() == coSelectionDock)
        piece = coCircuitFirstPiece();
    if (piece != nullptr) {
        target = piece->PointAt(0.5f);
        desired = Diagonal(coGetEditorWorld().GetPieceBox(*piece));
        return;
    }
    maBoundingBox box;
    const coObject* object = coSelectionGetObjectBase();
    if (coSelectionGetKind() != coSelectionDock && object != nullptr &&
        coGetEditorWorld().GetObjectBox(object, box)) {
        target = box.GetCenter();
        desired = Diagonal(box);
        return;
    }
    target = GetCenter();
}

void coCameraManipFocus::Update() {
    if (GetCamera() == nullptr)
        return;
    const float previousPitch = GetPitch();
    float desired = 30.0f;
    maVector3d target;
    FindTarget(target, desired);

    const maVector3d delta = target - GetCenter();
    SetCenter(GetCenter() + (delta.Length() > 0.5f ? delta / 6.0f : delta));

    const coEditorInput* input = coGetEditorInput();
    if (m_keysEnabled && input != nullptr) {
        const float step = input->GetFrameStep();
        const float move = MoveSpeed() * step;
        const float turn = TurnSpeed() * step;
        if (input->IsDown(coActionNum8))
            AddDistance(-move);
        if (input->IsDown(coActionNum5))
            AddDistance(move);
        if (input->IsDown(coActionLeft))
            AddYaw(-turn);
        if (input->IsDown(coActionRight))
            AddYaw(turn);
        if (input->IsDown(coActionUp))
            AddPitch(turn);
        if (input->IsDown(coActionDown))
            AddPitch(-turn);
    }
    HandleDrags(false);
    if (GetDistance() < desired)
        SetDistance(desired);
    KeepEyeAboveGround(previousPitch);
    ApplyCamera();
}

void coCameraManipFocus::KeepEyeAboveGround(float previousPitch) {
    for (int step = 0; step < kMaxClearanceSteps && GetPitch() < kMaxPitch; ++step) {
        const maVector3d eye = GetEye();
        float height = 75.0f;
        if (!coGetParkWorld().GetHeightAt(eye.x, eye.z, height))
            height = 75.0f;
        if (eye.y - 25.0f > height)
            return;
        if (GetPitch() < previousPitch)
            SetPitch(previousPitch);
        else
            AddPitch(coDegrees(1.0f));
    }
}
