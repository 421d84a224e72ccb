#include "Engine/App/App/appRecordingApp.h"
#include "Engine/App/App/appTestServices.h"
#include "Engine/App/App/private/appWindowProc.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/Window/plVirtualKeys.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Log = std::vector<std::string>;

// Here the application is its own mouse handler too.
struct TestApp : appRecordingApp, appMouseEventHandler {
    void Mouse(const char* what, const appMouseEvent* e, i32 button) {
        log.push_back(std::string(what) + " " + std::to_string(e->GetX()) + "," + std::to_string(e->GetY()) +
                      (button >= 0 ? " " + std::to_string(button) : ""));
    }
    void OnMouseUp(appMouseUpEvent* e) override { Mouse("up", e, e->GetButton()); }
    void OnMouseDown(appMouseDownEvent* e) override { Mouse("down", e, e->GetButton()); }
    void OnMouseMove(appMouseMoveEvent* e) override { Mouse("move", e, -1); }
};

plMessage Msg(plMessageKind kind, u32 value = 0, bool alt = false) {
    return {.kind = kind, .value = value, .altDown = alt};
}

plMessage MouseMsg(plMessageKind kind, i32 x, i32 y, i32 button = 0) {
    return {.kind = kind, .x = x, .y = y, .button = button};
}

using Frames = std::vector<std::vector<plMessage>>;

struct appWindowTest : appTestServices {
    void TearDown() override {
        appSetMouseScreenCoords(true);
        appTestServices::TearDown();
    }

    // Runs the loop with each frame's messages injected in that frame's Update, then asks to quit.
    void RunFrames(TestApp& app, const Frames& frames) {
        app.onUpdate = [&](u32 frame) {
            if (frame > frames.size())
                app.RequestQuit();
            else
                for (const plMessage& m : frames[frame - 1])
                    window.Inject(m);
        };
        app.Run();
    }
};

} // namespace

// Settings made before the window exists wait for it, full screen included (the window is made so); a quit
// already requested runs no Update; frames run until a quit request.
TEST_F(appWindowTest, RunCreatesTheWindowAndFramesRunUntilQuit) {
    {
        TestApp app;
        ASSERT_EQ(appGetWindow(), &app.GetWindow());
        app.SetTitle(u"Park \u00E9");
        app.GetWindow().SetRect(-1920, 40, 320, 240);
        app.GetWindow().SetFullScreen(true);
        app.RequestQuit();
        app.Run();
        EXPECT_EQ(app.updates, 0u);
        EXPECT_EQ(app.log, Log({"start", "stop"}));
        EXPECT_EQ(window.GetTitle(), u"Park \u00E9");
        EXPECT_EQ(window.GetX(), -1920);
        EXPECT_TRUE(window.IsFullScreen());
    }
    EXPECT_EQ(appGetWindow(), nullptr);
    TestApp app;
    const u8 pixels[2 * 2 * 4] = {};
    app.onUpdate = [&](u32 frame) {
        app.GetWindow().SetIcon(2, 2, pixels);
        if (frame == 3)
            app.RequestQuit();
    };
    app.Run();
    EXPECT_EQ(app.updates, 3u);
    EXPECT_EQ(window.GetIconWidth(), 2);
    EXPECT_FALSE(window.IsFullScreen());
}

TEST_F(appWindowTest, AFailedWindowCreationThrowsTheInitException) {
    TestApp app;
    window.SetCreateFails(true);
    try {
        app.Run();
        FAIL() << "no exception";
    } catch (const envInitX& e) {
        EXPECT_EQ(e.GetCode(), 0xE0110002u);
    }
    EXPECT_TRUE(app.log.empty());
    EXPECT_EQ(app.updates, 0u);
}

// No Update while suspended, two deactivations suspend once; a failed wait (which leaves a Close in
// its record) is no message.
TEST_F(appWindowTest, NoUpdateWhileSuspendedAndAFailedWaitIsNoMessage) {
    for (u32 failedWaits : {0u, 3u}) {
        SCOPED_TRACE(failedWaits);
        TestApp app;
        window.FailNextGets(failedWaits);
        window.SetWaitHandler([&] { window.Inject(Msg(plMessageKind::ActivateApp, 1)); });
        RunFrames(app, {{Msg(plMessageKind::ActivateApp, 0), Msg(plMessageKind::ActivateApp, 0)}});
        EXPECT_EQ(app.log, Log({"start", "suspend", "resume", "stop"}));
        EXPECT_EQ(app.updates, 2u);
    }
    EXPECT_EQ(window.GetWaitCount(), 2u);
    // An activation while active resumes nothing.
    TestApp app;
    EXPECT_EQ(appWindowProc(window, Msg(plMessageKind::ActivateApp, 1)), 0);
    EXPECT_TRUE(app.log.empty());
}

