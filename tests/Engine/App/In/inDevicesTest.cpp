#include "inTestInput.h"

#include "Engine/Core/Ma/maConstants.h"

#include <array>
#include <cmath>
#include <map>

namespace {

using Kind = plInputDeviceKind;

// The package started on one device of the kind, the first of its kind.
template <class Device, Kind kind, Device* (*first)(u32)> struct inOneDeviceTest : inTestInput {
    u32 id = 0;
    Device* device = nullptr;
    void SetUp() override {
        inTestInput::SetUp();
        id = input.AddDevice(kind, u"Test device");
        Start();
        device = first(0);
        ASSERT_NE(device, nullptr);
    }
};

struct inKeyboardTest : inOneDeviceTest<inKeyboard, Kind::Keyboard, inDeviceManager::GetKeyboard> {
    inKeyboard*& keyboard = device;
};

struct inMouseTest : inOneDeviceTest<inMouse, Kind::Mouse, inDeviceManager::GetMouse> {
    inMouse*& mouse = device;
    std::pair<i32, i32> Position() {
        i32 x = 0, y = 0;
        mouse->GetPosition(x, y);
        return {x, y};
    }
    void Move(i32 dx, i32 dy, i32 wheel = 0) {
        Script(id).mouse.x = dx;
        Script(id).mouse.y = dy;
        Script(id).mouse.z = wheel;
        Poll();
    }
};

struct inGamepadTest : inOneDeviceTest<inGamepad, Kind::GameController, inDeviceManager::GetGamepad> {
    inGamepad*& pad = device;
    void Axes(i32 x, i32 y, i32 z = 0) { Script(id).rawAxes = {x, y, z}; }
    std::pair<i32, i32> Axes2D(i32 stick) {
        i32 x = 7, y = 7;
        pad->GetAxes2D(stick, x, y);
        return {x, y};
    }
    std::array<i32, 3> Axes3D(i32 stick) {
        std::array<i32, 3> xyz{7, 7, 7};
        pad->GetAxes3D(stick, xyz[0], xyz[1], xyz[2]);
        return xyz;
    }
};

using Xyz = std::array<i32, 3>;

} // namespace

TEST(inKeyCode, EveryEngineKeyHasExactlyOneScanCode) {
    std::map<i32, u32> hits;
    for (u32 scanCode = 0; scanCode < 256; ++scanCode)
        if (const i32 code = inKeyCodeOfScanCode(static_cast<u8>(scanCode)); code >= 0)
            ++hits[code];
    ASSERT_EQ(hits.size(), static_cast<size_t>(inKeyCodeCount));
    for (const auto& [code, count] : hits) {
        EXPECT_GE(code, 0);
        EXPECT_LT(code, inKeyCodeCount);
        EXPECT_EQ(count, 1u) << code;
    }
    // Positional keys land on their own codes, not on neighbours of the scan-code order; the extra key of
    // ISO keyboards (0x56) is not read.
    const std::pair<u8, i32> keys[] = {{plDik::Q, inKeyA + 16},
                                       {plDik::D0, inKey0},
                                       {plDik::F11, inKeyF11},
                                       {plDik::SysRq, inKeyPrintScreen},
                                       {plDik::Numpad7, inKeyNumpad0 + 7},
                                       {plDik::NumpadEnter, inKeyNumpadEnter},
                                       {plDik::RControl, inKeyRightControl},
                                       {0x56, -1},
                                       {0x00, -1}};
    for (const auto& [scanCode, code] : keys)
        EXPECT_EQ(inKeyCodeOfScanCode(scanCode), code) << int(scanCode);
}

