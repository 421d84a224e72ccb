#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <map>
#include <span>
#include <vector>

class inDevice;
class inKeyboard;
class inMouse;
class inGamepad;

constexpr i32 inVirtualStickCount = 5;

// Device kinds of a binding record.
constexpr i32 inDeviceKindKeyboard = 0;
constexpr i32 inDeviceKindMouse = 1;
constexpr i32 inDeviceKindGamepad = 2;
constexpr i32 inDeviceKindUnsupported = 3;

// How a device drives one virtual stick: the keyboard keys that push it up, right, down and left (-1:
// none, so a keyboard moves no stick) and whether each axis is inverted.
struct inStickSettings {
    i32 upKey = -1;
    i32 rightKey = -1;
    i32 downKey = -1;
    i32 leftKey = -1;
    u8 invertX = 0;
    u8 invertY = 0;
    u8 invertZ = 0;
};

// One bound device: its kind, the device (only the pointer of its kind is set), the controls of each
// action (an action may have several), and its settings for the virtual sticks.
struct inBindingRecord {
    i32 kind = inDeviceKindUnsupported;
    inKeyboard* keyboard = nullptr;
    inMouse* mouse = nullptr;
    inGamepad* gamepad = nullptr;
    std::multimap<i32, i32> bindings;
    inStickSettings sticks[inVirtualStickCount];
};

// Game actions over the keys and buttons of concrete devices, and the devices' sticks combined into five
// virtual sticks. An action is down when any of its controls on any device is down; held and released are
// asked per control. A negative action asks each bound device for any key or button.
class inVirtualJoystick {
  public:
    // Adds the control to the action on the device's record (made on the first binding of the device,
    // found by the device's kind) and lifts any suppression of the action.
    void Bind(inDevice& device, i32 action, i32 control);
    // Bind for each index that both spans have.
    void BindMany(inDevice& device, std::span<const i32> actions, std::span<const i32> controls);

    bool IsButtonDown(i32 action) const;
    bool IsButtonHeld(i32 action) const;
    bool WasButtonReleased(i32 action) const;
    // WasButtonReleased answers false for the action until the next Update: a dialog consumes a release
    // so that the mode beneath does not see it too.
    void SuppressRelease(i32 action);

    // The stick's position: one contributing device gives its own; several are summed, each axis clamped
    // to the axis range. 0, 0 when no device contributes or the stick is not 0..4.
    void GetAxis2D(i32 stick, i32& x, i32& y) const;
    // As GetAxis2D, and z summed from the mouse wheels and controller Z axes, clamped to the axis range.
    void GetAxis3D(i32 stick, i32& x, i32& y, i32& z) const;
    // Lifts every suppression; once a frame, after the devices are polled.
    void Update();

    const std::vector<inBindingRecord>& GetRecords() const { return m_records; }

  private:
    enum class Query { Down, Held, Released };
    bool AskButtons(Query query, i32 action, const std::map<i32, u8>& suppressed) const;
    void CollectAxes(i32 stick, bool withZ, i32& x, i32& y, i32& z) const;

    std::map<i32, u8> m_heldSuppressed;
    std::map<i32, u8> m_downSuppressed;
    std::map<i32, u8> m_releaseSuppressed;
    std::vector<inBindingRecord> m_records;
};

// The direction the four keys push: -1 when the up key is -1 or the keys cancel out, else 0 up to 7
// up-left, clockwise.
i32 inEightDirection(const inKeyboard& keyboard, i32 upKey, i32 rightKey, i32 downKey, i32 leftKey);
