// The game's start on the OpenGL device: "loopvane /w /skipvideos --frames 1 --trace" five times, each
// under "taskset -c 0,1 xvfb-run -a" with folders of its own. Printed: the median time from the program's
// start to the main menu's first frame in seconds (target: at most 0.5), and the share of it spent before
// the first loading-screen frame.
#include "benchIterations.h"
#include "benchReport.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

std::vector<double> g_ready;
std::vector<double> g_share;

// The number after the trace line's text, or -1 when the line is missing.
double TracedMilliseconds(const std::string& output, const std::string& line) {
    const size_t at = output.find(line);
    return at == std::string::npos ? -1.0 : std::strtod(output.c_str() + at + line.size(), nullptr);
}

void BM_StartupToMenu(benchmark::State& state) {
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("lvbench-startup-" + std::to_string(::getpid()));
    // Without a sound device the game would stop at its notice before the menu.
    const std::string folders = "SDL_AUDIODRIVER=dummy TMPDIR=" + home.string() +
                                " XDG_CONFIG_HOME=" + home.string() +
                                "/config XDG_DATA_HOME=" + home.string() + "/data ";
    const std::string command = folders + "taskset -c 0,1 xvfb-run -a " + LV_GAME_PROGRAM + " --data " +
                                LV_DATA_DIR + " /w /skipvideos --frames 1 --trace 2>&1";
    for (auto _ : state) {
        std::filesystem::create_directories(home);
        const std::string output = benchCommandOutput(command);
        const double ready = TracedMilliseconds(output, "menu ready ");
        const double loading = TracedMilliseconds(output, "first loading frame ");
        if (ready <= 0.0 || loading < 0.0) {
            state.SkipWithError(("the game did not reach the menu: " + output).c_str());
            break;
        }
        state.SetIterationTime(ready / 1e3);
        g_ready.push_back(ready / 1e3);
        g_share.push_back(loading / ready);
    }
    std::filesystem::remove_all(home);
}

} // namespace

BENCHMARK(BM_StartupToMenu)->Iterations(benchIterations(5))->UseManualTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();
    if (g_ready.empty())
        return 1;
    std::printf(
        "start to menu: median %.3f s (target <= 0.5); %.0f %% of it before the first loading frame\n",
        benchQuantile(g_ready, 0.5), 100.0 * benchQuantile(g_share, 0.5));
    return 0;
}
