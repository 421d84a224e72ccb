#include "Engine/Platform/Sdl/plSdlWindowHost.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Sdl/plSdlMessageBox.h"
#include "Engine/Platform/Window/plVirtualKeys.h"
#include "plSdlTestEvents.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <vector>

namespace {

// Everything waiting, translated as the loop translates it.
std::vector<plMessage> Drain(plSdlWindowHost& host) {
    std::vector<plMessage> out;
    plMessage m;
    while (host.PeekMessage(m)) {
        host.TranslateMessage(m);
        out.push_back(m);
    }
    return out;
}

struct plSdlWindowHostOpen : ::testing::Test {
    plSdlWindowHost host;
    void SetUp() override { ASSERT_TRUE(host.CreateWindow(20, 30, 320, 200, u"Test \u00E9", false)); }
};

} // namespace

TEST(plSdlWindowHost, WithoutAWindowNothingArrivesAndWaitingFails) {
    plSdlWindowHost host;
    plMessage m;
    EXPECT_FALSE(host.HasWindow());
    EXPECT_FALSE(host.PeekMessage(m));
    EXPECT_EQ(host.GetMessage(m), -1);
}

// The window stays hidden while the start may show its boxes (which then stand alone), and shows once
// the display starts in it.
TEST_F(plSdlWindowHostOpen, TheWindowShowsOnlyWhenTheDisplayStarts) {
    EXPECT_FALSE(host.IsShown());
    host.SetFullScreen(false);
    EXPECT_TRUE(host.IsShown());
    EXPECT_FALSE(host.IsFullScreen());
}

TEST_F(plSdlWindowHostOpen, KeysBecomeKeyDownsWithTheirControlCharacters) {
    EXPECT_STREQ(SDL_GetWindowTitle(host.GetSdlWindow()), "Test \xC3\xA9");
    Drain(host); // whatever the driver sent about the new window
    plPushKeyDown(SDLK_F5);
    plPushKeyDown(SDLK_BACKSPACE, KMOD_NONE, true);
    plPushKeyDown(SDLK_KP_ENTER);
    plPushKeyDown(SDLK_c, KMOD_LCTRL);
    const auto m = Drain(host);
    ASSERT_EQ(m.size(), 7u);
    EXPECT_EQ(m[0].kind, plMessageKind::KeyDown);
    EXPECT_EQ(m[0].value, 116u);
    EXPECT_EQ(m[1].value, plVk::Back);
    EXPECT_TRUE(m[1].repeat);
    EXPECT_EQ(m[2].kind, plMessageKind::Char);
    EXPECT_EQ(m[2].value, 0x08u);
    EXPECT_EQ(m[3].value, plVk::Return);
    EXPECT_EQ(m[4].value, 0x0Du);
    EXPECT_EQ(m[5].value, u32('C'));
    EXPECT_TRUE(m[5].ctrlDown);
    EXPECT_EQ(m[6].kind, plMessageKind::Char);
    EXPECT_EQ(m[6].value, 0x03u);
}

TEST_F(plSdlWindowHostOpen, TextArrivesAsUtf16UnitsExceptAfterASystemKey) {
    Drain(host);
    plPushText("\xC3\xA9\xF0\x9F\x98\x80");
    plPushKeyDown(SDLK_x, KMOD_LALT);
    plPushText("x");
    plPushKeyDown(SDLK_F10);
    plPushKeyDown(SDLK_q, KMOD_LCTRL | KMOD_RALT); // AltGr types
    plPushText("@");
    const auto m = Drain(host);
    ASSERT_EQ(m.size(), 7u);
    EXPECT_EQ(m[0].value, 0xE9u);
    EXPECT_EQ(m[1].value, 0xD83Du);
    EXPECT_EQ(m[2].value, 0xDE00u);
    EXPECT_EQ(m[3].kind, plMessageKind::SysKeyDown);
    EXPECT_EQ(m[3].value, u32('X'));
    EXPECT_TRUE(m[3].altDown);
    EXPECT_EQ(m[4].kind, plMessageKind::SysKeyDown);
    EXPECT_EQ(m[4].value, plVk::F10);
    EXPECT_FALSE(m[4].altDown);
    EXPECT_EQ(m[5].kind, plMessageKind::KeyDown);
    EXPECT_EQ(m[6].kind, plMessageKind::Char);
    EXPECT_EQ(m[6].value, u32('@'));
}

TEST_F(plSdlWindowHostOpen, AltF4ClosesThroughTheDefaultProcedure) {
    Drain(host);
    plPushKeyDown(SDLK_F4, KMOD_LALT);
    plPushKeyDown(SDLK_a);
    plMessage m;
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_TRUE(plIsCloseKey(m));
    host.DefaultProcedure(m);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.kind, plMessageKind::Close);
    ASSERT_TRUE(host.PeekMessage(m));
    EXPECT_EQ(m.value, u32('A'));
}

