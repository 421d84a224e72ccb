#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>

// Synthetic events on SDL's queue, where the video driver would put them.

inline void plPushSdlEvent(SDL_Event event) {
    ASSERT_EQ(SDL_PushEvent(&event), 1);
}

// A window id of 0 names no window in particular.
inline void plPushWindowEvent(Uint8 what, Uint32 windowId = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = windowId;
    e.window.event = what;
    plPushSdlEvent(e);
}

// A key pressed, named by its key code, with the scan code of the current layout.
inline void plPushKeyDown(SDL_Keycode key, Uint16 mod = KMOD_NONE, bool repeat = false) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.repeat = repeat ? 1 : 0;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = SDL_GetScancodeFromKey(key);
    e.key.keysym.mod = mod;
    plPushSdlEvent(e);
}

// A key pressed or let go (SDL_KEYDOWN, SDL_KEYUP), named by its place on the keyboard.
inline void plPushScancode(Uint32 type, SDL_Scancode code) {
    SDL_Event e{};
    e.type = type;
    e.key.keysym.scancode = code;
    plPushSdlEvent(e);
}

inline void plPushText(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, utf8, sizeof e.text.text - 1);
    plPushSdlEvent(e);
}

// The pointer at x, y, moved by dx, dy.
inline void plPushMotion(i32 x, i32 y, i32 dx, i32 dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.xrel = dx;
    e.motion.yrel = dy;
    plPushSdlEvent(e);
}

inline void plPushWheel(i32 notches, Uint32 direction = SDL_MOUSEWHEEL_NORMAL) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = notches;
    e.wheel.direction = direction;
    plPushSdlEvent(e);
}

// A button pressed or let go (SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP) at x, y.
inline void plPushButton(Uint32 type, Uint8 button, i32 x = 0, i32 y = 0) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    plPushSdlEvent(e);
}
