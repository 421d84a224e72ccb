#pragma once
#include "Content/coBuiltTree.h"
#include "Engine/App/App/appStartupTestServices.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/envEnvironment.h"

// The start-up fakes with the game started from the built tree and a fresh user folder, its roots set up.
struct coBuiltTreeTest : appStartupTestServices {
    void SetUp() override {
        appStartupTestServices::SetUp();
        envInit();
        fsResetRootTable();
        coStartFromBuiltTree(folders, folder.Path());
    }
    void TearDown() override {
        fsResetRootTable();
        envShutdown();
        appStartupTestServices::TearDown();
    }
};
