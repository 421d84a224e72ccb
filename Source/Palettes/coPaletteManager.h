#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <array>
#include <cstddef>
#include <initializer_list>

class coPropMarks;
class guiWindow;
class xuiHudMgr;

// The builder's palettes by index; the background (12) stands behind the menus.
enum coPaletteIndex : i32 {
    coPaletteStats = 0,
    coPaletteGlobalStats = 1,
    coPaletteLocalStats = 2,
    coPaletteProps = 3,
    coPaletteManipulateProp = 4,
    coPaletteManipulateDock = 5,
    coPaletteManipulateRing = 6,
    coPaletteManipulateSpot = 7,
    coPaletteTrackManip = 8,
    coPaletteMain = 9,
    coPaletteObjectives = 10,
    coPaletteDock = 11,
    coPaletteBackground = 12,
};
inline constexpr i32 coPaletteCount = 13;

// How a mode shows one palette: 0 not part of the mode, 1 hidden, 2 shown but inert, 3 shown and usable.
struct coPaletteStates {
    std::array<u32, coPaletteCount> codes{};

    void Set(std::initializer_list<i32> palettes, u32 code) {
        for (const i32 palette : palettes)
            codes[static_cast<std::size_t>(palette)] = code;
    }
};

// The palettes of the head-up display, made once at start-up (and again after a display change) and
// afterwards only shown, hidden, enabled and disabled by the modes through their palette states. The
// palettes 0 to 11 are children of the HUD root "Hud", and behind them the props' marks; the background
// is a child of the GUI's root.
class coPaletteManager {
  public:
    // The palette font, the HUD, each palette and the background, one loading-screen step each. A palette
    // that cannot be made takes the ones before it along (Destroy) and passes its exception on.
    static void Create();
    // The font and the HUD with its palettes go; the table forgets them and the background, which goes
    // with the GUI's root.
    static void Destroy();
    // Null outside 0..12 and for a palette that does not exist.
    static guiWindow* GetPalette(i32 index);
    // The HUD's marks over the props; null while there is no HUD.
    static coPropMarks* GetPropMarks();

    static void SetHudVisible(bool visible);
    static void SetHudEnabled(bool enabled);
    // The HUD root for "Hud", else its direct child of that name; null when none.
    static guiWindow* FindHudWindow(const char* name);

    // Codes outside 0..3 change nothing.
    static void SetPaletteState(guiWindow* palette, u32 code);
    // A code of 0 stays 0; others become 1 when the palette is not on screen, else 3 or 2 by its
    // enabled flag.
    static void GetPaletteState(guiWindow* palette, u32& code);
    static void SaveStates(coPaletteStates& states);
    static void ApplyStates(const coPaletteStates& states);

    // The Dock palette shows while the circuit is empty (usable when asked), the statistics once it is not.
    static void ShowBuildPalettes(bool dockUsable);
    // A new palette in the slot, shown as the old one was.
    static void RebuildPropsPalette();
    static void RebuildDockPalette();

  private:
    static void Rebuild(i32 index);
};
