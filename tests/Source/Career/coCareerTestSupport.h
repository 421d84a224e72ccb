#pragma once
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/Core/Env/dbgLog.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

// A temporary saves root (root 9) and text root (root 11), the warnings of the debug log and the
// reported errors, for the career tests.
class coCareerFixture : public ::testing::Test {
  protected:
    coCareerFixture() {
        folder.MakeFolder("Saves");
        folder.MakeFolder("Text");
        fsResetRootTable();
        fsAddRootDirectory(9, folder.Locator("Saves"));
        fsAddRootDirectory(11, folder.Locator("Text"));
        dbgSetLogSink([this](const std::string& line) { warnings.push_back(line); });
        gfErrorHandler::SetDisplayer(&displayer);
    }
    ~coCareerFixture() override {
        gfErrorHandler::SetDisplayer(nullptr);
        dbgSetLogSink({});
        fsResetRootTable();
    }

    // Whether a warning holding the text was written, forgetting the warnings so far.
    bool Warned(const std::string& text) {
        bool found = false;
        for (const std::string& line : warnings)
            found = found || line.find(text) != std::string::npos;
        warnings.clear();
        return found;
    }

    fsTestFolder folder;
    std::vector<std::string> warnings;
    gfRecordingDisplayer displayer;
};
