#include "inTestInput.h"

#include <array>

namespace {

using Kind = plInputDeviceKind;

// Keyboard 0, mouse 1 and game controller 2, all started.
struct inVirtualJoystickTest : inTestInput {
    inKeyboard* keyboard = nullptr;
    inMouse* mouse = nullptr;
    inGamepad* pad = nullptr;
    static constexpr u32 kKeyboard = 0, kMouse = 1, kPad = 2;

    void SetUp() override {
        inTestInput::SetUp();
        input.AddDevice(Kind::Keyboard, u"Keyboard");
        input.AddDevice(Kind::Mouse, u"Mouse");
        input.AddDevice(Kind::GameController, u"Pad");
        Start();
        keyboard = inDeviceManager::GetKeyboard(0);
        mouse = inDeviceManager::GetMouse(0);
        pad = inDeviceManager::GetGamepad(0);
        ASSERT_TRUE(keyboard && mouse && pad);
    }
    std::array<i32, 2> Axis2D(i32 stick) {
        std::array<i32, 2> xy{};
        Joystick().GetAxis2D(stick, xy[0], xy[1]);
        return xy;
    }
};

// A device of a kind the joystick does not know.
struct OtherDevice : inDevice {
    void Poll() override {}
};

constexpr i32 kJump = 10;
constexpr i32 kBrake = 11;
constexpr i32 kUnbound = 99;

} // namespace

TEST_F(inVirtualJoystickTest, TwoKeysOfOneActionAndAnUnboundAction) {
    Joystick().Bind(*keyboard, kJump, inKeySpace);
    Joystick().Bind(*keyboard, kJump, inKeyReturn);
    Poll();
    EXPECT_FALSE(Joystick().IsButtonDown(kJump));
    Press(kKeyboard, plDik::Return);
    Poll();
    EXPECT_TRUE(Joystick().IsButtonDown(kJump));
    Press(kKeyboard, plDik::Space);
    Poll();
    EXPECT_TRUE(Joystick().IsButtonDown(kJump));
    EXPECT_TRUE(Joystick().IsButtonHeld(kJump));
    // One control released while the other stays held: both answers are true, per control.
    Press(kKeyboard, plDik::Return, false);
    Poll();
    EXPECT_TRUE(Joystick().IsButtonHeld(kJump));
    EXPECT_TRUE(Joystick().WasButtonReleased(kJump));
    Press(kKeyboard, plDik::Space, false);
    Poll();
    EXPECT_FALSE(Joystick().IsButtonDown(kJump));

    Press(kKeyboard, plDik::Z);
    Poll();
    Poll();
    EXPECT_FALSE(Joystick().IsButtonDown(kUnbound));
    EXPECT_FALSE(Joystick().IsButtonHeld(kUnbound));
    EXPECT_FALSE(Joystick().WasButtonReleased(kUnbound));
    // A negative action asks the bound devices for any key or button.
    EXPECT_TRUE(Joystick().IsButtonDown(-1));
    ASSERT_EQ(Joystick().GetRecords().size(), 1u);
    EXPECT_EQ(Joystick().GetRecords()[0].bindings.count(kJump), 2u);
}

TEST_F(inVirtualJoystickTest, ActionsSpanDevicesAndRecordsFollowFirstBinding) {
    const std::array<i32, 3> actions = {kJump, kBrake, kUnbound};
    const std::array<i32, 2> buttons = {0, 1};
    Joystick().BindMany(*pad, actions, buttons);
    Joystick().Bind(*mouse, kJump, 0);
    Joystick().Bind(*pad, kJump, 5);
    const auto& records = Joystick().GetRecords();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].kind, inDeviceKindGamepad);
    EXPECT_EQ(records[0].gamepad, pad);
    EXPECT_EQ(records[0].bindings.size(), 3u); // the third action had no button to go with it
    EXPECT_EQ(records[1].kind, inDeviceKindMouse);
    EXPECT_EQ(records[1].mouse, mouse);

    Script(kMouse).mouse.buttons[0] = 0x80;
    Poll();
    EXPECT_TRUE(Joystick().IsButtonDown(kJump));
    EXPECT_FALSE(Joystick().IsButtonDown(kBrake));
    Script(kPad).joystick.buttons[1] = 0x80;
    Poll();
    EXPECT_TRUE(Joystick().IsButtonDown(kBrake));
    EXPECT_FALSE(Joystick().IsButtonDown(kUnbound));
}

TEST_F(inVirtualJoystickTest, ASuppressedReleaseLastsUntilTheNextPoll) {
    Joystick().Bind(*keyboard, kJump, inKeyEscape);
    Press(kKeyboard, plDik::Escape);
    Poll();
    Press(kKeyboard, plDik::Escape, false);
    Poll();
    EXPECT_TRUE(Joystick().WasButtonReleased(kJump));
    Joystick().SuppressRelease(kJump);
    EXPECT_FALSE(Joystick().WasButtonReleased(kJump));
    EXPECT_FALSE(Joystick().WasButtonReleased(kJump));
    // Binding the action again lifts the suppression at once.
    Joystick().Bind(*keyboard, kJump, inKeyF1);
    EXPECT_TRUE(Joystick().WasButtonReleased(kJump));
    Joystick().SuppressRelease(kJump);
    // Suppressing an action never bound is harmless, and the next poll lifts everything.
    Joystick().SuppressRelease(kUnbound);
    Press(kKeyboard, plDik::Escape);
    Poll();
    Press(kKeyboard, plDik::Escape, false);
    Poll();
    EXPECT_TRUE(Joystick().WasButtonReleased(kJump));
}

