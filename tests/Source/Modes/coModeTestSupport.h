#pragma once
#include "Engine/App/App/appTestServices.h"
#include "Engine/App/Gf/gfRecordingDisplayer.h"
#include "Engine/Core/Env/envString.h"
#include "Source/Modes/coModeStack.h"

#include <functional>
#include <string>
#include <vector>

// A host that records what the modes ask of it and answers as told.
struct coRecordingModeHost : coModeHost {
    std::vector<u32> questions;
    // The names the named questions showed.
    std::vector<std::string> names;
    bool answerOk = false;
    bool screenshotKey = false;
    std::function<void()> screenshot = [] {};
    int frames = 0;
    int loadingHidden = 0;
    int toolTipUpdates = 0;
    // What the player does at the start of each frame of a screen's modal run.
    std::function<void()> modalFrame;
    // What the panels do at a 3D mode's GUI step.
    std::function<void()> gui;

    bool AskQuitQuestion(u32 textEntry) override {
        questions.push_back(textEntry);
        return answerOk;
    }
    bool AskNamedQuestion(u32 textEntry, const envString& name) override {
        names.push_back(envStringToNarrow(name));
        return AskQuitQuestion(textEntry);
    }
    bool ScreenshotKeyReleased() override { return screenshotKey; }
    void TakeScreenshot() override { screenshot(); }
    void HideLoadingScreen() override { ++loadingHidden; }
    void BeginMenuFrame(bool) override {}
    void RenderFrame(g3dCamera*, g2dImage*) override { ++frames; }
    void UpdateGui() override {
        if (gui)
            gui();
    }
    void UpdateToolTip(float) override { ++toolTipUpdates; }
    void OnModalFrame() override {
        if (modalFrame)
            modalFrame();
    }
};

// A mode whose Enter and Think run scripts and which logs its Enter, Think and Exit into a shared journal.
struct coScriptedMode : coMode {
    coScriptedMode(std::string name, std::vector<std::string>& journal)
        : name(std::move(name)), journal(journal) {}
    void Enter() override {
        EnterCommon();
        journal.push_back(name + " enter");
        if (enterScript)
            enterScript();
    }
    void Think() override {
        BeginFrame();
        journal.push_back(name + " think");
        if (script)
            script(*this);
        RenderFrame(nullptr);
    }
    void Exit() override {
        ExitCommon();
        journal.push_back(name + " exit");
    }
    bool IsModified() override { return modified; }
    void MarkModified() override { modified = true; }

    std::string name;
    std::vector<std::string>& journal;
    std::function<void(coScriptedMode&)> script;
    std::function<void()> enterScript;
    bool modified = false;
};

struct coModeTest : appTestServices {
    coRecordingModeHost host;
    gfRecordingDisplayer displayer;
    std::vector<std::string> journal;

    void SetUp() override {
        appTestServices::SetUp();
        coSetModeHost(&host);
        gfErrorHandler::SetDisplayer(&displayer);
        coClearModeTable();
        coModeStackClear();
    }
    void TearDown() override {
        coModeStackClear();
        coClearModeTable();
        gfErrorHandler::SetDisplayer(gfErrorHandler::GetDefaultDisplayer());
        coSetModeHost(nullptr);
        appTestServices::TearDown();
    }
};
