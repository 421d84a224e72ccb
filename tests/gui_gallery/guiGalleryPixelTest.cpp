#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiText.h"
#include "guiGallery.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Channels within tolerance: one 4-bit step for text, near exact for plain colours.
bool Near(u32 pixel, u32 rgb, int tolerance) {
    for (int shift : {16, 8, 0})
        if (std::abs(static_cast<int>((pixel >> shift) & 0xFF) - static_cast<int>((rgb >> shift) & 0xFF)) >
            tolerance)
            return false;
    return true;
}

} // namespace

// One window and device for the suite; each test empties the root again.
class guiGalleryPixels : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { gallery = new guiGallery; }
    static void TearDownTestSuite() {
        delete gallery;
        gallery = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(gallery->IsReady()); }
    void TearDown() override { gallery->Root().DeleteAllChildren(); }

    template <class W> W* Quad(float x, float y, float z, i32 w, i32 h) {
        W* widget = new W;
        widget->SetSize(w, h);
        widget->SetPosition({x, y, z});
        gallery->Root().AddChild(widget);
        return widget;
    }
    static u32 At(i32 x, i32 y) {
        return gallery->GetPicture()[static_cast<size_t>(y) * guiGallery::kWidth + x];
    }

    static inline guiGallery* gallery = nullptr;
};

TEST_F(guiGalleryPixels, AQuadCoversItsPixelsExactly) {
    Quad<guiMaterial>(100, 100, 1.0f, 64, 32)->SetColor({255, 0, 0}, guiStateIdle);
    gallery->Move(700, 500);
    gallery->Frame();
    const struct {
        i32 x, y;
        bool red;
    } pixels[] = {{100, 100, true}, {163, 131, true},  {163, 100, true}, {100, 131, true},
                  {99, 110, false}, {164, 110, false}, {120, 99, false}, {120, 132, false}};
    for (const auto& p : pixels)
        EXPECT_EQ(Near(At(p.x, p.y), 0xFF0000, 2), p.red)
            << p.x << ", " << p.y << ": " << std::hex << At(p.x, p.y);
}

TEST_F(guiGalleryPixels, TheSmallerDepthShowsInFront) {
    Quad<guiMaterial>(200, 200, 1.0f, 100, 100)->SetColor({0, 0, 255}, guiStateIdle);
    Quad<guiMaterial>(250, 250, 0.5f, 100, 100)->SetColor({0, 255, 0}, guiStateIdle);
    gallery->Move(700, 500);
    gallery->Frame();
    EXPECT_TRUE(Near(At(275, 275), 0x00FF00, 2));
    EXPECT_TRUE(Near(At(225, 225), 0x0000FF, 2));
}

TEST_F(guiGalleryPixels, TextInksOnlyItsQuad) {
    auto* text = Quad<guiText>(300, 300, 1.0f, 200, 40);
    text->SetTextureSize(200, 40);
    text->SetDefaultColor({255, 255, 255});
    text->SetText(envString("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"), guiStateIdle);
    gallery->Move(700, 500);
    gallery->Frame();
    const u32 background = At(10, 10);
    i32 inkInside = 0, inkOutside = 0;
    for (i32 y = 280; y < 360; ++y)
        for (i32 x = 280; x < 520; ++x) {
            const bool inside = x >= 300 && x < 500 && y >= 300 && y < 340;
            if (!Near(At(x, y), background, 17))
                ++(inside ? inkInside : inkOutside);
        }
    EXPECT_GT(inkInside, 100);
    EXPECT_EQ(inkOutside, 0);
}
