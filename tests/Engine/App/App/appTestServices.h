#pragma once
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

// Installs the fake platform for one test and removes it afterwards; the debug log is captured.
struct appTestServices : ::testing::Test {
    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox messageBox;
    dbgLogCapture log;

    void SetUp() override {
        plInstallServices({.time = &time, .window = &window, .messageBox = &messageBox});
    }
    void TearDown() override { plInstallServices({}); }
};
