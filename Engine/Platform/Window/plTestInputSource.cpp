#include "Engine/Platform/Window/plTestInputSource.h"

#include <algorithm>

// A device of the test source: acquisition follows the source's foreground flag and injected losses.
class plTestInputDevice : public plInputDevice {
  public:
    plTestInputDevice(plTestInputSource& source, u32 id) : m_source(source), m_id(id) {
        ++source.m_liveDevices;
    }
    ~plTestInputDevice() override { --m_source.m_liveDevices; }

    i32 SetAxisProperties(const plAxisProperties& properties) override {
        if (Script().kind != plInputDeviceKind::GameController)
            return plDi::InvalidParam;
        Script().axes = properties;
        return plDi::Ok;
    }
    i32 SetCooperativeLevel() override { return plDi::Ok; }
    i32 Acquire() override {
        if (!m_source.m_foreground)
            return plDi::OtherAppHasPrio;
        m_acquired = true;
        return plDi::Ok;
    }
    i32 Poll() override {
        if (Script().kind != plInputDeviceKind::GameController)
            return plDi::NoEffect;
        return CheckReadable();
    }

    i32 GetDeviceState(plKeyboardState& state) override {
        if (const i32 result = CheckRead(plInputDeviceKind::Keyboard); result != plDi::Ok)
            return result;
        std::copy(Script().keys.begin(), Script().keys.end(), state.keys);
        return plDi::Ok;
    }
    i32 GetDeviceState(plMouseState& state) override {
        if (const i32 result = CheckRead(plInputDeviceKind::Mouse); result != plDi::Ok)
            return result;
        state = Script().mouse;
        Script().mouse.x = Script().mouse.y = Script().mouse.z = 0;
        return plDi::Ok;
    }
    i32 GetDeviceState(plJoystickState& state) override {
        if (const i32 result = CheckRead(plInputDeviceKind::GameController); result != plDi::Ok)
            return result;
        state = Script().joystick;
        state.x = plScaleAxis(Script().rawAxes[0], -32768, 32767, Script().axes);
        state.y = plScaleAxis(Script().rawAxes[1], -32768, 32767, Script().axes);
        state.z = plScaleAxis(Script().rawAxes[2], -32768, 32767, Script().axes);
        return plDi::Ok;
    }

  private:
    plTestInputSource::Script& Script() { return m_source.m_scripts[m_id]; }

    i32 CheckReadable() {
        if (!m_acquired)
            return plDi::NotAcquired;
        if (!m_source.m_foreground || Script().lost) {
            Script().lost = false;
            m_acquired = false;
            return plDi::InputLost;
        }
        return plDi::Ok;
    }
    i32 CheckRead(plInputDeviceKind kind) {
        return Script().kind != kind ? plDi::InvalidParam : CheckReadable();
    }

    plTestInputSource& m_source;
    u32 m_id;
    bool m_acquired = false;
};

i32 plTestInputSource::Create() {
    m_created = plDi::Succeeded(m_createResult);
    return m_createResult;
}

void plTestInputSource::Release() {
    m_devicesAliveAtRelease = m_liveDevices;
    m_created = false;
}

i32 plTestInputSource::EnumDevices(plInputDeviceKind kind, std::vector<plInputDeviceInstance>& out) {
    if (const i32 result = m_enumResults[static_cast<u32>(kind)]; !plDi::Succeeded(result))
        return result;
    for (u32 id = 0; id < m_scripts.size(); ++id)
        if (m_scripts[id].kind == kind)
            out.push_back({kind, static_cast<i32>(id), m_scripts[id].name});
    return plDi::Ok;
}

i32 plTestInputSource::CreateDevice(const plInputDeviceInstance& instance,
                                    std::unique_ptr<plInputDevice>& out) {
    if (!plDi::Succeeded(m_createDeviceResult))
        return m_createDeviceResult;
    if (instance.id < 0 || static_cast<u32>(instance.id) >= m_scripts.size() ||
        m_scripts[instance.id].kind != instance.kind)
        return plDi::DeviceNotRegistered;
    out = std::make_unique<plTestInputDevice>(*this, static_cast<u32>(instance.id));
    return plDi::Ok;
}

u32 plTestInputSource::AddDevice(plInputDeviceKind kind, const std::u16string& name) {
    m_scripts.push_back({});
    m_scripts.back().kind = kind;
    m_scripts.back().name = name;
    return static_cast<u32>(m_scripts.size() - 1);
}
