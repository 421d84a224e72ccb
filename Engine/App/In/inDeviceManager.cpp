#include "Engine/App/In/inDeviceManager.h"

#include "Engine/App/In/inGamepad.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/App/In/private/inDirectInput.h"

#include <memory>
#include <vector>

namespace {

std::vector<std::unique_ptr<inKeyboard>> g_keyboards;
std::vector<std::unique_ptr<inMouse>> g_mice;
std::vector<std::unique_ptr<inGamepad>> g_gamepads;
std::unique_ptr<inVirtualJoystick> g_joystick;
bool g_started = false;

template <class Device> Device* At(const std::vector<std::unique_ptr<Device>>& list, u32 i) {
    return i < list.size() ? list[i].get() : nullptr;
}

} // namespace

void inDeviceManager::Start() {
    // The joystick comes first, so that a start that fails half-way still leaves every frame's poll
    // something to update.
    g_joystick = std::make_unique<inVirtualJoystick>();
    g_started = true;
    inDirectInputStart(inAxisRange, inDeadZone, inSaturation, g_keyboards, g_mice, g_gamepads);
}

void inDeviceManager::Stop() {
    // The devices go before the input system they read from is released.
    g_keyboards.clear();
    g_mice.clear();
    g_gamepads.clear();
    g_joystick.reset();
    if (g_started)
        inDirectInputRelease();
    g_started = false;
}

void inDeviceManager::PollAll() {
    for (const auto& keyboard : g_keyboards)
        keyboard->Poll();
    for (const auto& mouse : g_mice)
        mouse->Poll();
    for (const auto& gamepad : g_gamepads)
        gamepad->Poll();
    if (g_joystick)
        g_joystick->Update();
}

inKeyboard* inDeviceManager::GetKeyboard(u32 i) {
    return At(g_keyboards, i);
}

inMouse* inDeviceManager::GetMouse(u32 i) {
    return At(g_mice, i);
}

inGamepad* inDeviceManager::GetGamepad(u32 i) {
    return At(g_gamepads, i);
}

u32 inDeviceManager::GetKeyboardCount() {
    return static_cast<u32>(g_keyboards.size());
}

u32 inDeviceManager::GetMouseCount() {
    return static_cast<u32>(g_mice.size());
}

u32 inDeviceManager::GetGamepadCount() {
    return static_cast<u32>(g_gamepads.size());
}

inVirtualJoystick* inDeviceManager::GetVirtualJoystick() {
    return g_joystick.get();
}
