// What the name keyboard's own frame costs over the frame of its widgets: 1,000 Thinks of the dialog
// holding an unchanged 20-character text against 1,000 guiContainer::Think of the same dialog, on the
// recording device over the built tree. The text is measured, never drawn again, so the ratio should
// stay at most 1.3.
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
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coKeyboardDialog.h"
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

// The name keyboard up with a 20-character name, the real keyboard attached.
struct KeyboardScreen {
    plTestTimeSource time;
    plTestInputSource input;
    plFakeD3d d3d;
    plFreeTypeFonts fonts;

    KeyboardScreen() {
        input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
        plInstallServices({.time = &time, .input = &input, .d3d = &d3d, .fonts = &fonts});
        for (const auto& [root, relative] :
             {std::pair{coRootGui, "Data/GUI"}, std::pair{coRootText, "Data/Text/Eng"}})
            SetRoot(root, relative);
        coPrefs::SetDefaults();
        benchStartGuiScreen();
        guiWindowMgr::GetRoot()->SetSize(800, 600);
        dialog = new coKeyboardDialog;
        guiWindowMgr::AddWindow(dialog);
        dialog->SetVisible(true);
        dialog->SetEnabled(true);
        dialog->SetText(envString("Twenty letters named"));
        dialog->Think();
    }
    ~KeyboardScreen() { benchStopGuiScreen(); }
    coKeyboardDialog* dialog = nullptr;
};

KeyboardScreen* g_screen = nullptr;

void BM_KeyboardThinks(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i)
            g_screen->dialog->Think();
}
BENCHMARK(BM_KeyboardThinks);

void BM_ContainerThinks(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < 1000; ++i)
            g_screen->dialog->guiContainer::Think();
}
BENCHMARK(BM_ContainerThinks);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    KeyboardScreen screen;
    g_screen = &screen;
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* keyboard = report.Find("BM_KeyboardThinks");
    const benchReport::Figures* container = report.Find("BM_ContainerThinks");
    if (keyboard && container && container->cpuSeconds > 0.0)
        std::printf(
            "1,000 keyboard Thinks / 1,000 guiContainer::Think of the dialog: %.3f (target: at most 1.3)\n",
            keyboard->cpuSeconds / container->cpuSeconds);
    g_screen = nullptr;
    benchmark::Shutdown();
    return 0;
}
