#include "Engine/Platform/Sdl/plEndSession.h"

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

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

} // namespace

void plCatchEndSessionSignals() {
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
}

bool plEndSessionSignalled() {
    return g_signalled != 0;
}

bool plDisplayAvailable() {
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("SDL_VIDEODRIVER");
}
