// What the game's start settles before the first frame, seen through the program's own start.
#include "Content/coGameRunTest.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Source/App/coProgram.h"
#include "Source/Settings/coPrefs.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <optional>

namespace {

struct coStartTest : coGameRunTest {
    // Three frames of the main menu; the last one calls back.
    void Run(const std::function<void()>& lastFrame, std::optional<u32> seed = {}) {
        coProgramSwitches switches;
        switches.frames = 3;
        switches.frameStart = [this] { time.Advance(0.033); };
        switches.lastFrame = lastFrame;
        switches.randomSeed = seed;
        coRunProgram("/w /skipvideos", switches);
    }
    std::filesystem::path Prefs() const {
        return std::filesystem::path(folder.Path()) / "Zandrel Trackwrighting" / "Loopvane" / "Saves" /
               "prefs.bin";
    }
};

TEST_F(coStartTest, TheAdapterWorkaroundsHoldFromTheFirstStart) {
    const struct {
        const char* adapter;
        bool multitexture, locked, verticalSync, deepColour;
        int depth;
    } rows[] = {
        {"Loopvane test adapter", true, false, false, true, 16},
        {"Mesa Radeon RX 580", true, false, true, true, 16},
        {"Matrox Millennium G400", false, true, true, true, 16},
        {"3dfx Voodoo3", true, false, false, false, 16},
    };
    for (const auto& row : rows) {
        std::filesystem::remove(Prefs());
        d3d.SetAdapterName(row.adapter);
        std::array<bool, 4> bools{};
        int depth = 0;
        Run([&] {
            bools = {coPrefs::GetBool(coPrefMultitexture), coPrefs::GetBool(coPrefMultitextureLocked),
                     coPrefs::GetBool(coPrefVerticalSync), coPrefs::GetBool(coPrefDeepColourOffered)};
            depth = coPrefs::GetInt(coPrefColourDepth);
        });
        const std::array<bool, 4> expected{row.multitexture, row.locked, row.verticalSync, row.deepColour};
        EXPECT_EQ(bools, expected) << row.adapter;
        EXPECT_EQ(depth, row.depth) << row.adapter;
    }
}

TEST_F(coStartTest, TheGamesRandomNumbersAreSeededAtStart) {
    // The draws after three menu frames: a given seed repeats them, a start without one does not.
    const auto draws = [this](std::optional<u32> seed) {
        std::array<u32, 4> out{};
        maRandomSeed(7);
        Run([&] { std::generate(out.begin(), out.end(), maRandomInt); }, seed);
        return out;
    };
    const std::array<u32, 4> seeded = draws(12345u);
    EXPECT_EQ(draws(12345u), seeded);
    EXPECT_NE(draws(std::nullopt), seeded);
    EXPECT_NE(draws(std::nullopt), draws(std::nullopt));
}

} // namespace
