#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <memory>
#include <string>
#include <vector>

// DirectInput's results (HRESULTs): success is not negative.
namespace plDi {
constexpr i32 Ok = 0;
constexpr i32 NoEffect = 1;
constexpr i32 NotAcquired = static_cast<i32>(0x8007000C);
constexpr i32 InputLost = static_cast<i32>(0x8007001E);
constexpr i32 OtherAppHasPrio = static_cast<i32>(0x80070005);
constexpr i32 InvalidParam = static_cast<i32>(0x80070057);
constexpr i32 DeviceNotRegistered = static_cast<i32>(0x80040154);
constexpr i32 Generic = static_cast<i32>(0x80004005);
constexpr bool Succeeded(i32 result) {
    return result >= 0;
}
} // namespace plDi

enum class plInputDeviceKind : u8 { Keyboard, Mouse, GameController };

// One attached device as the enumeration reports it.
struct plInputDeviceInstance {
    plInputDeviceKind kind = plInputDeviceKind::Keyboard;
    i32 id = 0; // the backend's own number for it
    std::u16string name;
};

// The keyboard's data: one byte per DirectInput key number (plDirectInputKeys.h), high bit set = down.
constexpr u32 plKeyboardStateSize = 256;
struct plKeyboardState {
    u8 keys[plKeyboardStateSize] = {};
};

// The mouse's data: relative movement since the last read (x, y; z the wheel, 120 a notch) and the
// buttons (0 left, 1 right, 2 middle, 3 and 4 the side buttons), high bit set = down.
struct plMouseState {
    i32 x = 0;
    i32 y = 0;
    i32 z = 0;
    u8 buttons[8] = {};
};

// A game controller's data: the X, Y and Z axes scaled by the axis properties, the four point-of-view
// hats in hundredths of a degree clockwise from up (low word 0xFFFF when centred), the buttons.
struct plJoystickState {
    i32 x = 0;
    i32 y = 0;
    i32 z = 0;
    u32 pov[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    u8 buttons[128] = {};
};

// DIPROP_RANGE, DIPROP_DEADZONE and DIPROP_SATURATION of an axis; the dead zone and the saturation are
// in ten-thousandths of the way from the centre to either end. The defaults are DirectInput's.
struct plAxisProperties {
    i32 min = 0;
    i32 max = 65535;
    i32 deadZone = 0;
    i32 saturation = 10000;
};

// A raw axis position within [rawMin, rawMax] scaled as DirectInput does: inside the dead zone it reads
// the centre of [min, max], beyond the saturation an end, and in between linearly.
i32 plScaleAxis(i32 raw, i32 rawMin, i32 rawMax, const plAxisProperties& properties);

// One device, shaped like IDirectInputDevice8 with its data format fixed by its kind: it reads only while
// acquired, and it is acquired only while the program's window is in front (foreground, non-exclusive).
// Destroying it unacquires and releases it.
class plInputDevice {
  public:
    virtual ~plInputDevice() = default;
    // The properties of the X, Y and Z axes; game controllers only (InvalidParam otherwise).
    virtual i32 SetAxisProperties(const plAxisProperties& properties) = 0;
    // Foreground and non-exclusive on the program's window.
    virtual i32 SetCooperativeLevel() = 0;
    // Ok; OtherAppHasPrio while the window is in the background.
    virtual i32 Acquire() = 0;
    // Game controllers: makes the next read current (Ok, or NoEffect when it needs no polling).
    virtual i32 Poll() = 0;
    // The state of a device of the matching kind (InvalidParam for another): Ok; NotAcquired before an
    // acquisition; InputLost once the window went to the background or the device went away.
    virtual i32 GetDeviceState(plKeyboardState& state) = 0;
    virtual i32 GetDeviceState(plMouseState& state) = 0;
    virtual i32 GetDeviceState(plJoystickState& state) = 0;
};

// The input system, shaped like IDirectInput8.
class plInputSource {
  public:
    virtual ~plInputSource() = default;
    // DirectInput8Create: starts the input system; a failure result when it cannot.
    virtual i32 Create() = 0;
    // Releases the input system; devices are destroyed before.
    virtual void Release() = 0;
    // The attached devices of a kind, appended to out in the system's order.
    virtual i32 EnumDevices(plInputDeviceKind kind, std::vector<plInputDeviceInstance>& out) = 0;
    // CreateDevice and SetDataFormat for the instance's kind.
    virtual i32 CreateDevice(const plInputDeviceInstance& instance, std::unique_ptr<plInputDevice>& out) = 0;
};
