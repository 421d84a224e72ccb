#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/Window/plTestWindowHost.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "tests/Engine/Graphics/G3d/g3dTestScreen.h"

#include <string>

// The fakes a screen benchmark installs: a clock, a window, an input source (the GUI starts the input
// package, which wants one), the recording device and FreeType. benchStopGuiScreen uninstalls them.
struct benchGuiServices {
    benchGuiServices() {
        plInstallServices({.time = &time, .window = &window, .input = &input, .d3d = &d3d, .fonts = &fonts});
    }
    benchGuiServices(const benchGuiServices&) = delete;
    benchGuiServices& operator=(const benchGuiServices&) = delete;
    // The device logs every call: left to grow over a run it slows each later iteration, so that a
    // benchmark run after another pays for the first one's calls too.
    void ClearLog() { d3d.GetLog().clear(); }

    plTestTimeSource time;
    plTestWindowHost window;
    plTestInputSource input;
    plFakeD3d d3d;
    plFreeTypeFonts fonts;
};

// The root on the folder at the path; the GUI root's pictures come from its "gui.pak", as the game
// mounts it.
inline void benchSetRoot(i32 root, const std::string& path) {
    fsLocator folder;
    fsLocatorFromNativePath(path.c_str(), folder);
    fsSetRootDirectory(root, folder);
    if (root == coRootGui) {
        coPakManager::Create();
        coPakManager::OpenGuiPaks();
    }
}

// The 800 x 600 screen, renderer and GUI with its script parsers, over the installed services and the text
// root's font names: what every screen benchmark stands on.
inline void benchStartGuiScreen() {
    fsLocator fontNames(coRootText);
    fontNames.AppendComponent("fontname.tsf");
    g2dLoadFontNameTable(fontNames);
    g3dStartTestScreen(800, 600);
    guiInit();
    gprInit();
}

// Undoes benchStartGuiScreen, the fonts, the roots and the installed services.
inline void benchStopGuiScreen() {
    gprShutdown();
    guiShutdown();
    g3dStopTestScreen();
    fsResetRootTable();
    plInstallServices({});
}
