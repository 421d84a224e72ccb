// The whole game's frame on the OpenGL device at 800 x 600 (run as taskset -c 0,1 xvfb-run -a -s "-screen 0
// 800x600x24" bench_game_frames): the game program, with vertical sync off, loads "Bench100.csa" (the
// 100-piece closed coaster of benchCoaster.h with brakes on each side and 40 "Ironvale" props) from the
// load menu into the builder, settles for 60 frames and draws 300 with its focus camera and palettes;
// then rides it from the seat (camera 0) for 300 frames. The frame times are the program's --trace lines.
// Printed: median and p90 as shares of 16.7 ms for the builder and the ride (target: medians below
// 0.7), and the ride's median over bench_ride_frame's seat median (what the screens add).
#include "Engine/App/Fs/fsNativePath.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/World/coPropListChunk.h"
#include "benchCoaster.h"
#include "benchReport.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr double kFrameMs = 1000.0 / 60.0;
constexpr int kSettleFrames = 60;
constexpr int kTimedFrames = 300;
constexpr int kProps = 40;

// The coaster as the builder saves it on the "Mountain": the "Ironvale" dock at its start, and props
// beside every few pieces.
struct BenchServices : coSavedCoasterServices {
    BenchServices() { coSetSavedCoasterServices(this); }
    ~BenchServices() override { coSetSavedCoasterServices(nullptr); }
    std::string GetEnvironmentName() const override { return "Mountain"; }
    int GetEnvironmentIndex() const override { return 0; }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        position = coCircuitFirstPiece()->GetStart();
        heading = 0.0f;
        type = "Ironvale";
        return true;
    }
    // Eight metres to the side of every other piece's start, on the ground.
    void WriteProps(chWriter& writer) const override {
        static const char* const kNames[] = {"fountain", "bench", "banner"};
        std::vector<coPropRecord> props;
        const coCoasterPiece* piece = coCircuitFirstPiece();
        for (int i = 0; i < kProps && piece && piece->GetNext(); ++i, piece = piece->GetNext()->GetNext()) {
            const maVector3d start = piece->GetStart(), next = piece->GetNext()->GetStart();
            const float heading = std::atan2(next.x - start.x, next.z - start.z);
            coPropRecord prop;
            prop.name = envString(kNames[i % 3]);
            prop.position =
                maVector3d(start.x + 8.0f * std::cos(heading), 0.0f, start.z - 8.0f * std::sin(heading));
            prop.heading = heading;
            props.push_back(prop);
        }
        coWritePropRecords(writer, props);
    }
};

void WriteBenchCoaster(const fs::path& file) {
    BenchServices services;
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    benchBuildClosedCoaster();
    // The last Straight of each side brakes.
    int index = 0;
    for (coCoasterPiece* piece = coCircuitFirstPiece(); index < coCircuitPieceCount();
         piece = piece->GetNext(), ++index)
        if (index % 25 == 23)
            piece->SetElement(coElementBrakes);
    fsLocator locator;
    fsLocatorFromNativePath(file.string().c_str(), locator);
    coSaveCoasterFile(locator);
    coCircuitClear();
}

// The game in a home of its own playing the script; its output.
std::string PlayGame(const fs::path& home, const std::string& arguments, const std::string& script) {
    const std::string command = "cd '" + home.string() + "' && vblank_mode=0 SDL_AUDIODRIVER=dummy TMPDIR='" +
                                home.string() + "' XDG_CONFIG_HOME='" + home.string() +
                                "/config' XDG_DATA_HOME='" + home.string() + "/data' " + LV_GAME_PROGRAM +
                                " --data " + LV_DATA_DIR + " /w /skipvideos " + arguments +
                                " --trace --inject '" + script + "' 2>&1";
    return benchCommandOutput(command);
}

