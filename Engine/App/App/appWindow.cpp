#include "Engine/App/App/appWindow.h"

#include "Engine/App/App/appApplication.h"
#include "Engine/App/App/appEventHandler.h"
#include "Engine/App/App/private/appWindowProc.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Window/plWindowHost.h"
#include "Engine/Platform/plServices.h"

namespace {

appWindow* g_window = nullptr;
bool g_useAnsiApi = false;

std::u16string ToUtf16(const envString& text) {
    return text.GetLength() == 0 ? std::u16string() : std::u16string(text.GetData(), text.GetLength());
}

// The host, when it has a window to change; settings made before creation wait for it.
plWindowHost* CreatedHost() {
    plWindowHost* host = plGetServices().window;
    return host && host->HasWindow() ? host : nullptr;
}

} // namespace

appWindow::appWindow() {
    g_window = this;
}

appWindow::~appWindow() {
    if (g_window == this)
        g_window = nullptr;
}

void appWindow::Run(appApplication& application) {
    Create();
    appDispatchStart();
    Loop(application);
    appDispatchStop();
}

void appWindow::Create() {
    // Without a window the loop could never be asked to quit: a failed creation ends the start.
    if (!plGetWindowHost().CreateWindow(m_x, m_y, m_width, m_height, ToUtf16(m_title), m_fullScreen))
        throw envInitX("app");
}

void appWindow::Loop(appApplication& application) {
    plWindowHost& host = plGetWindowHost();
    while (!m_quit) {
        if (!appHandleOneMessage(host) && !appIsSuspended())
            application.Update();
    }
}

void appWindow::SetRect(i32 x, i32 y, i32 width, i32 height) {
    m_x = x;
    m_y = y;
    m_width = width;
    m_height = height;
    if (plWindowHost* host = CreatedHost())
        host->SetWindowRect(x, y, width, height);
}

void appWindow::SetFullScreen(bool fullScreen) {
    m_fullScreen = fullScreen;
    if (plWindowHost* host = CreatedHost())
        host->SetFullScreen(fullScreen);
}

void appWindow::SetTitle(const envString& title) {
    m_title = title;
    m_title.TruncateAtNull();
    if (plWindowHost* host = CreatedHost())
        host->SetWindowTitle(ToUtf16(m_title));
}

void appWindow::SetIcon(i32 width, i32 height, const u8* rgba) {
    if (plWindowHost* host = CreatedHost())
        host->SetWindowIcon(width, height, rgba);
}

void appWindow::BringToFront() {
    plWindowHost* host = CreatedHost();
    if (!host)
        return;
    if (host->IsMinimized())
        host->RestoreWindow();
    host->RaiseWindow();
}

appWindow* appGetWindow() {
    return g_window;
}

bool appIsAnsiOSKind(u32 kind) {
    return kind == 0 || kind == 1 || kind == 4;
}

void appSelectApi() {
    g_useAnsiApi = appIsAnsiOSKind(envGetOSKind());
}

bool appUsesAnsiApi() {
    return g_useAnsiApi;
}

void appPumpMessages() {
    plWindowHost& host = plGetWindowHost();
    while (appHandleOneMessage(host)) {
    }
}

u32 appDisableStickyKeys() {
    return 0;
}
