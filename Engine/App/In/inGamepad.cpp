#include "Engine/App/In/inGamepad.h"

#include "Engine/App/In/private/inDirectInputDevice.h"
#include "Engine/Core/Ma/maConstants.h"

#include <algorithm>
#include <cmath>
#include <iterator>

inGamepad::inGamepad(const plInputDeviceInstance& instance, const plAxisProperties& axes)
    : m_device(std::make_unique<inGamepadDevice>(instance, axes)), m_axisRange(axes.max) {}

inGamepad::~inGamepad() = default;

void inGamepad::Poll() {
    if (!IsEnabled())
        return;
    std::copy(std::begin(m_current), std::end(m_current), m_previous);
    std::fill(std::begin(m_current), std::end(m_current), 0);
    // Cleared to centred, so that a failed read leaves no stick pointing anywhere.
    std::fill(std::begin(m_sticks), std::end(m_sticks), Stick{});
    plJoystickState state;
    if (!m_device->Read(state))
        return;

    for (i32 i = 0; i < kButtonCount; ++i)
        m_current[i] = (state.buttons[i] & 0x80) != 0 ? 1 : 0;

    Stick& main = m_sticks[0];
    main.x = state.x;
    main.y = state.y;
    main.z = state.z;
    main.throttle = static_cast<f32>(state.z);
    if (main.x != 0 || main.y != 0) {
        const auto x = static_cast<f32>(main.x);
        const auto y = static_cast<f32>(main.y);
        main.angle = std::atan2(x, static_cast<f32>(-static_cast<i64>(main.y)));
        if (main.angle < 0.0f)
            main.angle += maTwoPiF;
        const f32 length = std::sqrt(x * x + y * y);
        main.magnitude = m_axisRange > 0 ? std::min(length / static_cast<f32>(m_axisRange), 1.0f) : 1.0f;
    }

    for (i32 hat = 0; hat < 4; ++hat) {
        const u32 pov = state.pov[hat];
        if ((pov & 0xFFFF) == 0xFFFF)
            continue;
        Stick& stick = m_sticks[hat + 1];
        stick.angle = static_cast<f32>(pov) * 0.01f * maRadiansPerDegreeF;
        stick.magnitude = 1.0f;
        stick.x = static_cast<i32>(std::sin(stick.angle) * static_cast<f32>(m_axisRange));
        stick.y = static_cast<i32>(std::cos(stick.angle) * static_cast<f32>(m_axisRange));
    }

    for (Stick& stick : m_sticks)
        stick.direction = stick.angle == -1.0f ? -1 : inDirectionOfAngle(stick.angle);
}

bool inGamepad::IsButtonDown(i32 button) const {
    return Query(inQuery::Down, m_previous, m_current, kButtonCount, button);
}

bool inGamepad::IsButtonHeld(i32 button) const {
    return Query(inQuery::Held, m_previous, m_current, kButtonCount, button);
}

bool inGamepad::WasButtonReleased(i32 button) const {
    return Query(inQuery::Released, m_previous, m_current, kButtonCount, button);
}

f32 inGamepad::GetButtonValue(i32 button) const {
    return IsEnabled() && button >= 0 && button < kButtonCount && m_current[button] != 0 ? 1.0f : 0.0f;
}

const inGamepad::Stick* inGamepad::FindStick(i32 stick) const {
    return IsEnabled() && stick >= 0 && stick < kStickCount ? &m_sticks[stick] : nullptr;
}

f32 inGamepad::GetStick(i32 stick, f32& magnitude, f32& throttle) const {
    const Stick* found = FindStick(stick);
    magnitude = found ? found->magnitude : 0.0f;
    throttle = found ? found->throttle : 0.0f;
    return found ? found->angle : 0.0f;
}

void inGamepad::GetAxes2D(i32 stick, i32& x, i32& y) const {
    i32 z = 0;
    GetAxes3D(stick, x, y, z);
}

void inGamepad::GetAxes3D(i32 stick, i32& x, i32& y, i32& z) const {
    const Stick* found = FindStick(stick);
    x = found ? found->x : 0;
    y = found ? found->y : 0;
    z = found ? found->z : 0;
}

i32 inGamepad::GetDirection(i32 stick) const {
    const Stick* found = FindStick(stick);
    return found ? found->direction : -1;
}

bool inGamepad::IsStickActive(i32 stick) const {
    const Stick* found = FindStick(stick);
    return found && (found->angle != -1.0f || found->throttle != 0.0f);
}
