// Loading a screen of buttons from its binary script: a Container of 2,000 Buttons against one of 1,000,
// on the test device. Linear loading gives 2; a look-up that grows with the sibling count shows above
// it. Target: at most 2.3.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "benchFakeScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string g_folder;
fsLocator g_directory;

// "buttons<n>.gsf": a container of n buttons, each with its place, size and name.
void WriteScript(int buttons) {
    const std::string name = "buttons" + std::to_string(buttons);
    {
        std::ofstream out(g_folder + "/" + name + ".gst");
        out << "Container\n{\n";
        for (int i = 0; i < buttons; ++i)
            out << "    Button { Id \"B" << i << "\" Position " << i % 40 * 20 << " " << i / 40 % 30 * 20
                << " 1 Size 18 18 }\n";
        out << "}\n";
    }
    fsLocator text = g_directory, binary = g_directory;
    text.AppendComponent((name + ".gst").c_str());
    binary.AppendComponent((name + ".gsf").c_str());
    gprParserUtil::CompileScript(text, binary);
    std::filesystem::remove(g_folder + "/" + name + ".gst");
}

void BM_LoadButtons(benchmark::State& state) {
    const envString name(("buttons" + std::to_string(state.range(0))).c_str());
    for (auto _ : state) {
        guiContainer screen;
        gprParserUtil::LoadScript(g_directory, name, &screen);
        benchmark::DoNotOptimize(screen.GetChildCount());
    }
}
BENCHMARK(BM_LoadButtons)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    std::string pattern = (std::filesystem::temp_directory_path() / "lvbtn-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        return 1;
    g_folder = pattern;
    fsLocatorFromNativePath(g_folder.c_str(), g_directory);
    benchFakeScreen screen(800, 600);
    dbgSetLogSink([](const std::string&) {});
    gprInit();
    WriteScript(1000);
    WriteScript(2000);

    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* one = report.Find("BM_LoadButtons/1000/iterations:1");
    const benchReport::Figures* two = report.Find("BM_LoadButtons/2000/iterations:1");
    if (one && two && one->seconds > 0.0)
        std::printf(
            "Container of 2,000 Buttons / 1,000 from .gsf: %.1f ms / %.1f ms = %.2f (linear: 2, target: at "
            "most 2.3)\n",
            two->seconds * 1e3, one->seconds * 1e3, two->seconds / one->seconds);

    gprShutdown();
    std::filesystem::remove_all(g_folder);
    benchmark::Shutdown();
    return 0;
}
