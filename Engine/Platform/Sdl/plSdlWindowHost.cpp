#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/Platform/Os/plInstanceGuard.h"
#include "Engine/Platform/Sdl/plDisplayLibraries.h"
#include "Engine/Platform/Sdl/plEndSession.h"
#include "Engine/Platform/Sdl/plLostDisplay.h"
#include "Engine/Platform/Sdl/plSdlInputSource.h"
#include "Engine/Platform/Window/plVirtualKeys.h"
#include "Engine/Platform/plServices.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace {

// How long one wait lasts before it looks again; the wait itself ends only with a message.
constexpr Uint32 kWaitSliceMs = 100;

u32 VirtualKeyOfKeycode(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z)
        return 'A' + static_cast<u32>(key - SDLK_a);
    if (key >= SDLK_0 && key <= SDLK_9)
        return '0' + static_cast<u32>(key - SDLK_0);
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return plVk::F1 + static_cast<u32>(key - SDLK_F1);
    if (key >= SDLK_F13 && key <= SDLK_F24)
        return plVk::F1 + 12 + static_cast<u32>(key - SDLK_F13);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_9)
        return plVk::Numpad0 + 1 + static_cast<u32>(key - SDLK_KP_1);
    switch (key) {
    case SDLK_BACKSPACE:
        return plVk::Back;
    case SDLK_TAB:
        return plVk::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return plVk::Return;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return plVk::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return plVk::Control;
    case SDLK_LALT:
    case SDLK_RALT:
        return plVk::Menu;
    case SDLK_PAUSE:
        return plVk::Pause;
    case SDLK_CAPSLOCK:
        return plVk::Capital;
    case SDLK_ESCAPE:
        return plVk::Escape;
    case SDLK_SPACE:
        return plVk::Space;
    case SDLK_PAGEUP:
        return plVk::Prior;
    case SDLK_PAGEDOWN:
        return plVk::Next;
    case SDLK_END:
        return plVk::End;
    case SDLK_HOME:
        return plVk::Home;
    case SDLK_LEFT:
        return plVk::Left;
    case SDLK_UP:
        return plVk::Up;
    case SDLK_RIGHT:
        return plVk::Right;
    case SDLK_DOWN:
        return plVk::Down;
    case SDLK_PRINTSCREEN:
        return plVk::Snapshot;
    case SDLK_INSERT:
        return plVk::Insert;
    case SDLK_DELETE:
        return plVk::Delete;
    case SDLK_LGUI:
        return plVk::LWin;
    case SDLK_RGUI:
        return plVk::RWin;
    case SDLK_APPLICATION:
        return plVk::Apps;
    case SDLK_KP_0:
        return plVk::Numpad0;
    case SDLK_KP_MULTIPLY:
        return plVk::Multiply;
    case SDLK_KP_PLUS:
        return plVk::Add;
    case SDLK_KP_MINUS:
        return plVk::Subtract;
    case SDLK_KP_PERIOD:
        return plVk::Decimal;
    case SDLK_KP_DIVIDE:
        return plVk::Divide;
    case SDLK_NUMLOCKCLEAR:
        return plVk::NumLock;
    case SDLK_SCROLLLOCK:
        return plVk::Scroll;
    case SDLK_SEMICOLON:
        return plVk::Oem1;
    case SDLK_EQUALS:
        return plVk::OemPlus;
    case SDLK_COMMA:
        return plVk::OemComma;
    case SDLK_MINUS:
        return plVk::OemMinus;
    case SDLK_PERIOD:
        return plVk::OemPeriod;
    case SDLK_SLASH:
        return plVk::Oem2;
    case SDLK_BACKQUOTE:
        return plVk::Oem3;
    case SDLK_LEFTBRACKET:
        return plVk::Oem4;
    case SDLK_BACKSLASH:
        return plVk::Oem5;
    case SDLK_RIGHTBRACKET:
        return plVk::Oem6;
    case SDLK_QUOTE:
        return plVk::Oem7;
    default:
        return 0;
    }
}

