#include "Source/App/coCommandLine.h"
#include "Source/App/coApp.h"
#include "Source/Modes/coRideModeOptions.h"
#include "Source/Settings/coPrefs.h"

#include <gtest/gtest.h>

namespace {

TEST(coCommandLineTest, OptionsAreFoundAnywhereFirstOccurrenceCounts) {
    const struct {
        const char* line;
        bool windowed;
        std::vector<bool> cheats;
        i32 resolution;
        bool stored;
    } rows[] = {
        {"/w /cheat rampglow velvetrug", true, {true, true, false, false}, 1, false},
        {"/cheat rampglow /w lineloop", true, {true, false, false, false}, 1, false},
        {"/cheat rampglowx hiddenrails", false, {false, false, false, true}, 1, false},
        {"/w /cheat", true, {false, false, false, false}, 1, false},
        {"/r3", false, {false, false, false, false}, 3, true},
        {"/r9", false, {false, false, false, false}, 9, false},
        {"/w /r", true, {false, false, false, false}, -48, false},
        {"/ride \"Loop\"", false, {false, false, false, false}, 'i' - '0', false},
        {"/r5 /ride \"Loop\"", false, {false, false, false, false}, 5, true},
    };
    for (const auto& row : rows) {
        const coCommandLine options = coParseCommandLine(row.line, 1);
        EXPECT_EQ(options.windowed, row.windowed) << row.line;
        EXPECT_EQ(std::vector<bool>(options.cheats, options.cheats + 4), row.cheats) << row.line;
        EXPECT_EQ(options.resolution, row.resolution) << row.line;
        EXPECT_EQ(options.storeResolution, row.stored) << row.line;
    }
}

TEST(coCommandLineTest, MovieCaptureReadsRateAndDivisorWithinTheLine) {
    const struct {
        const char* line;
        f32 rate;
        i32 shrink;
    } rows[] = {
        {"/x 30 2", 30.0f, 2}, {"/x 75 2", 0.0f, 2},     {"/x 30", 30.0f, 0},
        {"/x", 0.0f, 0},       {"/x 12.5 21", 12.5f, 0}, {"/w /x 59 20 /skipvideos", 59.0f, 20},
    };
    for (const auto& row : rows) {
        const coCommandLine options = coParseCommandLine(row.line, 0);
        EXPECT_TRUE(options.movieCapture) << row.line;
        EXPECT_EQ(options.movieFrameRate, row.rate) << row.line;
        EXPECT_EQ(options.movieShrink, row.shrink) << row.line;
    }
    EXPECT_FALSE(coParseCommandLine("/w", 0).movieCapture);
}

TEST(coCommandLineTest, RideNameComesFromTheJoinedArguments) {
    const std::string line = coJoinArguments({"/w", "/ride", "My Coaster", "/skipvideos"});
    EXPECT_EQ(line, "/w /ride \"My Coaster\" /skipvideos");
    coCommandLine options = coParseCommandLine(line, 0);
    EXPECT_TRUE(options.ride);
    EXPECT_EQ(options.rideName, "My Coaster");
    EXPECT_EQ(coJoinArguments({"/ride", "Loop"}), "/ride \"Loop\"");

    options = coParseCommandLine("/ride \"Loop", 0);
    EXPECT_FALSE(options.ride);
    EXPECT_TRUE(options.rideUnterminated);
}

} // namespace

namespace {

// The ride mode as the command line sets it.
struct coFakeRide : coMode, coRideModeOptions {
    void Enter() override {}
    void Think() override {}
    void Exit() override {}
    void SetPerpetual(bool on) override { calls.push_back(on ? "perpetual" : "not perpetual"); }
    void SetMovieFrameRate(f32 rate) override {
        calls.push_back("rate " + std::to_string(static_cast<int>(rate)));
    }
    void SetMovieShrink(i32 divisor) override { calls.push_back("shrink " + std::to_string(divisor)); }
    void SetMovieCapture(bool on) override { calls.push_back(on ? "capture" : "no capture"); }
    std::vector<std::string> calls;
};

TEST(coCommandLineTest, OptionsReachTheRideTheSessionAndThePreferences) {
    coFakeRide ride;
    coSetMode(coModeIdRide, &ride);
    const struct {
        const char* line;
        std::vector<std::string> calls;
        int resolution;
        u8 flag2;
    } rows[] = {
        {"/x 30 2 /perpetual /cheat lineloop", {"perpetual", "rate 30", "shrink 2", "capture"}, 1, 1},
        {"/x 75 2 /r3", {"shrink 2", "capture"}, 3, 0},
        {"/r9 /w", {}, 1, 0},
    };
    for (const auto& row : rows) {
        ride.calls.clear();
        coPrefs::SetInt(coPrefResolution, 1);
        coPrefs::SetSessionFlag(coSessionWireframe, 0);
        coApp::ApplyCommandLine(coParseCommandLine(row.line, coPrefs::GetInt(coPrefResolution)));
        EXPECT_EQ(ride.calls, row.calls) << row.line;
        EXPECT_EQ(coPrefs::GetInt(coPrefResolution), row.resolution) << row.line;
        EXPECT_EQ(coPrefs::GetSessionFlag(coSessionWireframe), row.flag2) << row.line;
    }
    coSetMode(coModeIdRide, nullptr);
    coPrefs::SetInt(coPrefResolution, 0);
}

} // namespace