TEST(inDirection, SectorsMeetWithoutGapsAndPiOverEightIsUp) {
    const f32 eighth = maPiF / 8.0f;
    const std::pair<f32, i32> angles[] = {{0.0f, 0},
                                          {eighth, 0},
                                          {std::nextafter(eighth, 1.0f), 1},
                                          {3.0f * eighth, 1},
                                          {maHalfPiF, 2},
                                          {maPiF, 4},
                                          {13.0f * eighth, 6},
                                          {std::nextafter(15.0f * eighth, 0.0f), 7},
                                          {15.0f * eighth, 0},
                                          {std::nextafter(maTwoPiF, 0.0f), 0}};
    for (const auto& [angle, direction] : angles)
        EXPECT_EQ(inDirectionOfAngle(angle), direction) << angle;
    // Every angle round the circle lands in one of the eight sectors, in order.
    i32 last = 0;
    for (f32 a = 0.0f; a < maTwoPiF; a += 0.001f) {
        const i32 d = inDirectionOfAngle(a);
        ASSERT_TRUE(d == last || d == (last + 1) % 8) << a;
        last = d;
    }
}

TEST_F(inKeyboardTest, PressHoldAndReleaseFollowThePolls) {
    Press(id, plDik::A);
    Poll();
    EXPECT_TRUE(keyboard->IsKeyDown(inKeyA));
    EXPECT_FALSE(keyboard->IsKeyHeld(inKeyA));
    EXPECT_FALSE(keyboard->WasKeyReleased(inKeyA));
    Poll();
    EXPECT_TRUE(keyboard->IsKeyDown(inKeyA));
    EXPECT_TRUE(keyboard->IsKeyHeld(inKeyA));
    Press(id, plDik::A, false);
    Poll();
    EXPECT_FALSE(keyboard->IsKeyDown(inKeyA));
    EXPECT_FALSE(keyboard->IsKeyHeld(inKeyA));
    EXPECT_TRUE(keyboard->WasKeyReleased(inKeyA));
    Poll();
    EXPECT_FALSE(keyboard->WasKeyReleased(inKeyA));
}

TEST_F(inKeyboardTest, AnyKeyAndCodesOutOfRange) {
    Poll();
    EXPECT_FALSE(keyboard->IsKeyDown(-1));
    Press(id, 0x56); // a key the engine does not read counts as no key
    Poll();
    EXPECT_FALSE(keyboard->IsKeyDown(-1));
    Press(id, plDik::NumpadEnter);
    Poll();
    EXPECT_TRUE(keyboard->IsKeyDown(-1));
    EXPECT_TRUE(keyboard->IsKeyDown(inKeyNumpadEnter));
    EXPECT_FALSE(keyboard->IsKeyDown(256));
    EXPECT_FALSE(keyboard->IsKeyDown(1000));
    EXPECT_FALSE(keyboard->IsKeyHeld(-1));
    Poll();
    EXPECT_TRUE(keyboard->IsKeyHeld(-1));
    Press(id, plDik::NumpadEnter, false);
    Poll();
    EXPECT_TRUE(keyboard->WasKeyReleased(-5));
    EXPECT_FALSE(keyboard->IsKeyDown(-1));
}

TEST_F(inKeyboardTest, LostInputIsReacquiredAndABackgroundWindowReadsNothing) {
    Press(id, plDik::Space);
    Poll();
    // Lost once: the same poll acquires the device again and reads it.
    Script(id).lost = true;
    Poll();
    EXPECT_TRUE(keyboard->IsKeyHeld(inKeySpace));
    // In the background the device cannot be acquired: every key reads up.
    input.SetForeground(false);
    Poll();
    EXPECT_FALSE(keyboard->IsKeyDown(-1));
    EXPECT_TRUE(keyboard->WasKeyReleased(inKeySpace));
    Poll();
    EXPECT_FALSE(keyboard->IsKeyDown(inKeySpace));
    input.SetForeground(true);
    Poll();
    EXPECT_TRUE(keyboard->IsKeyDown(inKeySpace));
    EXPECT_FALSE(keyboard->IsKeyHeld(inKeySpace));
}

TEST_F(inKeyboardTest, ADisabledKeyboardIsNotReadAndAnswersFalse) {
    Press(id, plDik::Escape);
    Poll();
    keyboard->SetEnabled(false);
    EXPECT_FALSE(keyboard->IsKeyDown(inKeyEscape));
    EXPECT_FALSE(keyboard->IsKeyDown(-1));
    Press(id, plDik::Escape, false);
    Poll();
    keyboard->SetEnabled(true);
    // Not read while disabled: the key is still down from the last read.
    EXPECT_TRUE(keyboard->IsKeyDown(inKeyEscape));
}