u32 VirtualKeyOfScancode(SDL_Scancode code) {
    if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z)
        return 'A' + static_cast<u32>(code - SDL_SCANCODE_A);
    if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9)
        return '1' + static_cast<u32>(code - SDL_SCANCODE_1);
    if (code == SDL_SCANCODE_0)
        return '0';
    return 0;
}

plMessage Message(plMessageKind kind, u32 value = 0) {
    plMessage message;
    message.kind = kind;
    message.value = value;
    return message;
}

} // namespace

u32 plSdlVirtualKey(i32 keycode, i32 scancode) {
    const u32 vk = VirtualKeyOfKeycode(keycode);
    return vk != 0 ? vk : VirtualKeyOfScancode(static_cast<SDL_Scancode>(scancode));
}

plSdlWindowHost::~plSdlWindowHost() {
    if (m_window)
        SDL_DestroyWindow(m_window);
    if (m_videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    // The last SDL user releases SDL's own state too (hints, its desktop-bus connection).
    if (m_videoStarted && SDL_WasInit(SDL_INIT_EVERYTHING) == 0)
        SDL_Quit();
}

bool plSdlWindowHost::CreateWindow(i32 x, i32 y, i32 width, i32 height, const std::u16string& title,
                                   bool fullScreen) {
    if (!m_videoStarted) {
        // A window close is a message for the application to judge, not a quit of its own.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            DBG_WARNING("SDL video cannot start: %s", SDL_GetError());
            return false;
        }
        m_videoStarted = true;
        if (const char* driver = SDL_GetCurrentVideoDriver(); driver && std::strcmp(driver, "x11") == 0)
            plEndProcessOnLostDisplay();
    }
    if (m_window) {
        SDL_DestroyWindow(m_window);
        m_window = nullptr;
    }
    // The renderer draws into the window with OpenGL; the headless dummy driver has none to offer.
    const char* driver = SDL_GetCurrentVideoDriver();
    const Uint32 flags = driver && std::strcmp(driver, "dummy") == 0 ? 0 : SDL_WINDOW_OPENGL;
    if (flags & SDL_WINDOW_OPENGL) {
        plPrepareGlMemory();
        // The device may draw into the window's own buffers, with the depth it gives its own.
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    }
    // Made full screen, the window is the display's size at its corner before it is first shown: where no
    // window manager answers a later request for full screen, it would stay the size it was made.
    SDL_Rect rect{x, y, width, height};
    if (fullScreen)
        SDL_GetDisplayBounds(0, &rect);
    const Uint32 screen = fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0;
    m_window = SDL_CreateWindow(envUtf16ToUtf8(title).c_str(), rect.x, rect.y, rect.w, rect.h,
                                flags | screen | SDL_WINDOW_HIDDEN);
    if (!m_window) {
        DBG_WARNING("SDL window cannot be created: %s", SDL_GetError());
        return false;
    }
    if (flags & SDL_WINDOW_OPENGL)
        plPinGlLibraries();
    return true;
}

void plSdlWindowHost::ShowWindow() {
    if (!m_window || IsShown())
        return;
    SDL_ShowWindow(m_window);
    SDL_RaiseWindow(m_window);
}

bool plSdlWindowHost::IsShown() const {
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_SHOWN) != 0;
}

void plSdlWindowHost::SetWindowRect(i32 x, i32 y, i32 width, i32 height) {
    if (!m_window)
        return;
    SDL_SetWindowPosition(m_window, x, y);
    SDL_SetWindowSize(m_window, width, height);
}

void plSdlWindowHost::SetWindowTitle(const std::u16string& title) {
    if (m_window)
        SDL_SetWindowTitle(m_window, envUtf16ToUtf8(title).c_str());
}

