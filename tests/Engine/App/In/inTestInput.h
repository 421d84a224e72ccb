#pragma once
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inGamepad.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inPackage.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/plDirectInputKeys.h"
#include "Engine/Platform/plMessageBox.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTestInputSource.h"
#include "Engine/Platform/plTestWindowHost.h"
#include "Engine/Platform/plTimeSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The fake platform with a scripted input source; the test adds its devices, then Start() starts the in
// package on them. The package is stopped and the platform removed at the end.
struct inTestInput : ::testing::Test {
    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox messageBox;
    plTestInputSource input;
    std::vector<std::string> log;
    bool started = false;

    void SetUp() override {
        plServices services;
        services.time = &time;
        services.window = &window;
        services.messageBox = &messageBox;
        services.input = &input;
        plInstallServices(services);
        dbgSetLogSink([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override {
        if (started)
            inShutdown();
        dbgSetLogSink({});
        plInstallServices({});
    }

    void Start() {
        started = true;
        inInit();
    }

    plTestInputSource::Script& Script(u32 id) { return input.GetScript(id); }
    void Press(u32 keyboard, u8 dik, bool down = true) { Script(keyboard).keys[dik] = down ? 0x80 : 0; }
    static void Poll() { inDeviceManager::PollAll(); }
    static inVirtualJoystick& Joystick() { return *inDeviceManager::GetVirtualJoystick(); }

    size_t CountLogLines(const std::string& text) const {
        size_t count = 0;
        for (const std::string& line : log)
            count += line.find(text) != std::string::npos ? 1 : 0;
        return count;
    }
};
