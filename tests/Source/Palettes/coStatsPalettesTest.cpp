#include "Source/Palettes/coGlobalStatsPalette.h"
#include "Source/Palettes/coLocalStatsPalette.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Screens/coScreenScript.h"

#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Source/Screens/coScreenTestKit.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include <algorithm>
#include <string>

namespace {

// The state-0 fields of a text, joined by "|".
std::string Fields(const guiWindow* window) {
    const guiTextRecord* record = dynamic_cast<const guiText*>(window)->FindRecord(0);
    std::string out;
    for (size_t i = 0; i < record->fields.size(); ++i)
        out += (i == 0 ? "" : "|") + envStringToNarrow(record->fields[i]);
    return out;
}

struct coStatsPalettesTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        stats = new coStatsPalette;
        guiWindowMgr::AddWindow(stats);
    }
    f32 Bar(i32 index) const { return stats->GetBar(index)->GetValue(); }
    coStatsPalette* stats = nullptr;
};

TEST_F(coStatsPalettesTest, GaugesInThePlayersUnits) {
    EXPECT_EQ(Fields(stats->FindChild("MPH Stat")), "-|-");
    coPrefs::SetBool(coPrefMetricUnits, true);
    stats->SetStats(-3.6f, 0.0f, 1.0f, 6.0f, -0.5f, 75.5f, 0.0f);
    EXPECT_EQ(Fields(stats->FindChild("MPH Stat")), "-|13");
    EXPECT_NEAR(Bar(0), 12.96f / 321.84f, 1e-6f);
    EXPECT_EQ(Fields(stats->FindChild("GForce StatZ")), "-|0.50");
    EXPECT_EQ(Bar(2), 1.0f); // 6 G clamped
    EXPECT_EQ(Bar(4), 0.5f);
    EXPECT_EQ(Fields(stats->FindChild("Time Stat")), "1:15.50|");
    EXPECT_EQ(Bar(5), 0.0f); // no total: empty
    stats->SetStats(-0.1f, -0.004f, 0.0f, -0.0f, -0.001f, 0.0f, 0.0f);
    for (const char* gauge : {"MPH Stat", "Climb Stat", "GForce StatY", "GForce StatZ"})
        EXPECT_EQ(Fields(stats->FindChild(gauge)).front(), '|') << gauge << ": no sign before a zero";

    coPrefs::SetBool(coPrefMetricUnits, false);
    stats->SetStats(10.0f, 100.0f, 0.0f, 0.0f, 0.0f, 30.0f, 120.0f);
    EXPECT_EQ(Fields(stats->FindChild("MPH Stat")), "|22");
    EXPECT_NEAR(Bar(0), 0.1118568f, 1e-6f);
    EXPECT_EQ(Bar(1), 0.5f);
    EXPECT_EQ(Bar(5), 0.25f);
    // The same figures again draw nothing.
    const size_t drawn = d3d.GetLog().size();
    stats->SetStats(10.0f, 100.0f, 0.0f, 0.0f, 0.0f, 30.0f, 120.0f);
    EXPECT_EQ(d3d.GetLog().size(), drawn);
    stats->ClearStats();
    EXPECT_EQ(Fields(stats->FindChild("Time Stat")), "-|-");
    EXPECT_EQ(Bar(0), 0.0f);
}

TEST_F(coStatsPalettesTest, RideTimesNeverCarry) {
    const std::pair<f32, const char*> cases[] = {
        {59.999f, "0:60.00"}, {125.25f, "2:05.25"}, {3599.999f, "59:60.00"}, {0.0f, "0:00.00"}};
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(envStringToNarrow(coFormatRideTime(seconds)), text) << seconds;
}

