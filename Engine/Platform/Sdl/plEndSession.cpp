#include "Engine/Platform/Sdl/plEndSession.h"

#include <SDL.h>
#include <X11/Xlib.h>

#include <csignal>
#include <cstdlib>

namespace {

volatile std::sig_atomic_t g_signalled = 0;

void OnTerminationSignal(int signal) {
    if (g_signalled) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    g_signalled = 1;
}

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

// Whether an X server answers at the display named; far cheaper than starting SDL's video to see.
bool XServerAnswers(const char* display) {
    Display* connection = XOpenDisplay(display);
    if (!connection)
        return false;
    XCloseDisplay(connection);
    return true;
}

// The driver SDL picks on its own, or empty when none starts.
std::string ChosenVideoDriver() {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return std::string();
    const std::string driver = SDL_GetCurrentVideoDriver();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return driver;
}

} // namespace

void plCatchEndSessionSignals() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        sigaction(signal, &action, nullptr);
    // After a hang-up stderr may lead nowhere: a log line written there must not end the game first.
    std::signal(SIGPIPE, SIG_IGN);
}

bool plEndSessionSignalled() {
    return g_signalled != 0;
}

std::string plDisplayProblem() {
    // A driver asked for by name is the user's choice, the dummy of headless runs among them.
    if (Variable("SDL_VIDEODRIVER"))
        return std::string();
    const char* x11 = Variable("DISPLAY");
    const char* wayland = Variable("WAYLAND_DISPLAY");
    if (!x11 && !wayland)
        return "no display (DISPLAY and WAYLAND_DISPLAY are unset)";
    if (x11 && XServerAnswers(x11))
        return std::string();
    const std::string driver = ChosenVideoDriver();
    if (driver == "offscreen" || driver == "dummy" || driver.empty())
        return std::string("no display answers at ") + (x11 ? "DISPLAY=" : "WAYLAND_DISPLAY=") +
               (x11 ? x11 : wayland);
    return std::string();
}