void plSdlWindowHost::SetFullScreen(bool fullScreen) {
    if (m_window && SDL_SetWindowFullscreen(m_window, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        DBG_WARNING("The window cannot change to %s: %s", fullScreen ? "full screen" : "a window",
                    SDL_GetError());
    ShowWindow(); // the display has started
}

bool plSdlWindowHost::IsFullScreen() const {
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_FULLSCREEN) != 0;
}

void plSdlWindowHost::ClientToScreen(i32& x, i32& y) {
    if (!m_window)
        return;
    int left = 0;
    int top = 0;
    SDL_GetWindowPosition(m_window, &left, &top);
    x += left;
    y += top;
}

bool plSdlWindowHost::IsMinimized() const {
    return m_window && (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED) != 0;
}

void plSdlWindowHost::RestoreWindow() {
    if (m_window)
        SDL_RestoreWindow(m_window);
}

void plSdlWindowHost::RaiseWindow() {
    if (m_window)
        SDL_RaiseWindow(m_window);
}

bool plSdlWindowHost::TakeQueued(plMessage& message) {
    if (!m_endSessionSent && plEndSessionSignalled()) {
        m_endSessionSent = true;
        m_queue.push_front(Message(plMessageKind::EndSession));
    }
    if (m_queue.empty())
        return false;
    message = m_queue.front();
    m_queue.pop_front();
    return true;
}

void plSdlWindowHost::ServeRaiseRequest() {
    plInstanceGuard* guard = plGetServices().instanceGuard;
    if (m_window && guard && guard->TakeRaiseRequest()) {
        SDL_RestoreWindow(m_window);
        SDL_RaiseWindow(m_window);
    }
}

bool plSdlWindowHost::PeekMessage(plMessage& message) {
    if (!m_videoStarted)
        return false;
    ServeRaiseRequest();
    SDL_Event event;
    while (m_queue.empty() && SDL_PollEvent(&event))
        Translate(event);
    return TakeQueued(message);
}

i32 plSdlWindowHost::GetMessage(plMessage& message) {
    if (!m_window)
        return -1;
    SDL_Event event;
    while (!TakeQueued(message)) {
        ServeRaiseRequest();
        if (SDL_WaitEventTimeout(&event, kWaitSliceMs))
            Translate(event);
    }
    return 1;
}

void plSdlWindowHost::TranslateMessage(const plMessage& message) {
    plMessage character;
    if (plTranslateKeyToChar(message, character))
        m_queue.push_front(character);
}

i64 plSdlWindowHost::DefaultProcedure(const plMessage& message) {
    // The close that Alt+F4 sends comes before anything already waiting, as a sent message does.
    if (plIsCloseKey(message))
        m_queue.push_front(Message(plMessageKind::Close));
    return 0;
}

void plSdlWindowHost::Translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        m_queue.push_back(Message(plMessageKind::Close));
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE)
            m_queue.push_back(Message(plMessageKind::Close));
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)
            m_queue.push_back(Message(plMessageKind::ActivateApp, 1));
        else if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
            m_queue.push_back(Message(plMessageKind::ActivateApp, 0));
        else if (event.window.event == SDL_WINDOWEVENT_EXPOSED && m_repaint)
            m_repaint();
        break;
    case SDL_MOUSEMOTION:
        PushMouse(plMessageKind::MouseMove, event.motion.x, event.motion.y, 0);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        // The window's messages know the left, right and middle buttons only.
        if (const i32 button = plSdlMouseButton(event.button.button); button >= 0 && button <= 2) {
            const auto kind =
                event.type == SDL_MOUSEBUTTONDOWN ? plMessageKind::MouseDown : plMessageKind::MouseUp;
            PushMouse(kind, event.button.x, event.button.y, button);
        }
        break;
    case SDL_KEYDOWN:
        TranslateKey(event);
        break;
    case SDL_TEXTINPUT:
        TranslateText(event);
        break;
    default:
        break;
    }
}

void plSdlWindowHost::SetWindowIcon(i32 width, i32 height, const u8* rgba) {
    if (!m_window || width <= 0 || height <= 0)
        return;
    // SDL copies the pixels into the window's icon; the surface only borrows them meanwhile.
    SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<u8*>(rgba), width, height, 32,
                                                           width * 4, SDL_PIXELFORMAT_RGBA32);
    if (!icon)
        return;
    SDL_SetWindowIcon(m_window, icon);
    SDL_FreeSurface(icon);
}

