#include "Engine/App/In/private/inDirectInputDevice.h"

#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/plServices.h"

inDirectInputDevice::inDirectInputDevice(const plInputDeviceInstance& instance,
                                         const plAxisProperties* axes) {
    if (!plDi::Succeeded(plGetInputSource().CreateDevice(instance, m_device)) || !m_device)
        throw envInitX("in");
    if (axes)
        m_device->SetAxisProperties(*axes);
    m_device->SetCooperativeLevel();
    m_device->Acquire();
}

inDirectInputDevice::~inDirectInputDevice() = default;

void inDirectInputDevice::Reacquire() {
    m_device->SetCooperativeLevel();
    m_device->Acquire();
}

bool inGamepadDevice::Read(plJoystickState& state) {
    if (IsLoss(m_device->Poll())) {
        Reacquire();
        m_device->Poll();
    }
    return ReadState(state);
}
