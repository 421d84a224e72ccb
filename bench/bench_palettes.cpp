// What a mode's palette states cost against the frame they are part of: ApplyStates and SaveStates over
// the 13 slots, and one GUI update of the main menu on its backdrop, on the recording device over the
// built tree. The ratio should stay at most 0.05.
#include "Engine/GUI/Gui/guiWindowMgr.h"
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

// The main menu over its backdrop, with every palette made.
struct MenuScreen {
    benchGuiServices services;

    MenuScreen() {
        benchSetRoot(coRootGui, LV_DATA_DIR "/Data/GUI");
        benchSetRoot(coRootText, LV_DATA_DIR "/Data/Text/Eng");
        coPrefs::SetDefaults();
        coPrefs::SetBool(coPrefVoicesOff, true); // no voices: nothing is saved while it runs
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
    MenuScreen screen;
    g_screen = &screen;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* states = report.Find("BM_ApplyAndSaveStates");
        const benchReport::Figures* update = report.Find("BM_MenuUpdate");
        if (states && update && update->cpuSeconds > 0.0)
            std::printf(
                "ApplyStates + SaveStates over 13 slots / one GUI update of the main menu: %.4f (target: at "
                "most 0.05)\n",
                states->cpuSeconds / update->cpuSeconds);
    });
}