// The frame times traced after the mode was first entered, the first `skip` left out.
std::vector<double> FramesInMode(const std::string& output, int mode, int skip, int count) {
    static const std::regex line("mode (\\d+) entered|frame (\\d+\\.\\d+) ms");
    std::vector<double> frames;
    bool inMode = false;
    for (std::sregex_iterator at(output.begin(), output.end(), line), end; at != end; ++at) {
        if ((*at)[1].matched)
            inMode = inMode || std::stoi((*at)[1].str()) == mode;
        else if (inMode && skip-- <= 0 && static_cast<int>(frames.size()) < count)
            frames.push_back(std::stod((*at)[2].str()));
    }
    return frames;
}

std::vector<double> g_builder, g_ride;
std::string g_failure;

// Both plays once, for both benchmarks.
void PlayOnce() {
    static bool played = false;
    if (played)
        return;
    played = true;
    const fs::path home = fs::temp_directory_path() / ("lvbench-game-" + std::to_string(::getpid()));
    const fs::path saves = home / "data" / "Zandrel Trackwrighting" / "Loopvane" / "Saves";
    fs::create_directories(saves);
    WriteBenchCoaster(saves / "Bench100.csa");
    const std::string frames =
        "frame " + std::to_string(kSettleFrames) + "; frame " + std::to_string(kTimedFrames);
    const std::string quit = "; close; frame 5; key Return";
    const std::string builder = PlayGame(
        home, "",
        "wait mode 0 300; frame 5; click Load; wait mode 2 300; frame 5; click Build; wait mode 6 300; " +
            frames + quit);
    g_builder = FramesInMode(builder, 6, kSettleFrames, kTimedFrames);
    const std::string ride = PlayGame(home, "/ride \"Bench100\"", "wait mode 11 300; " + frames + quit);
    g_ride = FramesInMode(ride, 11, kSettleFrames, kTimedFrames);
    if (g_builder.size() < kTimedFrames)
        g_failure = "the builder's frames were not traced: " + builder;
    else if (g_ride.size() < kTimedFrames)
        g_failure = "the ride's frames were not traced: " + ride;
    fs::remove_all(home);
}

void Report(benchmark::State& state, const std::vector<double>& frames) {
    PlayOnce();
    if (!g_failure.empty()) {
        state.SkipWithError(g_failure.c_str());
        return;
    }
    size_t next = 0;
    for (auto _ : state)
        state.SetIterationTime(frames[next++ % frames.size()] / 1e3);
}

void BM_GameBuilderFrame(benchmark::State& state) {
    Report(state, g_builder);
}
void BM_GameRideFrame(benchmark::State& state) {
    Report(state, g_ride);
}
BENCHMARK(BM_GameBuilderFrame)->Iterations(kTimedFrames)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameRideFrame)->Iterations(kTimedFrames)->UseManualTime()->Unit(benchmark::kMillisecond);

// bench_ride_frame's seat median as a share of 16.7 ms, from its own run beside this program; 0 when
// it cannot be had.
double RideFrameSeatShare(const char* self) {
    const std::string command = (fs::path(self).parent_path() / "bench_ride_frame").string() +
                                " --benchmark_filter=BM_RideFrameSeat 2>&1";
    const std::string output = benchCommandOutput(command);
    std::smatch found;
    return std::regex_search(output, found, std::regex("camera 0 \\(seat\\): median (\\d+\\.\\d+)"))
               ? std::stod(found[1].str())
               : 0.0;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();
    if (!g_failure.empty())
        return 1;
    for (const auto& [name, frames] :
         {std::pair{"builder", &g_builder}, std::pair{"ride (camera 0)", &g_ride}})
        std::printf("%s: median %.3f, p90 %.3f of 16.7 ms (target: median < 0.7)\n", name,
                    benchQuantile(*frames, 0.5) / kFrameMs, benchQuantile(*frames, 0.9) / kFrameMs);
    if (const double alone = RideFrameSeatShare(argv[0]); alone > 0.0)
        std::printf("ride frame / bench_ride_frame's seat frame: %.2f\n",
                    benchQuantile(g_ride, 0.5) / kFrameMs / alone);
    return 0;
}
