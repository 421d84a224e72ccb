// Building the props palette for 10 categories of 24 templates against 1 of 24, on the recording device
// over the built GUI pictures and texts, with generated themes. Only the current page loads its icons,
// so the ratio should stay at most 2.
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coPropTemplateList.h"
#include "Tools/Image/toolPngWriter.h"
#include "Tools/World/toolPropWriter.h"
#include "benchGuiScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

// A themes folder of that many categories, each of 24 props with their icons.
std::string MakeThemes(int categories) {
    std::string pattern = (std::filesystem::temp_directory_path() / "props-palette-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("no temporary folder");
    const toolImage icon{32, 32, 3, std::vector<u8>(32 * 32 * 3, 200)};
    toolPropDefinition prop;
    prop.model = "m.mx";
    // The default pictures stand in for the tabs' own, which the categories leave out.
    for (const char* name : {"prpdef_i.png", "thmtab_i.png", "thmtab_s.png"})
        toolWritePng(pattern + "/" + name, icon);
    for (int c = 0; c < categories; ++c) {
        const std::string theme = pattern + "/C" + std::to_string(c);
        std::filesystem::create_directories(theme + "/Data");
        std::filesystem::create_directories(theme + "/Icons");
        for (int i = 0; i < 24; ++i) {
            const std::string name = "p" + std::to_string(i);
            toolWritePropDefinition(theme + "/Data/" + name + ".prd", prop);
            toolWritePng(theme + "/Icons/" + name + "_i.png", icon);
        }
    }
    return pattern;
}

struct Screen {
    benchGuiServices services;
    std::string saves = MakeThemes(0);

    Screen() {
        benchSetRoot(coRootGui, LV_DATA_DIR "/Data/GUI");
        benchSetRoot(coRootText, LV_DATA_DIR "/Data/Text/Eng");
        benchSetRoot(coRootSaves, saves);
        benchStartGuiScreen();
    }
    ~Screen() {
        benchStopGuiScreen();
        std::filesystem::remove_all(saves);
    }
};

Screen* g_screen = nullptr;

void BM_BuildPropsPalette(benchmark::State& state) {
    const std::string themes = MakeThemes(static_cast<int>(state.range(0)));
    benchSetRoot(coRootThemes, themes);
    coPaths::ListRootDirectories(coRootThemes);
    coPropTemplateList::Build(false);
    for (auto _ : state) {
        state.PauseTiming();
        g_screen->services.ClearLog();
        state.ResumeTiming();
        delete new coPropsPalette;
    }
    coPropTemplateList::DeleteAll();
    std::filesystem::remove_all(themes);
}
BENCHMARK(BM_BuildPropsPalette)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    Screen screen;
    g_screen = &screen;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* one = report.Find("BM_BuildPropsPalette/1");
        const benchReport::Figures* ten = report.Find("BM_BuildPropsPalette/10");
        if (one && ten && one->cpuSeconds > 0.0)
            std::printf("Props palette of 10 x 24 templates / of 1 x 24: %.2f (target: at most 2)\n",
                        ten->cpuSeconds / one->cpuSeconds);
    });
}