TEST_F(coStatsPalettesTest, SummaryAndPieceTexts) {
    auto* global = new coGlobalStatsPalette;
    auto* local = new coLocalStatsPalette;
    guiWindowMgr::AddWindow(global);
    guiWindowMgr::AddWindow(local);
    global->SetStats(20.0f, 15.0f, 10.0f, 3.5f, -1.25f, 2.0f, 40.0f, 500.0f, 59.999f);
    const std::string summary = Fields(global->GetText());
    EXPECT_NE(summary.find("44.7/22.4/33.6 mph\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("3.50/-1.25\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("6.56/131.23 ft\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("1640.4 ft\n"), std::string::npos) << summary;
    EXPECT_NE(summary.find("0:60.00"), std::string::npos) << summary;
    global->SetStats(-0.01f, 15.0f, 10.0f, 3.5f, -0.004f, -0.0f, 40.0f, 500.0f, 59.999f);
    const std::string zeros = Fields(global->GetText());
    EXPECT_NE(zeros.find(": 0.0/"), std::string::npos) << zeros;
    EXPECT_NE(zeros.find("3.50/0.00\n"), std::string::npos) << zeros;
    EXPECT_EQ(zeros.find("-0."), std::string::npos) << zeros;

    coCoasterPieceTurn turn;
    turn.SetRadius(20.0f);
    turn.SetAngle(maHalfPiF);
    turn.Place(maVector3d(0, 0, 0), 0.0f);
    coCoasterPieceStraight straight;
    straight.SetRunLength(10.0f);
    straight.Place(maVector3d(0, 0, 0), 0.0f);
    coCoasterPieceShallowTurn shallow;
    shallow.SetRunLength(10.0f);
    shallow.Place(maVector3d(0, 0, 0), 0.0f);
    const auto lines = [&] {
        const std::string text = Fields(local->GetText());
        return std::count(text.begin(), text.end(), '\n');
    };
    // Each value names its unit: a length the chosen one, the radius kept as stored metres in either.
    for (const bool metric : {false, true}) {
        coPrefs::SetBool(coPrefMetricUnits, metric);
        local->SetStats(&turn);
        EXPECT_NE(Fields(local->GetText()).find("Radius: 20.00 m\n"), std::string::npos) << metric;
        EXPECT_NE(Fields(local->GetText()).find("Angle (\xB0): 90.00\n"), std::string::npos) << metric;
        local->SetStats(&straight);
        EXPECT_NE(Fields(local->GetText()).find(metric ? "Length: 10.00 m\n" : "Length: 32.81 ft\n"),
                  std::string::npos)
            << metric;
        global->SetStats(20.0f, 15.0f, 10.0f, 3.5f, -1.25f, 2.0f, 40.0f, 500.0f, 59.999f);
        EXPECT_NE(Fields(global->GetText()).find(metric ? "500.0 m\n" : "1640.4 ft\n"), std::string::npos)
            << metric;
        EXPECT_NE(Fields(global->GetText()).find(metric ? " km/h\n" : " mph\n"), std::string::npos) << metric;
    }
    coPrefs::SetBool(coPrefMetricUnits, false);
    local->SetStats(&straight);
    straight.SetSlope(-1e-5f); // pitched up and down again
    local->SetStats(&straight);
    EXPECT_NE(Fields(local->GetText()).find("Slope (\xB0): 0.00\n"), std::string::npos)
        << Fields(local->GetText());
    local->SetStats(&shallow);
    EXPECT_EQ(lines(), 3);
    local->SetStats(nullptr);
    EXPECT_EQ(Fields(local->GetText()), "Slope (\xB0): \nRoll (\xB0): \nLength: \n");
    local->SetEnabled(true);
    EXPECT_EQ(Fields(local->GetText()), "Slope (\xB0): \nRoll (\xB0): \n");
}

TEST_F(coStatsPalettesTest, AScriptWithoutItsTextIsReported) {
    fsTestFolder gui;
    gui.Write("uisp/uigs.gst", "Container { Id \"uigs\" }");
    SetRoot(coRootGui, gui.Path());
    EXPECT_THROW(coGlobalStatsPalette(), coScreenScriptX);
    EXPECT_TRUE(log.Holds("\"uisp/uigs\" has no Text named \"Global Stats\""));
}

} // namespace
