// Building the props palette for 10 categories of 24 templates against 1 of 24, on the recording device
// over the built GUI pictures and texts, with generated themes. Only the current page loads its icons,
// so the ratio should stay at most 2.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/plServices.h"
#include "Engine/Platform/plTestInputSource.h"
#include "Engine/Platform/plTimeSource.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Settings/coPakManager.h"
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

void SetRoot(i32 root, const std::string& path) {
    fsLocator folder;
    fsLocatorFromNativePath(path.c_str(), folder);
    fsSetRootDirectory(root, folder);
    if (root == coRootGui) { // its pictures come from "gui.pak", as the game mounts it
        coPakManager::Create();
        coPakManager::OpenGuiPaks();
    }
}

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
    plTestTimeSource time;
    // The GUI package starts the input package, which wants a source.
    plTestInputSource input;
    plFakeD3d d3d;
    plFreeTypeFonts fonts;
    std::string saves = MakeThemes(0);

    Screen() {
        plInstallServices({.time = &time, .input = &input, .d3d = &d3d, .fonts = &fonts});
        SetRoot(coRootGui, std::string(LV_DATA_DIR) + "/Data/GUI");
        SetRoot(coRootText, std::string(LV_DATA_DIR) + "/Data/Text/Eng");
        SetRoot(coRootSaves, saves);
        benchStartGuiScreen();
    }
    ~Screen() {
        benchStopGuiScreen();
        std::filesystem::remove_all(saves);
    }
};

void BM_BuildPropsPalette(benchmark::State& state) {
    const std::string themes = MakeThemes(static_cast<int>(state.range(0)));
    SetRoot(coRootThemes, themes);
    coPaths::ListRootDirectories(coRootThemes);
    coPropTemplateList::Build(false);
    for (auto _ : state)
        delete new coPropsPalette;
    coPropTemplateList::DeleteAll();
    std::filesystem::remove_all(themes);
}
BENCHMARK(BM_BuildPropsPalette)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    Screen screen;
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* one = report.Find("BM_BuildPropsPalette/1");
    const benchReport::Figures* ten = report.Find("BM_BuildPropsPalette/10");
    if (one && ten && one->cpuSeconds > 0.0)
        std::printf("Props palette of 10 x 24 templates / of 1 x 24: %.2f (target: at most 2)\n",
                    ten->cpuSeconds / one->cpuSeconds);
    benchmark::Shutdown();
    return 0;
}
