#pragma once
#include "Engine/Platform/Window/plInputSource.h"

#include <array>

// The input source of tests: devices added by the test, whose next readings the test scripts, and
// injected failures. A controller's axes are scripted raw, in [-32768, 32767], and read scaled by its
// axis properties as a driver would scale them.
class plTestInputSource : public plInputSource {
  public:
    // What one device will read next.
    struct Script {
        plInputDeviceKind kind = plInputDeviceKind::Keyboard;
        std::u16string name;
        std::array<u8, plKeyboardStateSize> keys{};
        plMouseState mouse;           // movement is consumed by each successful read
        std::array<i32, 3> rawAxes{}; // X, Y, Z
        plJoystickState joystick;     // hats and buttons; its axes come from rawAxes
        plAxisProperties axes;        // as the engine set them
        bool lost = false;            // the next read fails with InputLost, unacquiring the device
    };

    i32 Create() override;
    void Release() override;
    i32 EnumDevices(plInputDeviceKind kind, std::vector<plInputDeviceInstance>& out) override;
    i32 CreateDevice(const plInputDeviceInstance& instance, std::unique_ptr<plInputDevice>& out) override;

    // Adds a device; its id is the index of its script.
    u32 AddDevice(plInputDeviceKind kind, const std::u16string& name);
    Script& GetScript(u32 id) { return m_scripts.at(id); }

    // A window in the background: acquisitions fail and acquired devices lose their input.
    void SetForeground(bool foreground) { m_foreground = foreground; }
    void SetCreateResult(i32 result) { m_createResult = result; }
    void SetEnumResult(plInputDeviceKind kind, i32 result) { m_enumResults[static_cast<u32>(kind)] = result; }
    void SetCreateDeviceResult(i32 result) { m_createDeviceResult = result; }

    bool IsCreated() const { return m_created; }
    // Devices still alive when the source was released (they must go first).
    u32 GetDevicesAliveAtRelease() const { return m_devicesAliveAtRelease; }

  private:
    friend class plTestInputDevice;

    std::vector<Script> m_scripts;
    bool m_foreground = true;
    bool m_created = false;
    i32 m_createResult = plDi::Ok;
    std::array<i32, 3> m_enumResults{};
    i32 m_createDeviceResult = plDi::Ok;
    u32 m_liveDevices = 0;
    u32 m_devicesAliveAtRelease = 0;
};
