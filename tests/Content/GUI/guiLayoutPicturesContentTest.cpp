#include "Content/GUI/guiPakPictures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A part of a picture that the screen's layout gives to a neighbour: it must be one plain colour (clear,
// where the picture has alpha), so nothing drawn there runs into the neighbour.
struct PlainArea {
    std::string file;
    u32 left, top, right, bottom;
    bool clear = false; // the area must also be see-through
};

g2dPixelRows Read(const std::string& file) {
    return guiReadPakPicture(file);
}

} // namespace

TEST(guiLayoutPicturesContent, PicturesLeaveTheirNeighboursRoomPlain) {
    std::vector<PlainArea> areas = {
        // The props palette's arrows against the category title between them and the frame's sides.
        {"uipp/uippla_i.png", 20, 0, 32, 32, true},
        {"uipp/uippla_i.png", 0, 0, 12, 32, true},
        {"uipp/uippra_d.png", 0, 0, 8, 32, true},
        {"uipp/uippra_d.png", 16, 0, 32, 32, true},
        // The props palette's top ends where its icon grid begins, whatever the grid's height, and at the
        // frame's right side.
        {"uipp/uippnb_i.png", 0, 75, 128, 128, true},
        {"uipp/uippnb_i.png", 116, 0, 128, 128, true},
        // The right 72 pixels of a mission's button carry its "Done".
        {"uicm/uicmm1_i.png", 128, 3, 197, 29},
        {"uicm/uicmm8_s.png", 128, 3, 197, 29},
    };
    // The objectives panel's backdrop stops below its list and the hint key's line, above the stats
    // panel, and right of the list, under the tab.
    areas.push_back({"uishbk_i.png", 0, 192, 256, 256, true});
    areas.push_back({"uishbk_i.png", 247, 0, 256, 256, true});
    // The medal question lays its picture at (47, 45): clear of the question's column on the left and of
    // the buttons from row 144 of the dialog.
    for (const char* medal : {"uicm/uicmbrbi.png", "uicm/uicmslbi.png", "uicm/uicmgdbi.png"}) {
        areas.push_back({medal, 0, 0, 144, 128});
        areas.push_back({medal, 0, 99, 256, 128});
    }
    // The placers' 64 x 64 pictures stand in 44-pixel columns over the piece buttons.
    for (const char* piece : {"su", "sr", "sl", "hl", "zr", "zl", "nc"})
        for (const char* state : {"_i", "_o", "_p", "_d"}) {
            const std::string file = std::string("uitm/uitm") + piece + state + ".png";
            areas.push_back({file, 42, 0, 64, 64});
            areas.push_back({file, 0, 42, 64, 64});
        }
    for (const PlainArea& area : areas) {
        const g2dPixelRows image = Read(area.file);
        ASSERT_GE(image.width, area.right) << area.file;
        ASSERT_GE(image.height, area.bottom) << area.file;
        const u32 size = image.BytesPerPixel();
        const u8* first = image.Row(area.top) + area.left * size;
        EXPECT_TRUE(image.hasAlpha || !area.clear) << area.file;
        if (image.hasAlpha) {
            EXPECT_EQ(first[3], 0) << area.file;
        }
        u32 differing = 0;
        for (u32 y = area.top; y < area.bottom; ++y)
            for (u32 x = area.left; x < area.right; ++x)
                differing += std::memcmp(image.Row(y) + x * size, first, size) != 0;
        EXPECT_EQ(differing, 0u) << area.file;
    }
}

// Buttons carry their meaning in their pictures, in every look: the career menu's mission buttons their
// captions, the piece palette's and the tool box's buttons their pictograms. Inside the given area only the
// drawing differs from the face, whose colour is that of the area's top-left pixel.
TEST(guiLayoutPicturesContent, ButtonPicturesAreDrawnInEveryLook) {
    std::vector<PlainArea> drawn;
    for (int mission = 1; mission <= 8; ++mission)
        for (const char* look : {"_i", "_o", "_s", "_d", "_sd"})
            drawn.push_back({"uicm/uicmm" + std::to_string(mission) + look + ".png", 3, 3, 125, 29});
    for (const char* look : {"_i", "_o", "_p", "_d"}) {
        for (const char* placer : {"su", "sr", "sl", "hl", "zr", "zl"})
            drawn.push_back({std::string("uitm/uitm") + placer + look + ".png", 3, 3, 42, 42});
        for (const char* button :
             {"ss", "ls", "cr", "cl", "st",  "lp",  "cs",  "pu",  "pd",  "kl",  "kr",  "dl",  "dr",  "wi",
              "na", "dx", "fn", "px", "tba", "tbr", "aca", "acr", "bka", "bkr", "cha", "chr", "rta", "rtr"})
            drawn.push_back({std::string("uitm/uitm") + button + look + ".png", 3, 3, 29, 29});
    }
    for (const char* tool : {"rt_i", "rt_d", "tr_o", "tr_d", "sa_p", "dl_i"})
        drawn.push_back({std::string("uipa/uipa") + tool + ".png", 3, 3, 29, 29});
    for (const PlainArea& area : drawn) {
        const g2dPixelRows image = Read(area.file);
        const u32 size = image.BytesPerPixel();
        const u8* face = image.Row(area.top) + area.left * size;
        u32 differing = 0;
        for (u32 y = area.top; y < area.bottom; ++y)
            for (u32 x = area.left; x < area.right; ++x)
                differing += std::memcmp(image.Row(y) + x * size, face, size) != 0;
        EXPECT_GT(differing, 50u) << area.file;
    }
}

// An options switch reads as on or off in every look, idle, under the pointer and disabled: its knob, the
// brighter of the switch's two ends, stands left when off and right when on.
TEST(guiLayoutPicturesContent, SwitchesShowOnOrOffInEveryLook) {
    const auto brightness = [](const g2dPixelRows& image, u32 x) {
        const u8* pixel = image.Row(12) + x * image.BytesPerPixel();
        return pixel[0] + pixel[1] + pixel[2];
    };
    for (const char* look : {"_i", "_o", "_d", "_s", "_so", "_sd"}) {
        const g2dPixelRows image = Read(std::string("uiod/uiodck") + look + ".png");
        const bool on = look[1] == 's';
        EXPECT_EQ(brightness(image, 242) > brightness(image, 214), on) << look;
    }
}

// A left pictogram is its right one mirrored, and not the same picture: a glyph half left unmirrored
// (a guide drawn on the wrong side) would point the two buttons the same way.
TEST(guiLayoutPicturesContent, LeftAndRightPictogramsAreMirrorImages) {
    for (const auto& [left, right] : {std::pair("cl", "cr"), std::pair("kl", "kr"), std::pair("dl", "dr")})
        for (const char* look : {"_i", "_o", "_p", "_d"}) {
            const g2dPixelRows l = Read(std::string("uitm/uitm") + left + look + ".png");
            const g2dPixelRows r = Read(std::string("uitm/uitm") + right + look + ".png");
            const u32 size = l.BytesPerPixel();
            u32 unmirrored = 0, same = 0;
            for (u32 y = 3; y < 29; ++y)
                for (u32 x = 3; x < 29; ++x)
                    for (u32 c = 0; c < 3; ++c) {
                        const int shown = l.Row(y)[x * size + c];
                        unmirrored += std::abs(shown - r.Row(y)[(31 - x) * size + c]) > 8;
                        same += shown == r.Row(y)[x * size + c];
                    }
            EXPECT_EQ(unmirrored, 0u) << left << look;
            EXPECT_LT(same, 26u * 26u * 3u * 9u / 10u) << left << look;
        }
}
