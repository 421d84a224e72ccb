#pragma once
#include "Engine/Platform/plMessageBox.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTestWindowHost.h"
#include "Engine/Platform/plTimeSource.h"

#include <gtest/gtest.h>

// Installs the fake platform for one test and removes it afterwards.
struct appTestServices : ::testing::Test {
    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox messageBox;

    void SetUp() override { plInstallServices({&time, &window, &messageBox}); }
    void TearDown() override { plInstallServices({}); }
};
