// What the name keyboard's own frame costs over the frame of its widgets: 1,000 Thinks of the dialog
// holding an unchanged 20-character text against 1,000 guiContainer::Think of the same dialog, on the
// recording device over the built tree. The text is measured, never drawn again, so the ratio should
// stay at most 1.3.
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coKeyboardDialog.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "benchGuiScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <string>

namespace {

// The name keyboard up with a 20-character name, the real keyboard attached.
struct KeyboardScreen {
    benchGuiServices services;

    KeyboardScreen() {
        services.input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
        benchSetRoot(coRootGui, LV_DATA_DIR "/Data/GUI");
        benchSetRoot(coRootText, LV_DATA_DIR "/Data/Text/Eng");
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
    KeyboardScreen screen;
    g_screen = &screen;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* keyboard = report.Find("BM_KeyboardThinks");
        const benchReport::Figures* container = report.Find("BM_ContainerThinks");
        if (keyboard && container && container->cpuSeconds > 0.0)
            std::printf("1,000 keyboard Thinks / 1,000 guiContainer::Think of the dialog: %.3f (target: at "
                        "most 1.3)\n",
                        keyboard->cpuSeconds / container->cpuSeconds);
    });
}
