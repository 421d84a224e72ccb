#include "Source/Palettes/coPaletteManager.h"

#include "Engine/GUI/Gui/guiImage.h"
#include "Source/Palettes/coBackground.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coScreenTestKit.h"

namespace {

struct coPaletteManagerTest : coScreenTest {
    void SetUp() override {
        coScreenTest::SetUp();
        const u32 before = Presents();
        coPaletteManager::Create();
        loadingSteps = Presents() - before;
    }
    void TearDown() override {
        coPaletteManager::Destroy();
        coLoadingScreenHide();
        coScreenTest::TearDown();
    }
    static guiWindow* Palette(i32 index) { return coPaletteManager::GetPalette(index); }
    u32 loadingSteps = 0;
};

TEST_F(coPaletteManagerTest, CreateFillsTheTableAndDestroyEmptiesIt) {
    EXPECT_EQ(loadingSteps, 13u);
    const char* names[] = {"Stats",          "GlobalStats",    "LocalStats",     "Props",
                           "ManipulateProp", "ManipulateDock", "ManipulateRing", "ManipulateSpot",
                           "TrackManip",     "Main",           "Objectives",     "Dock",
                           "Background"};
    guiWindow* hud = coPaletteManager::FindHudWindow("Hud");
    for (i32 i = 0; i < coPaletteCount; ++i) {
        ASSERT_NE(Palette(i), nullptr);
        EXPECT_EQ(Palette(i)->GetName(), names[i]);
        EXPECT_EQ(Palette(i)->GetParent(), i == coPaletteBackground ? guiWindowMgr::GetRoot() : hud);
    }
    EXPECT_EQ(hud->GetParent(), guiWindowMgr::GetRoot());
    EXPECT_EQ(coPaletteManager::FindHudWindow("Objectives"), Palette(coPaletteObjectives));
    EXPECT_EQ(coPaletteManager::FindHudWindow("Background"), nullptr);
    for (const i32 outside : {-1, 13})
        EXPECT_EQ(Palette(outside), nullptr);
    coPaletteManager::Destroy();
    for (i32 i = 0; i < coPaletteCount; ++i)
        EXPECT_EQ(Palette(i), nullptr);
    coPaletteManager::Create();
}

TEST_F(coPaletteManagerTest, StatesAppliedAndSaved) {
    struct Case {
        u32 code;
        bool enabled, visible;
    } const cases[] = {{0, false, false}, {1, false, false}, {2, false, true}, {3, true, true}};
    guiWindow* main = Palette(coPaletteMain);
    for (const Case& c : cases) {
        coPaletteManager::SetPaletteState(main, c.code);
        EXPECT_EQ(main->IsEnabled(), c.enabled) << c.code;
        EXPECT_EQ(main->IsVisible(), c.visible) << c.code;
        coPaletteManager::SetPaletteState(main, 4); // changes nothing
        EXPECT_EQ(main->IsVisible(), c.visible) << c.code;
        u32 saved = 1;
        coPaletteManager::GetPaletteState(main, saved);
        EXPECT_EQ(saved, c.code == 0 ? 1u : c.code) << c.code;
    }

    coPaletteStates shown;
    shown.codes.fill(3);
    coPaletteManager::ApplyStates(shown);
    coPaletteManager::ApplyStates(coPaletteStates{});
    for (i32 i = 0; i < coPaletteCount; ++i)
        EXPECT_FALSE(Palette(i)->IsVisible() || Palette(i)->IsEnabled()) << i;

    coPaletteManager::ApplyStates(shown);
    coPaletteManager::SetHudVisible(false);
    coPaletteStates saved;
    saved.codes[coPaletteMain] = 3;
    saved.codes[coPaletteBackground] = 1;
    coPaletteManager::SaveStates(saved);
    EXPECT_EQ(saved.codes[coPaletteMain], 1u); // shown, but inside a hidden HUD
    EXPECT_EQ(saved.codes[coPaletteBackground], 3u);
    EXPECT_EQ(saved.codes[coPaletteStats], 0u);
}

TEST_F(coPaletteManagerTest, BuildPalettesOnAnEmptyCircuitAndRebuilds) {
    for (const bool usable : {true, false}) {
        coPaletteManager::ShowBuildPalettes(usable);
        EXPECT_TRUE(Palette(coPaletteDock)->IsVisible());
        EXPECT_EQ(Palette(coPaletteDock)->IsEnabled(), usable);
        EXPECT_FALSE(Palette(coPaletteGlobalStats)->IsVisible());
        EXPECT_FALSE(Palette(coPaletteLocalStats)->IsVisible());
    }
    guiWindow* old = Palette(coPaletteDock);
    coPaletteManager::SetPaletteState(old, 0);
    coPaletteManager::RebuildDockPalette();
    EXPECT_FALSE(Palette(coPaletteDock)->IsVisible());
    EXPECT_EQ(Palette(coPaletteDock)->GetName(), "Dock");
    coPaletteManager::SetPaletteState(Palette(coPaletteProps), 2);
    coPaletteManager::RebuildPropsPalette();
    EXPECT_TRUE(Palette(coPaletteProps)->IsVisible());
    EXPECT_FALSE(Palette(coPaletteProps)->IsEnabled());
}

TEST_F(coPaletteManagerTest, BackgroundTilesShowTheMenusPicture) {
    auto* background = dynamic_cast<coBackground*>(Palette(coPaletteBackground));
    ASSERT_NE(background, nullptr);
    background->SetImage("uimm");
    for (i32 i = 0; i < coBackground::kTileCount; ++i) {
        const auto* tile = dynamic_cast<guiImage*>(background->FindChild(std::to_string(i).c_str()));
        fsLocator file;
        tile->GetImageFile(0, file);
        ASSERT_EQ(file.GetComponentCount() >= 2, true);
        EXPECT_EQ(envStringToNarrow(file.GetLastComponent()), "uimm_" + std::to_string(i) + ".png");
        EXPECT_TRUE(tile->HasTexture(0));
    }
    background->ReleaseImages();
    EXPECT_FALSE(dynamic_cast<guiImage*>(background->FindChild("0"))->HasTexture(0));
}

} // namespace
