#pragma once
#include "Engine/App/In/inDevice.h"

#include <memory>

struct plAxisProperties;
struct plInputDeviceInstance;
class inGamepadDevice;

// A game controller: 128 buttons and five sticks. Stick 0 is the X and Y axes, with the Z axis as its
// z and its throttle; sticks 1 to 4 are the point-of-view hats. A stick's angle is in radians, 0 up and
// clockwise, -1.0 when centred; its direction -1 when centred, else inDirectionOfAngle. Stick 0 pushed
// up gives a negative y, a hat pushed up a positive one.
class inGamepad : public inDevice {
  public:
    static constexpr i32 kStickCount = 5;
    static constexpr i32 kButtonCount = 128;

    // Creates the platform device with its axes over [-axisRange, axisRange] and the dead zone and
    // saturation in DirectInput's units (envInitX "in" when it cannot be made).
    inGamepad(const plInputDeviceInstance& instance, const plAxisProperties& axes);
    ~inGamepad() override;

    void Poll() override;

    bool IsButtonDown(i32 button) const;
    bool IsButtonHeld(i32 button) const;
    bool WasButtonReleased(i32 button) const;
    // 1.0 while the button is down, else 0.0.
    f32 GetButtonValue(i32 button) const;

    // For a stick outside 0..4 or a device not enabled, every output and the result are 0.
    f32 GetStick(i32 stick, f32& magnitude, f32& throttle) const;
    void GetAxes2D(i32 stick, i32& x, i32& y) const;
    void GetAxes3D(i32 stick, i32& x, i32& y, i32& z) const;
    i32 GetDirection(i32 stick) const;
    // True when the stick points somewhere or its throttle is not 0.
    bool IsStickActive(i32 stick) const;

  private:
    struct Stick {
        i32 direction = -1;
        f32 angle = -1.0f;
        f32 magnitude = 0.0f;
        f32 throttle = 0.0f;
        i32 x = 0;
        i32 y = 0;
        i32 z = 0;
    };

    const Stick* FindStick(i32 stick) const;

    Stick m_sticks[kStickCount];
    u8 m_previous[kButtonCount] = {};
    u8 m_current[kButtonCount] = {};
    std::unique_ptr<inGamepadDevice> m_device;
    i32 m_axisRange;
};
