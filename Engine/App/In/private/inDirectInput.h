#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <memory>
#include <vector>

class inKeyboard;
class inMouse;
class inGamepad;

// Starts the platform's input system and appends one device object, named by the system, for every
// attached keyboard, pointing device and game controller, in that order. Controllers get their axes
// over [-axisRange, axisRange], the dead zone (percent, x 200) and saturation (percent, x 100) in the
// system's ten-thousandths. Throws envInitX ("in") when the system, an enumeration or a device fails.
void inDirectInputStart(i32 axisRange, f32 deadZone, f32 saturation,
                        std::vector<std::unique_ptr<inKeyboard>>& keyboards,
                        std::vector<std::unique_ptr<inMouse>>& mice,
                        std::vector<std::unique_ptr<inGamepad>>& gamepads);
// Releases the input system.
void inDirectInputRelease();
