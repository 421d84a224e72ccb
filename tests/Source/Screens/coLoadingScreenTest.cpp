#include "Source/Screens/coLoadingScreen.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G2d/g2dScreenFixture.h"
#include "Source/App/coRenderListConfig.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

#include <fstream>
#include <tuple>

namespace {

class coLoadingScreenTest : public g2dScreenFixture {
  protected:
    void SetUp() override {
        g2dScreenFixture::SetUp();
        fsResetRootTable();
        fsSetRootDirectory(coRootGui, m_folder.Locator());
        m_folder.MakeFolder("uild");
        WritePng("uild/uildbk_0.png", 4, 4);
        WritePng("uild/uildbk_3.png", 4, 4);
        WritePng("uild/uildlb_i.png", 400, 22);
    }
    void TearDown() override {
        coLoadingScreenHide();
        coPrefs::SetInt(coPrefResolution, 0);
        fsResetRootTable();
        g2dScreenFixture::TearDown();
    }
    void WritePng(const std::string& name, u32 width, u32 height) {
        std::ofstream(m_folder.Path(name), std::ios::binary) << g2dImageBuilder::Png(
            width, 8, 2, std::vector<std::string>(height, std::string(width * 3, '\x40')));
    }
    // A new display, with the pictures of the old one gone, as a display restart leaves it.
    void Screen(i32 width, i32 height) {
        coLoadingScreenHide();
        g2dScreen::Deinitialize();
        g2dScreen::InitWindowed(width, height, 0, 0);
        m_d3d.GetLog().clear();
    }
    // The bar's copies since the last look: everything not drawn at the screen's corner.
    std::vector<std::string> Bars() {
        std::vector<std::string> bars;
        for (const std::string& line : Calls("CopyRects"))
            if (line.find("-> 0 0") == std::string::npos)
                bars.push_back(line);
        m_d3d.GetLog().clear();
        return bars;
    }

    fsTestFolder m_folder;
};

using Lines = std::vector<std::string>;

TEST_F(coLoadingScreenTest, BarIsLaidOutFor800x600AndScaled) {
    Screen(800, 600);
    coLoadingScreenShow(true);
    EXPECT_EQ(Bars(), Lines{});
    coLoadingScreenShow(false);
    EXPECT_EQ(Bars(), Lines{"CopyRects 0 0 1 14 -> 332 547"});
    coLoadingScreenStep();
    EXPECT_EQ(Bars(), Lines{"CopyRects 0 0 181 14 -> 332 547"});
    for (int show = 3; show <= 181; ++show)
        coLoadingScreenShow(false);
    Bars();
    coLoadingScreenShow(false); // the 182nd show: full; the 183rd: none again
    EXPECT_EQ(Bars(), Lines{"CopyRects 0 0 181 14 -> 332 547"});
    coLoadingScreenShow(false);
    EXPECT_EQ(Bars(), Lines{});

    // At 640 x 480 the first bar, 1 pixel wide, comes on the third show.
    Screen(640, 480);
    coLoadingScreenShow(true);
    coLoadingScreenShow(false);
    EXPECT_EQ(Bars(), Lines{});
    coLoadingScreenShow(false);
    EXPECT_EQ(Bars(), Lines{"CopyRects 0 0 1 11 -> 265 437"});
}

TEST_F(coLoadingScreenTest, OnlyABackgroundSmallerThanTheScreenIsClearedAround) {
    WritePng("uild/uildbk_1.png", 64, 48);
    coPrefs::SetInt(coPrefResolution, 1);
    for (const auto& [width, height, clears] : {std::tuple{64, 48, 0u}, {65, 48, 1u}, {64, 49, 1u}}) {
        Screen(width, height);
        coLoadingScreenStep();
        EXPECT_EQ(Calls("Clear").size(), clears) << width << " x " << height;
    }
}

TEST_F(coLoadingScreenTest, BackgroundFollowsTheResolutionPreference) {
    coPrefs::SetInt(coPrefResolution, 3);
    Screen(1280, 960);
    coLoadingScreenStep();
    EXPECT_EQ(Bars(), Lines{"CopyRects 0 0 289 22 -> 531 875"});

    // A damaged preference names the first picture instead of a file that cannot exist.
    char name[13];
    for (const auto& [resolution, expected] : {std::pair{5, "uildbk_5.png"},
                                               {-1, "uildbk_0.png"},
                                               {6, "uildbk_0.png"},
                                               {-2147483647 - 1, "uildbk_0.png"}}) {
        coLoadingBackgroundName(resolution, name);
        EXPECT_STREQ(name, expected);
    }

    // Pictures are loaded again after a hide, so a missing one fails then.
    coLoadingScreenHide();
    coPrefs::SetInt(coPrefResolution, 5);
    EXPECT_ANY_THROW(coLoadingScreenStep());
}

TEST(coRenderListConfigTest, FiveListsWorldThenScreenSpace) {
    std::vector<g3dRenderListConfig> lists;
    coBuildRenderListConfigs(lists);
    EXPECT_EQ(lists,
              (std::vector<g3dRenderListConfig>{
                  {0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}}));
}

} // namespace
