#pragma once
#include "Engine/Platform/Window/plInputSource.h"

#include <memory>

// A device of the platform's input source, acquired for reading while the window is in front.
class inDirectInputDevice {
  public:
    // Creates the device of the instance with its data format, envInitX "in" when that fails; gives a
    // controller its axis properties; sets the cooperative level and acquires it, whose results are not
    // tested: a device that cannot be acquired now is acquired again at its next read.
    inDirectInputDevice(const plInputDeviceInstance& instance, const plAxisProperties* axes);
    // Unacquires and releases the device.
    ~inDirectInputDevice();
    inDirectInputDevice(const inDirectInputDevice&) = delete;
    inDirectInputDevice& operator=(const inDirectInputDevice&) = delete;

  protected:
    static bool IsLoss(i32 result) { return result == plDi::InputLost || result == plDi::NotAcquired; }
    void Reacquire();

    // The device's state; after lost input the device is acquired again and read once more. False when
    // the state could not be read, state then unchanged.
    template <class State> bool ReadState(State& state) {
        State read{};
        i32 result = m_device->GetDeviceState(read);
        if (IsLoss(result)) {
            Reacquire();
            result = m_device->GetDeviceState(read);
        }
        if (!plDi::Succeeded(result))
            return false;
        state = read;
        return true;
    }

    std::unique_ptr<plInputDevice> m_device;
};

class inKeyboardDevice : public inDirectInputDevice {
  public:
    explicit inKeyboardDevice(const plInputDeviceInstance& instance)
        : inDirectInputDevice(instance, nullptr) {}
    bool Read(plKeyboardState& state) { return ReadState(state); }
};

class inMouseDevice : public inDirectInputDevice {
  public:
    explicit inMouseDevice(const plInputDeviceInstance& instance) : inDirectInputDevice(instance, nullptr) {}
    bool Read(plMouseState& state) { return ReadState(state); }
};

// A game controller, its X, Y and Z axes over [-range, +range].
class inGamepadDevice : public inDirectInputDevice {
  public:
    inGamepadDevice(const plInputDeviceInstance& instance, const plAxisProperties& axes)
        : inDirectInputDevice(instance, &axes) {}
    // Polls the controller first (again after lost input), then reads it.
    bool Read(plJoystickState& state);
};
