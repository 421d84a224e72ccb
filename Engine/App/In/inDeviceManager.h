#pragma once
#include "Engine/Core/Env/envTypes.h"

class inKeyboard;
class inMouse;
class inGamepad;
class inVirtualJoystick;

// The controllers' axes span [-inAxisRange, inAxisRange]; the dead zone and saturation are in percent.
constexpr i32 inAxisRange = 1000;
constexpr f32 inDeadZone = 5.0f;
constexpr f32 inSaturation = 95.0f;

// Owns every input device, in the order the platform enumerates them, and the virtual joystick.
class inDeviceManager {
  public:
    // Creates the virtual joystick, then starts the input system and every attached device. A failure
    // throws envInitX ("in") and leaves the devices made so far, with the joystick, in place.
    static void Start();
    // Deletes every device and the virtual joystick, then releases the input system.
    static void Stop();
    // Polls every keyboard, mouse and game controller, then updates the virtual joystick. Once a frame.
    static void PollAll();

    // Device i of its list; null beyond the list.
    static inKeyboard* GetKeyboard(u32 i);
    static inMouse* GetMouse(u32 i);
    static inGamepad* GetGamepad(u32 i);
    static u32 GetKeyboardCount();
    static u32 GetMouseCount();
    static u32 GetGamepadCount();
    // Null until the first start.
    static inVirtualJoystick* GetVirtualJoystick();
    static i32 GetAxisRange() { return inAxisRange; }
};