TEST_F(inVirtualJoystickTest, SticksCombineAndClampToTheRange) {
    Joystick().Bind(*mouse, kJump, 0);
    Joystick().Bind(*pad, kJump, 0);
    // Nothing moves: no device contributes.
    Poll();
    EXPECT_EQ(Axis2D(0), (std::array<i32, 2>{0, 0}));
    // One device alone gives its own vector, unclamped.
    Script(kMouse).mouse.x = 1500;
    Script(kMouse).mouse.y = -4;
    Poll();
    EXPECT_EQ(Axis2D(0), (std::array<i32, 2>{1500, -4}));
    // The mouse with the controller pushed right: the sum, clamped per axis.
    Script(kMouse).mouse.x = 600;
    Script(kMouse).mouse.y = -30;
    Script(kPad).rawAxes = {32767, 0, 0};
    Poll();
    EXPECT_EQ(Axis2D(0), (std::array<i32, 2>{1000, -30}));
    // One controller pushed straight down, then the mouse moving straight down with it: still down.
    Script(kPad).rawAxes = {0, 32767, 0};
    Poll();
    EXPECT_EQ(Axis2D(0), (std::array<i32, 2>{0, 1000}));
    Script(kMouse).mouse.y = 20;
    Script(kPad).rawAxes = {0, 16000, 0};
    Poll();
    const auto down = Axis2D(0);
    EXPECT_EQ(down[0], 0);
    EXPECT_GT(down[1], 20);
    // Opposite pushes cancel to no direction.
    Script(kMouse).mouse.x = -1000;
    Script(kPad).rawAxes = {32767, 0, 0};
    Poll();
    EXPECT_EQ(Axis2D(0), (std::array<i32, 2>{0, 0}));
    // Sticks outside 0..4 are still.
    Script(kMouse).mouse.x = 5;
    Poll();
    EXPECT_EQ(Axis2D(5), (std::array<i32, 2>{0, 0}));
    EXPECT_EQ(Axis2D(-1), (std::array<i32, 2>{0, 0}));
}

TEST_F(inVirtualJoystickTest, TheThirdAxisSumsWheelsAndZAxes) {
    Joystick().Bind(*mouse, kJump, 0);
    Joystick().Bind(*pad, kJump, 0);
    Script(kMouse).mouse.z = 240;
    Script(kPad).rawAxes = {0, 0, 32767};
    Poll();
    i32 x = 1;
    i32 y = 1;
    i32 z = 0;
    Joystick().GetAxis3D(0, x, y, z);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(z, 1000);
    Script(kMouse).mouse.z = -360;
    Script(kPad).rawAxes = {0, 0, 0};
    Poll();
    Joystick().GetAxis3D(0, x, y, z);
    EXPECT_EQ(z, -3);
    // A hat has no third axis.
    Script(kPad).joystick.pov[0] = 27000;
    Poll();
    Joystick().GetAxis3D(1, x, y, z);
    EXPECT_LE(x, -999);
    EXPECT_EQ(z, 0);
}

TEST_F(inVirtualJoystickTest, AnUnsupportedDeviceIsWarnedAboutAndSkipped) {
    OtherDevice other;
    Joystick().Bind(other, kJump, 1);
    Joystick().Bind(*keyboard, kJump, inKeyTab);
    ASSERT_EQ(Joystick().GetRecords().size(), 2u);
    EXPECT_EQ(Joystick().GetRecords()[0].kind, inDeviceKindUnsupported);
    Press(kKeyboard, plDik::Tab);
    Poll();
    log.lines.clear();
    EXPECT_TRUE(Joystick().IsButtonDown(kJump));
    EXPECT_EQ(log.Count("Unsupported Device Type #3"), 1u);
    i32 x = 0;
    i32 y = 0;
    Joystick().GetAxis2D(0, x, y);
    EXPECT_EQ(log.Count("Unsupported Device Type #3"), 2u);
}

TEST_F(inVirtualJoystickTest, EightDirectionsFromFourKeys) {
    const auto direction = [&](std::initializer_list<u8> keys) {
        for (const u8 key : {plDik::Up, plDik::Right, plDik::Down, plDik::Left})
            Press(kKeyboard, key, false);
        for (const u8 key : keys)
            Press(kKeyboard, key);
        Poll();
        return inEightDirection(*keyboard, inKeyUp, inKeyRight, inKeyDown, inKeyLeft);
    };
    EXPECT_EQ(direction({}), -1);
    EXPECT_EQ(direction({plDik::Up}), 0);
    EXPECT_EQ(direction({plDik::Up, plDik::Right}), 1);
    EXPECT_EQ(direction({plDik::Right}), 2);
    EXPECT_EQ(direction({plDik::Down, plDik::Right}), 3);
    EXPECT_EQ(direction({plDik::Down}), 4);
    EXPECT_EQ(direction({plDik::Down, plDik::Left}), 5);
    EXPECT_EQ(direction({plDik::Left}), 6);
    EXPECT_EQ(direction({plDik::Up, plDik::Left}), 7);
    EXPECT_EQ(direction({plDik::Up, plDik::Down}), -1);
    EXPECT_EQ(inEightDirection(*keyboard, -1, inKeyRight, inKeyDown, inKeyLeft), -1);
    // With the default settings a keyboard moves no stick.
    Joystick().Bind(*keyboard, kJump, inKeyUp);
    direction({plDik::Up});
    EXPECT_EQ(Axis2D(0), (std::array<i32, 2>{0, 0}));
}
