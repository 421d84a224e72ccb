#include "Engine/App/App/appEventHandler.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using Calls = std::vector<std::string>;
Calls g_calls;

// The calls since the last look.
Calls Take() {
    return std::exchange(g_calls, {});
}

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
        g_calls.push_back("up " + std::to_string(e->GetX()) + "," + std::to_string(e->GetY()));
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
    appDispatchSuspend(); // nobody registered: nothing at all happens
    Flow a("a");
    appDispatchSuspend();
    appDispatchResume();
    appDispatchQuitRequest();
    appDispatchStop();
    EXPECT_EQ(Take(), Calls({"a:stop"}));
    appDispatchStart();
    appDispatchQuitRequest();
    appDispatchStop();
    appDispatchSuspend(); // stop does not end the started state
    EXPECT_EQ(Take(), Calls({"a:start", "a:quit", "a:stop", "a:suspend"}));
}

// Priority order; a handled event ends the walk; enabled flags are read as each handler is reached.
TEST(appEventHandler, PriorityOrderAndHandledEndTheWalk) {
    appDispatchStart();
    Flow low("low", -5), high("high", 10), mid("mid", 0);
    Take();
    appDispatchResume();
    EXPECT_EQ(Take(), Calls({"high:resume", "mid:resume", "low:resume"}));
    mid.action = [](appEvent* e) { e->SetHandled(); };
    appDispatchQuitRequest();
    EXPECT_EQ(Take(), Calls({"high:quit", "mid:quit"}));
    high.SetEnabled(false);
    mid.action = [&](appEvent*) { low.SetEnabled(false); };
    appDispatchSuspend();
    EXPECT_EQ(Take(), Calls({"mid:suspend"}));
}

// Enabled 0 and active 1: buttons but no moves; inactive: nothing.
TEST(appEventHandler, MouseButtonsNeedActiveMovesNeedEnabledToo) {
    Mouse mouse;
    mouse.SetEnabled(false);
    appDispatchMouseMove(1, 2);
    appDispatchMouseDown(1, 2, 0);
    appDispatchMouseUp(-7, 8, 2);
    EXPECT_EQ(Take(), Calls({"down 0", "up -7,8"}));
    mouse.SetEnabled(true);
    mouse.SetActive(false);
    appDispatchMouseMove(1, 2);
    appDispatchMouseDown(1, 2, 1);
    EXPECT_EQ(Take(), Calls());
    mouse.SetActive(true);
    appDispatchMouseMove(3, 2);
    EXPECT_EQ(Take(), Calls({"move 3"}));

    Chars chars;
    appDispatchChar(0xE004);
    chars.SetEnabled(false);
    appDispatchChar(65);
    EXPECT_EQ(Take(), Calls({"char 57348"}));
}

TEST(appEventHandler, AHandlerMadeDuringADispatchWaitsForTheNext) {
    appDispatchStart();
    std::unique_ptr<Flow> late;
    Flow maker("maker");
    maker.action = [&](appEvent*) {
        if (!late)
            late = std::make_unique<Flow>("late", 100);
    };
    Take();
    appDispatchResume();
    EXPECT_EQ(Take(), Calls({"maker:resume"}));
    appDispatchResume();
    EXPECT_EQ(Take(), Calls({"late:resume", "maker:resume"}));
}

// Also when the destruction happens inside a nested dispatch.
TEST(appEventHandler, AHandlerDestroyedDuringADispatchIsNotCalled) {
    appDispatchStart();
    auto victim = std::make_unique<Flow>("victim", 1);
    Flow killer("killer", 5);
    killer.action = [&](appEvent*) { victim.reset(); };
    Take();
    appDispatchResume();
    EXPECT_EQ(Take(), Calls({"killer:resume"}));

    victim = std::make_unique<Flow>("victim", 1);
    bool nested = false;
    killer.action = [&](appEvent*) {
        if (!std::exchange(nested, true))
            appDispatchSuspend();
    };
    Flow inner("inner", 3);
    inner.action = [&](appEvent*) { victim.reset(); };
    appDispatchResume();
    EXPECT_EQ(Take(), Calls({"killer:resume", "killer:suspend", "inner:suspend", "inner:resume"}));
}

// The abandoned walk's copy is gone: destroying a handler and dispatching again are safe.
TEST(appEventHandler, AnExceptionLeavesTheDispatchCleanly) {
    appDispatchStart();
    Flow thrower("thrower", 1);
    auto other = std::make_unique<Flow>("other");
    thrower.action = [](appEvent*) { throw std::runtime_error("handler failed"); };
    Take();
    EXPECT_THROW(appDispatchStop(), std::runtime_error);
    EXPECT_EQ(Take(), Calls({"thrower:stop"}));
    other.reset();
    thrower.action = nullptr;
    appDispatchStop();
    EXPECT_EQ(Take(), Calls({"thrower:stop"}));
}
