#pragma once
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorWorld.h"
#include "Source/Modes/coMenuScreens.h"
#include "tests/Source/Track/coCircuitTestSupport.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

// Input scripted by the test: actions and keys down, held and released this poll, the pointer and the
// GUI's mouse records. Installed for its lifetime.
struct coScriptedEditorInput : coEditorInput {
    coScriptedEditorInput() { coSetEditorInput(this); }
    ~coScriptedEditorInput() override { coSetEditorInput(nullptr); }

    bool HasMouse() const override { return true; }
    bool IsDown(i32 action) const override { return down.count(action) != 0 || held.count(action) != 0; }
    bool IsHeld(i32 action) const override { return held.count(action) != 0; }
    bool WasReleased(i32 action) const override { return released.count(action) != 0; }
    void SuppressRelease(i32 action) override { released.erase(action); }
    void GetMotion(i32& x, i32& y) const override { x = motionX, y = motionY; }
    i32 GetAxisZ() const override { return wheel; }
    bool IsKeyDown(i32 key) const override { return keys.count(key) != 0; }
    void GetPointer(i32& x, i32& y) const override { x = pointerX, y = pointerY; }
    void GetScreenSize(i32& w, i32& h) const override { w = 800, h = 600; }
    double GetTime() const override { return time; }
    float GetFrameStep() const override { return step; }
    bool IsMouseClaimed(i32 record) const override { return claimed.count(record) != 0; }
    void ClaimMouse(i32 record) override { handled.insert(record); }
    void ReleaseMouse(i32 record) override { handled.erase(record); }

    // A new poll: nothing pressed or released, no motion.
    void Clear() {
        down.clear(), held.clear(), released.clear(), claimed.clear();
        motionX = motionY = wheel = 0;
    }

    std::set<i32> down, held, released, keys, claimed, handled;
    i32 motionX = 0, motionY = 0, wheel = 0, pointerX = 0, pointerY = 0;
    double time = 0.0;
    float step = 0.1f;
};

// An editor world, installed for its lifetime, whose every object is a prop (the object itself).
struct coPropsOnlyEditorWorld : coEditorWorld {
    coPropsOnlyEditorWorld() { coSetEditorWorld(this); }
    ~coPropsOnlyEditorWorld() override { coSetEditorWorld(nullptr); }
    Target Classify(coObject* object) const override {
        Target target;
        target.kind = coSelectionProp;
        target.prop = reinterpret_cast<coProp*>(object);
        return target;
    }
};

// A host that records sounds, messages, questions and errors and answers as told.
struct coRecordingEditorHost : coEditorHost {
    coRecordingEditorHost() { coSetEditorHost(this); }
    ~coRecordingEditorHost() override { coSetEditorHost(nullptr); }

    // A button a key released counts as the palette's click.
    std::string TakeReleasedTrackButton() override {
        for (auto& [label, button] : buttons)
            if (button->GetState() == guiStateReleased) {
                button->SetState(guiStateIdle);
                return label;
            }
        return std::exchange(trackButton, std::string());
    }
    guiWindow* FindButton(const char* label) override {
        auto& button = buttons[label];
        if (!button)
            button = std::make_unique<coMenuButton>(label, label);
        return button.get();
    }
    void UpdatePalettes(const coEditorPaletteState& state) override { palettes = state; }
    std::string TakeManipulatePress() override { return std::exchange(manipulatePress, std::string()); }
    std::string TakeManipulateButton() override { return std::exchange(manipulateButton, std::string()); }
    i32 RunChooseAnimDialog(coProp& prop) override {
        animationsOf = &prop;
        return 1;
    }
    coPropTemplate* TakeChosenProp() override { return std::exchange(chosenProp, nullptr); }
    std::string TakeChosenDock() override { return std::exchange(chosenDock, std::string()); }
    coMainButton TakeMainButton() override { return std::exchange(mainButton, coMainButton::None); }
    envString GetCoasterName() const override { return name; }
    void SetCoasterName(const envString& text) override { name = text; }
    void ShowMessage(u32 message, float) override { messages.push_back(message); }
    bool GetGridState() const override { return grid; }
    void SetGridState(bool on) override { grid = on; }
    i32 AskQuestion(u32 primary, u32, u32) override {
        questions.push_back(primary);
        return answer;
    }
    i32 RunKeyboardDialog(envString& text) override {
        duringDialog();
        if (typed.empty())
            return 2;
        text = typed.front();
        typed.erase(typed.begin());
        return 1;
    }
    i32 RunRidePauseDialog(int mode) override {
        duringRidePause(mode);
        return 1;
    }
    void ReportError(const envExceptionX&) override { ++errors; }
    void ReportFailures(const std::vector<std::exception_ptr>& told) override { failures.push_back(told); }
    void ReportDamagedFile(u32 text, const fsLocator&) override { damagedFiles.push_back(text); }
    void ShowInterface(bool shown) override { interfaceShown = shown; }
    void SetPointerShape(i32 shape) override { pointerShape = shape; }
    void PlaySound(int slot) override { sounds.push_back(slot); }
    void SetSelectedPiece(const coCoasterPiece* piece) override { shownPiece = piece; }
    void SetPieceStats(const coRidePieceStats* stats, float) override {
        pieceStatsCleared = stats == nullptr;
    }

    std::map<std::string, std::unique_ptr<coMenuButton>> buttons;
    coEditorPaletteState palettes;
    std::string trackButton;
    std::string manipulatePress;
    std::string manipulateButton;
    coProp* animationsOf = nullptr;
    coPropTemplate* chosenProp = nullptr;
    std::string chosenDock;
    coMainButton mainButton = coMainButton::None;
    envString name;
    bool grid = false;
    i32 answer = 1;
    std::vector<envString> typed;
    std::function<void()> duringDialog = [] {};
    std::function<void(int)> duringRidePause = [](int) {};
    std::vector<u32> messages, questions;
    std::vector<int> sounds;
    const coCoasterPiece* shownPiece = nullptr;
    bool pieceStatsCleared = false;
    int errors = 0;
    std::vector<std::vector<std::exception_ptr>> failures; // each box of failures told together
    std::vector<u32> damagedFiles;
    bool interfaceShown = true;
    i32 pointerShape = -1;
};
