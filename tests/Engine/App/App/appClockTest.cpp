#include "Engine/App/App/appClock.h"
#include "Engine/App/App/appEnginePackages.h"
#include "Engine/App/App/appPackage.h"
#include "Engine/App/App/appTestServices.h"
#include "Engine/App/App/private/appTimer.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"

#include <string>
#include <vector>

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
    // The counter leaps 10 s while the tick count moves 0.02 s: the reading moves 0.02 s...
    time.SetCounter(time.GetCounter() + 100'200'000);
    time.SetTickCount(time.GetTickCount() + 20);
    EXPECT_NEAR(appGetTime(), 0.12, 1e-9);
    // ...and later readings go on from there at the counter's pace (the tick count wraps meanwhile).
    time.Advance(0.25);
    EXPECT_NEAR(appGetTime(), 0.37, 1e-9);
    time.SetCounter(time.GetCounter() + 1234);
    EXPECT_NEAR(appGetTime(), 0.37 + 0.0001234, 1e-9);
    // Readings more than half a second apart agree with the tick count to its millisecond.
    time.SetCounter(time.GetCounter() + 20'000'000);
    time.SetTickCount(time.GetTickCount() + 2001);
    EXPECT_NEAR(appGetTime(), 0.37 + 2.001, 1e-9);
}

TEST_F(appClockTest, ALeapAcrossTheCountersWholeRangeIsCaughtToo) {
    // The counter difference is the largest a signed 64-bit number holds; the start count still
    // absorbs it exactly, so later readings go on at the counter's pace.
    time.SetCounter(static_cast<i64>(static_cast<u64>(time.GetCounter()) + INT64_MAX));
    time.SetTickCount(time.GetTickCount() + 1000);
    EXPECT_NEAR(appGetTime(), 1.0, 1e-9);
    time.Advance(0.25);
    EXPECT_NEAR(appGetTime(), 1.25, 1e-9);
}

TEST_F(appClockTest, WithoutACounterTheTickCountIsTheClock) {
    time.SetFrequency(0);
    appInitTime();
    EXPECT_EQ(appGetTime(), 0.0);
    time.Advance(1.5);
    EXPECT_DOUBLE_EQ(appGetTime(), 1.5);
    time.SetTickCount(time.GetTickCount() + 3);
    EXPECT_DOUBLE_EQ(appGetTime(), 1.503);
}

TEST_F(appClockTest, FrameStepsAreScaledAndClampedToOneSecond) {
    time.Advance(0.1);
    appClock::Tick(0.5f);
    EXPECT_NEAR(appClock::GetDeltaTime(), 0.05f, 1e-6f);
    EXPECT_NEAR(appClock::GetTime(), 0.05f, 1e-6f);

    time.Advance(3.0);
    appClock::Tick(1.0f);
    EXPECT_EQ(appClock::GetDeltaTime(), 1.0f);
    EXPECT_NEAR(appClock::GetTime(), 1.05f, 1e-6f);

    // Time under scale 0 never reaches the game time; the next step measures from there.
    time.Advance(0.7);
    appClock::Tick(0.0f);
    EXPECT_EQ(appClock::GetDeltaTime(), 0.0f);
    EXPECT_NEAR(appClock::GetTime(), 1.05f, 1e-6f);
    time.Advance(0.02);
    appClock::Tick(1.0f);
    EXPECT_NEAR(appClock::GetDeltaTime(), 0.02f, 1e-5f);
    EXPECT_NEAR(appClock::GetTime(), 1.07f, 1e-5f);
}

TEST_F(appClockTest, SetTimeAndNoBackwardFrames) {
    time.Advance(2.0);
    appClock::SetTime(10.0f, 0.5f);
    EXPECT_EQ(appClock::GetTime(), 10.5f);
    EXPECT_EQ(appClock::GetDeltaTime(), 0.5f);
    // The clock's last tick now says 10 s while the application time is 2 s: the step is not negative.
    time.Advance(0.1);
    appClock::Tick(1.0f);
    EXPECT_EQ(appClock::GetDeltaTime(), 0.0f);
    EXPECT_EQ(appClock::GetTime(), 10.5f);
    time.Advance(0.1);
    appClock::Tick(1.0f);
    EXPECT_NEAR(appClock::GetDeltaTime(), 0.1f, 1e-5f);
    // A negative or meaningless scale moves nothing backwards either.
    time.Advance(0.1);
    appClock::Tick(-2.0f);
    EXPECT_EQ(appClock::GetDeltaTime(), 0.0f);
}

TEST_F(appClockTest, ThePackageStartsTheTimeOnceAndIgnoresAStopTooMany) {
    time.Advance(5.0);
    appInit();
    EXPECT_EQ(appGetInitCount(), 1u);
    EXPECT_EQ(itGetInitCount(), 1u);
    const u32 envStarts = envGetInitCount();
    EXPECT_GT(envStarts, 0u);
    EXPECT_EQ(appGetTime(), 0.0);
    time.Advance(1.0);
    appInit(); // a second start leaves the time running
    EXPECT_NEAR(appGetTime(), 1.0, 1e-9);
    appShutdown();
    EXPECT_EQ(envGetInitCount(), envStarts);
    appShutdown();
    EXPECT_EQ(appGetInitCount(), 0u);
    EXPECT_EQ(itGetInitCount(), 0u);
    EXPECT_EQ(dbgGetInitCount(), 0u);
    EXPECT_EQ(envGetInitCount(), 0u);
    const size_t linesBefore = log.lines.size();
    appShutdown();
    EXPECT_EQ(appGetInitCount(), 0u);
    EXPECT_EQ(envGetInitCount(), 0u);
    ASSERT_EQ(log.lines.size(), linesBefore + 1);
    EXPECT_NE(log.lines.back().find("**Warning** app shut down more often than started"), std::string::npos);
    appInit();
    EXPECT_EQ(appGetInitCount(), 1u);
    appShutdown();
}
