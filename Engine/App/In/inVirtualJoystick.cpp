#include "Engine/App/In/inVirtualJoystick.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inGamepad.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/Core/Env/dbgLog.h"

#include <algorithm>

namespace {

// The unit step of each direction, 0 up and clockwise; +y is down.
constexpr i32 kStepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr i32 kStepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

struct Vector {
    i32 x = 0;
    i32 y = 0;
};

// The controls of the action on one record, in binding order; a negative action stands for itself,
// which devices read as any key or button.
std::vector<i32> GetControls(const inBindingRecord& record, i32 action) {
    if (action < 0)
        return {action};
    std::vector<i32> controls;
    const auto [first, last] = record.bindings.equal_range(action);
    for (auto binding = first; binding != last; ++binding)
        controls.push_back(binding->second);
    return controls;
}

void WarnUnsupported(const inBindingRecord& record) {
    DBG_WARNING("Unsupported Device Type #%d", record.kind);
}

i32 ClampToRange(i64 value) {
    return static_cast<i32>(std::clamp<i64>(value, -inAxisRange, inAxisRange));
}

bool SameDevice(const inBindingRecord& a, const inBindingRecord& b) {
    return a.kind == b.kind && a.keyboard == b.keyboard && a.mouse == b.mouse && a.gamepad == b.gamepad;
}

} // namespace

void inVirtualJoystick::Bind(inDevice& device, i32 action, i32 control) {
    inBindingRecord probe;
    if (auto* keyboard = dynamic_cast<inKeyboard*>(&device)) {
        probe.kind = inDeviceKindKeyboard;
        probe.keyboard = keyboard;
    } else if (auto* mouse = dynamic_cast<inMouse*>(&device)) {
        probe.kind = inDeviceKindMouse;
        probe.mouse = mouse;
    } else if (auto* gamepad = dynamic_cast<inGamepad*>(&device)) {
        probe.kind = inDeviceKindGamepad;
        probe.gamepad = gamepad;
    }
    auto record = std::find_if(m_records.begin(), m_records.end(),
                               [&](const inBindingRecord& r) { return SameDevice(r, probe); });
    if (record == m_records.end())
        record = m_records.insert(m_records.end(), probe);
    record->bindings.emplace(action, control);
    m_heldSuppressed[action] = 0;
    m_downSuppressed[action] = 0;
    m_releaseSuppressed[action] = 0;
}

void inVirtualJoystick::BindMany(inDevice& device, std::span<const i32> actions,
                                 std::span<const i32> controls) {
    const size_t count = std::min(actions.size(), controls.size());
    for (size_t i = 0; i < count; ++i)
        Bind(device, actions[i], controls[i]);
}

bool inVirtualJoystick::AskButtons(Query query, i32 action, const std::map<i32, u8>& suppressed) const {
    if (const auto flag = suppressed.find(action); flag != suppressed.end() && flag->second != 0)
        return false;
    for (const inBindingRecord& record : m_records) {
        for (const i32 control : GetControls(record, action)) {
            bool answer = false;
            switch (record.kind) {
            case inDeviceKindKeyboard:
                answer = query == Query::Down   ? record.keyboard->IsKeyDown(control)
                         : query == Query::Held ? record.keyboard->IsKeyHeld(control)
                                                : record.keyboard->WasKeyReleased(control);
                break;
            case inDeviceKindMouse:
                answer = query == Query::Down   ? record.mouse->IsButtonDown(control)
                         : query == Query::Held ? record.mouse->IsButtonHeld(control)
                                                : record.mouse->WasButtonReleased(control);
                break;
            case inDeviceKindGamepad:
                answer = query == Query::Down   ? record.gamepad->IsButtonDown(control)
                         : query == Query::Held ? record.gamepad->IsButtonHeld(control)
                                                : record.gamepad->WasButtonReleased(control);
                break;
            default:
                WarnUnsupported(record);
                break;
            }
            if (answer)
                return true;
        }
    }
    return false;
}

