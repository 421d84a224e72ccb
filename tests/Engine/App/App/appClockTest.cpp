#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/App/appTestServices.h"
#include "Engine/App/App/private/appTimer.h"

namespace {

// The fake clocks start at an arbitrary moment, as real ones do.
struct appClockTest : appTestServices {
    void SetUp() override {
        appTestServices::SetUp();
        time.SetFrequency(10'000'000);
        time.SetCounter(123'456'789);
        time.SetTickCount(0xFFFFF000u);
        appInitTime();
        appClock::SetTime(0.0f, 0.0f);
    }
};

} // namespace

TEST_F(appClockTest, TheTimerFollowsTheCounterAndTheTickCountCatchesItsLeaps) {
    EXPECT_EQ(appGetTime(), 0.0);
    time.Advance(0.1);
    EXPECT_NEAR(appGetTime(), 0.1, 1e-9);
    // The counter leaps 10 s while the tick count moves 0.02 s: the reading moves 0.02 s, and later
    // readings go on from there at the counter's pace.
    time.SetCounter(time.GetCounter() + 100'200'000);
    time.SetTickCount(time.GetTickCount() + 20);
    EXPECT_NEAR(appGetTime(), 0.12, 1e-9);
    time.Advance(0.25);
    EXPECT_NEAR(appGetTime(), 0.37, 1e-9);
    // Readings more than half a second apart agree with the tick count to its millisecond.
    time.SetCounter(time.GetCounter() + 20'000'000);
    time.SetTickCount(time.GetTickCount() + 2001);
    EXPECT_NEAR(appGetTime(), 0.37 + 2.001, 1e-9);
    // From a fresh start, a leap across the counter's whole signed range is absorbed exactly too.
    appInitTime();
    time.SetCounter(static_cast<i64>(static_cast<u64>(time.GetCounter()) + INT64_MAX));
    time.SetTickCount(time.GetTickCount() + 1000);
    EXPECT_NEAR(appGetTime(), 1.0, 1e-9);
    time.Advance(0.25);
    EXPECT_NEAR(appGetTime(), 1.25, 1e-9);

    // Without a counter the tick count is the clock.
    time.SetFrequency(0);
    appInitTime();
    time.Advance(1.5);
    time.SetTickCount(time.GetTickCount() + 3);
    EXPECT_DOUBLE_EQ(appGetTime(), 1.503);
}

// Frame steps are scaled, clamped to one second, and never negative; time under scale 0 is lost.
TEST_F(appClockTest, FrameSteps) {
    struct Step {
        f64 advance;
        f32 scale;
        f32 delta, total;
    };
    const Step steps[] = {{0.1, 0.5f, 0.05f, 0.05f}, {3.0, 1.0f, 1.0f, 1.05f},  {0.7, 0.0f, 0.0f, 1.05f},
                          {0.02, 1.0f, 0.02f, 1.07f}, {0.1, -2.0f, 0.0f, 1.07f}};
    for (const Step& step : steps) {
        time.Advance(step.advance);
        appClock::Tick(step.scale);
        EXPECT_NEAR(appClock::GetDeltaTime(), step.delta, 1e-5f) << step.advance;
        EXPECT_NEAR(appClock::GetTime(), step.total, 1e-5f) << step.advance;
    }
    // The clock set ahead of the application time: the next step is 0, not negative.
    appClock::SetTime(10.0f, 0.5f);
    EXPECT_EQ(appClock::GetTime(), 10.5f);
    time.Advance(0.1);
    appClock::Tick(1.0f);
    EXPECT_EQ(appClock::GetDeltaTime(), 0.0f);
    EXPECT_EQ(appClock::GetTime(), 10.5f);
}

TEST_F(appClockTest, ThePackageStartsTheTimeOnce) {
    time.Advance(5.0);
    appInit();
    EXPECT_EQ(appGetTime(), 0.0);
    time.Advance(1.0);
    appInit(); // a second start leaves the time running
    EXPECT_NEAR(appGetTime(), 1.0, 1e-9);
    appShutdown();
    appShutdown();
}
