#include "Source/Palettes/coPaletteManager.h"

#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/GUI/Xui/xuiHudMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Palettes/coDockPalette.h"
#include "Source/Palettes/coGlobalStatsPalette.h"
#include "Source/Palettes/coLocalStatsPalette.h"
#include "Source/Palettes/coMainPalette.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPropMarks.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Track/coCircuitPieceList.h"

#include <cstring>
#include <memory>

namespace {

constexpr const char* kNames[coPaletteCount] = {
    "Stats",          "GlobalStats",    "LocalStats",     "Props",      "ManipulateProp",
    "ManipulateDock", "ManipulateRing", "ManipulateSpot", "TrackManip", "Main",
    "Objectives",     "Dock",           "Background"};
// The order in which the palettes are made.
constexpr i32 kCreationOrder[] = {coPaletteStats,          coPaletteMain,           coPaletteGlobalStats,
                                  coPaletteLocalStats,     coPaletteProps,          coPaletteManipulateProp,
                                  coPaletteTrackManip,     coPaletteManipulateDock, coPaletteObjectives,
                                  coPaletteManipulateRing, coPaletteManipulateSpot, coPaletteDock};

std::array<guiWindow*, coPaletteCount> g_table{};
coPropMarks* g_marks = nullptr;
xuiHudMgr* g_hud = nullptr;
g2dFont g_font;

// The palettes without screens of their own are empty containers of their names.
std::unique_ptr<guiWindow> MakePalette(i32 index) {
    std::unique_ptr<guiWindow> palette;
    switch (index) {
    case coPaletteProps:
        palette = std::make_unique<coPropsPalette>();
        break;
    case coPaletteManipulateProp:
    case coPaletteManipulateDock:
    case coPaletteManipulateRing:
    case coPaletteManipulateSpot:
        palette = std::make_unique<coManipulatePalette>();
        break;
    case coPaletteDock:
        palette = std::make_unique<coDockPalette>();
        break;
    case coPaletteStats:
        palette = std::make_unique<coStatsPalette>();
        break;
    case coPaletteGlobalStats:
        palette = std::make_unique<coGlobalStatsPalette>();
        break;
    case coPaletteLocalStats:
        palette = std::make_unique<coLocalStatsPalette>();
        break;
    case coPaletteTrackManip:
        palette = std::make_unique<coTrackManipPalette>();
        break;
    case coPaletteMain:
        palette = std::make_unique<coMainPalette>();
        break;
    case coPaletteObjectives:
        palette = std::make_unique<coObjectivesPalette>();
        break;
    default:
        palette = std::make_unique<guiContainer>();
    }
    palette->SetName(kNames[index]);
    return palette;
}

} // namespace

void coPaletteManager::Create() {
    g_font = g2dFont::Get(u"Comic Sans MS", 16);
    g_hud = new xuiHudMgr;
    g_hud->SetName("Hud");
    g_hud->SetPosition({0.0f, 0.0f, 1.0f});
    i32 width = 0, height = 0;
    guiGetScreenSize(width, height);
    g_hud->SetSize(width, height);
    try {
        for (const i32 index : kCreationOrder) {
            g_table[static_cast<size_t>(index)] = g_hud->AddChild(MakePalette(index));
            coLoadingScreenShow(false);
        }
        g_marks = g_hud->AddChild(std::make_unique<coPropMarks>());
        auto background = std::make_unique<coBackground>();
        background->SetName(kNames[coPaletteBackground]);
        g_table[coPaletteBackground] = background.get();
        guiWindowMgr::AddWindow(background.release());
    } catch (...) {
        // The HUD is in no window tree yet: the palettes made so far go with it now, so that the report of
        // the failure shows over none of them.
        Destroy();
        throw;
    }
    coLoadingScreenShow(false);
    guiWindowMgr::AddWindow(g_hud);
    // The coaster type says whether its track may invert, now and whenever another type is read.
    auto* track = static_cast<coTrackManipPalette*>(g_table[coPaletteTrackManip]);
    track->SetAllowInversions(coGetCoasterDefinition().GetAllowInvertPieces());
    coSetInversionListener(track);
}

