#include "Engine/App/In/inMouse.h"

#include "Engine/App/In/private/inDirectInputDevice.h"
#include "Engine/Core/Ma/maConstants.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
// Raw wheel units per notch, as the reciprocal the wheel is scaled by.
constexpr f32 kNotchesPerUnit = 0.008333334f;
// Mouse units per poll that make a full-strength movement: 50.
constexpr f32 kMagnitudePerUnit = 0.02f;
} // namespace

inMouse::inMouse(const plInputDeviceInstance& instance)
    : m_device(std::make_unique<inMouseDevice>(instance)) {}

inMouse::~inMouse() = default;

void inMouse::Poll() {
    if (!IsEnabled())
        return;
    std::copy(std::begin(m_current), std::end(m_current), m_previous);
    std::fill(std::begin(m_current), std::end(m_current), 0);
    m_dx = 0;
    m_dy = 0;
    m_wheel = 0.0f;
    plMouseState state;
    if (m_device->Read(state)) {
        m_dx = state.x;
        m_dy = state.y;
        m_wheel = static_cast<f32>(state.z) * kNotchesPerUnit;
        for (i32 i = 0; i < kButtonCount; ++i)
            m_current[i] = (state.buttons[i] & 0x80) != 0 ? 1 : 0;
    }
    const auto x = static_cast<f32>(m_dx);
    const auto y = static_cast<f32>(m_dy);
    // Negated as an integer, so that no movement gives +0 and the angle 0.
    m_angle = std::atan2(x, static_cast<f32>(-static_cast<i64>(m_dy)));
    if (m_angle < 0.0f)
        m_angle += maTwoPiF;
    m_magnitude = std::min(std::sqrt(x * x + y * y) * kMagnitudePerUnit, 1.0f);
    m_direction = m_dx == 0 && m_dy == 0 ? -1 : inDirectionOfAngle(m_angle);
}

bool inMouse::IsButtonDown(i32 button) const {
    return Query(inQuery::Down, m_previous, m_current, kButtonCount, button);
}

bool inMouse::IsButtonHeld(i32 button) const {
    return Query(inQuery::Held, m_previous, m_current, kButtonCount, button);
}

bool inMouse::WasButtonReleased(i32 button) const {
    return Query(inQuery::Released, m_previous, m_current, kButtonCount, button);
}

void inMouse::GetPosition(i32& x, i32& y) const {
    x = IsEnabled() ? m_dx : 0;
    y = IsEnabled() ? m_dy : 0;
}

bool inMouse::IsMoving() const {
    return m_dx != 0 || m_dy != 0 || m_wheel != 0.0f;
}

void inMouse::GetAxes2D(i32, i32& x, i32& y) const {
    x = m_dx;
    y = m_dy;
}

void inMouse::GetAxes3D(i32, i32& x, i32& y, i32& z) const {
    x = m_dx;
    y = m_dy;
    z = static_cast<i32>(m_wheel);
}
