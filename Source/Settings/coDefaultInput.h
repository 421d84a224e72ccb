#pragma once

// Binds the game's actions to their default keys on the first keyboard and buttons on the first mouse,
// through the input layer's virtual joystick. Once, at start-up, after the input devices are started.
void coBindDefaultInput();
