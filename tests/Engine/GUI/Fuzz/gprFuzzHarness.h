#pragma once
// What both script fuzz targets share: the package started with the test widgets, the gui package and
// the renderer's lists on the fake platform for the toolkit's widgets, a folder for the input and a text set,
// and the load of the binary form into a target made by the parser of the file's first chunk.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gpr/gprTestWidgets.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/Graphics/G3d/g3dTestScreen.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plMessageBox.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Fuzz/fuzzInputFile.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <typeinfo>

namespace gprFuzz {

inline std::unique_ptr<fuzzInputFile> g_input;
inline fsLocator g_folder, g_textSet;

inline void Initialize(const char* inputName) {
    g_input = std::make_unique<fuzzInputFile>(inputName);
    fsLocatorFromNativePath(g_input->GetFolder().c_str(), g_folder);
    g_textSet = g_folder;
    g_textSet.AppendComponent("texts.tsf");
    dbgSetLogSink([](const std::string&) {});
    static gprTestFonts fonts;
    static plTestTimeSource time;
    static plTestWindowHost window;
    static plTestMessageBox messageBox;
    static plTestInputSource input;
    static plFakeD3d d3d;
    input.AddDevice(plInputDeviceKind::Mouse, u"Mouse");
    plInstallServices({.time = &time,
                       .window = &window,
                       .messageBox = &messageBox,
                       .input = &input,
                       .d3d = &d3d,
                       .fonts = &fonts});
    g3dStartTestScreen(800, 600);
    guiInit();
    gprInit();
    gprInstallTestWidgets();
    gfWriteTextSet(g_textSet, 32, {{0, u"Zero"}, {1, u"One"}, {7, u"Seven"}});
    std::atexit([] {
        gprRemoveTestWidgets();
        gprShutdown();
        guiShutdown();
        g3dStopTestScreen();
        g_input.reset();
        plInstallServices({});
    });
}

// Loads "input.gsf" of the folder into a widget of its first chunk's kind (a container for others).
inline void LoadBinary() {
    u32 id = 0;
    std::ifstream(g_input->GetFolder() + "/input.gsf", std::ios::binary)
        .read(reinterpret_cast<char*>(&id), 4);
    gprWindowParser* parser = gprParserUtil::FindWidgetParser(id);
    std::unique_ptr<guiWindow> target(parser ? parser->CreateWidget() : nullptr);
    if (!target)
        target = std::make_unique<guiContainer>();
    try {
        guiLoadScript(g_folder, u"input", g_textSet, target.get());
    } catch (const envExceptionX&) {
    } catch (const std::bad_cast&) {
    }
    g2dFont::ReleaseAll();
}

} // namespace gprFuzz
