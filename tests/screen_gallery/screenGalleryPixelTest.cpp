#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Tools/Image/toolScreenPictures.h"
#include "screenGallery.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

constexpr int kTolerance = 3;

u32 Pixel(guiGallery& gallery, int x, int y) {
    return gallery.GetPicture()[static_cast<size_t>(y) * guiGallery::kWidth + static_cast<size_t>(x)];
}

// Each channel of the picture's pixel against the backdrop's, scaled.
void ExpectBackdrop(guiGallery& gallery, const toolImage& backdrop, int x, int y, float scale) {
    const u32 shown = Pixel(gallery, x, y);
    for (int c = 0; c < 3; ++c) {
        const int expected = static_cast<int>(
            backdrop.pixels[static_cast<size_t>((y * backdrop.width + x) * 3 + c)] * scale + 0.5f);
        const int got = static_cast<int>((shown >> (16 - 8 * c)) & 0xFF);
        EXPECT_LE(std::abs(got - expected), kTolerance) << "at " << x << "," << y << " channel " << c;
    }
}

// The main menu's buttons cover x 500 to 756 from y 140 to 546.
bool UnderButtons(int x, int y) {
    return x >= 500 && x < 756 && y >= 140 && y < 546;
}

TEST(screenGalleryPixels, MainMenuTilesAndTheDimmedQuestion) {
    screenGallery screens;
    ASSERT_TRUE(screens.IsReady());
    guiGallery& gallery = screens.Gallery();
    screens.Build("mainmenu");
    gallery.Frame();
    const toolImage backdrop = toolMenuBackdrop("uimm");
    for (int i = 0; i < 12; ++i) {
        const int x = 200 * (i % 4) + 100, y = 200 * (i / 4) + 100;
        if (!UnderButtons(x, y))
            ExpectBackdrop(gallery, backdrop, x, y, 1.0f);
    }

    guiDialog* question = screens.Build("question");
    struct TwoFrames : guiFunction {
        guiGallery& gallery;
        guiDialog& dialog;
        int frames = 0;
        TwoFrames(guiGallery& g, guiDialog& d) : gallery(g), dialog(d) {}
        void Execute() override {
            gallery.Frame();
            if (++frames == 2)
                dialog.EndDialog(false);
        }
    } frame(gallery, *question);
    question->SetThinkFunction(&frame);
    question->DoModal();
    // Beside the 400 x 200 box in the middle: the backdrop under the dimmer's half-black sheet.
    ExpectBackdrop(gallery, backdrop, 100, 300, 0.5f);
}

} // namespace
