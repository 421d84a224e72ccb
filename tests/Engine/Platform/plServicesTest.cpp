#include "Engine/Platform/plServices.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/Window/plTestWindowHost.h"

#include <gtest/gtest.h>

#include <stdexcept>

TEST(plServices, MissingServicesFailLoudlyAndInstalledOnesAnswer) {
    plInstallServices({});
    EXPECT_THROW(plGetTimeSource(), std::logic_error);
    EXPECT_THROW(plGetWindowHost(), std::logic_error);
    EXPECT_THROW(plGetMessageBox(), std::logic_error);
    EXPECT_THROW(plGetD3d(), std::logic_error);

    plTestTimeSource time;
    plTestWindowHost window;
    plTestMessageBox box;
    plInstallServices({&time, &window, &box});
    EXPECT_EQ(&plGetTimeSource(), &time);
    EXPECT_EQ(&plGetWindowHost(), &window);
    EXPECT_EQ(&plGetMessageBox(), &box);
    plInstallServices({});
    EXPECT_EQ(plGetServices().time, nullptr);
}

TEST(plTimeSource, MonotonicCountsNanosecondsAndItsTicksFollow) {
    plMonotonicTimeSource source;
    EXPECT_EQ(source.GetFrequency(), 1'000'000'000);
    const i64 first = source.GetCounter();
    const u32 ticks = source.GetTickCount();
    const i64 second = source.GetCounter();
    EXPECT_LE(first, second);
    // The tick count read between the two counters lies between their milliseconds.
    const auto firstMs = static_cast<u32>(first / 1'000'000);
    EXPECT_LE(ticks - firstMs, static_cast<u32>(second / 1'000'000) - firstMs);
}

TEST(plTimeSource, TestSourceMovesOnlyWhenTold) {
    plTestTimeSource source;
    source.SetFrequency(1000);
    source.SetCounter(5);
    source.SetTickCount(0xFFFFFFF0u);
    source.Advance(0.25);
    EXPECT_EQ(source.GetCounter(), 255);
    // The tick count wraps as the real one does.
    EXPECT_EQ(source.GetTickCount(), 0xFFFFFFF0u + 250u);
}
