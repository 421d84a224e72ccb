#include "Engine/Platform/Sdl/plSdlInputSource.h"
#include "Engine/Platform/Os/plInstanceGuard.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Engine/Platform/plServices.h"
#include "plSdlTestEvents.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<plInputDevice> Make(plSdlInputSource& source, plInputDeviceKind kind) {
    std::vector<plInputDeviceInstance> found;
    EXPECT_EQ(source.EnumDevices(kind, found), plDi::Ok);
    std::unique_ptr<plInputDevice> device;
    if (!found.empty()) {
        EXPECT_EQ(source.CreateDevice(found[0], device), plDi::Ok);
    }
    return device;
}

} // namespace

TEST(plInputSource, SdlKeysAndHatsInDirectInputTerms) {
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_A), plDik::A);
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_Q), plDik::Q);
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_0), plDik::D0);
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_KP_ENTER), plDik::NumpadEnter);
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_RALT), plDik::RMenu);
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_PRINTSCREEN), plDik::SysRq);
    EXPECT_EQ(plSdlScancodeToDik(SDL_SCANCODE_F13), 0);
    EXPECT_EQ(plSdlScancodeToDik(-1), 0);
    EXPECT_EQ(plSdlScancodeToDik(9999), 0);
    // No two SDL keys share a key number, but for the two backslash positions.
    u32 seen[256] = {};
    for (i32 code = 0; code < SDL_NUM_SCANCODES; ++code)
        if (const u8 dik = plSdlScancodeToDik(code); dik != 0)
            ++seen[dik];
    for (u32 dik = 0; dik < 256; ++dik)
        EXPECT_LE(seen[dik], dik == plDik::Backslash ? 2u : 1u) << dik;

    EXPECT_EQ(plSdlHatToPov(SDL_HAT_CENTERED), 0xFFFFFFFFu);
    EXPECT_EQ(plSdlHatToPov(SDL_HAT_UP), 0u);
    EXPECT_EQ(plSdlHatToPov(SDL_HAT_RIGHT), 9000u);
    EXPECT_EQ(plSdlHatToPov(SDL_HAT_LEFTDOWN), 22500u);
    EXPECT_EQ(plSdlHatToPov(SDL_HAT_LEFTUP), 31500u);
    EXPECT_EQ(plSdlHatToPov(SDL_HAT_UP | SDL_HAT_DOWN), 0xFFFFFFFFu);
}

TEST(plSdlInputSource, EventsReachTheDevicesWhileTheWindowHasTheFocus) {
    plSdlInputSource source;
    ASSERT_EQ(source.Create(), plDi::Ok);
    const auto keyboard = Make(source, plInputDeviceKind::Keyboard);
    const auto mouse = Make(source, plInputDeviceKind::Mouse);
    ASSERT_TRUE(keyboard && mouse);
    std::vector<plInputDeviceInstance> pads;
    EXPECT_EQ(source.EnumDevices(plInputDeviceKind::GameController, pads), plDi::Ok);
    plKeyboardState keys;
    plMouseState motion;
    plJoystickState joystick;
    EXPECT_EQ(keyboard->GetDeviceState(joystick), plDi::InvalidParam);
    EXPECT_EQ(keyboard->SetAxisProperties({}), plDi::InvalidParam);

    // No window of the program has the focus yet: nothing can be acquired.
    EXPECT_EQ(keyboard->Acquire(), plDi::OtherAppHasPrio);
    EXPECT_EQ(keyboard->GetDeviceState(keys), plDi::NotAcquired);
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(keyboard->Acquire(), plDi::Ok);
    EXPECT_EQ(mouse->Acquire(), plDi::Ok);

    plPushScancode(SDL_KEYDOWN, SDL_SCANCODE_A);
    plPushScancode(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER);
    plPushScancode(SDL_KEYDOWN, SDL_SCANCODE_F13); // a key the engine does not read
    plPushMotion(0, 0, 3, -4);
    plPushMotion(0, 0, 3, -4);
    plPushWheel(1);
    plPushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    plPushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1);
    ASSERT_EQ(keyboard->GetDeviceState(keys), plDi::Ok);
    EXPECT_EQ(keys.keys[plDik::A], 0x80);
    EXPECT_EQ(keys.keys[plDik::NumpadEnter], 0x80);
    EXPECT_EQ(keys.keys[plDik::Return], 0);
    ASSERT_EQ(mouse->GetDeviceState(motion), plDi::Ok);
    EXPECT_EQ(motion.x, 6);
    EXPECT_EQ(motion.y, -8);
    EXPECT_EQ(motion.z, 120);
    EXPECT_EQ(motion.buttons[1], 0x80);
    EXPECT_EQ(motion.buttons[3], 0x80);
    EXPECT_EQ(motion.buttons[0], 0);

    // Movement is summed per read; buttons and keys stay until let go.
    plPushWheel(2, SDL_MOUSEWHEEL_FLIPPED);
    plPushScancode(SDL_KEYUP, SDL_SCANCODE_A);
    plPushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_X1);
    ASSERT_EQ(mouse->GetDeviceState(motion), plDi::Ok);
    EXPECT_EQ(motion.x, 0);
    EXPECT_EQ(motion.z, -240);
    EXPECT_EQ(motion.buttons[1], 0x80);
    EXPECT_EQ(motion.buttons[3], 0);
    ASSERT_EQ(keyboard->GetDeviceState(keys), plDi::Ok);
    EXPECT_EQ(keys.keys[plDik::A], 0);

    // The window loses the focus: the input is lost, and what was held is let go.
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    plPushMotion(0, 0, 50, 50);
    EXPECT_EQ(keyboard->GetDeviceState(keys), plDi::InputLost);
    EXPECT_EQ(keyboard->GetDeviceState(keys), plDi::NotAcquired);
    EXPECT_EQ(keyboard->Acquire(), plDi::OtherAppHasPrio);
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    EXPECT_EQ(keyboard->Acquire(), plDi::Ok);
    EXPECT_EQ(mouse->Acquire(), plDi::Ok);
    ASSERT_EQ(keyboard->GetDeviceState(keys), plDi::Ok);
    EXPECT_EQ(keys.keys[plDik::NumpadEnter], 0);
    ASSERT_EQ(mouse->GetDeviceState(motion), plDi::Ok);
    EXPECT_EQ(motion.x, 0);
    EXPECT_EQ(motion.buttons[1], 0);
}

TEST(plSdlWindowHost, ARaiseRequestIsServedOnceTheWindowExists) {
    plTestInstanceGuard guard;
    plServices services;
    services.instanceGuard = &guard;
    plInstallServices(services);
    {
        plSdlWindowHost host;
        guard.raiseRequested = true;
        plMessage message;
        host.PeekMessage(message);
        EXPECT_TRUE(guard.raiseRequested); // no window to raise yet: the request waits
        ASSERT_TRUE(host.CreateWindow(0, 0, 32, 32, u"raise", false));
        SDL_MinimizeWindow(host.GetSdlWindow());
        while (host.PeekMessage(message)) {
        }
        EXPECT_FALSE(guard.raiseRequested);
        EXPECT_EQ(SDL_GetWindowFlags(host.GetSdlWindow()) & SDL_WINDOW_MINIMIZED, 0u);
    }
    plInstallServices({});
}
