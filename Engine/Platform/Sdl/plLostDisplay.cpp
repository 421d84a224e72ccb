#include "Engine/Platform/Sdl/plLostDisplay.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

int EndProcess(Display*) {
    std::fputs("The connection to the display was lost: the game ends.\n", stderr);
    std::_Exit(EXIT_FAILURE);
}

} // namespace

void plEndProcessOnLostDisplay() {
    XSetIOErrorHandler(EndProcess);
}
