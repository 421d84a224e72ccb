#include "Engine/App/App/private/appWindowProc.h"
#include "Engine/GUI/Gui/guiScreen.h"
#include "Engine/Graphics/G2d/g2dImage.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "guiWidgetFixture.h"

#include <algorithm>
#include <memory>
#include <string>
#include <utility>

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

    static std::unique_ptr<g2dImage> Image(u32 seed) {
        g2dPixelFormat argb;
        g2dGetPixelFormat(plD3dFormat::A8R8G8B8, argb);
        auto image = std::make_unique<g2dImage>(4, 4, argb);
        auto* texels = reinterpret_cast<u32*>(image->Lock());
        for (u32 i = 0; i < 16; ++i)
            texels[i] = seed * 0x01010101u + i;
        image->Unlock();
        return image;
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

TEST_F(guiCursorTest, ImagesAndHotSpotReachTheDeviceOnceAndSurviveResetsAndRestarts) {
    EXPECT_EQ(At(guiCursorMgr::GetPosition()), std::make_pair(0.0f, 0.0f));
    guiCursorMgr::SetHotSpot({2.7f, 2.2f});
    EXPECT_EQ(Count("SetCursorProperties 2 2"), 0u);
    auto arrow = Image(1);
    guiCursor& cursor = *guiCursorMgr::GetCursor();
    cursor.SetImage(1, arrow.get());
    guiCursorMgr::SetShape(1);
    guiCursorMgr::SetShape(1);
    EXPECT_EQ(Count("SetCursorProperties 2 2"), 1u);
    const std::vector<u32> pixels = device->GetCursorImage()->argb;
    EXPECT_EQ(pixels[5], 0x01010106u);

    // The image object goes; the device still gets its pixels back after a reset.
    cursor.SetImage(1, nullptr);
    arrow.reset();
    LoseAndReset();
    ASSERT_TRUE(device->GetCursorImage());
    EXPECT_EQ(device->GetCursorImage()->argb, pixels);
    EXPECT_EQ(device->GetCursorImage()->hotSpotX, 2u);
    EXPECT_EQ(Count("SetCursorProperties 2 2"), 2u);

    // Display changes restart the GUI; the screen stays up, and one handler brings the image back.
    g2dInitialize();
    for (int restart = 0; restart < 2; ++restart) {
        guiShutdown();
        guiInit();
    }
    auto wait = Image(2);
    guiCursorMgr::GetCursor()->SetImage(2, wait.get());
    guiCursorMgr::SetShape(2);
    d3d.GetLog().clear();
    LoseAndReset();
    EXPECT_EQ(Count("SetCursorProperties 2 2"), 1u);
    EXPECT_EQ(device->GetCursorImage()->argb[0], 0x02020202u);
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
