#include "Engine/App/App/appWindow.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/App/In/inMouse.h"
#include "Engine/App/In/inPackage.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Platform/Sdl/plSdlTestEvents.h"
#include "Engine/Platform/System/plSystemServices.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

// The real platform with its window, and the in package started on it.
struct inSdlInput : ::testing::Test {
    plSystemServices system;
    dbgLogCapture quiet;
    void SetUp() override {
        plInstallServices(system.GetServices());
        ASSERT_TRUE(plGetWindowHost().CreateWindow(0, 0, 64, 48, u"input", false));
        inInit();
    }
    void TearDown() override {
        inShutdown();
        plInstallServices({});
    }
    Uint32 WindowId() {
        return SDL_GetWindowID(static_cast<plSdlWindowHost*>(system.GetServices().window)->GetSdlWindow());
    }
    // The frame: the messages are handled as the loop does, then the devices polled.
    static void Frame() {
        appPumpMessages();
        inDeviceManager::PollAll();
    }
    // A suspended application waits in its loop for the focus to return: only the devices are polled.
    static void BackgroundFrame() { inDeviceManager::PollAll(); }
};

} // namespace

TEST_F(inSdlInput, PushedKeysAndMouseEventsReachTheDevicesAndTheJoystick) {
    ASSERT_EQ(inDeviceManager::GetKeyboardCount(), 1u);
    ASSERT_EQ(inDeviceManager::GetMouseCount(), 1u);
    inKeyboard& keyboard = *inDeviceManager::GetKeyboard(0);
    inMouse& mouse = *inDeviceManager::GetMouse(0);
    inVirtualJoystick& joystick = *inDeviceManager::GetVirtualJoystick();
    constexpr i32 kFire = 1;
    joystick.Bind(keyboard, kFire, inKeySpace);
    joystick.Bind(mouse, kFire, 0);

    // The window comes to the front; the next poll acquires the devices, and movement counts from there.
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED, WindowId());
    Frame();
    plPushScancode(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    plPushMotion(0, 0, 100, 0);
    Frame();
    EXPECT_TRUE(keyboard.IsKeyDown(inKeySpace));
    EXPECT_FALSE(keyboard.IsKeyHeld(inKeySpace));
    EXPECT_TRUE(joystick.IsButtonDown(kFire));
    EXPECT_EQ(mouse.GetDirection(), 2);
    EXPECT_FLOAT_EQ(mouse.GetMagnitude(), 1.0f);
    i32 x = 0;
    i32 y = 0;
    joystick.GetAxis2D(0, x, y);
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 0);

    plPushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    plPushScancode(SDL_KEYUP, SDL_SCANCODE_SPACE);
    Frame();
    EXPECT_TRUE(keyboard.WasKeyReleased(inKeySpace));
    EXPECT_TRUE(mouse.IsButtonDown(0));
    EXPECT_TRUE(joystick.IsButtonDown(kFire));
    EXPECT_EQ(mouse.GetDirection(), -1);

    // In the background the devices read nothing.
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST, WindowId());
    plPushScancode(SDL_KEYDOWN, SDL_SCANCODE_SPACE);
    BackgroundFrame();
    EXPECT_FALSE(keyboard.IsKeyDown(-1));
    EXPECT_FALSE(mouse.IsButtonDown(-1));
    EXPECT_FALSE(joystick.IsButtonDown(kFire));
}
