#include "Engine/Platform/Window/plDirectInputKeys.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/plServices.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(plInputSource, AxesScaleLikeADriverWithDeadZoneAndSaturation) {
    plAxisProperties axes;
    axes.min = -1000;
    axes.max = 1000;
    axes.deadZone = 1000;
    axes.saturation = 9500;
    EXPECT_EQ(plScaleAxis(0, -32768, 32767, axes), 0);
    EXPECT_EQ(plScaleAxis(3276, -32768, 32767, axes), 0); // just inside the dead zone
    EXPECT_EQ(plScaleAxis(-3276, -32768, 32767, axes), 0);
    EXPECT_EQ(plScaleAxis(32767, -32768, 32767, axes), 1000);
    EXPECT_EQ(plScaleAxis(-32768, -32768, 32767, axes), -1000);
    EXPECT_EQ(plScaleAxis(31130, -32768, 32767, axes), 1000);  // past the saturation
    EXPECT_EQ(plScaleAxis(-17203, -32768, 32767, axes), -500); // half way between the two
    EXPECT_EQ(plScaleAxis(99999, -32768, 32767, axes), 1000);  // beyond the raw range: an end
    // DirectInput's defaults: the raw range mapped onto 0..65535, no dead zone.
    const plAxisProperties defaults;
    EXPECT_EQ(plScaleAxis(-32768, -32768, 32767, defaults), 0);
    EXPECT_EQ(plScaleAxis(32767, -32768, 32767, defaults), 65535);
    // A dead zone at or past the saturation, or an empty raw range, divides by nothing.
    axes.deadZone = 9500;
    EXPECT_EQ(plScaleAxis(32000, -32768, 32767, axes), 1000);
    EXPECT_EQ(plScaleAxis(5, 5, 5, axes), -1000);
}

TEST(plInputSource, TheTestSourceAcquiresOnlyInTheForeground) {
    plTestInputSource source;
    const u32 keyboard = source.AddDevice(plInputDeviceKind::Keyboard, u"Keys");
    const u32 pad = source.AddDevice(plInputDeviceKind::GameController, u"Pad");
    ASSERT_EQ(source.Create(), plDi::Ok);
    std::vector<plInputDeviceInstance> found;
    ASSERT_EQ(source.EnumDevices(plInputDeviceKind::GameController, found), plDi::Ok);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, u"Pad");
    std::unique_ptr<plInputDevice> device;
    ASSERT_EQ(source.CreateDevice({plInputDeviceKind::Keyboard, static_cast<i32>(keyboard), u""}, device),
              plDi::Ok);
    EXPECT_EQ(source.CreateDevice({plInputDeviceKind::Mouse, static_cast<i32>(keyboard), u""}, device),
              plDi::DeviceNotRegistered);
    EXPECT_EQ(source.CreateDevice({plInputDeviceKind::Mouse, 99, u""}, device), plDi::DeviceNotRegistered);
    ASSERT_TRUE(device);

    plKeyboardState keys;
    plMouseState mouse;
    EXPECT_EQ(device->GetDeviceState(keys), plDi::NotAcquired);
    EXPECT_EQ(device->GetDeviceState(mouse), plDi::InvalidParam);
    source.SetForeground(false);
    EXPECT_EQ(device->Acquire(), plDi::OtherAppHasPrio);
    source.SetForeground(true);
    EXPECT_EQ(device->Acquire(), plDi::Ok);
    source.GetScript(keyboard).keys[plDik::W] = 0x80;
    EXPECT_EQ(device->GetDeviceState(keys), plDi::Ok);
    EXPECT_EQ(keys.keys[plDik::W], 0x80);
    source.GetScript(keyboard).lost = true;
    EXPECT_EQ(device->GetDeviceState(keys), plDi::InputLost);
    EXPECT_EQ(device->GetDeviceState(keys), plDi::NotAcquired);
    EXPECT_EQ(device->Acquire(), plDi::Ok);
    source.SetForeground(false);
    EXPECT_EQ(device->GetDeviceState(keys), plDi::InputLost);

    device.reset();
    source.Release();
    EXPECT_EQ(source.GetDevicesAliveAtRelease(), 0u);
    EXPECT_FALSE(source.IsCreated());
    EXPECT_EQ(pad, 1u);
}

TEST(plServices, TheStartUpAndInputServicesFailLoudlyWhenMissing) {
    plInstallServices({});
    EXPECT_THROW(plGetKeyValueStore(), std::logic_error);
    EXPECT_THROW(plGetIniReader(), std::logic_error);
    EXPECT_THROW(plGetSystemFolders(), std::logic_error);
    EXPECT_THROW(plGetInstanceGuard(), std::logic_error);
    EXPECT_THROW(plGetInputSource(), std::logic_error);
    plTestInputSource input;
    plServices services;
    services.input = &input;
    plInstallServices(services);
    EXPECT_EQ(&plGetInputSource(), &input);
    plInstallServices({});
}
