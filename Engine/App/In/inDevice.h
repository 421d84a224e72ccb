#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Env/envTypes.h"

// One input device, polled once a frame, keeping the state of this poll and the one before so that
// callers can ask what is down, held (down at both polls) or released (down before, up now). While not
// enabled the device is not read and every query answers false or zero.
class inDevice {
  public:
    inDevice() = default;
    virtual ~inDevice() = default;
    inDevice(const inDevice&) = delete;
    inDevice& operator=(const inDevice&) = delete;

    virtual void Poll() = 0;

    void SetName(const envString& name) { m_name = name; }
    const envString& GetName() const { return m_name; }
    bool IsEnabled() const { return m_enabled != 0; }
    void SetEnabled(bool enabled) { m_enabled = enabled ? 1 : 0; }

  protected:
    enum class inQuery { Down, Held, Released };
    // One query over a device's tables of count controls (1 = down): a negative control asks for any of
    // them, in order; a control at or beyond count is false, as is every query of a disabled device.
    bool Query(inQuery query, const u8* previous, const u8* current, i32 count, i32 control) const;

  private:
    u8 m_enabled = 1;
    envString m_name;
};

// The eighth of the compass an angle points into (radians, 0 up, clockwise): 0 up, 1 up-right, 2 right,
// 3 down-right, 4 down, 5 down-left, 6 left, 7 up-left. Each sector reaches up to and includes its
// clockwise edge; sector 0 spans from 15 pi/8 round to pi/8, both included.
i32 inDirectionOfAngle(f32 angle);
