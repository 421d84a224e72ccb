#pragma once
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Engine/GUI/Gui/guiMouseButtons.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiWindow.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G3d/g3dTestScreen.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Graphics/plFontRasterizer.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <vector>

// A material widget in miniature: a hit box of its size at its absolute place, the main button's
// pointer states, and a Draw that takes the frame's next stamp. A widget deleted while pressed records
// its own click, as material widgets do.
class guiTestWindow : public guiWindow {
  public:
    explicit guiTestWindow(const char* name, maVector3d position = {0.0f, 0.0f, 1.0f}, i32 w = 100,
                           i32 h = 50) {
        SetName(name);
        SetSize(w, h);
        SetPosition(position);
    }
    ~guiTestWindow() override {
        if (pressed)
            guiMouseButtons::RecordClick(guiMouseButtons::kMain, this);
    }
    void Think() override {
        ++thinks;
        const i32 event = guiMouseButtons::GetButtonEvent(guiMouseButtons::kMain);
        if (!IsPointerOver()) {
            if (pressed && event == guiMouseButtons::Released) {
                guiMouseButtons::RecordClick(guiMouseButtons::kMain, this);
                pressed = false;
            }
            if (pressed || event == guiMouseButtons::Released)
                guiMouseButtons::Claim(guiMouseButtons::kMain);
            SetState(guiStateIdle);
            return;
        }
        if (!guiMouseButtons::IsUnclaimed(guiMouseButtons::kMain) && !pressed) {
            SetState(guiStateIdle);
            return;
        }
        if (event == guiMouseButtons::Down) {
            guiMouseButtons::SetHandled(guiMouseButtons::kMain);
            pressed = true;
            SetState(guiStatePressed);
            SetFocusWindow(this);
        } else if (event == guiMouseButtons::Held) {
            SetState(guiStateHeld);
        } else if (event == guiMouseButtons::Released) {
            guiMouseButtons::RecordClick(guiMouseButtons::kMain, this);
            pressed = false;
            SetState(guiStateReleased);
        } else {
            SetState(guiStateOver);
            SetOverWindow(this);
        }
        guiMouseButtons::Claim(guiMouseButtons::kMain);
    }
    void Draw() override { SetDrawDepth(static_cast<i32>(guiWindowMgr::NextDrawStamp())); }
    void SetColor(const std::array<u8, 3>& rgb, i32) override { colour = rgb; }
    void SetTransparency(float, i32) override {}

    bool IsPointerOver() const {
        const maVector2d p = guiCursorMgr::GetPosition();
        const maVector3d at = GetWorldMatrix().GetTranslation();
        i32 w = 0, h = 0;
        GetSize(w, h);
        return p.x >= at.x && p.x < at.x + static_cast<float>(w) && p.y >= at.y &&
               p.y < at.y + static_cast<float>(h);
    }

    bool pressed = false;
    i32 thinks = 0;
    std::array<u8, 3> colour{};
};

// A window's x, y, width and height.
inline std::array<float, 4> Rect(const guiWindow& w) {
    i32 width = 0, height = 0;
    w.GetSize(width, height);
    return {w.GetPosition().x, w.GetPosition().y, static_cast<float>(width), static_cast<float>(height)};
}

// One scripted step per frame of a modal run: the step may press keys, move the pointer or end the
// dialog, then the devices are polled and the GUI updated, as the application's frame would.
class guiScriptedFrames : public guiFunction {
  public:
    // A run that outlasts its steps fails the test by an exception, which ends the modal loop.
    void Execute() override {
        if (frame >= steps.size())
            throw std::runtime_error("the run did not end");
        steps[frame++]();
    }
    std::vector<std::function<void()>> steps;
    size_t frame = 0;
};

// The fake platform: a clock, a window, a scripted mouse (device 0) and keyboard (device 1), the recording 3D
// device; the debug log captured. Nothing is started.
class guiTestServices : public ::testing::Test {
  protected:
    void SetUp() override {
        input.AddDevice(plInputDeviceKind::Mouse, u"Mouse");
        input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
        plInstallServices(
            {.time = &time, .window = &window, .messageBox = &messageBox, .input = &input, .d3d = &d3d});
    }
    void TearDown() override { plInstallServices({}); }

    // The services again with the fonts, then the 800 x 600 screen with the renderer's lists and states;
    // g3dStopTestScreen undoes the screen.
    void StartScreen(plFontRasterizer& fonts) {
        plInstallServices({.time = &time,
                           .window = &window,
                           .messageBox = &messageBox,
                           .input = &input,
                           .d3d = &d3d,
                           .fonts = &fonts});
        g3dStartTestScreen(800, 600);
    }

    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox messageBox;
    plTestInputSource input;
    plFakeD3d d3d;
    dbgLogCapture log;
};

// The gui package started on the fakes, mouse buttons 0, 1 and 2 bound to the actions 1111 to 1113, the
// root sized to the GUI screen. Frame() scripts one frame's pointer and buttons; Update() also runs it.
class guiTestGui : public guiTestServices {
  protected:
    void SetUp() override {
        guiTestServices::SetUp();
        guiInit();
        const i32 actions[] = {1111, 1112, 1113};
        const i32 buttons[] = {0, 1, 2};
        inDeviceManager::GetVirtualJoystick()->BindMany(*inDeviceManager::GetMouse(0), actions, buttons);
        guiWindowMgr::GetRoot()->SetSize(800, 600);
    }
    void TearDown() override {
        guiShutdown();
        guiTestServices::TearDown();
    }

    void Frame(float x, float y, bool main = false, bool second = false, bool third = false) {
        guiCursorMgr::SetPosition({x, y});
        const bool down[] = {main, second, third};
        for (size_t i = 0; i < 3; ++i)
            input.GetScript(0).mouse.buttons[i] = down[i] ? 0x80 : 0;
        inDeviceManager::PollAll();
    }
    void Update(float x, float y, bool main = false) {
        Frame(x, y, main);
        guiWindowMgr::Update();
    }
    // Pointer there, the main button pressed and released, one frame each.
    void Click(float x, float y) {
        Update(x, y);
        Update(x, y, true);
        Update(x, y);
    }
    // A window of the root, which owns it.
    template <class W = guiTestWindow, class... Args> W* Add(Args&&... args) {
        W* w = new W(std::forward<Args>(args)...);
        guiWindowMgr::AddWindow(w);
        return w;
    }
};
