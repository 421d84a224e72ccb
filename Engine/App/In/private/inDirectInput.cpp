#include "Engine/App/In/private/inDirectInput.h"

#include "Engine/App/In/inGamepad.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Window/plInputSource.h"
#include "Engine/Platform/plServices.h"

namespace {

std::vector<plInputDeviceInstance> Enumerate(plInputDeviceKind kind) {
    std::vector<plInputDeviceInstance> instances;
    if (!plDi::Succeeded(plGetInputSource().EnumDevices(kind, instances)))
        throw envInitX("in");
    return instances;
}

envString NameOf(const plInputDeviceInstance& instance) {
    return envString(instance.name.c_str());
}

} // namespace

void inDirectInputStart(i32 axisRange, f32 deadZone, f32 saturation,
                        std::vector<std::unique_ptr<inKeyboard>>& keyboards,
                        std::vector<std::unique_ptr<inMouse>>& mice,
                        std::vector<std::unique_ptr<inGamepad>>& gamepads) {
    if (!plDi::Succeeded(plGetInputSource().Create()))
        throw envInitX("in");
    for (const plInputDeviceInstance& instance : Enumerate(plInputDeviceKind::Keyboard)) {
        keyboards.push_back(std::make_unique<inKeyboard>(instance));
        keyboards.back()->SetName(NameOf(instance));
    }
    for (const plInputDeviceInstance& instance : Enumerate(plInputDeviceKind::Mouse)) {
        mice.push_back(std::make_unique<inMouse>(instance));
        mice.back()->SetName(NameOf(instance));
    }
    plAxisProperties axes;
    axes.min = -axisRange;
    axes.max = axisRange;
    axes.deadZone = static_cast<i32>(deadZone * 200.0f);
    axes.saturation = static_cast<i32>(saturation * 100.0f);
    for (const plInputDeviceInstance& instance : Enumerate(plInputDeviceKind::GameController)) {
        gamepads.push_back(std::make_unique<inGamepad>(instance, axes));
        gamepads.back()->SetName(NameOf(instance));
    }
}

void inDirectInputRelease() {
    plGetInputSource().Release();
}
