#include "Source/App/coApp.h"
#include "Source/Modes/coMode.h"

#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

// A failed shot's report runs frames of its own before the next poll; they must not shoot again.
TEST(coApp, OnePressOfTheScreenshotKeyTakesOneShot) {
    plTestInputSource input;
    input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
    plInstallServices({.input = &input});
    inDeviceManager::Start();
    {
        coApp app;
        coModeHost& host = coGetModeHost(); // the app, as the modes see it
        const auto poll = [&](u8 state) {
            input.GetScript(0).keys[plDik::F7] = state;
            inDeviceManager::PollAll();
        };
        for (int press = 0; press < 2; ++press) {
            poll(0x80);
            EXPECT_FALSE(host.ScreenshotKeyReleased());
            poll(0);
            EXPECT_TRUE(host.ScreenshotKeyReleased()) << press;
            EXPECT_FALSE(host.ScreenshotKeyReleased()) << press;
        }
    }
    inDeviceManager::Stop();
    plInstallServices({});
}
