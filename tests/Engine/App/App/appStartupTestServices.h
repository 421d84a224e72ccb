#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/plIniReader.h"
#include "Engine/Platform/plInstanceGuard.h"
#include "Engine/Platform/plKeyValueStore.h"
#include "Engine/Platform/plMessageBox.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plSystemFolders.h"
#include "Engine/Platform/plTestWindowHost.h"
#include "Engine/Platform/plTimeSource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The fake platform of the start-up services: the registry and INI files in a temporary folder, fixed
// folders and discs, a scripted instance guard. The debug log is captured.
struct appStartupTestServices : ::testing::Test {
    fsTestFolder folder;
    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox messageBox;
    plKeyValueStore store{folder.Path("config")};
    plIniReader ini{folder.Path()};
    plTestSystemFolders folders;
    plTestInstanceGuard guard;
    std::vector<std::string> log;

    void SetUp() override {
        plServices services;
        services.time = &time;
        services.window = &window;
        services.messageBox = &messageBox;
        services.keyValueStore = &store;
        services.iniReader = &ini;
        services.folders = &folders;
        services.instanceGuard = &guard;
        plInstallServices(services);
        dbgSetLogSink([this](const std::string& line) { log.push_back(line); });
    }
    void TearDown() override {
        dbgSetLogSink({});
        plInstallServices({});
    }

    size_t CountLogLines(const std::string& text) const {
        size_t count = 0;
        for (const std::string& line : log)
            count += line.find(text) != std::string::npos ? 1 : 0;
        return count;
    }
};
