#include "Source/Modes/coOrbitManip.h"

#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Track/coAngles.h"

#include <algorithm>
#include <cmath>

coOrbitManip::coOrbitManip(const maVector3d& centre, float pitch, float yaw, float distance,
                           const Limits& limits)
    : m_limits(limits) {
    SetCenter(centre);
    SetPitch(pitch);
    SetYaw(yaw);
    SetDistance(distance);
}

maVector3d coOrbitManip::GetEye() const {
    const float level = std::cos(GetPitch());
    return GetCenter() +
           maVector3d(std::sin(GetYaw()) * level, std::sin(GetPitch()), std::cos(GetYaw()) * level) *
               GetDistance();
}

void coOrbitManip::AddPitch(float delta) {
    SetPitch(std::clamp(GetPitch() + delta, m_limits.minPitch, m_limits.maxPitch));
}

void coOrbitManip::AddDistance(float delta) {
    SetDistance(std::clamp(GetDistance() + delta, m_limits.minDistance, m_limits.maxDistance));
}

void coOrbitManip::ApplyCamera() {
    PlaceCamera();
    scCameraManip::Update();
}

float coOrbitManip::MoveSpeed() const {
    const coEditorInput* input = coGetEditorInput();
    return input != nullptr && input->IsDown(coActionShift) ? 80.0f : 30.0f;
}

float coOrbitManip::TurnSpeed() const {
    const coEditorInput* input = coGetEditorInput();
    return coDegrees(input != nullptr && input->IsDown(coActionShift) ? 80.0f : 20.0f);
}

void coOrbitManip::HandleDrags(bool pans) {
    coEditorInput* input = coGetEditorInput();
    if (input == nullptr || !input->HasMouse())
        return;
    i32 x = 0;
    i32 y = 0;
    input->GetMotion(x, y);
    const float dx = static_cast<float>(x);
    const float dy = static_cast<float>(y);
    if ((!input->IsMouseClaimed(coMouseRecordLeft) || m_leftDragging) && input->IsHeld(coActionMouseLeft)) {
        m_leftDragging = 1;
        input->ClaimMouse(coMouseRecordLeft);
        if (pans && input->IsDown(coActionShift)) {
            maVector3d right;
            maVector3d up;
            m_camera->GetRightAxis(right);
            m_camera->GetUpAxis(up);
            MoveCentre(GetCenter() + right * (0.4f * dx) + up * (0.4f * dy));
        } else {
            AddPitch(dy * 0.01f);
            AddYaw(dx * -0.01f);
        }
    }
    if ((!input->IsMouseClaimed(coMouseRecordRight) || m_rightDragging) &&
        input->IsHeld(coActionMouseRight)) {
        m_rightDragging = 1;
        input->ClaimMouse(coMouseRecordRight);
        AddDistance((dy - dx) * 0.5f);
    }
    if (input->WasReleased(coActionMouseLeft)) {
        m_leftDragging = 0;
        input->ReleaseMouse(coMouseRecordLeft);
    }
    if (input->WasReleased(coActionMouseRight)) {
        m_rightDragging = 0;
        input->ReleaseMouse(coMouseRecordRight);
    }
}