TEST_F(inMouseTest, MovementGivesAngleMagnitudeAndDirection) {
    Move(3, -4);
    EXPECT_FLOAT_EQ(mouse->GetMagnitude(), 0.1f);
    EXPECT_FLOAT_EQ(mouse->GetAngle(), std::atan2(3.0f, 4.0f));
    EXPECT_EQ(mouse->GetDirection(), 1);
    EXPECT_EQ(Position(), (std::pair{3, -4}));
    EXPECT_TRUE(mouse->IsMoving());

    Move(100, 0);
    EXPECT_FLOAT_EQ(mouse->GetMagnitude(), 1.0f);
    EXPECT_FLOAT_EQ(mouse->GetAngle(), maHalfPiF);
    EXPECT_EQ(mouse->GetDirection(), 2);
    Move(0, 7);
    EXPECT_FLOAT_EQ(mouse->GetAngle(), maPiF);
    EXPECT_EQ(mouse->GetDirection(), 4);
    Move(-5, 0);
    EXPECT_EQ(mouse->GetDirection(), 6);

    // The movement is the poll's own: with none since, the mouse is still.
    Poll();
    EXPECT_EQ(Position(), (std::pair{0, 0}));
    EXPECT_EQ(mouse->GetDirection(), -1);
    EXPECT_EQ(mouse->GetAngle(), 0.0f);
    EXPECT_FALSE(mouse->IsMoving());
}

TEST_F(inMouseTest, WheelInNotchesAndButtons) {
    Move(0, 0, 120);
    EXPECT_FLOAT_EQ(mouse->GetWheel(), 1.0f);
    EXPECT_TRUE(mouse->IsMoving());
    EXPECT_EQ(mouse->GetDirection(), -1);
    i32 x = 0, y = 0, z = 0;
    mouse->GetAxes3D(0, x, y, z);
    EXPECT_EQ(z, 1);
    Move(0, 0, -60);
    mouse->GetAxes3D(0, x, y, z);
    EXPECT_EQ(z, 0); // half a notch is cut to none

    Script(id).mouse.buttons[1] = 0x80;
    Poll();
    EXPECT_TRUE(mouse->IsButtonDown(1));
    EXPECT_TRUE(mouse->IsButtonDown(-1));
    EXPECT_FALSE(mouse->IsButtonDown(0));
    EXPECT_FALSE(mouse->IsButtonDown(8));
    Poll();
    EXPECT_TRUE(mouse->IsButtonHeld(1));
    Script(id).mouse.buttons[1] = 0;
    Poll();
    EXPECT_TRUE(mouse->WasButtonReleased(1));
    EXPECT_FALSE(mouse->IsButtonDown(-1));

    Move(9, 2);
    mouse->SetEnabled(false);
    EXPECT_EQ(Position(), (std::pair{0, 0}));
    EXPECT_FALSE(mouse->IsButtonDown(-1));
}

TEST_F(inGamepadTest, AxesAreScaledToTheRangeWithDeadZoneAndSaturation) {
    Axes(3000, -3000); // inside the tenth of the range around the centre
    Poll();
    EXPECT_EQ(Axes2D(0), (std::pair{0, 0}));
    EXPECT_FALSE(pad->IsStickActive(0));
    EXPECT_EQ(pad->GetDirection(0), -1);

    Axes(32767, 0);
    Poll();
    f32 magnitude = 0.0f;
    f32 throttle = 0.0f;
    EXPECT_FLOAT_EQ(pad->GetStick(0, magnitude, throttle), maHalfPiF);
    EXPECT_FLOAT_EQ(magnitude, 1.0f);
    EXPECT_EQ(pad->GetDirection(0), 2);
    EXPECT_TRUE(pad->IsStickActive(0));

    // Pushed up, the stick's y is negative and its angle 0; half way between dead zone and saturation
    // reads half the range.
    Axes(0, -static_cast<i32>(std::lround(0.525 * 32767.5)));
    Poll();
    EXPECT_EQ(Axes2D(0), (std::pair{0, -500}));
    EXPECT_EQ(pad->GetDirection(0), 0);
    EXPECT_FLOAT_EQ(pad->GetStick(0, magnitude, throttle), 0.0f);
    EXPECT_FLOAT_EQ(magnitude, 0.5f);

    // The Z axis alone: its throttle keeps the stick active while it points nowhere.
    Axes(0, 0, 32767);
    Poll();
    EXPECT_EQ(Axes3D(0)[2], 1000);
    EXPECT_FLOAT_EQ(pad->GetStick(0, magnitude, throttle), -1.0f);
    EXPECT_FLOAT_EQ(throttle, 1000.0f);
    EXPECT_TRUE(pad->IsStickActive(0));
}

