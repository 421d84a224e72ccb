#pragma once
#include "Engine/App/Gf/gfPakSearcher.h"

// The game's three sets of open paks and the locator that routes rooted reads to them before the disc:
// interface images of root 10 from "gui.pak", coaster-type files of root 7 from the open type's pak,
// prop-pack files of root 17 from "geom.pak". A set opens one pak per directory of its root that holds
// the file, in the root's order; the first pak holding an entry answers.
class coPakManager {
  public:
    class coPakLocator : public gfPakSearcher::PakLocator {
      public:
        gfPakFile* Locate(i32 root, const fsLocator& locator, fsLocator& pathInPak) override;
    };

    // Installs the locator (after the roots are made, before the preferences load).
    static void Create();
    // Closes every pak and uninstalls the locator.
    static void Destroy();

    static void OpenGuiPaks();
    // OpenGuiPaks for the game, whose interface is all in "gui.pak": fsFileDoesntExistX naming it when no
    // directory of the root holds one; anything else in its place is opened, so that its failure names it.
    static void RequireGuiPaks();
    static void OpenGeomPaks();
    static void CloseGeomPaks();
    // Closes the open type's paks and opens the type name plus ".pak" of root 7. Streams opened from the
    // old paks stay readable: they hold the archive open themselves.
    static void OpenCoasterPaks(const envString& coasterType);
    static void CloseCoasterPaks();
    static void CloseAllPaks();

    // The name of the coaster type whose paks are open; empty when none is.
    static const envString& GetOpenCoasterType();
};
