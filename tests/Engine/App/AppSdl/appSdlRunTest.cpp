#include "Engine/App/App/appRecordingApp.h"
#include "Engine/Platform/Sdl/plSdlTestEvents.h"
#include "Engine/Platform/System/plSystemServices.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// The real platform for one test.
struct appSdlServices : ::testing::Test {
    plSystemServices system;
    void SetUp() override { plInstallServices(system.GetServices()); }
    void TearDown() override { plInstallServices({}); }
    SDL_Window* Window() {
        return static_cast<plSdlWindowHost*>(system.GetServices().window)->GetSdlWindow();
    }
    void PushWindowEvent(Uint8 what) { plPushWindowEvent(what, SDL_GetWindowID(Window())); }
};

using appSdlRun = appSdlServices;
using appXvfb = appSdlServices;

} // namespace

TEST_F(appSdlRun, PushedEventsReachTheApplicationInOrder) {
    appRecordingApp app;
    app.onUpdate = [&](u32 frame) {
        if (frame != 1)
            return;
        plPushKeyDown(SDLK_F5);
        plPushText("\xC3\xA9");
        PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
        PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
        PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    };
    app.Run();
    EXPECT_EQ(app.log, Log({"start", "char E004", "char 00E9", "suspend", "resume", "quit", "stop"}));
    EXPECT_EQ(app.updates, 1u);
}

// Run under Xvfb by its own test: a real OpenGL window, 120 frames, closed by a close event.
TEST_F(appXvfb, ARealWindowRuns120FramesAndCloses) {
    appRecordingApp app;
    app.onUpdate = [&](u32 frame) {
        if (frame == 1) {
            EXPECT_STREQ(SDL_GetCurrentVideoDriver(), "x11");
            EXPECT_NE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_OPENGL, 0u);
        }
        if (frame == 120)
            PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    };
    app.Run();
    EXPECT_EQ(app.updates, 120u);
    EXPECT_EQ(app.log, Log({"start", "quit", "stop"}));
}
