#pragma once
#include "Engine/App/App/appApplication.h"
#include "Engine/App/App/appEventHandler.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// The game's shape: the application is its own flow and char handler. It logs each event ("start", "stop",
// "suspend", "resume", "quit", "char XXXX"), quits when asked unless told not to, and runs onUpdate with the
// number of each frame, which never comes while suspended.
struct appRecordingApp : appApplication, appFlowEventHandler, appCharEventHandler {
    std::vector<std::string> log;
    u32 updates = 0;
    bool obeyQuitRequest = true;
    std::function<void(u32 frame)> onUpdate;

    void Update() override {
        EXPECT_FALSE(appIsSuspended());
        ++updates;
        if (onUpdate)
            onUpdate(updates);
    }
    void OnStart(appStartEvent*) override { log.push_back("start"); }
    void OnStop(appStopEvent*) override { log.push_back("stop"); }
    void OnSuspend(appSuspendEvent*) override { log.push_back("suspend"); }
    void OnResume(appResumeEvent*) override { log.push_back("resume"); }
    void OnQuitRequest(appQuitRequestEvent*) override {
        log.push_back("quit");
        if (obeyQuitRequest)
            RequestQuit();
    }
    void OnChar(appCharEvent* e) override {
        char text[16];
        std::snprintf(text, sizeof text, "char %04X", e->GetChar());
        log.push_back(text);
    }
};
