#include "Engine/App/In/inTestInput.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Settings/coUnits.h"

#include <gtest/gtest.h>

TEST(coUnitsTest, ImperialAndMetric) {
    const bool metric = coPrefs::GetBool(coPrefMetricUnits);
    coPrefs::SetBool(coPrefMetricUnits, false);
    EXPECT_NEAR(coToDisplaySpeed(10.0f), 22.36936f, 1e-4f);
    EXPECT_NEAR(coToDisplayLength(100.0f), 328.084f, 1e-3f);
    coPrefs::SetBool(coPrefMetricUnits, true);
    EXPECT_FLOAT_EQ(coToDisplaySpeed(10.0f), 36.0f);
    EXPECT_FLOAT_EQ(coToDisplayLength(100.0f), 100.0f);
    coPrefs::SetBool(coPrefMetricUnits, metric);
}

namespace {

size_t BindingCount(const inVirtualJoystick& joystick) {
    size_t count = 0;
    for (const inBindingRecord& record : joystick.GetRecords())
        count += record.bindings.size();
    return count;
}

struct coDefaultInputTest : inTestInput {};

} // namespace

TEST_F(coDefaultInputTest, DefaultBindingsWithAndWithoutAMouse) {
    input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
    Start();
    coBindDefaultInput();
    EXPECT_EQ(BindingCount(Joystick()), 60u);

    // Key 53 (minus) serves two actions; key 27 (digit 1) is the second of the digit row's actions.
    Press(0, plDik::Minus);
    Press(0, plDik::D1);
    Poll();
    for (int action : {coActionSelectPrevious, coActionSlower, coActionLoad})
        EXPECT_TRUE(Joystick().IsButtonDown(action)) << action;
    EXPECT_FALSE(Joystick().IsButtonDown(coActionSelectNext));
    inShutdown();

    input.AddDevice(plInputDeviceKind::Mouse, u"Mouse");
    inInit();
    coBindDefaultInput();
    EXPECT_EQ(BindingCount(Joystick()), 63u);
}
