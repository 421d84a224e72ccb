#include "Source/Modes/coCameraManipRide.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Ride/coRide.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterDefinition.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {
const float kMaxYaw = coDegrees(179.0f);
const float kMaxPitch = coDegrees(30.0f);
const float kKeyTurn = coDegrees(40.0f);
} // namespace

bool coGetTrainCarMatrix(bool viewCar, maMatrix4d& out) {
    try {
        out = (viewCar ? coRideGetTrainViewCar(0) : coRideGetLeadCar(0)).frame;
    } catch (const std::out_of_range&) {
        return false;
    }
    return true;
}

bool coCameraManipSeat::ReadTrain(coSeatTrain& train) const {
    if (!coGetTrainCarMatrix(false, train.car))
        return false;
    train.speed = coRideGetTrainSpeed(0);
    train.acceleration = coRideGetTrainAcceleration(0);
    return true;
}

void coCameraManipSeat::Look(float dt) {
    const coEditorInput* input = coGetEditorInput();
    if (input == nullptr)
        return;
    const auto turnYaw = [this](float delta) {
        m_lookYaw = std::clamp(m_lookYaw + delta, -kMaxYaw, kMaxYaw);
    };
    const auto turnPitch = [this](float delta) {
        m_lookPitch = std::clamp(m_lookPitch + delta, -kMaxPitch, kMaxPitch);
    };
    if (input->IsDown(coActionLeft))
        turnYaw(kKeyTurn * dt);
    if (input->IsDown(coActionRight))
        turnYaw(-kKeyTurn * dt);
    if (input->IsDown(coActionUp))
        turnPitch(-kKeyTurn * dt);
    if (input->IsDown(coActionDown))
        turnPitch(kKeyTurn * dt);
    if (!input->HasMouse())
        return;
    if (input->IsDown(coActionMouseLeft) && !input->IsHeld(coActionMouseLeft))
        m_lookYaw = m_lookPitch = 0.0f;
    i32 x = 0;
    i32 y = 0;
    i32 width = 0;
    i32 height = 0;
    input->GetMotion(x, y);
    input->GetScreenSize(width, height);
    if (width <= 0 || height <= 0)
        return;
    turnPitch(-static_cast<float>(y) * 1.2f / static_cast<float>(height));
    turnYaw(-static_cast<float>(x) * 1.8f / static_cast<float>(width));
}

void coCameraManipSeat::Slide(float dt, const coSeatTrain& train) {
    const float decay = std::pow(0.001f, dt);
    m_slide = m_slide * decay;
    const maVector3d& a = train.acceleration;
    const maVector3d v = a * (dt / 0.1f);
    if (std::fabs(a.x) > 0.5f)
        m_slide.x += v.x * dt;
    if (std::fabs(a.y - 1.0f) > 0.5f)
        m_slide.y -= v.y * dt;
    maVector4d bounds;
    coGetCoasterDefinition().GetCameraSlide(bounds);
    m_slide.x = std::max(bounds.x, std::min(m_slide.x, bounds.y));
    m_slide.y = std::max(bounds.z, std::min(m_slide.y, bounds.w));
}

void coCameraManipSeat::Update() {
    if (m_camera == nullptr)
        return;
    const float dt = appClock::GetDeltaTime();
    Look(dt);
    coSeatTrain train;
    if (!ReadTrain(train)) {
        scCameraManip::Update();
        return;
    }
    m_carMatrix = train.car;
    maVector3d eye = m_carMatrix.TransformPoint(m_eyeOffset);
    const maVector3d right = m_carMatrix.GetXAxis();
    const maVector3d up = m_carMatrix.GetYAxis();
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    const bool moves = coPrefs::GetBool(coPrefCameraShake);
    // Without the preference the slide is neither decayed nor applied: it comes back as it was.
    if (moves) {
        Slide(dt, train);
        eye = eye + right * -m_slide.x + up * m_slide.y;
    }
    m_shake = maVector3d(0.0f, 0.0f, 0.0f);
    if (moves && definition.GetCameraShake() > 0.0f) {
        const float f = std::clamp((std::fabs(train.speed) - 15.0f) / (25.0f - 15.0f), 0.0f, 1.0f);
        const float amp = f * f * definition.GetCameraShake() * 0.1f;
        const float r1 = maRandomFloat(-amp, amp);
        const float r2 = maRandomFloat(-amp, amp);
        m_shake = right * r1 + up * (r2 * 0.5f);
    }
    const float pitch = definition.GetCameraPitch() + m_lookPitch;
    const maVector4d d(std::sin(m_lookYaw) * std::cos(pitch), std::sin(pitch),
                       std::cos(m_lookYaw) * std::cos(pitch), 0.0f);
    const maVector4d world = m_carMatrix.TransformVector4d(d);
    // The shake moves the eye only: the view trembles around a steady aim.
    m_camera->LookAt(eye + m_shake, eye + maVector3d(world.x, world.y, world.z), up);
    scCameraManip::Update();
}

coCameraManipRide::coCameraManipRide() : coCameraManipSeat(coGetCoasterDefinition().GetEyePosition()) {}

coCameraManipCloseRide::coCameraManipCloseRide()
    : coCameraManipSeat(coGetCoasterDefinition().GetCloseEyePosition()) {}
