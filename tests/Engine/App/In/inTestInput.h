#pragma once
#include "../App/appTestServices.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inGamepad.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inPackage.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Engine/Platform/Window/plTestInputSource.h"

// The fake platform with a scripted input source; the test adds its devices, then Start() starts the in
// package on them. The package is stopped and the platform removed at the end.
struct inTestInput : appTestServices {
    plTestInputSource input;
    bool started = false;

    void SetUp() override {
        plInstallServices({.time = &time, .window = &window, .messageBox = &messageBox, .input = &input});
    }
    void TearDown() override {
        if (started)
            inShutdown();
        appTestServices::TearDown();
    }

    void Start() {
        started = true;
        inInit();
    }

    plTestInputSource::Script& Script(u32 id) { return input.GetScript(id); }
    void Press(u32 keyboard, u8 dik, bool down = true) { Script(keyboard).keys[dik] = down ? 0x80 : 0; }
    static void Poll() { inDeviceManager::PollAll(); }
    static inVirtualJoystick& Joystick() { return *inDeviceManager::GetVirtualJoystick(); }
};
