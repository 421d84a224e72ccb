// Screens and palettes that make widgets in code, built with each of their pictures in turn failing to
// load as a damaged one does: whatever the build got to is let go, so nothing is left unowned.
#include "Engine/GUI/Gui/guiTextureCache.h"
#include "Engine/Graphics/G2d/g2dExceptions.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Source/Palettes/coDockPalette.h"
#include "Source/Palettes/coManipulatePalette.h"
#include "Source/Palettes/coObjectivesPalette.h"
#include "Source/Palettes/coPropsPalette.h"
#include "Source/Palettes/coStatsPalette.h"
#include "Source/Palettes/coTrackManipPalette.h"
#include "Source/Screens/coChooseAnimDialog.h"
#include "Source/Screens/coChooseCoasterDialog.h"
#include "Source/Screens/coCreditsDialog.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coFileBrowseDialog.h"
#include "Source/Screens/coLoadMenu.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Screens/coQuestionDialog.h"
#include "Source/Screens/coRidePauseDialog.h"
#include "Source/Screens/coSelectTrackwrightMenu.h"
#include "Source/World/coProp.h"
#include "coScreenTestKit.h"

#include <set>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

// The texture manager's pictures, load number `failing` (from 1) failing as a damaged one does; `held`
// keeps those handed out and not given back (texts' own textures come back here too).
struct FailingLoader : guiTextureLoader {
    FailingLoader() { guiTextureCache::SetLoader(this); }
    ~FailingLoader() override { guiTextureCache::SetLoader(nullptr); }
    g3dTexture* LoadPlainTexture(const fsLocator& file) override {
        return Load(g3dTextureManager::LoadPlainTexture, file);
    }
    g3dTexture* LoadUVATexture(const fsLocator& file) override {
        return Load(g3dTextureManager::LoadUVATexture, file);
    }
    void ReleaseTexture(g3dTexture* texture) override {
        held.erase(texture);
        g3dTextureManager::ReleaseTexture(texture);
    }
    template <class Manager> g3dTexture* Load(Manager load, const fsLocator& file) {
        if (++loads == failing)
            throw g2dDamagedImageX();
        return *held.insert(load(file, 0, 0)).first;
    }
    int failing = 0;
    int loads = 0;
    std::set<g3dTexture*> held;
};

template <class Screen> void Build() {
    Screen screen;
}

using coWidgetOwnershipTest = coScreenTest;

TEST_F(coWidgetOwnershipTest, AScreenWhosePictureFailsLeavesNothingUnowned) {
    coProp fountain(LoadShippedFountain());
    coDialogDimmer::Create();
    const struct {
        const char* screen;
        std::function<void()> build; // makes the screen and lets it go
    } rows[] = {
        {"track pieces", Build<coTrackManipPalette>},
        {"stats", Build<coStatsPalette>},
        {"objectives", Build<coObjectivesPalette>},
        {"dock", Build<coDockPalette>},
        {"props", Build<coPropsPalette>},
        {"manipulate", Build<coManipulatePalette>},
        {"choose coaster", Build<coChooseCoasterDialog>},
        {"choose animation", [&] { coChooseAnimDialog dialog(&fountain, 0, 0); }},
        {"credits", Build<coCreditsDialog>},
        {"load menu", [] { coLoadMenu menu([](u32, const envString&) { return false; }); }},
        {"select trackwright", Build<coSelectTrackwrightMenu>},
        {"ride pause", Build<coRidePauseDialog>},
        {"medal question", [] { coQuestionDialog dialog(3); }},
        {"file browser", Build<coFileBrowseDialog>},
    };
    for (const auto& row : rows) {
        FailingLoader loader;
        row.build();
        const int loads = loader.loads;
        EXPECT_GT(loads, 0) << row.screen;
        for (loader.failing = 1; loader.failing <= loads; ++loader.failing) {
            loader.loads = 0;
            try {
                row.build();
            } catch (const g2dDamagedImageX&) {
                // Palette pictures are let go with a warning; others end the build.
            }
            EXPECT_TRUE(loader.held.empty()) << row.screen << ", load " << loader.failing;
        }
#if defined(__SANITIZE_ADDRESS__)
        EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << row.screen;
#endif
    }
    coDialogDimmer::Destroy();
    // The load menu shows the loading screen while it reads.
    coLoadingScreenHide();
}

} // namespace
