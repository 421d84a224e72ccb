#pragma once
#include "Engine/App/In/inDevice.h"
#include "Engine/App/In/inKeyCode.h"

#include <memory>

struct plInputDeviceInstance;
class inKeyboardDevice;

// The keyboard by the engine's key codes (inKeyCode.h). A negative code asks for any key; a code of 256
// or more is never down.
class inKeyboard : public inDevice {
  public:
    // Creates the platform device (envInitX "in" when it cannot be made).
    explicit inKeyboard(const plInputDeviceInstance& instance);
    ~inKeyboard() override;

    void Poll() override;

    bool IsKeyDown(i32 code) const;
    bool IsKeyHeld(i32 code) const;
    bool WasKeyReleased(i32 code) const;

  private:
    static constexpr i32 kKeyCount = 256;
    u8 m_previous[kKeyCount] = {};
    u8 m_current[kKeyCount] = {};
    std::unique_ptr<inKeyboardDevice> m_device;
};