TEST_F(inGamepadTest, HatsAreSticksOneToFour) {
    Script(id).joystick.pov[0] = 9000;
    Script(id).joystick.pov[1] = 4500;
    Script(id).joystick.pov[2] = 0;
    Poll();
    f32 magnitude = 0.0f;
    f32 throttle = 0.0f;
    const auto [x, y] = Axes2D(1);
    EXPECT_EQ(pad->GetDirection(1), 2);
    EXPECT_EQ(y, 0);
    EXPECT_GE(x, 999);
    EXPECT_LE(x, 1000);
    EXPECT_NEAR(pad->GetStick(1, magnitude, throttle), maHalfPiF, 1e-6f);
    EXPECT_FLOAT_EQ(magnitude, 1.0f);
    EXPECT_EQ(pad->GetDirection(2), 1);
    // A hat pushed up gives a positive y.
    EXPECT_EQ(pad->GetDirection(3), 0);
    EXPECT_EQ(Axes2D(3).second, 1000);
    // Centred (low word 0xFFFF, whatever the high word).
    Script(id).joystick.pov[3] = 0x0000FFFF;
    Poll();
    EXPECT_EQ(pad->GetDirection(4), -1);
    EXPECT_FLOAT_EQ(pad->GetStick(4, magnitude, throttle), -1.0f);
    EXPECT_FALSE(pad->IsStickActive(4));
}

TEST_F(inGamepadTest, StickFiveButtonsAndAFailedRead) {
    Script(id).joystick.pov[0] = 18000;
    Script(id).joystick.buttons[3] = 0x80;
    Script(id).joystick.buttons[127] = 0x80;
    Axes(32767, 32767);
    Poll();
    f32 magnitude = 7.0f;
    f32 throttle = 7.0f;
    EXPECT_EQ(pad->GetStick(5, magnitude, throttle), 0.0f);
    EXPECT_EQ(magnitude, 0.0f);
    EXPECT_EQ(throttle, 0.0f);
    EXPECT_EQ(Axes3D(5), (Xyz{0, 0, 0}));
    EXPECT_EQ(Axes2D(-1).first, 0);
    EXPECT_FALSE(pad->IsStickActive(5));
    EXPECT_TRUE(pad->IsButtonDown(3));
    EXPECT_TRUE(pad->IsButtonDown(127));
    EXPECT_FALSE(pad->IsButtonDown(128));
    EXPECT_FLOAT_EQ(pad->GetButtonValue(3), 1.0f);
    EXPECT_FLOAT_EQ(pad->GetButtonValue(4), 0.0f);
    EXPECT_EQ(pad->GetDirection(0), 3);

    // In the background nothing can be read: every stick is centred and every button up.
    input.SetForeground(false);
    Poll();
    for (i32 stick = 0; stick < inGamepad::kStickCount; ++stick) {
        EXPECT_FALSE(pad->IsStickActive(stick)) << stick;
        EXPECT_EQ(pad->GetDirection(stick), -1) << stick;
    }
    EXPECT_TRUE(pad->WasButtonReleased(3));
    EXPECT_FLOAT_EQ(pad->GetButtonValue(3), 0.0f);

    pad->SetEnabled(false);
    EXPECT_FALSE(pad->IsButtonDown(-1));
    EXPECT_EQ(pad->GetButtonValue(3), 0.0f);
}
