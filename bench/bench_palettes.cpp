// What a mode's palette states cost against the frame they are part of: ApplyStates and SaveStates over
// the 13 slots, and one GUI update of the main menu on its backdrop, on the recording device over the
// built tree. The ratio should stay at most 0.05.
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
#include "Source/Palettes/coBackground.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coMainMenu.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "benchGuiScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <string>

namespace {

void SetRoot(i32 root, const char* relative) {
    fsLocator folder;
    fsLocatorFromNativePath((std::string(LV_DATA_DIR) + "/" + relative).c_str(), folder);
    fsSetRootDirectory(root, folder);
}

// The main menu over its backdrop, with every palette made.
struct MenuScreen {
    plTestTimeSource time;
    plTestInputSource input;
    plFakeD3d d3d;
    plFreeTypeFonts fonts;

    MenuScreen() {
        plInstallServices({.time = &time, .input = &input, .d3d = &d3d, .fonts = &fonts});
        for (const auto& [root, relative] :
             {std::pair{coRootGui, "Data/GUI"}, std::pair{coRootText, "Data/Text/Eng"}})
            SetRoot(root, relative);
        coPrefs::SetDefaults();
        coPrefs::SetBool(35, true); // no voices: nothing is saved while it runs
        benchStartGuiScreen();
        guiWindowMgr::GetRoot()->SetSize(800, 600);
        coDialogDimmer::Create();
        coPaletteManager::Create();
        coLoadingScreenHide();
        coShowMenuBackground("uimm");
        guiWindowMgr::AddWindow(new coMainMenu);
        states.codes[coPaletteBackground] = 2;
        coPaletteManager::ApplyStates(states);
        guiWindowMgr::Update();
    }
    ~MenuScreen() {
        coPaletteManager::Destroy();
        coDialogDimmer::Destroy();
        benchStopGuiScreen();
    }
    coPaletteStates states;
};

MenuScreen* g_screen = nullptr;

void BM_ApplyAndSaveStates(benchmark::State& state) {
    for (auto _ : state) {
        coPaletteManager::ApplyStates(g_screen->states);
        coPaletteManager::SaveStates(g_screen->states);
    }
}
BENCHMARK(BM_ApplyAndSaveStates);

void BM_MenuUpdate(benchmark::State& state) {
    for (auto _ : state)
        guiWindowMgr::Update();
}
BENCHMARK(BM_MenuUpdate);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    MenuScreen screen;
    g_screen = &screen;
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* states = report.Find("BM_ApplyAndSaveStates");
    const benchReport::Figures* update = report.Find("BM_MenuUpdate");
    if (states && update && update->cpuSeconds > 0.0)
        std::printf(
            "ApplyStates + SaveStates over 13 slots / one GUI update of the main menu: %.4f (target: at "
            "most 0.05)\n",
            states->cpuSeconds / update->cpuSeconds);
    g_screen = nullptr;
    benchmark::Shutdown();
    return 0;
}
