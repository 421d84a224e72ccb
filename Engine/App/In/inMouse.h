#pragma once
#include "Engine/App/In/inDevice.h"

#include <memory>

struct plInputDeviceInstance;
class inMouseDevice;

// The mouse: the movement of this poll in the device's units, the wheel in notches, the movement's angle
// (radians, 0 up the screen, pi/2 right), its magnitude (0..1, 50 units make 1) and direction (-1 when
// still, else inDirectionOfAngle), and 8 buttons (0 left, 1 right, 2 middle; negative = any).
class inMouse : public inDevice {
  public:
    // Creates the platform device (envInitX "in" when it cannot be made).
    explicit inMouse(const plInputDeviceInstance& instance);
    ~inMouse() override;

    void Poll() override;

    bool IsButtonDown(i32 button) const;
    bool IsButtonHeld(i32 button) const;
    bool WasButtonReleased(i32 button) const;

    // The movement of this poll; 0, 0 while not enabled.
    void GetPosition(i32& x, i32& y) const;
    // True when the mouse moved or its wheel turned in this poll.
    bool IsMoving() const;
    // The movement; the index is not used, a mouse has one stick.
    void GetAxes2D(i32 index, i32& x, i32& y) const;
    // The movement and the wheel cut to whole notches.
    void GetAxes3D(i32 index, i32& x, i32& y, i32& z) const;

    f32 GetWheel() const { return m_wheel; }
    f32 GetAngle() const { return m_angle; }
    f32 GetMagnitude() const { return m_magnitude; }
    i32 GetDirection() const { return m_direction; }

  private:
    static constexpr i32 kButtonCount = 8;
    i32 m_dx = 0;
    i32 m_dy = 0;
    f32 m_wheel = 0.0f;
    f32 m_angle = 0.0f;
    f32 m_magnitude = 0.0f;
    i32 m_direction = -1;
    u8 m_previous[kButtonCount] = {};
    u8 m_current[kButtonCount] = {};
    std::unique_ptr<inMouseDevice> m_device;
};
