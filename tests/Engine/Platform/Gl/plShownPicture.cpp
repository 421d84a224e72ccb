#include "plShownPicture.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <thread>

namespace {

bool X11Of(SDL_Window* window, SDL_SysWMinfo& info) {
    SDL_VERSION(&info.version);
    return SDL_GetWindowWMInfo(window, &info) && info.subsystem == SDL_SYSWM_X11;
}

} // namespace

bool plWaitViewable(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!X11Of(window, info))
        return false;
    for (int tries = 0; tries < 200; ++tries) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(info.info.x11.display, info.info.x11.window, &attributes) &&
            attributes.map_state == IsViewable)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

u32 plShownPixel(SDL_Window* window, int x, int y) {
    SDL_SysWMinfo info;
    if (!X11Of(window, info))
        return 0xFFFFFFFF;
    XImage* image = XGetImage(info.info.x11.display, info.info.x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return 0xFFFFFFFF;
    const auto pixel = static_cast<u32>(XGetPixel(image, 0, 0) & 0xFFFFFF);
    XDestroyImage(image);
    return pixel;
}

void plLoseShownPicture(SDL_Window* window) {
    SDL_SysWMinfo info;
    if (!X11Of(window, info))
        return;
    // The window's background is none: paint it black through a graphics context instead.
    Display* display = info.info.x11.display;
    GC context = XCreateGC(display, info.info.x11.window, 0, nullptr);
    XSetForeground(display, context, BlackPixel(display, DefaultScreen(display)));
    int width = 0, height = 0;
    SDL_GetWindowSize(window, &width, &height);
    XFillRectangle(display, info.info.x11.window, context, 0, 0, static_cast<unsigned>(width),
                   static_cast<unsigned>(height));
    XFreeGC(display, context);
    XSync(display, False);
}