TEST_F(plSdlWindowHostOpen, MouseFocusAndClose) {
    Drain(host);
    plPushMotion(-4, 9, 0, 0);
    plPushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2);
    plPushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 1, 2);
    plPushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 3, 4);
    plPushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1, 1, 2);
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    plPushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    plPushSdlEvent(SDL_Event{.type = SDL_QUIT});

    const auto m = Drain(host);
    ASSERT_EQ(m.size(), 12u);
    EXPECT_EQ(m[0].kind, plMessageKind::SetCursor);
    EXPECT_EQ(m[1].kind, plMessageKind::MouseMove);
    EXPECT_EQ(m[1].x, -4);
    EXPECT_EQ(m[1].y, 9);
    EXPECT_EQ(m[2].kind, plMessageKind::SetCursor);
    EXPECT_EQ(m[3].kind, plMessageKind::MouseDown);
    EXPECT_EQ(m[3].button, 0);
    EXPECT_EQ(m[5].button, 2);
    EXPECT_EQ(m[7].kind, plMessageKind::MouseUp);
    EXPECT_EQ(m[7].button, 1);
    EXPECT_EQ(m[7].x, 3);
    EXPECT_EQ(m[8].kind, plMessageKind::ActivateApp);
    EXPECT_EQ(m[8].value, 0u);
    EXPECT_EQ(m[9].value, 1u);
    EXPECT_EQ(m[10].kind, plMessageKind::Close);
    EXPECT_EQ(m[11].kind, plMessageKind::Close);

    i32 x = 10;
    i32 y = 20;
    host.ClientToScreen(x, y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 50);
}

TEST_F(plSdlWindowHostOpen, GetMessageWaitsForTheNextMessage) {
    Drain(host);
    plPushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    plMessage m;
    ASSERT_EQ(host.GetMessage(m), 1);
    EXPECT_EQ(m.kind, plMessageKind::ActivateApp);
}

// The keys of the WM_KEYDOWN character table that a keyboard can send: Print, and the left and right
// Control and Alt never arrive (they come as Snapshot, Control and Menu).
TEST_F(plSdlWindowHostOpen, WhichKeyTableEntriesCanArrive) {
    std::set<u32> arriving;
    for (int code = 0; code < SDL_NUM_SCANCODES; ++code) {
        const auto scancode = static_cast<SDL_Scancode>(code);
        arriving.insert(plSdlVirtualKey(SDL_GetKeyFromScancode(scancode), scancode));
    }
    for (u32 vk : {42u, 162u, 163u, 164u, 165u})
        EXPECT_EQ(arriving.count(vk), 0u) << vk;
    for (u32 vk = plVk::F1; vk <= plVk::F12; ++vk)
        EXPECT_EQ(arriving.count(vk), 1u) << vk;
    for (u32 vk : {145u, 19u, 91u, 92u, 45u, 36u, 33u, 46u, 35u, 34u, 38u, 40u, 37u, 39u, 144u})
        EXPECT_EQ(arriving.count(vk), 1u) << vk;
    for (u32 vk : {plVk::Snapshot, plVk::Control, plVk::Menu, plVk::Shift, u32('A'), u32('Z'), u32('0')})
        EXPECT_EQ(arriving.count(vk), 1u) << vk;
}

TEST(plSdlMessageBox, WithoutADisplayTheTextGoesToStderr) {
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    plSdlWindowHost host;
    plFreeTypeFonts fonts;
    plSdlMessageBox box(host, fonts);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(box.Show(u"Disc \u00E9 removed", u"Application can't start", plMb::Ok), plId::Ok);
    // A question that nobody can answer is not answered.
    EXPECT_EQ(box.Show(u"Retry?", u"Q", plMb::OkCancel | plMb::IconQuestion), 0);
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Application can't start: Disc \xC3\xA9 removed\n"), std::string::npos);
    EXPECT_NE(err.find("Q: Retry?\n"), std::string::npos);
}

// Under X, a display connection lost mid-run ends the process at once with its line, instead of through
// exit() and every static destructor in the middle of a frame.
TEST(plXvfbLostDisplay, EndsTheProcessAtOnce) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            plSdlWindowHost window;
            if (window.CreateWindow(0, 0, 64, 48, u"lost", false)) {
                Display* display = XOpenDisplay(nullptr);
                close(ConnectionNumber(display));
                XSync(display, False);
            }
        },
        ::testing::ExitedWithCode(EXIT_FAILURE), "connection to the display was lost");
}

