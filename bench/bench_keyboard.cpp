// An on-screen keyboard whose toggle key flips between two grids of the same size on the test device:
// each flip deletes every character key and builds the other grid's keys (a key picture per state, a
// caption read from the character set). Prints the time of a flip of 104 keys over one of 26, whose
// target is at most 5 (linear: 4), and the load of a binary script of a keyboard selector of 4 pairs of
// 48-key keyboards over one of 1 pair, whose target is at most 4.6 (linear: 4).
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Tools/Image/toolPngWriter.h"
#include "benchReport.h"
#include "tests/Engine/Graphics/G3d/g3dTestScreen.h"

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <unistd.h>

namespace {

// The gui package on the fakes with the renderer's lists, and a folder with the key picture and the sets.
class Scene {
  public:
    Scene()
        : m_folder(std::filesystem::temp_directory_path() / ("bench-keyboard-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_folder);
        toolWritePng((m_folder / "key.png").string(), toolImage{4, 4, 4, std::vector<u8>(64, 0x80)});
        plInstallServices({.time = &m_time,
                           .window = &m_window,
                           .messageBox = &m_messageBox,
                           .input = &m_input,
                           .d3d = &m_d3d,
                           .fonts = &m_fonts});
        guiInit();
        gprInit();
        g3dStartTestScreen(800, 600);
    }
    ~Scene() {
        guiWindowMgr::GetRoot()->DeleteAllChildren();
        g3dStopTestScreen();
        gprShutdown();
        guiShutdown();
        plInstallServices({});
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    fsLocator File(const std::string& name) const {
        fsLocator file;
        fsLocatorFromNativePath((m_folder / name).string().c_str(), file);
        return file;
    }
    // A keyboard of two grids of `keys` captions each, under 0 and 1, and the toggle key between them.
    xuiOrderedKeyboard* Keyboard(i32 keys) const {
        std::map<u32, envString> captions;
        for (i32 i = 0; i < keys; ++i)
            captions[static_cast<u32>(i)] = envString(std::to_string(i).c_str());
        gfWriteTextSet(File("set.tsf"), 32, captions);
        xuiKeyPrototypeStandard prototype;
        prototype.SetKeySize(30, 30);
        for (i32 state = 0; state < 6; ++state)
            prototype.SetImage(state, File("key.png"));
        xuiKeyboardLayoutGrid grid;
        grid.GetLayout().SetKeyPrototype(prototype);
        grid.GetLayout().SetCharacterSetPath(File("set.tsf"));
        grid.GetLayout().SetStandardLayoutSize(390, 30 * keys / 13);
        grid.SetNumColumns(13);
        auto* keyboard = new xuiOrderedKeyboard;
        guiWindowMgr::AddWindow(keyboard);
        keyboard->AddLayoutGrid(0, grid);
        keyboard->AddLayoutGrid(1, grid);
        xuiKeyPrototypeToggle toggle;
        toggle.SetKeySize(30, 30);
        toggle.SetKeyId(6);
        toggle.SetToggleValue(1);
        keyboard->AddToggleKey(toggle);
        keyboard->BuildLayout(0);
        return keyboard;
    }

    // "selector<pairs>.gsf": a selector of that many pairs of a 48-key keyboard and its image.
    fsLocator SelectorScript(i32 pairs) const {
        std::map<u32, envString> captions;
        for (u32 i = 0; i < 48; ++i)
            captions[i] = envString(std::to_string(i).c_str());
        gfWriteTextSet(File("set48.tsf"), 32, captions);
        std::string text = "Container { KeyboardSelector {\n";
        for (i32 i = 0; i < pairs; ++i)
            text +=
                "KeyboardSelectorPair { OrderedKeyboard { LayoutGrid { CharacterSetPath \"set48.tsf\" "
                "NumColumns 12 "
                "StandardLayoutSize 360 120 KeyPrototypeStandard { KeySize 30 30 ImageState \"key.png\" Idle "
                "ImageState \"key.png\" Pressed } } } Image { ImageState \"key.png\" Idle } }\n";
        text += "} }\n";
        const std::string name = "selector" + std::to_string(pairs);
        std::FILE* out = std::fopen((m_folder / (name + ".gst")).string().c_str(), "wb");
        std::fwrite(text.data(), 1, text.size(), out);
        std::fclose(out);
        gprParserUtil::CompileScript(File(name + ".gst"), File(name + ".gsf"));
        return File(name + ".gsf");
    }
    fsLocator Folder() const {
        fsLocator folder;
        fsLocatorFromNativePath(m_folder.string().c_str(), folder);
        return folder;
    }

  private:
    std::filesystem::path m_folder;
    plTestTimeSource m_time;
    plTestWindowHost m_window;
    plTestMessageBox m_messageBox;
    plTestInputSource m_input;
    plFakeD3d m_d3d;
    plFreeTypeFonts m_fonts;
};

Scene* g_scene = nullptr;

void BM_ToggleRebuild(benchmark::State& state) {
    xuiOrderedKeyboard* keyboard = g_scene->Keyboard(static_cast<i32>(state.range(0)));
    guiCheckbox* toggle = keyboard->FindKey(6);
    for (auto _ : state) {
        toggle->SetChecked(!toggle->IsChecked());
        keyboard->Think();
    }
    guiWindowMgr::DeleteWindow(keyboard);
}
BENCHMARK(BM_ToggleRebuild)->Arg(26)->Arg(104)->Unit(benchmark::kMillisecond);

void BM_SelectorLoad(benchmark::State& state) {
    const i32 pairs = static_cast<i32>(state.range(0));
    g_scene->SelectorScript(pairs);
    const fsLocator folder = g_scene->Folder();
    const envString name(("selector" + std::to_string(pairs)).c_str());
    for (auto _ : state) {
        guiContainer screen;
        gprParserUtil::LoadScript(folder, name, &screen);
    }
}
BENCHMARK(BM_SelectorLoad)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    Scene scene;
    g_scene = &scene;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* small = report.Find("BM_ToggleRebuild/26");
        const benchReport::Figures* large = report.Find("BM_ToggleRebuild/104");
        if (small && large && small->cpuSeconds > 0.0)
            std::printf("toggle rebuilding 104 keys / 26 keys: %.2f (linear: 4, target at most 5)\n",
                        large->cpuSeconds / small->cpuSeconds);
        const benchReport::Figures* one = report.Find("BM_SelectorLoad/1");
        const benchReport::Figures* four = report.Find("BM_SelectorLoad/4");
        if (one && four && one->cpuSeconds > 0.0)
            std::printf(
                "selector of 4 pairs / 1 pair from the binary script: %.2f (linear: 4, target at most 4.6)\n",
                four->cpuSeconds / one->cpuSeconds);
    });
}