void coPaletteManager::Destroy() {
    coSetInversionListener(nullptr);
    g2dFont::Release(g_font);
    g_font = {};
    guiWindowMgr::DeleteWindow(g_hud);
    g_hud = nullptr;
    g_marks = nullptr;
    // Slot 12 goes with the GUI's root, which may be made anew before the next Create.
    g_table.fill(nullptr);
}

guiWindow* coPaletteManager::GetPalette(i32 index) {
    return index >= 0 && index < coPaletteCount ? g_table[static_cast<size_t>(index)] : nullptr;
}

coPropMarks* coPaletteManager::GetPropMarks() {
    return g_marks;
}

void coPaletteManager::SetHudVisible(bool visible) {
    if (g_hud)
        g_hud->SetVisible(visible);
}

void coPaletteManager::SetHudEnabled(bool enabled) {
    if (g_hud)
        g_hud->SetEnabled(enabled);
}

guiWindow* coPaletteManager::FindHudWindow(const char* name) {
    if (!g_hud)
        return nullptr;
    return std::strcmp(name, "Hud") == 0 ? g_hud : g_hud->FindChild(name);
}

void coPaletteManager::SetPaletteState(guiWindow* palette, u32 code) {
    if (code > 3)
        return;
    if (g_hud)
        g_hud->SetItemEnabled(code != 0, palette->GetName().c_str());
    // Every mode change applies all 13: a flag that stays is not set again, which would walk the
    // palette's windows for nothing.
    if (palette->IsEnabled() != (code == 3))
        palette->SetEnabled(code == 3);
    if (palette->IsVisible() != (code >= 2))
        palette->SetVisible(code >= 2);
}

void coPaletteManager::GetPaletteState(guiWindow* palette, u32& code) {
    if (code == 0)
        return;
    if (!palette->IsEffectivelyVisible())
        code = 1;
    else
        code = palette->IsEnabled() ? 3 : 2;
}

void coPaletteManager::SaveStates(coPaletteStates& states) {
    for (i32 i = 0; i < coPaletteCount; ++i)
        if (guiWindow* palette = g_table[static_cast<size_t>(i)])
            GetPaletteState(palette, states.codes[static_cast<size_t>(i)]);
    // A message of the mode left behind does not greet the next one.
    if (auto* main = dynamic_cast<coMainPalette*>(g_table[coPaletteMain]))
        main->HideFeedback();
}

void coPaletteManager::ApplyStates(const coPaletteStates& states) {
    for (i32 i = 0; i < coPaletteCount; ++i)
        if (guiWindow* palette = g_table[static_cast<size_t>(i)])
            SetPaletteState(palette, states.codes[static_cast<size_t>(i)]);
}

void coPaletteManager::ShowBuildPalettes(bool dockUsable) {
    const bool empty = coCircuitFirstPiece() == nullptr;
    if (guiWindow* dock = g_table[coPaletteDock]) {
        dock->SetVisible(empty);
        dock->SetEnabled(dockUsable && empty);
    }
    for (const i32 index : {coPaletteGlobalStats, coPaletteLocalStats})
        if (guiWindow* stats = g_table[static_cast<size_t>(index)])
            stats->SetVisible(!empty);
}

void coPaletteManager::RebuildPropsPalette() {
    Rebuild(coPaletteProps);
}

void coPaletteManager::RebuildDockPalette() {
    Rebuild(coPaletteDock);
}

void coPaletteManager::Rebuild(i32 index) {
    guiWindow*& slot = g_table[static_cast<size_t>(index)];
    if (!g_hud || !slot)
        return;
    const bool enabled = slot->IsEnabled();
    const bool visible = slot->IsVisible();
    // Made before the old one goes, so that a failure leaves the slot on a palette that is there.
    std::unique_ptr<guiWindow> palette = MakePalette(index);
    guiWindowMgr::DeleteWindow(slot);
    slot = g_hud->AddChild(std::move(palette));
    SetPaletteState(slot, !visible ? 0 : enabled ? 3 : 2);
}
