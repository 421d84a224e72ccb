#pragma once
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/Os/plInstanceGuard.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "appTestServices.h"

// The fake platform of the start-up services: the registry and INI files in a temporary folder, fixed
// folders and discs, a scripted instance guard.
struct appStartupTestServices : appTestServices {
    fsTestFolder folder;
    plKeyValueStore store{folder.Path("config")};
    plIniReader ini{folder.Path()};
    plTestSystemFolders folders;
    plTestInstanceGuard guard;

    void SetUp() override {
        plServices services{.time = &time, .window = &window, .messageBox = &messageBox};
        services.keyValueStore = &store;
        services.iniReader = &ini;
        services.folders = &folders;
        services.instanceGuard = &guard;
        plInstallServices(services);
    }
};
