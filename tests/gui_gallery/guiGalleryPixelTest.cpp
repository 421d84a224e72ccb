#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiContainer.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiMaterial.h"
#include "Engine/GUI/Gui/guiProgressBar.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiToolTip.h"
#include "Engine/GUI/Xui/xuiFadeOutObject.h"
#include "guiGallery.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

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

TEST_F(guiGalleryPixels, AProgressBarAtHalfFillsHalfItsColumns) {
    auto* bar = Quad<guiProgressBar>(100, 300, 1.0f, 200, 20);
    bar->GetBackground()->SetColor({0, 255, 0}, guiStateIdle);
    bar->GetProgress()->SetColor({255, 0, 0}, guiStateIdle);
    bar->SetValue(0.5f);
    gallery->Move(700, 500);
    gallery->Frame();
    const struct {
        i32 x;
        u32 rgb;
    } columns[] = {{100, 0xFF0000}, {199, 0xFF0000}, {200, 0x00FF00}, {299, 0x00FF00}};
    for (const auto& c : columns)
        EXPECT_TRUE(Near(At(c.x, 310), c.rgb, 2)) << c.x << ": " << std::hex << At(c.x, 310);
    EXPECT_FALSE(Near(At(99, 310), 0xFF0000, 2));
    EXPECT_FALSE(Near(At(300, 310), 0x00FF00, 2));
}

TEST_F(guiGalleryPixels, ACheckedBoxShowsItsCheckedImage) {
    guiGallerySkin skin;
    auto* box = Quad<guiCheckbox>(200, 200, 1.0f, 24, 24);
    // Without a caption the text would cover the image with its untextured quad.
    box->GetText()->SetEnabled(false);
    box->GetText()->SetVisible(false);
    for (const auto& [name, state] : {std::pair{"checkbox_i.png", 0}, std::pair{"checkbox_c_i.png", 6}}) {
        fsLocator file;
        fsLocatorFromNativePath(skin.Path(name).c_str(), file);
        box->GetImage()->SetImage(file, state);
    }
    // The tick crosses the box's pixel (10, 17) in white.
    for (bool checked : {false, true}) {
        box->SetChecked(checked);
        gallery->Move(700, 500);
        gallery->Frame();
        EXPECT_EQ(Near(At(210, 217), 0xFFFFFF, 8), checked) << std::hex << At(210, 217);
    }
}

TEST_F(guiGalleryPixels, TheToolTipShowsItsTwoLinesInItsBoxBesideThePointer) {
    guiGallerySkin skin;
    guiGalleryBuildToolTip(*gallery, skin);
    ASSERT_TRUE(gallery->Inject("move 120,80; wait 1.5"));
    i32 w = 0, h = 0;
    guiToolTip::GetImage()->GetSize(w, h);
    EXPECT_GT(h, 30); // two lines of a 14-pixel font
    const u32 box = 0xFFFFA0;
    EXPECT_TRUE(Near(At(133, 116), box, 2)) << std::hex << At(133, 116);
    EXPECT_TRUE(Near(At(132 + w - 1, 115 + h - 1), box, 2));
    EXPECT_FALSE(Near(At(131, 116), box, 2));
    EXPECT_FALSE(Near(At(132, 114), box, 2));
    i32 ink = 0;
    for (i32 y = 115; y < 115 + h; ++y)
        for (i32 x = 132; x < 132 + w; ++x)
            ink += Near(At(x, y), box, 40) ? 0 : 1;
    EXPECT_GT(ink, 100);
    guiToolTip::Destroy();
}

TEST_F(guiGalleryPixels, TheFadeBlendsItsColourOverThePicture) {
    Quad<guiMaterial>(0, 0, 1.0f, 800, 600)->SetColor({255, 255, 255}, guiStateIdle);
    xuiFadeOutMgr::Create();
    xuiFadeOutMgr::SetFullAlpha(0.25f);
    xuiFadeOutMgr::FadeToColor();
    gallery->Move(700, 500);
    gallery->Frame();
    EXPECT_TRUE(Near(At(400, 300), 0xBFBFBF, 2)) << std::hex << At(400, 300);
    xuiFadeOutMgr::Destroy();
}

// The sample script's label in its three state colours as the pointer comes and presses, and its image
// blended by its own alpha: blue rising downwards where opaque, the background where clear.
TEST_F(guiGalleryPixels, ScriptedTextsAndImage) {
    guiGallerySkin skin;
    guiGalleryLoadScript(*gallery, skin, LV_GPR_SAMPLES, "texts");
    const auto labelHas = [](u32 rgb) {
        for (i32 y = 80; y < 130; ++y)
            for (i32 x = 100; x < 500; ++x)
                if (Near(At(x, y), rgb, 24))
                    return true;
        return false;
    };
    const struct {
        const char* steps;
        u32 rgb;
    } states[] = {{"move 700,500; frame", 0xFF4040},
                  {"move 300,105; frame; frame", 0x40FF40},
                  {"down; frame", 0x4040FF}};
    for (const auto& s : states) {
        ASSERT_TRUE(gallery->Inject(s.steps));
        EXPECT_TRUE(labelHas(s.rgb)) << s.steps;
    }
    ASSERT_TRUE(gallery->Inject("up; move 700,500; frame"));
    const u32 opaque = At(101, 440), clear = At(354, 440);
    EXPECT_GT(opaque & 0xFF, 120u) << std::hex << opaque;
    EXPECT_LT((opaque >> 16) & 0xFF, 60u) << std::hex << opaque;
    EXPECT_TRUE(Near(clear, 0x282C34, 12)) << std::hex << clear;
}

// The sample keyboard script draws what the keyboard built in code draws, before and after a click on
// CapsLock (capital captions, the checked picture).
TEST_F(guiGalleryPixels, TheScriptedKeyboardLooksLikeTheOneBuiltInCode) {
    guiGallerySkin skin;
    std::vector<u32> pictures[2][2];
    for (int scripted = 0; scripted < 2; ++scripted) {
        if (scripted)
            guiGalleryLoadScript(*gallery, skin, LV_GPR_SAMPLES, "keyboard");
        else
            guiGalleryBuildKeyboard(*gallery, skin);
        ASSERT_TRUE(gallery->Inject("move 700,560; frame"));
        pictures[scripted][0] = gallery->GetPicture();
        ASSERT_TRUE(gallery->Inject("move 598,308; down; frame; up; frame; move 700,560; frame"));
        pictures[scripted][1] = gallery->GetPicture();
        gallery->Root().DeleteAllChildren();
    }
    EXPECT_NE(pictures[0][0], pictures[0][1]);
    for (int click = 0; click < 2; ++click) {
        size_t differ = 0;
        for (size_t i = 0; i < pictures[0][click].size(); ++i)
            differ += Near(pictures[0][click][i], pictures[1][click][i], 24) ? 0 : 1;
        EXPECT_EQ(differ, 0u) << "click " << click;
    }
}