bool inVirtualJoystick::IsButtonDown(i32 action) const {
    return AskButtons(Query::Down, action, m_downSuppressed);
}

bool inVirtualJoystick::IsButtonHeld(i32 action) const {
    return AskButtons(Query::Held, action, m_heldSuppressed);
}

bool inVirtualJoystick::WasButtonReleased(i32 action) const {
    return AskButtons(Query::Released, action, m_releaseSuppressed);
}

void inVirtualJoystick::SuppressRelease(i32 action) {
    m_releaseSuppressed[action] = 1;
}

void inVirtualJoystick::CollectAxes(i32 stick, bool withZ, i32& x, i32& y, i32& z) const {
    x = y = z = 0;
    if (stick < 0 || stick >= inVirtualStickCount)
        return;
    std::vector<Vector> vectors;
    i64 zSum = 0;
    for (const inBindingRecord& record : m_records) {
        const inStickSettings& settings = record.sticks[stick];
        Vector v;
        i32 vz = 0;
        switch (record.kind) {
        case inDeviceKindKeyboard: {
            const i32 d = inEightDirection(*record.keyboard, settings.upKey, settings.rightKey,
                                           settings.downKey, settings.leftKey);
            if (d == -1)
                continue;
            v = {inAxisRange * kStepX[d], inAxisRange * kStepY[d]};
            break;
        }
        case inDeviceKindMouse:
            if (!record.mouse->IsMoving())
                continue;
            record.mouse->GetAxes3D(stick, v.x, v.y, vz);
            break;
        case inDeviceKindGamepad:
            if (!record.gamepad->IsStickActive(stick))
                continue;
            record.gamepad->GetAxes3D(stick, v.x, v.y, vz);
            break;
        default:
            WarnUnsupported(record);
            continue;
        }
        if (settings.invertX)
            v.x = -v.x;
        if (settings.invertY)
            v.y = -v.y;
        vectors.push_back(v);
        if (withZ && vz != 0)
            zSum += settings.invertZ ? -static_cast<i64>(vz) : vz;
    }
    if (vectors.size() == 1) {
        x = vectors[0].x;
        y = vectors[0].y;
    } else if (vectors.size() > 1) {
        // Summed and clamped per axis. Only a zero sum is no direction: two devices pushing straight down
        // add up to straight down.
        i64 sumX = 0;
        i64 sumY = 0;
        for (const Vector& v : vectors) {
            sumX += v.x;
            sumY += v.y;
        }
        x = ClampToRange(sumX);
        y = ClampToRange(sumY);
    }
    z = ClampToRange(zSum);
}

void inVirtualJoystick::GetAxis2D(i32 stick, i32& x, i32& y) const {
    i32 z = 0;
    CollectAxes(stick, false, x, y, z);
}

void inVirtualJoystick::GetAxis3D(i32 stick, i32& x, i32& y, i32& z) const {
    CollectAxes(stick, true, x, y, z);
}

void inVirtualJoystick::Update() {
    for (auto* map : {&m_heldSuppressed, &m_downSuppressed, &m_releaseSuppressed})
        for (auto& [action, flag] : *map)
            flag = 0;
}

i32 inEightDirection(const inKeyboard& keyboard, i32 upKey, i32 rightKey, i32 downKey, i32 leftKey) {
    if (upKey == -1)
        return -1;
    // Rows v = +1, 0, -1; columns h = -1, 0, +1.
    static constexpr i32 kDirections[3][3] = {{7, 0, 1}, {6, -1, 2}, {5, 4, 3}};
    const i32 v = (keyboard.IsKeyDown(upKey) ? 1 : 0) - (keyboard.IsKeyDown(downKey) ? 1 : 0);
    const i32 h = (keyboard.IsKeyDown(rightKey) ? 1 : 0) - (keyboard.IsKeyDown(leftKey) ? 1 : 0);
    return kDirections[1 - v][h + 1];
}
