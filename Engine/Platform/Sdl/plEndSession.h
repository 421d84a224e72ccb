#pragma once
#include <string>

// SIGTERM, SIGINT and SIGHUP (the terminal that started the game closed) end the program as an ending
// session does: the game leaves without asking, as a confirmed quit does, and saves no coaster or career. A second signal while the first is served ends
// the process at once. SIGPIPE is ignored.
// The program entry calls this first, before anything starts SDL, so that SDL never takes the signals
// for a window close (which would ask the player whether to leave).
void plCatchEndSessionSignals();

// True once a termination signal arrived; the window host turns it into one EndSession message.
bool plEndSessionSignalled();

// Empty when the video driver shows a window: a display that answers, or any driver SDL_VIDEODRIVER
// names. Otherwise why no picture would be seen: no display is named, none answers, or SDL would fall
// back on a driver that draws off screen.
std::string plDisplayProblem();
