#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gui/guiPackage.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPaths.h"
#include "tests/Engine/Graphics/G3d/g3dTestScreen.h"

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
