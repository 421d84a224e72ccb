#pragma once

// SIGTERM and SIGINT end the program the way a session's end does on the original platform: the game
// saves and leaves without asking. A second signal while the first is served ends the process at once.
void plCatchEndSessionSignals();

// True once a termination signal arrived; the window host turns it into one EndSession message.
bool plEndSessionSignalled();

// Whether the video driver has a display to open: X11 or Wayland, or a driver named by SDL_VIDEODRIVER.
bool plDisplayAvailable();
