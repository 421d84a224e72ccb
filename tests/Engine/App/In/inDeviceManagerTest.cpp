#include "inTestInput.h"

#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envExceptionX.h"

using Kind = plInputDeviceKind;
using inDeviceManagerTest = inTestInput;

TEST_F(inDeviceManagerTest, DevicesInEnumerationOrderReleasedBeforeTheSystem) {
    input.AddDevice(Kind::GameController, u"Pad one");
    input.AddDevice(Kind::Keyboard, u"Keyboard");
    input.AddDevice(Kind::GameController, u"Pad two");
    input.AddDevice(Kind::Mouse, u"Mouse");
    Start();
    EXPECT_TRUE(input.IsCreated());
    EXPECT_EQ(inDeviceManager::GetKeyboardCount(), 1u);
    EXPECT_EQ(inDeviceManager::GetMouseCount(), 1u);
    ASSERT_EQ(inDeviceManager::GetGamepadCount(), 2u);
    EXPECT_EQ(inDeviceManager::GetGamepad(0)->GetName(), envString("Pad one"));
    EXPECT_EQ(inDeviceManager::GetGamepad(1)->GetName(), envString("Pad two"));
    EXPECT_EQ(inDeviceManager::GetKeyboard(1), nullptr);

    inShutdown();
    started = false;
    EXPECT_FALSE(input.IsCreated());
    EXPECT_EQ(input.GetDevicesAliveAtRelease(), 0u);
    EXPECT_EQ(inDeviceManager::GetVirtualJoystick(), nullptr);
    EXPECT_EQ(inDeviceManager::GetGamepadCount(), 0u);
}

TEST_F(inDeviceManagerTest, AFailedStartLeavesAJoystickToPoll) {
    input.AddDevice(Kind::Keyboard, u"Keyboard");
    input.SetCreateResult(plDi::Generic);
    try {
        Start();
        FAIL() << "the start went through";
    } catch (const envInitX& e) {
        EXPECT_EQ(e.GetText(), "in");
    }
    ASSERT_NE(inDeviceManager::GetVirtualJoystick(), nullptr);
    inDeviceManager::PollAll();
    EXPECT_EQ(inGetInitCount(), 1u);
}

TEST_F(inDeviceManagerTest, AFailedEnumerationKeepsTheDevicesBeforeIt) {
    input.AddDevice(Kind::Keyboard, u"Keyboard");
    input.AddDevice(Kind::Mouse, u"Mouse");
    input.AddDevice(Kind::GameController, u"Pad");
    input.SetEnumResult(Kind::GameController, plDi::Generic);
    EXPECT_THROW(Start(), envInitX);
    EXPECT_EQ(inDeviceManager::GetKeyboardCount(), 1u);
    EXPECT_EQ(inDeviceManager::GetMouseCount(), 1u);
    EXPECT_EQ(inDeviceManager::GetGamepadCount(), 0u);
    Press(0, plDik::A);
    inDeviceManager::PollAll();
    EXPECT_TRUE(inDeviceManager::GetKeyboard(0)->IsKeyDown(inKeyA));
}

TEST_F(inDeviceManagerTest, ADeviceThatCannotBeMadeFailsTheStart) {
    input.AddDevice(Kind::Mouse, u"Mouse");
    input.SetCreateDeviceResult(plDi::DeviceNotRegistered);
    EXPECT_THROW(Start(), envInitX);
    EXPECT_EQ(inDeviceManager::GetMouseCount(), 0u);
}

TEST_F(inDeviceManagerTest, ThePackageStartsOnceAndRefusesAStopAtZero) {
    input.AddDevice(Kind::Keyboard, u"Keyboard");
    inInit();
    inInit();
    EXPECT_EQ(inGetInitCount(), 2u);
    EXPECT_EQ(appGetInitCount(), 1u);
    EXPECT_EQ(itGetInitCount(), 2u); // its own start and the app package's
    EXPECT_EQ(inDeviceManager::GetKeyboardCount(), 1u);
    inShutdown();
    // Started twice and stopped once: still started, devices and all.
    EXPECT_EQ(inGetInitCount(), 1u);
    EXPECT_EQ(inDeviceManager::GetKeyboardCount(), 1u);
    EXPECT_TRUE(input.IsCreated());
    inShutdown();
    EXPECT_EQ(inGetInitCount(), 0u);
    EXPECT_EQ(envGetInitCount(), 0u);
    EXPECT_FALSE(input.IsCreated());
    log.lines.clear();
    inShutdown();
    EXPECT_EQ(inGetInitCount(), 0u);
    EXPECT_EQ(log.Count("in shut down more often than started"), 1u);
    inInit();
    EXPECT_EQ(inGetInitCount(), 1u);
    EXPECT_EQ(inDeviceManager::GetKeyboardCount(), 1u);
    inShutdown();
}
