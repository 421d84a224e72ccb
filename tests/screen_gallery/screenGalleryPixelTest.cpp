#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiDialog.h"
#include "Engine/GUI/Gui/guiFunction.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Source/Palettes/coPaletteManager.h"
#include "Source/Screens/coLoadMenu.h"
#include "Source/Screens/coOptionsDialog.h"
#include "Source/Screens/coRidePauseDialog.h"
#include "Source/Screens/coTrackColorPicker.h"
#include "Tools/Image/toolScreenPictures.h"
#include "screenGallery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

namespace {

constexpr int kTolerance = 3;

u32 Pixel(guiGallery& gallery, int x, int y) {
    return gallery.GetPicture()[static_cast<size_t>(y) * guiGallery::kWidth + static_cast<size_t>(x)];
}

// The mean of a channel over the 4 x 4 pixels around (x, y) of an RGB picture: what a pixel of a dithered
// backdrop shows once the screen blends it with its neighbours.
float MeanAround(const toolImage& image, int x, int y, int channel) {
    int sum = 0;
    for (int dy = -2; dy < 2; ++dy)
        for (int dx = -2; dx < 2; ++dx)
            sum += image.pixels[static_cast<size_t>(((y + dy) * image.width + x + dx) * 3 + channel)];
    return static_cast<float>(sum) / 16.0f;
}

// Each channel of the picture's pixel against the backdrop's, scaled. The backdrop is dithered to 5 bits
// a channel and a shown pixel blends its neighbours' levels, so it is held to their mean within one level.
void ExpectBackdrop(guiGallery& gallery, const toolImage& backdrop, int x, int y, float scale) {
    constexpr int kLevel = 8;
    const u32 shown = Pixel(gallery, x, y);
    for (int c = 0; c < 3; ++c) {
        const float expected = MeanAround(backdrop, x, y, c) * scale;
        const int got = static_cast<int>((shown >> (16 - 8 * c)) & 0xFF);
        EXPECT_LE(std::abs(static_cast<float>(got) - expected), kLevel * scale)
            << "at " << x << "," << y << " channel " << c;
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
    // The button under the pointer keeps its caption, in yellow ("Load a Coaster", y 210 to 266).
    gallery.Move(600, 240);
    gallery.Frame();
    int yellow = 0;
    for (int y = 210; y < 240; ++y)
        for (int x = 500; x < 756; ++x) {
            const u32 p = Pixel(gallery, x, y);
            yellow += ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 200 && (p & 0xFF) < 100;
        }
    EXPECT_GT(yellow, 100);
    gallery.Move(0, 0);

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

// Whether a red pixel lies in the band of the load list's row (16 pixels from y 112, the name's half).
bool RowHasRed(guiGallery& gallery, int row) {
    for (int y = 112 + 16 * row; y < 128 + 16 * row; ++y)
        for (int x = 132; x < 312; ++x) {
            const u32 p = Pixel(gallery, x, y);
            const u32 r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            if (r > 100 && r > 2 * g && r > 2 * b)
                return true;
        }
    return false;
}

TEST(screenGalleryPixels, TheLoadMenuTintsTheUnloadableRowRed) {
    screenGallery screens;
    ASSERT_TRUE(screens.IsReady());
    ASSERT_TRUE(screens.MakeFixture("saves-5"));
    guiGallery& gallery = screens.Gallery();
    screens.Build("loadmenu");
    gallery.Frame();
    // By name: "Boomerang", "Lost Loop" (its track type is not installed), "Old Timer", ...
    EXPECT_FALSE(RowHasRed(gallery, 0));
    EXPECT_TRUE(RowHasRed(gallery, 1));
    EXPECT_FALSE(RowHasRed(gallery, 2));
}

// The channels of a pixel against a colour.
void ExpectColour(guiGallery& gallery, int x, int y, int r, int g, int b) {
    const u32 shown = Pixel(gallery, x, y);
    const int expected[3] = {r, g, b};
    for (int c = 0; c < 3; ++c)
        EXPECT_LE(std::abs(static_cast<int>((shown >> (16 - 8 * c)) & 0xFF) - expected[c]), kTolerance)
            << "at " << x << "," << y << " channel " << c;
}

TEST(screenGalleryPixels, BuilderHudOnAClosedCircuit) {
    screenGallery screens;
    ASSERT_TRUE(screens.IsReady());
    guiGallery& gallery = screens.Gallery();
    screens.Build("builder-hud", "closed-oval");
    gallery.Frame();
    // The gauges (200 wide) stand 8 pixels in from the right, 80 down; the speed bar at (62, 11) in them
    // is half full: its left 32 of 64 columns in the speed colour.
    const int barX = 800 - 8 - 200 + 62, barY = 80 + 11 + 8;
    ExpectColour(gallery, barX + 2, barY, 41, 203, 57);
    ExpectColour(gallery, barX + 29, barY, 41, 203, 57);
    EXPECT_NE(Pixel(gallery, barX + 34, barY) & 0xFFFFFF, Pixel(gallery, barX + 2, barY) & 0xFFFFFF);
    // No piece can be added to a closed circuit: the first piece button, at the piece palette's (8, 6),
    // shows its disabled face.
    ExpectColour(gallery, 160 + 8 + 8 + 2, 600 - 95 + 6 + 6 + 2, 49, 49, 57);

    // Nine objectives are more than the panel's four rows: the slider's thumb shows at its top left, and a
    // prop's mark in the tab's blue stands centred on its point.
    ExpectColour(gallery, 8, 165 + 8, 230, 230, 230);
    const u32 mark = Pixel(gallery, 400 - 10, 300 - 10);
    EXPECT_GT(mark & 0xFF, (mark >> 16) & 0xFF) << std::hex << mark; // more blue than red
    // A mark where the piece panel stands lies under it: the panel's white label reads over the square
    // (a mark in front would cover it in blue and yellow).
    int light = 0;
    for (int y = 252 - 13; y < 252 + 13; ++y)
        for (int x = 640 - 13; x < 640 + 13; ++x) {
            const u32 shown = Pixel(gallery, x, y);
            light += std::min({(shown >> 16) & 0xFF, (shown >> 8) & 0xFF, shown & 0xFF}) > 180;
        }
    EXPECT_GT(light, 15);

    // The objectives panel's tab, at the panel's right edge, slides it out.
    const guiWindow* objectives = coPaletteManager::GetPalette(coPaletteObjectives);
    EXPECT_EQ(objectives->GetPosition().x, 0.0f);
    const u32 panel = Pixel(gallery, 100, 300);
    gallery.Move(264.0f, 174.0f);
    gallery.Frame();
    gallery.SetButton(true);
    gallery.Frame();
    gallery.SetButton(false);
    gallery.Frame();
    gallery.Frame();
    EXPECT_EQ(objectives->GetPosition().x, -255.0f);
    EXPECT_NE(Pixel(gallery, 100, 300), panel);
}

// Runs the dialog for two frames, the first doing what the test asks.
void RunTwoFrames(guiGallery& gallery, guiDialog& dialog, const std::function<void()>& first = {}) {
    struct Frames : guiFunction {
        guiGallery& gallery;
        guiDialog& dialog;
        std::function<void()> first;
        int frames = 0;
        Frames(guiGallery& g, guiDialog& d, std::function<void()> f)
            : gallery(g), dialog(d), first(std::move(f)) {}
        void Execute() override {
            if (frames == 0 && first)
                first();
            gallery.Frame();
            if (++frames == 2)
                dialog.EndDialog(false);
        }
    } frame(gallery, dialog, first);
    dialog.SetThinkFunction(&frame);
    dialog.DoModal();
    dialog.SetThinkFunction(nullptr);
}

TEST(screenGalleryPixels, TheOptionsAndTheKeyboardDimTheMenuBesideThem) {
    for (const char* screen : {"options", "keyboard"}) {
        SCOPED_TRACE(screen);
        screenGallery screens;
        ASSERT_TRUE(screens.IsReady());
        guiGallery& gallery = screens.Gallery();
        guiDialog* dialog = screens.Build(screen, {}, "My Coaster");
        ASSERT_NE(dialog, nullptr);
        if (auto* options = dynamic_cast<coOptionsDialog*>(dialog))
            options->ShowCategory("Audio");
        RunTwoFrames(gallery, *dialog);
        ExpectBackdrop(gallery, toolMenuBackdrop("uimm"), 40, 300, 0.5f);
    }
}

TEST(screenGalleryPixels, TheColourPickersSwatchShowsThePartsColour) {
    screenGallery screens;
    ASSERT_TRUE(screens.IsReady());
    guiGallery& gallery = screens.Gallery();
    auto* dialog = dynamic_cast<coRidePauseDialog*>(screens.Build("ridepause"));
    ASSERT_NE(dialog, nullptr);
    dialog->SetMode(0);
    dialog->SetSettings(coRideSettings{});
    RunTwoFrames(gallery, *dialog, [dialog] {
        dialog->ShowPanel(7);
        auto& colours = dynamic_cast<guiContainer&>(*dialog->FindChild("TrackColor"));
        dynamic_cast<guiCheckbox&>(*colours.FindChild("Customize")).SetChecked(true);
    });
    const guiWindow* swatch = dialog->GetColourPicker()->FindChild("Color Display");
    const maVector3d at = swatch->GetWorldMatrix().GetTranslation();
    i32 w = 0, h = 0;
    swatch->GetSize(w, h);
    // The first scheme's rail: 0.2, 0.6 and 0.8 of full, truncated to bytes.
    ExpectColour(gallery, static_cast<int>(at.x) + w / 2, static_cast<int>(at.y) + h / 2, 51, 153, 204);
}

// A widget anywhere under the container, by name.
guiWindow* FindNamed(const guiContainer& container, const std::string& name) {
    for (i32 i = 0; i < container.GetChildCount(); ++i) {
        guiWindow* child = container.GetChild(i);
        if (child->GetName() == name)
            return child;
        if (const auto* inner = dynamic_cast<const guiContainer*>(child))
            if (guiWindow* found = FindNamed(*inner, name))
                return found;
    }
    return nullptr;
}

struct ScreenRect {
    int left, top, right, bottom;
};

ScreenRect RectOf(const guiWindow& window) {
    const maVector3d at = window.GetWorldMatrix().GetTranslation();
    i32 w = 0, h = 0;
    window.GetSize(w, h);
    const int x = static_cast<int>(at.x), y = static_cast<int>(at.y);
    return {x, y, x + w, y + h};
}

// The first and last columns in the rectangle with a pixel that passes the test; -1 for none.
template <class Test> std::pair<int, int> InkColumns(guiGallery& gallery, const ScreenRect& r, Test test) {
    int first = -1, last = -1;
    for (int x = r.left; x < r.right; ++x)
        for (int y = r.top; y < r.bottom; ++y)
            if (test(Pixel(gallery, x, y))) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

int Channel(u32 pixel, int c) {
    return static_cast<int>((pixel >> (16 - 8 * c)) & 0xFF);
}

// Each fault as a player saw it, checked on the screen where it showed.
TEST(screenGalleryPixels, CaptionsListsAndChoicesShowWhole) {
    const auto ridePause = [](screenGallery& screens, int mode, int panel, bool customize = false) {
        auto* dialog = dynamic_cast<coRidePauseDialog*>(screens.Build("ridepause"));
        dialog->SetMode(mode);
        dialog->SetSettings(coRideSettings{});
        RunTwoFrames(screens.Gallery(), *dialog, [dialog, panel, customize] {
            dialog->ShowPanel(panel);
            if (customize)
                dynamic_cast<guiCheckbox&>(*FindNamed(*dialog, "Customize")).SetChecked(true);
        });
        return dialog;
    };
    // A list's backdrop reaches the button below it: the row above that button is the backdrop's dark
    // bottom edge (30, 30, 60 at 0.6), not the scene.
    const auto listReachesButton = [&](int panel, const char* next) {
        return [&ridePause, panel, next](screenGallery& screens) {
            guiDialog* dialog = ridePause(screens, 2, panel);
            const ScreenRect button = RectOf(*FindNamed(*dialog, next));
            ExpectColour(screens.Gallery(), button.left + 60, button.top - 1, 18, 18, 36);
        };
    };
    const struct {
        const char* fault;
        std::function<void(screenGallery&)> check;
    } cases[] = {
        // Every load menu header's caption in the same font, ending a margin short of its box's edge.
        {"load menu headers",
         [](screenGallery& screens) {
             ASSERT_TRUE(screens.MakeFixture("saves-5"));
             screens.Build("loadmenu");
             screens.Gallery().Frame();
             const guiContainer* menu = nullptr;
             for (i32 i = 0; i < guiWindowMgr::GetRoot()->GetChildCount() && !menu; ++i)
                 menu = dynamic_cast<const coLoadMenu*>(guiWindowMgr::GetRoot()->GetChild(i));
             ASSERT_NE(menu, nullptr);
             const g2dFont font = dynamic_cast<guiButton&>(*menu->FindChild("Name")).GetText()->GetFont(0);
             for (const char* header : {"Name", "Environment", "TrackType", "Date"}) {
                 const auto& button = dynamic_cast<guiButton&>(*menu->FindChild(header));
                 const ScreenRect box = RectOf(button);
                 const auto [first, last] = InkColumns(screens.Gallery(), box, [](u32 p) {
                     return std::min({Channel(p, 0), Channel(p, 1), Channel(p, 2)}) > 140;
                 });
                 u32 width = 0, height = 0;
                 g2dFont::MeasureText(font, button.GetText()->GetText(0), width, height);
                 EXPECT_NEAR(last + 1 - first, static_cast<int>(width), 3) << header;
                 EXPECT_GE(box.right - 1 - last, 6) << header;
             }
         }},
        {"car types' list", listReachesButton(1, "FanfareButton")},
        {"fanfares' list", listReachesButton(2, "NumCarsButton")},
        // A choice's pale plate runs on a margin past the end of its caption.
        {"choice plates",
         [](screenGallery& screens) {
             guiDialog* dialog = screens.Build("choose");
             RunTwoFrames(screens.Gallery(), *dialog);
             for (const char* choice : {"Wooden", "cavern"}) {
                 const guiText& caption = *dynamic_cast<guiButton&>(*FindNamed(*dialog, choice)).GetText();
                 u32 width = 0, height = 0;
                 g2dFont::MeasureText(caption.GetFont(0), caption.GetText(0), width, height);
                 const ScreenRect text = RectOf(caption);
                 const int end = text.left + caption.GetXOffset(0) + static_cast<int>(width);
                 // Along the caption's line, 8 rows into its text.
                 for (int x = end; x < end + 5; ++x) {
                     const u32 p = Pixel(screens.Gallery(), x, text.top + 8);
                     EXPECT_GT(std::min({Channel(p, 0), Channel(p, 1), Channel(p, 2)}), 150)
                         << choice << " at " << x;
                 }
             }
         }},
        // The colour picker's chosen part stands apart from the others by a quarter of a channel's range.
        {"colour picker parts",
         [&ridePause](screenGallery& screens) {
             auto* dialog = dynamic_cast<coRidePauseDialog*>(ridePause(screens, 0, 7, true));
             const auto& parts = dynamic_cast<guiRadioGroup&>(*dialog->GetColourPicker()->FindChild("Parts"));
             ASSERT_GE(parts.GetButtonCount(), 2);
             const auto face = [&](i32 index) {
                 const ScreenRect part = RectOf(*parts.GetChild(index));
                 return Pixel(screens.Gallery(), part.right - 12, part.top + 12);
             };
             const i32 chosen = parts.GetSelection();
             const u32 other = face(chosen == 0 ? 1 : 0), picked = face(chosen);
             int apart = 0;
             for (int c = 0; c < 3; ++c)
                 apart = std::max(apart, std::abs(Channel(picked, c) - Channel(other, c)));
             EXPECT_GE(apart, 64);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        screenGallery screens;
        ASSERT_TRUE(screens.IsReady());
        c.check(screens);
    }
}

} // namespace
