#include "Engine/App/App/private/appWindowProc.h"

#include "Engine/App/App/appEventHandler.h"
#include "Engine/App/App/appKeyChars.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/Platform/Sound/plSoundDevice.h"
#include "Engine/Platform/Window/plVirtualKeys.h"
#include "Engine/Platform/Window/plWindowHost.h"
#include "Engine/Platform/plServices.h"

#include <algorithm>
#include <iterator>

namespace {

bool g_suspended = false;
bool g_mouseScreenCoords = true;
appCursorHook g_cursorHook = nullptr;

// Keys that type nothing reach text fields and key bindings as private-use characters, the n-th key here
// as appKeyCharFirst + n. Print, the left and right Control and Alt never arrive: those keys come as
// Snapshot, Control and Menu, and Alt only as a system key.
constexpr u32 kKeysTypingNothing[] = {
    plVk::F1,     plVk::F2,       plVk::F3,    plVk::F4,      plVk::F5,    plVk::F6,    plVk::F7,
    plVk::F8,     plVk::F9,       plVk::F10,   plVk::F11,     plVk::F12,   plVk::Print, plVk::Scroll,
    plVk::Pause,  plVk::LControl, plVk::LWin,  plVk::LMenu,   plVk::RMenu, plVk::RWin,  plVk::RControl,
    plVk::Insert, plVk::Home,     plVk::Prior, plVk::Delete,  plVk::End,   plVk::Next,  plVk::Up,
    plVk::Down,   plVk::Left,     plVk::Right, plVk::NumLock,
};
static_assert(std::size(kKeysTypingNothing) == appKeyCharLast - appKeyCharFirst + 1);
static_assert(kKeysTypingNothing[appKeyCharHome - appKeyCharFirst] == plVk::Home &&
              kKeysTypingNothing[appKeyCharRight - appKeyCharFirst] == plVk::Right);

// Client positions become screen positions when the window is set to deliver those.
void ToDeliveredCoords(plWindowHost& host, i32& x, i32& y) {
    if (g_mouseScreenCoords)
        host.ClientToScreen(x, y);
}

i64 Activate(plWindowHost& host, const plMessage& message) {
    // Sound falls silent while another window has the focus, and comes back with it.
    if (plSoundDevice* sound = plGetServices().sound)
        sound->SetApplicationActive(message.value == 1);
    if (message.value == 1) {
        if (g_suspended) {
            g_suspended = false;
            appDispatchResume();
        }
    } else if (!g_suspended) {
        g_suspended = true;
        appDispatchSuspend();
    }
    return host.DefaultProcedure(message);
}

i64 ClientMouse(plWindowHost& host, const plMessage& message) {
    i32 x = message.x;
    i32 y = message.y;
    ToDeliveredCoords(host, x, y);
    if (message.kind == plMessageKind::MouseMove)
        appDispatchMouseMove(x, y);
    else if (message.kind == plMessageKind::MouseDown)
        appDispatchMouseDown(x, y, message.button);
    else
        appDispatchMouseUp(x, y, message.button);
    return host.DefaultProcedure(message);
}

// Messages over the frame carry screen positions; a windowed screen leaves them to the default.
i64 FrameMouse(plWindowHost& host, const plMessage& message) {
    if (!g_mouseScreenCoords)
        return host.DefaultProcedure(message);
    if (message.kind == plMessageKind::NcMouseMove)
        appDispatchMouseMove(message.x, message.y);
    else if (message.kind == plMessageKind::NcMouseDown)
        appDispatchMouseDown(message.x, message.y, message.button);
    else
        appDispatchMouseUp(message.x, message.y, message.button);
    return 0;
}

} // namespace

u16 appKeyDownChar(u32 virtualKey) {
    const auto* found = std::find(std::begin(kKeysTypingNothing), std::end(kKeysTypingNothing), virtualKey);
    return found == std::end(kKeysTypingNothing)
               ? 0
               : static_cast<u16>(appKeyCharFirst + (found - std::begin(kKeysTypingNothing)));
}

i64 appWindowProc(plWindowHost& host, const plMessage& message) {
    switch (message.kind) {
    case plMessageKind::Close:
        // The window stays: only a handler's RequestQuit ends the loop.
        appDispatchQuitRequest();
        return 0;
    case plMessageKind::ActivateApp:
        return Activate(host, message);
    case plMessageKind::EndSession:
        if (appWindow* window = appGetWindow())
            window->RequestEndSession();
        return 0;
    case plMessageKind::SetCursor:
        if (g_cursorHook)
            g_cursorHook();
        return 1;
    case plMessageKind::MouseMove:
    case plMessageKind::MouseDown:
    case plMessageKind::MouseUp:
        return ClientMouse(host, message);
    case plMessageKind::NcMouseMove:
    case plMessageKind::NcMouseDown:
    case plMessageKind::NcMouseUp:
        return FrameMouse(host, message);
    case plMessageKind::KeyDown:
        if (const u16 character = appKeyDownChar(message.value))
            appDispatchChar(character);
        return host.DefaultProcedure(message);
    case plMessageKind::Char:
        appDispatchChar(static_cast<u16>(message.value));
        return host.DefaultProcedure(message);
    case plMessageKind::SysKeyDown:
        // Alt+F4 goes on to become a close; every other system key is swallowed.
        if (message.value == plVk::F4 && message.altDown)
            return host.DefaultProcedure(message);
        return 0;
    }
    return host.DefaultProcedure(message);
}

bool appHandleOneMessage(plWindowHost& host) {
    plMessage message;
    const bool taken = appIsSuspended() ? host.GetMessage(message) > 0 : host.PeekMessage(message);
    if (taken) {
        host.TranslateMessage(message);
        appWindowProc(host, message);
    }
    return taken;
}

bool appIsSuspended() {
    // An ending session runs frames even without the focus, so that the game can leave.
    return g_suspended && !appIsEndingSession();
}

bool appIsEndingSession() {
    const appWindow* window = appGetWindow();
    return window && window->IsEndingSession();
}

void appSetMouseScreenCoords(bool screen) {
    g_mouseScreenCoords = screen;
}

void appSetCursorHook(appCursorHook hook) {
    g_cursorHook = hook;
}
