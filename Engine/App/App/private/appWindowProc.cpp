#include "Engine/App/App/private/appWindowProc.h"

#include "Engine/App/App/appEventHandler.h"
#include "Engine/App/App/appWindow.h"
#include "Engine/Platform/Sound/plSoundDevice.h"
#include "Engine/Platform/Window/plVirtualKeys.h"
#include "Engine/Platform/Window/plWindowHost.h"
#include "Engine/Platform/plServices.h"

namespace {

bool g_suspended = false;
bool g_mouseScreenCoords = true;
appCursorHook g_cursorHook = nullptr;

struct KeyChar {
    u32 virtualKey;
    u16 character;
};

// Keys that type nothing reach text fields and key bindings as private-use characters. Print (42),
// the left and right Control (162, 163) and Alt (164, 165) never arrive: those keys come as
// Snapshot (44), Control (17) and Menu (18), and Alt only as a system key.
constexpr KeyChar kKeyChars[] = {
    {112, 0xE000}, {113, 0xE001}, {114, 0xE002}, {115, 0xE003}, {116, 0xE004}, {117, 0xE005}, {118, 0xE006},
    {119, 0xE007}, {120, 0xE008}, {121, 0xE009}, {122, 0xE00A}, {123, 0xE00B}, {42, 0xE00C},  {145, 0xE00D},
    {19, 0xE00E},  {162, 0xE00F}, {91, 0xE010},  {164, 0xE011}, {165, 0xE012}, {92, 0xE013},  {163, 0xE014},
    {45, 0xE015},  {36, 0xE016},  {33, 0xE017},  {46, 0xE018},  {35, 0xE019},  {34, 0xE01A},  {38, 0xE01B},
    {40, 0xE01C},  {37, 0xE01D},  {39, 0xE01E},  {144, 0xE01F},
};

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
    for (const KeyChar& entry : kKeyChars)
        if (entry.virtualKey == virtualKey)
            return entry.character;
    return 0;
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
