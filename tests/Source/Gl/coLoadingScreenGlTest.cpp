// The loading screen on the OpenGL device: the bar is drawn where the 800 x 600 layout puts it.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G2d/g2dImageFile.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Settings/coScreenCapture.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>

namespace {

using Rgb = std::array<u8, 3>;

std::string SolidPng(u32 width, u32 height, const Rgb& rgb) {
    std::string row;
    for (u32 x = 0; x < width; ++x)
        row.append(reinterpret_cast<const char*>(rgb.data()), 3);
    return g2dImageBuilder::Png(width, 8, 2, std::vector<std::string>(height, row));
}

TEST(coLoadingScreenGl, TheFullBarCoversItsPlaceAndNoMore) {
    plSystemServices services;
    plInstallServices(services.GetServices());
    ASSERT_TRUE(plGetWindowHost().CreateWindow(0, 0, 800, 600, u"loading", false));
    g2dInitialize();
    g2dScreen::InitWindowed(800, 600, 0, 0);

    fsTestFolder folder;
    folder.MakeFolder("uild");
    const Rgb blue = {20, 40, 160};
    const Rgb black = {0, 0, 0};
    const Rgb yellow = {250, 210, 30};
    std::ofstream(folder.Path("uild/uildbk_0.png"), std::ios::binary) << SolidPng(8, 8, blue);
    std::ofstream(folder.Path("uild/uildlb_i.png"), std::ios::binary) << SolidPng(362, 28, yellow);
    fsResetRootTable();
    fsSetRootDirectory(coRootGui, folder.Locator());
    coPrefs::SetInt(coPrefResolution, 0);

    coLoadingScreenStep();
    const fsLocator shot = folder.Locator("shot.bmp");
    coGrabScreenToBmp(*g_pdevice, shot, 1);
    const g2dPixelRows rows = g2dReadBMP(shot);
    ASSERT_EQ(rows.width, 800u);
    ASSERT_EQ(rows.height, 600u);
    // The background in its corner; yellow over (332..512, 547..560), the cleared black just outside.
    const auto near = [&rows](u32 x, u32 y, const Rgb& rgb) {
        const u8* pixel = rows.Row(y) + x * rows.BytesPerPixel();
        for (size_t c = 0; c < 3; ++c)
            if (std::abs(pixel[c] - rgb[c]) > 8)
                return false;
        return true;
    };
    EXPECT_TRUE(near(3, 3, blue));
    for (const auto& [x, y] : {std::pair{332u, 547u}, {512u, 547u}, {332u, 560u}, {512u, 560u}, {420u, 553u}})
        EXPECT_TRUE(near(x, y, yellow)) << x << ", " << y;
    for (const auto& [x, y] : {std::pair{331u, 553u}, {513u, 553u}, {420u, 546u}, {420u, 561u}})
        EXPECT_TRUE(near(x, y, black)) << x << ", " << y;

    coLoadingScreenHide();
    fsResetRootTable();
    g2dScreen::Deinitialize();
    g2dShutdown();
    plInstallServices({});
}

} // namespace
