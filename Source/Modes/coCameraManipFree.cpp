#include "Source/Modes/coCameraManipFree.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coParkWorld.h"

#include <algorithm>

namespace {
float GroundUnder(const maVector3d& point) {
    float height = 25.0f;
    if (!coGetParkWorld().GetHeightAt(point.x, point.z, height))
        height = 25.0f;
    return height;
}
} // namespace

coCameraManipFree::coCameraManipFree()
    : coOrbitManip(maVector3d(0.0f, 90.0f, 0.0f), coDegrees(20.0f), coDegrees(180.0f), 70.0f,
                   {30.0f, 150.0f, coDegrees(-10.0f), coDegrees(80.0f)}) {}

void coCameraManipFree::SetCentreClear(const maVector3d& centre) {
    if (coPointOutsideWorld(centre))
        return;
    maVector3d clear = centre;
    clear.y = std::max(clear.y, GroundUnder(centre) + 5.0f);
    SetCenter(clear);
}

void coCameraManipFree::Update() {
    g3dCamera* camera = GetCamera();
    if (camera == nullptr)
        return;
    const coEditorInput* input = coGetEditorInput();
    if (input != nullptr) {
        const float step = input->GetFrameStep();
        const float move = MoveSpeed() * step;
        const float turn = TurnSpeed() * step;
        maVector3d right;
        maVector3d up;
        maVector3d view;
        camera->GetRightAxis(right);
        camera->GetUpAxis(up);
        camera->GetViewDirection(view);
        const struct {
            i32 action;
            maVector3d axis;
        } moves[] = {{coActionNum4, right},      {coActionNum6, right * -1.0f}, {coActionNum9, up},
                     {coActionNum3, up * -1.0f}, {coActionNum8, view},          {coActionNum5, view * -1.0f}};
        for (const auto& m : moves)
            if (input->IsDown(m.action))
                SetCentreClear(GetCenter() + m.axis * move);
        // The arrows turn without the pitch range; only a mouse drag brings the pitch back into it.
        if (input->IsDown(coActionLeft))
            SetYaw(GetYaw() - turn);
        if (input->IsDown(coActionRight))
            SetYaw(GetYaw() + turn);
        if (input->IsDown(coActionUp))
            SetPitch(GetPitch() + turn);
        if (input->IsDown(coActionDown))
            SetPitch(GetPitch() - turn);
    }
    HandleDrags(true);
    const maVector3d eye = GetEye();
    const float ground = GroundUnder(eye);
    if (ground + 5.0f > eye.y)
        SetCenter(GetCenter() + maVector3d(0.0f, ground - eye.y + 5.0f, 0.0f));
    ApplyCamera();
}
