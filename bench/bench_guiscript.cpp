// Loading a screen's script when its binary form is up to date, against loading it when its text form
// is newer and is compiled first: one Image of 5,000 window and material properties. Screens pay the
// compile only after an edit, so the up-to-date load should cost at most half of it.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "benchReport.h"
#include "tests/Engine/GUI/Gpr/gprTestWidgets.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

std::string g_folder;
fsLocator g_directory;

void SetTime(const std::string& path, i64 seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

// The text form of 5,000 properties, alternating among window and material keywords.
void WriteScript() {
    std::ofstream out(g_folder + "/screen.gst");
    out << "Image\n{\n";
    const char* properties[] = {"Position 10 20 0.5",
                                "Color 200 100 50 Over",
                                "Size 64 32",
                                "Transparency 0.5 Idle",
                                "Justification Center Bottom",
                                "Color 1 2 3 Pressed",
                                "Scale 1 1 1",
                                "Enable 1",
                                "Id \"Picture\"",
                                "Transparency 0.75 Held"};
    for (int i = 0; i < 5000; ++i)
        out << "    " << properties[i % 10] << "\n";
    out << "}\n";
}

void Load() {
    gprTestImage image;
    gprParserUtil::LoadScript(g_directory, u"screen", &image);
    benchmark::DoNotOptimize(image.looks.size());
}

void BM_LoadUpToDate(benchmark::State& state) {
    SetTime(g_folder + "/screen.gst", 1000);
    SetTime(g_folder + "/screen.gsf", 2000);
    for (auto _ : state)
        Load();
}
BENCHMARK(BM_LoadUpToDate)->Unit(benchmark::kMillisecond);

void BM_LoadCompiling(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        SetTime(g_folder + "/screen.gst", 3000);
        SetTime(g_folder + "/screen.gsf", 1000);
        state.ResumeTiming();
        Load();
    }
}
BENCHMARK(BM_LoadCompiling)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::string pattern = (std::filesystem::temp_directory_path() / "lvgst-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    g_folder = pattern;
    fsLocatorFromNativePath(g_folder.c_str(), g_directory);
    dbgSetLogSink([](const std::string&) {});
    gprInit();
    gprSetWidgetMaker("Image", [] { return new gprTestImage; });
    WriteScript();

    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* upToDate = report.Find("BM_LoadUpToDate");
    const benchReport::Figures* compiling = report.Find("BM_LoadCompiling");
    if (upToDate && compiling && compiling->cpuSeconds > 0.0)
        std::printf(
            "LoadScript, up-to-date pair / one that compiles (5,000 properties): %.3f (target: at most "
            "0.5)\n",
            upToDate->cpuSeconds / compiling->cpuSeconds);

    gprSetWidgetMaker("Image", {});
    gprShutdown();
    std::filesystem::remove_all(g_folder);
    benchmark::Shutdown();
    return 0;
}