void plSdlWindowHost::InjectInput(const plInjectedInput& input) {
    if (!m_window)
        return;
    SDL_Event event{};
    const Uint32 window = SDL_GetWindowID(m_window);
    switch (input.kind) {
    case plInjectedInput::Kind::Focus:
    case plInjectedInput::Kind::Close:
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = window;
        event.window.event =
            input.kind == plInjectedInput::Kind::Focus ? SDL_WINDOWEVENT_FOCUS_GAINED : SDL_WINDOWEVENT_CLOSE;
        break;
    case plInjectedInput::Kind::MouseButton: {
        static constexpr Uint8 kButtons[] = {SDL_BUTTON_LEFT, SDL_BUTTON_RIGHT, SDL_BUTTON_MIDDLE};
        if (input.button < 0 || input.button > 2)
            return;
        event.type = input.down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.windowID = window;
        event.button.button = kButtons[input.button];
        event.button.state = input.down ? SDL_PRESSED : SDL_RELEASED;
        event.button.clicks = 1;
        SDL_GetMouseState(&event.button.x, &event.button.y);
        break;
    }
    case plInjectedInput::Kind::MouseMotion:
        event.type = SDL_MOUSEMOTION;
        event.motion.windowID = window;
        event.motion.xrel = input.dx;
        event.motion.yrel = input.dy;
        SDL_GetMouseState(&event.motion.x, &event.motion.y);
        break;
    case plInjectedInput::Kind::Key: {
        const auto scancode = static_cast<SDL_Scancode>(plSdlDikToScancode(input.scanCode));
        if (scancode == SDL_SCANCODE_UNKNOWN)
            return;
        event.type = input.down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = window;
        event.key.state = input.down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.scancode = scancode;
        event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
        break;
    }
    case plInjectedInput::Kind::Text:
        // One event per character, so any length fits the event's small buffer.
        for (size_t at = 0; at < input.text.size();) {
            size_t length = 1;
            while (at + length < input.text.size() &&
                   (static_cast<u8>(input.text[at + length]) & 0xC0) == 0x80)
                ++length;
            SDL_Event text{};
            text.type = SDL_TEXTINPUT;
            text.text.windowID = window;
            std::memcpy(text.text.text, input.text.data() + at, std::min(length, sizeof text.text.text - 1));
            SDL_PushEvent(&text);
            at += length;
        }
        return;
    }
    SDL_PushEvent(&event);
}

void plSdlWindowHost::PushMouse(plMessageKind kind, i32 x, i32 y, i32 button) {
    // Every mouse message over the window is preceded by the question for its pointer image.
    m_queue.push_back(Message(plMessageKind::SetCursor));
    plMessage message = Message(kind);
    message.x = x;
    message.y = y;
    message.button = button;
    m_queue.push_back(message);
}

void plSdlWindowHost::TranslateKey(const SDL_Event& event) {
    const SDL_Keysym& key = event.key.keysym;
    const u32 vk = plSdlVirtualKey(key.sym, key.scancode);
    if (vk == 0)
        return;
    const bool alt = (key.mod & KMOD_ALT) != 0 || vk == plVk::Menu;
    const bool ctrl = (key.mod & KMOD_CTRL) != 0;
    // Alt combinations, Alt itself and F10 are system keys; Alt with Control is AltGr, which types.
    m_systemKeyDown = vk == plVk::F10 || vk == plVk::Menu || (alt && !ctrl);
    plMessage message = Message(m_systemKeyDown ? plMessageKind::SysKeyDown : plMessageKind::KeyDown, vk);
    message.repeat = event.key.repeat != 0;
    message.altDown = alt;
    message.ctrlDown = ctrl;
    m_queue.push_back(message);
}

void plSdlWindowHost::TranslateText(const SDL_Event& event) {
    if (m_systemKeyDown)
        return;
    for (const char16_t unit : envUtf8ToUtf16(event.text.text))
        m_queue.push_back(Message(plMessageKind::Char, unit));
}
