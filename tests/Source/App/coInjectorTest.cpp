#include "Source/App/coInjector.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Source/Modes/coModeStack.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

namespace {

class coInjectorTest : public ::testing::Test {
  protected:
    coInjectorTest() { plInstallServices({.time = &time, .window = &host}); }
    ~coInjectorTest() override { plInstallServices({}); }

    // Steps the script to its end or failure; the frames it took.
    int Run(coInjector& injector, coInjector::Result& result) {
        int frames = 0;
        while ((result = injector.Step()) == coInjector::Result::Running && frames < 1000)
            ++frames;
        return frames;
    }

    plTestTimeSource time;
    plTestWindowHost host;
};

TEST_F(coInjectorTest, StepsThatCannotBeReadAreNamed) {
    for (const char* step :
         {"hop", "move 10", "move 10 20", "key", "key Banana", "key 0", "frame 0", "wait -1", "wait mode",
          "click", "expect Menu", "expect Menu Build", "expect \"x\"", "expect A \"", "expect circuit open 8",
          "expect checked", "shot", "motion 5", "expect props", "point"}) {
        try {
            coInjector injector(std::string("frame; ") + step, nullptr);
            ADD_FAILURE() << step;
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(step), std::string::npos) << error.what();
        }
    }
    for (const char* step : {"repeat 0 up", "repeat 2", "repeat 2 hop"})
        EXPECT_THROW(coInjector(step, nullptr), std::invalid_argument) << step;
    EXPECT_NO_THROW(coInjector(
        "# a comment\nmove 1,2; key F7\n\nexpect A/B \"^x$\"; wait mode 6 2.5; expect checked A/Tool Tips",
        nullptr));
    EXPECT_NO_THROW(coInjector("expect Hud/Stats/Time Stat \"^[0-9]+:\"", nullptr));
}

TEST_F(coInjectorTest, InputReachesTheWindowOneFrameAtATime) {
    coInjector injector("key Escape; type ab; down; motion 40,-3; up; repeat 3 frame; close", nullptr);
    coInjector::Result result;
    // Focus, key down, key up, text, down, motion, up, three frames, close.
    EXPECT_EQ(Run(injector, result), 11);
    EXPECT_EQ(result, coInjector::Result::Done);
    using Kind = plInjectedInput::Kind;
    const std::vector<std::pair<Kind, bool>> expected = {
        {Kind::Focus, false},       {Kind::Key, true},         {Kind::Key, false},
        {Kind::Text, false},        {Kind::MouseButton, true}, {Kind::MouseMotion, false},
        {Kind::MouseButton, false}, {Kind::Close, false}};
    ASSERT_EQ(host.GetInjectedInput().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(host.GetInjectedInput()[i].kind, expected[i].first) << i;
        EXPECT_EQ(host.GetInjectedInput()[i].down, expected[i].second) << i;
    }
    EXPECT_EQ(host.GetInjectedInput()[1].scanCode, 0x01);
    EXPECT_EQ(host.GetInjectedInput()[3].text, "ab");
    EXPECT_EQ(std::pair(host.GetInjectedInput()[5].dx, host.GetInjectedInput()[5].dy), std::pair(40, -3));
}

TEST_F(coInjectorTest, FailedStepsStopTheScriptAndSayWhy) {
    struct Case {
        const char* script;
        const char* failure;
    };
    const Case cases[] = {
        {"wait mode 6 0", "\"wait mode 6 0\": mode -1 stayed"},
        {"wait ride-end 0", "\"wait ride-end 0\": mode -1"},
        {"shot out.png", "\"shot out.png\": the picture was not written"},
    };
    for (const Case& c : cases) {
        coInjector injector(std::string(c.script) + "; close", [](const std::string&) { return false; });
        coInjector::Result result;
        Run(injector, result);
        EXPECT_EQ(result, coInjector::Result::Failed) << c.script;
        EXPECT_EQ(injector.GetFailure(), c.failure);
        EXPECT_EQ(injector.Step(), coInjector::Result::Failed);
    }
    EXPECT_EQ(coInjector::FindWidget("Main Menu/Exit"), nullptr);
}

// Waits and time-outs count the application's time, so that a run whose clock moves by a fixed step a
// frame waits the same frames however long each frame takes on the machine.
TEST_F(coInjectorTest, WaitsLastTheApplicationsTimeNotTheMachines) {
    appInitTime();
    coInjector::Result result = coInjector::Result::Running;
    for (const auto& [script, frames, ending] :
         // The focus's frame, four frames of a quarter second, the close's frame.
         {std::tuple("wait 1; close", 1 + 4 + 1, coInjector::Result::Done),
          std::tuple("wait mode 6 0.5", 2, coInjector::Result::Failed)}) {
        coInjector injector(script, nullptr);
        int played = 0;
        for (; (result = injector.Step()) == coInjector::Result::Running && played < 100; ++played)
            time.Advance(0.25);
        EXPECT_EQ(played, frames) << script;
        EXPECT_EQ(result, ending) << script;
    }
}

// A mode of the table with nothing of its own to do.
struct IdleMode : coMode {
    void Think() override {}
    void Enter() override {}
    void Exit() override {}
};

TEST_F(coInjectorTest, AModeIsWaitedForUntilItWasEntered) {
    IdleMode builder;
    coSetMode(coModeIdBuilder, &builder);
    coModePush(&builder);
    coInjector::Result result;
    coInjector pushed("wait mode 6 0", nullptr);
    Run(pushed, result);
    EXPECT_EQ(result, coInjector::Result::Failed) << "pushed, not yet entered";
    coModeManagerUpdate();
    coInjector entered("wait mode 6 0", nullptr);
    Run(entered, result);
    EXPECT_EQ(result, coInjector::Result::Done);
    coModeStackClear();
    coSetMode(coModeIdBuilder, nullptr);
}

} // namespace
