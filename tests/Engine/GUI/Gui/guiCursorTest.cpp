#include "Engine/App/App/private/appWindowProc.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "guiWidgetFixture.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

std::pair<float, float> At(const maVector2d& v) {
    return {v.x, v.y};
}

// The pointer on the fake device of an 800 x 600 screen; images of 4 x 4 A8R8G8B8 pixels.
class guiCursorTest : public guiWidgetTest {
  protected:
    void SetUp() override {
        guiWidgetTest::SetUp();
        device = d3d.GetDevice();
    }

    // A 4 x 4 RGBA picture whose texel i is seed, i, 0x30 with alpha 0x80 + i, written as "<name>.png".
    fsLocator Picture(const std::string& name, u8 seed) {
        std::vector<std::string> rows;
        for (int y = 0; y < 4; ++y) {
            std::string row;
            for (int x = 0; x < 4; ++x)
                row += {static_cast<char>(seed), static_cast<char>(y * 4 + x), '\x30',
                        static_cast<char>(0x80 + y * 4 + x)};
            rows.push_back(row);
        }
        folder.Write(name + ".png", g2dImageBuilder::Png(4, 8, 6, rows));
        return folder.Locator(name + ".png");
    }
    size_t Properties() {
        const auto& calls = d3d.GetLog();
        return static_cast<size_t>(std::count_if(calls.begin(), calls.end(), [](const std::string& line) {
            return line.rfind("SetCursorProperties", 0) == 0;
        }));
    }
    size_t Count(const std::string& line) {
        const auto& calls = d3d.GetLog();
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), line));
    }
    // A loss and the reset after it, through the screen's frame end.
    void LoseAndReset() {
        device->InjectLoss(1);
        for (int i = 0; i < 3; ++i)
            g2dScreen::EndFrame();
    }

    plFakeD3dDevice* device = nullptr;
};

TEST_F(guiCursorTest, ImagesReachTheDeviceOnlyWhenTheirIdIsChosen) {
    EXPECT_EQ(At(guiCursorMgr::GetPosition()), std::make_pair(0.0f, 0.0f));
    guiCursorMgr::SetHotSpot({2.7f, 2.2f});
    EXPECT_EQ(Properties(), 0u);
    guiCursor& cursor = *guiCursorMgr::GetCursor();
    cursor.SetImage(Picture("arrow", 1), 0);
    cursor.SetImage(Picture("wait", 2), 5);
    EXPECT_EQ(Properties(), 0u);
    guiCursorMgr::SetShape(0);
    guiCursorMgr::SetShape(0);
    EXPECT_EQ(Count("SetCursorProperties 2 2"), 1u);
    EXPECT_EQ(device->GetCursorImage()->argb[5], 0x85010530u);

    // A new image of the current id shows only once another id and then it are chosen again.
    cursor.SetImage(Picture("arrow2", 3), 0);
    EXPECT_EQ(Properties(), 1u);
    guiCursorMgr::SetShape(5);
    guiCursorMgr::SetShape(0);
    EXPECT_EQ(Properties(), 3u);
    EXPECT_EQ(device->GetCursorImage()->argb[0], 0x80030030u);

    // A file that cannot be read keeps the working image; an id without image changes nothing.
    folder.Write("broken.png", g2dImageBuilder::kPngSignature + "garbage");
    for (const char* name : {"missing.png", "broken.png"})
        EXPECT_ANY_THROW(cursor.SetImage(folder.Locator(name), 5)) << name;
    ASSERT_NE(cursor.GetImage(5), nullptr);
    EXPECT_EQ(cursor.GetImage(5)->GetWidth(), 4);
    guiCursorMgr::SetShape(7);
    EXPECT_EQ(cursor.GetShape(), 0);
    EXPECT_EQ(Properties(), 3u);
    EXPECT_TRUE(log.Holds("No pointer image for cursor id 7"));

    // The hot spot goes with the current image at once; a reset brings both back.
    guiCursorMgr::SetHotSpot({1.0f, 3.0f});
    cursor.SetImage(Picture("arrow3", 4), 0);
    LoseAndReset();
    EXPECT_EQ(Count("SetCursorProperties 1 3"), 2u);
    EXPECT_EQ(device->GetCursorImage()->argb[0], 0x80030030u);

    // Display changes restart the GUI; the screen stays up, and one handler brings the image back.
    g2dInitialize();
    for (int restart = 0; restart < 2; ++restart) {
        guiShutdown();
        guiInit();
    }
    guiCursorMgr::GetCursor()->SetImage(Picture("wait", 2), 5);
    guiCursorMgr::SetShape(5);
    d3d.GetLog().clear();
    LoseAndReset();
    EXPECT_EQ(Properties(), 1u);
    EXPECT_EQ(device->GetCursorImage()->argb[0], 0x80020030u);
    g2dShutdown();

    guiCursorMgr::Destroy();
    guiCursorMgr::Destroy();
    guiCursorMgr::Create();
}

TEST_F(guiCursorTest, HiddenPointerStaysHiddenAndPositionsGoThroughTheScreenScale) {
    const plMessage setCursor{.kind = plMessageKind::SetCursor};
    appWindowProc(window, setCursor);
    EXPECT_EQ(Count("ShowCursor 1"), 1u);
    guiCursorMgr::SetVisible(false);
    appWindowProc(window, setCursor);
    EXPECT_EQ(Count("ShowCursor 0"), 1u);
    EXPECT_EQ(Count("ShowCursor 1"), 1u);
    EXPECT_FALSE(guiCursorMgr::IsVisible());
    guiCursorMgr::SetVisible(true);
    appWindowProc(window, setCursor);
    EXPECT_EQ(Count("ShowCursor 1"), 3u);

    // A GUI screen of half the device's size: GUI pixels are two device pixels.
    guiSetScreenSize(400, 300);
    guiCursorMgr::SetPosition({200.0f, 150.0f});
    EXPECT_EQ(Count("SetCursorPosition 400 300 0"), 1u);
    device->MovePointer(120, 80);
    EXPECT_EQ(At(guiCursorMgr::GetPosition()), std::make_pair(200.0f, 150.0f));
    guiCursorMgr::UpdatePosition();
    EXPECT_EQ(At(guiCursorMgr::GetPosition()), std::make_pair(60.0f, 40.0f));
    guiSetScreenSize(800, 600);
}

} // namespace
