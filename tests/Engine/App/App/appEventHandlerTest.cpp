#include "Engine/App/App/appEventHandler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> g_calls;

struct Flow : appFlowEventHandler {
    std::string name;
    std::function<void(appEvent*)> action;
    explicit Flow(std::string n, i32 priority = 0) : name(std::move(n)) { SetPriority(priority); }
    void Record(const char* what, appEvent* e) {
        g_calls.push_back(name + ":" + what);
        if (action)
            action(e);
    }
    void OnStart(appStartEvent* e) override { Record("start", e); }
    void OnStop(appStopEvent* e) override { Record("stop", e); }
    void OnSuspend(appSuspendEvent* e) override { Record("suspend", e); }
    void OnResume(appResumeEvent* e) override { Record("resume", e); }
    void OnQuitRequest(appQuitRequestEvent* e) override { Record("quit", e); }
};

struct Mouse : appMouseEventHandler {
    void OnMouseUp(appMouseUpEvent* e) override {
        g_calls.push_back("up " + std::to_string(e->GetX()) + "," + std::to_string(e->GetY()) + " " +
                          std::to_string(e->GetButton()));
    }
    void OnMouseDown(appMouseDownEvent* e) override {
        g_calls.push_back("down " + std::to_string(e->GetButton()));
    }
    void OnMouseMove(appMouseMoveEvent* e) override {
        g_calls.push_back("move " + std::to_string(e->GetX()));
    }
};

struct Chars : appCharEventHandler {
    void OnChar(appCharEvent* e) override { g_calls.push_back("char " + std::to_string(e->GetChar())); }
};

} // namespace

// Runs in its own process, as every test does: nothing has started yet.
TEST(appEventHandler, EventsBeforeStartAreDroppedAndStopIsNotGated) {
    g_calls.clear();
    appDispatchSuspend(); // nobody registered: nothing at all happens
    Flow a("a");
    appDispatchSuspend();
    appDispatchResume();
    appDispatchQuitRequest();
    appDispatchStop();
    EXPECT_EQ(g_calls, std::vector<std::string>({"a:stop"}));
    appDispatchStart();
    appDispatchSuspend();
    appDispatchResume();
    appDispatchQuitRequest();
    appDispatchStop();
    appDispatchSuspend(); // stop does not end the started state
    EXPECT_EQ(g_calls, std::vector<std::string>(
                           {"a:stop", "a:start", "a:suspend", "a:resume", "a:quit", "a:stop", "a:suspend"}));
}

TEST(appEventHandler, PriorityOrderAndHandledEndTheWalk) {
    appDispatchStart();
    Flow low("low", -5);
    Flow high("high", 10);
    Flow mid("mid", 0);
    g_calls.clear();
    appDispatchResume();
    EXPECT_EQ(g_calls, std::vector<std::string>({"high:resume", "mid:resume", "low:resume"}));

    g_calls.clear();
    mid.action = [](appEvent* e) { e->SetHandled(); };
    appDispatchQuitRequest();
    EXPECT_EQ(g_calls, std::vector<std::string>({"high:quit", "mid:quit"}));

    // A disabled handler is skipped; one that disables a later one mid-walk takes effect at once.
    g_calls.clear();
    mid.action = nullptr;
    high.SetEnabled(false);
    mid.action = [&](appEvent*) { low.SetEnabled(false); };
    appDispatchSuspend();
    EXPECT_EQ(g_calls, std::vector<std::string>({"mid:suspend"}));
}

TEST(appEventHandler, MouseButtonsNeedActiveMovesNeedEnabledToo) {
    Mouse mouse;
    g_calls.clear();
    mouse.SetEnabled(false);
    appDispatchMouseMove(1, 2);
    appDispatchMouseDown(1, 2, 0);
    appDispatchMouseUp(-7, 8, 2);
    EXPECT_EQ(g_calls, std::vector<std::string>({"down 0", "up -7,8 2"}));

    g_calls.clear();
    mouse.SetEnabled(true);
    mouse.SetActive(false);
    appDispatchMouseMove(1, 2);
    appDispatchMouseDown(1, 2, 1);
    EXPECT_TRUE(g_calls.empty());
    mouse.SetActive(true);
    appDispatchMouseMove(3, 2);
    EXPECT_EQ(g_calls, std::vector<std::string>({"move 3"}));

    Chars chars;
    g_calls.clear();
    appDispatchChar(0xE004);
    chars.SetEnabled(false);
    appDispatchChar(65);
    EXPECT_EQ(g_calls, std::vector<std::string>({"char 57348"}));
}

TEST(appEventHandler, AHandlerMadeDuringADispatchWaitsForTheNext) {
    appDispatchStart();
    std::unique_ptr<Flow> late;
    Flow maker("maker");
    maker.action = [&](appEvent*) {
        if (!late)
            late = std::make_unique<Flow>("late", 100);
    };
    g_calls.clear();
    appDispatchResume();
    EXPECT_EQ(g_calls, std::vector<std::string>({"maker:resume"}));
    g_calls.clear();
    appDispatchResume();
    EXPECT_EQ(g_calls, std::vector<std::string>({"late:resume", "maker:resume"}));
}

TEST(appEventHandler, AHandlerDestroyedDuringADispatchIsNotCalled) {
    appDispatchStart();
    auto victim = std::make_unique<Flow>("victim", 1);
    Flow killer("killer", 5);
    killer.action = [&](appEvent*) { victim.reset(); };
    g_calls.clear();
    appDispatchResume();
    EXPECT_EQ(g_calls, std::vector<std::string>({"killer:resume"}));

    // Also when the destruction happens inside a nested dispatch.
    victim = std::make_unique<Flow>("victim", 1);
    bool nested = false;
    killer.action = [&](appEvent*) {
        if (!std::exchange(nested, true))
            appDispatchSuspend();
    };
    Flow inner("inner", 3);
    inner.action = [&](appEvent*) { victim.reset(); };
    g_calls.clear();
    appDispatchResume();
    EXPECT_EQ(g_calls,
              std::vector<std::string>({"killer:resume", "killer:suspend", "inner:suspend", "inner:resume"}));
}

TEST(appEventHandler, AnExceptionLeavesTheDispatchCleanly) {
    appDispatchStart();
    Flow thrower("thrower", 1);
    auto other = std::make_unique<Flow>("other");
    thrower.action = [](appEvent*) { throw std::runtime_error("handler failed"); };
    g_calls.clear();
    EXPECT_THROW(appDispatchStop(), std::runtime_error);
    EXPECT_EQ(g_calls, std::vector<std::string>({"thrower:stop"}));
    // The abandoned walk's copy is gone: destroying a handler and dispatching again are safe.
    other.reset();
    thrower.action = nullptr;
    g_calls.clear();
    appDispatchStop();
    EXPECT_EQ(g_calls, std::vector<std::string>({"thrower:stop"}));
}