// The system's end of the session is no quit question, and frames run again even without the focus, so
// that the application can leave by itself.
TEST_F(appWindowTest, AnEndedSessionRunsFramesWithoutAsking) {
    TestApp app;
    app.onUpdate = [&](u32 frame) {
        if (frame == 1) {
            window.Inject(Msg(plMessageKind::ActivateApp, 0));
            window.Inject(Msg(plMessageKind::EndSession));
        } else if (frame == 2) {
            EXPECT_TRUE(appIsEndingSession());
            window.Inject(Msg(plMessageKind::ActivateApp, 1));
        } else {
            app.RequestQuit();
        }
    };
    app.Run();
    EXPECT_EQ(app.log, Log({"start", "suspend", "resume", "stop"}));
    EXPECT_EQ(app.updates, 3u);
}

TEST_F(appWindowTest, KeysAndClosesReachTheHandlers) {
    struct Case {
        const char* name;
        Frames frames;
        Log log;
    };
    const Case cases[] = {
        {"Alt+F4 asks to quit; F10, Alt+X, Alt and F4 alone do nothing",
         {{Msg(plMessageKind::SysKeyDown, plVk::F10), Msg(plMessageKind::SysKeyDown, 'X', true),
           Msg(plMessageKind::SysKeyDown, plVk::Menu, true), Msg(plMessageKind::SysKeyDown, plVk::F4)},
          {Msg(plMessageKind::SysKeyDown, plVk::F4, true)}},
         {"start", "quit", "stop"}},
        {"a close only asks to quit", {{Msg(plMessageKind::Close)}}, {"start", "quit", "stop"}},
        {"keys without characters type private-use ones",
         {{Msg(plMessageKind::KeyDown, plVk::F1 + 4), Msg(plMessageKind::KeyDown, plVk::Home),
           Msg(plMessageKind::KeyDown, plVk::Back), Msg(plMessageKind::KeyDown, 'A'),
           Msg(plMessageKind::Char, 0xD83D)}},
         {"start", "char E004", "char E016", "char 0008", "char D83D", "stop"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp app;
        app.obeyQuitRequest = false; // every request is logged, and only the script ends the loop
        RunFrames(app, c.frames);
        EXPECT_EQ(app.log, c.log);
    }
}

TEST_F(appWindowTest, MousePositionsInScreenAndClientCoordinates) {
    TestApp app;
    app.GetWindow().SetRect(100, 200, 640, 480);
    app.onUpdate = [&](u32 frame) {
        if (frame == 1) {
            window.Inject(MouseMsg(plMessageKind::MouseDown, 10, 20, 0));
            window.Inject(MouseMsg(plMessageKind::MouseMove, -130, -5));
            window.Inject(MouseMsg(plMessageKind::NcMouseDown, 500, 600, 1));
        } else if (frame == 2) {
            // A window left of the primary screen: negative positions stay negative.
            app.GetWindow().SetRect(-1920, -40, 640, 480);
            window.Inject(MouseMsg(plMessageKind::MouseMove, 5, -3));
        } else if (frame == 3) {
            appSetMouseScreenCoords(false);
            window.Inject(MouseMsg(plMessageKind::MouseUp, 10, 20, 2));
            window.Inject(MouseMsg(plMessageKind::NcMouseMove, 1, 1));
            window.Inject(MouseMsg(plMessageKind::NcMouseUp, 1, 1, 0));
        } else {
            app.RequestQuit();
        }
    };
    app.Run();
    EXPECT_EQ(app.log, Log({"start", "down 110,220 0", "move -30,195", "down 500,600 1", "move -1915,-43",
                            "up 10,20 2", "stop"}));
}

TEST_F(appWindowTest, PumpMessagesWaitsOutASuspension) {
    TestApp app;
    // Started, whatever ran before in this process: the suspension and the resume reach the application.
    appDispatchStart();
    window.CreateWindow(0, 0, 640, 480, u"", false);
    window.Inject(Msg(plMessageKind::ActivateApp, 0));
    window.Inject(Msg(plMessageKind::Char, 'x'));
    window.SetWaitHandler([&] {
        window.Inject(Msg(plMessageKind::ActivateApp, 1));
        window.Inject(Msg(plMessageKind::Char, 'y'));
    });
    app.PumpMessages();
    EXPECT_FALSE(appIsSuspended());
    EXPECT_EQ(window.GetWaitCount(), 1u);
    EXPECT_EQ(window.GetQueueSize(), 0u);
    EXPECT_EQ(app.log, Log({"start", "suspend", "char 0078", "resume", "char 0079"}));
}

TEST_F(appWindowTest, AHandlerExceptionLeavesTheLoop) {
    struct Throwing : appCharEventHandler {
        void OnChar(appCharEvent*) override { throw std::runtime_error("text field failed"); }
    } throwing;
    throwing.SetPriority(1);
    TestApp app;
    app.onUpdate = [&](u32) { window.Inject(Msg(plMessageKind::Char, 'a')); };
    EXPECT_THROW(app.Run(), std::runtime_error);
    EXPECT_EQ(app.log, Log({"start"}));
}

// The table is kept literal, entries that can never arrive included (VK_CONTROL, VK_MENU, ...).
TEST(appWindow, KeyDownTableIsLiteral) {
    for (u32 vk = 112; vk <= 123; ++vk)
        EXPECT_EQ(appKeyDownChar(vk), 0xE000 + (vk - 112));
    const std::pair<u32, u16> rest[] = {
        {42, 0xE00C}, {145, 0xE00D}, {19, 0xE00E}, {162, 0xE00F}, {91, 0xE010}, {164, 0xE011}, {165, 0xE012},
        {92, 0xE013}, {163, 0xE014}, {45, 0xE015}, {36, 0xE016},  {33, 0xE017}, {46, 0xE018},  {35, 0xE019},
        {34, 0xE01A}, {38, 0xE01B},  {40, 0xE01C}, {37, 0xE01D},  {39, 0xE01E}, {144, 0xE01F},
    };
    for (const auto& [vk, c] : rest)
        EXPECT_EQ(appKeyDownChar(vk), c) << vk;
    for (u32 vk : {0u, 8u, 13u, 17u, 18u, 44u, 65u, 124u, 255u})
        EXPECT_EQ(appKeyDownChar(vk), 0) << vk;
}

TEST(appWindow, TheWideBranchIsChosenAndStickyKeysAreLeftAlone) {
    envInit();
    appSelectApi();
    EXPECT_FALSE(appUsesAnsiApi());
    envShutdown();
    EXPECT_EQ(appDisableStickyKeys(), 0u);
}

TEST_F(appWindowTest, SoundFallsSilentWhileTheWindowIsInactive) {
    plTestSoundDevice sound;
    plInstallServices({&time, &window, &messageBox, &sound});
    ASSERT_EQ(sound.Open(), plSoundResult::Ok);
    ASSERT_EQ(sound.CreatePrimaryBuffer(), plSoundResult::Ok);
    ASSERT_EQ(sound.PlayPrimary(), plSoundResult::Ok);
    plSoundBufferDesc desc;
    desc.bufferBytes = 2000;
    desc.format = {1, 1, 22050, 44100, 2, 16};
    std::unique_ptr<plSoundBuffer> buffer;
    ASSERT_EQ(sound.CreateBuffer(desc, buffer), plSoundResult::Ok);
    void *first = nullptr, *second = nullptr;
    u32 firstBytes = 0, secondBytes = 0;
    ASSERT_EQ(buffer->Lock(0, desc.bufferBytes, first, firstBytes, second, secondBytes), plSoundResult::Ok);
    std::fill_n(static_cast<i16*>(first), firstBytes / 2, i16{8000});
    ASSERT_EQ(buffer->Unlock(first, firstBytes, second, secondBytes), plSoundResult::Ok);
    ASSERT_EQ(buffer->Play(plSoundPlayLooping), plSoundResult::Ok);

    const auto loudest = [&] {
        sound.ClearOutput();
        sound.Render(256);
        i32 peak = 0;
        for (i16 s : sound.GetOutput())
            peak = std::max(peak, std::abs(static_cast<i32>(s)));
        return peak;
    };
    EXPECT_GT(loudest(), 1000);
    appWindowProc(window, Msg(plMessageKind::ActivateApp, 0));
    EXPECT_EQ(loudest(), 0);
    appWindowProc(window, Msg(plMessageKind::ActivateApp, 1));
    EXPECT_GT(loudest(), 1000);
}
