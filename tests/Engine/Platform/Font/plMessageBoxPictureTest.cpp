// The drawn message box on DejaVu, pinned by the tests' font configuration.
#include "Engine/Platform/plMessageBoxPicture.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::u16string WithoutBreaks(std::u16string text) {
    std::erase_if(text, [](char16_t unit) { return unit == u' ' || unit == u'\n'; });
    return text;
}

} // namespace

// Every line fits, nothing but break spaces is lost, a path breaks after a '/', and a line break stays one.
TEST(plMessageBoxPicture, TextWrapsToTheWidthKeepingEveryCharacter) {
    plFreeTypeFonts fonts;
    const plFontHandle font = fonts.CreateFont("Sans", 17);
    const struct {
        std::u16string text;
        u32 width;
        size_t lines;
    } cases[] = {
        {u"Short.", 300, 1},
        {u"A file of the game cannot be read, and the game has to end.\n/tmp/x/Data/GUI/gui.pak\nIt is cut "
         u"short.\n",
         300, 4},
        {u"/home/player/a-very-long-folder-name/another-long-folder/Data/Text/Eng/fontname.tsf", 200, 4},
        {u"Mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm", 100, 7},
        {u"One\n\nTwo", 300, 3},
        {u"\n", 300, 0},
    };
    for (const auto& c : cases) {
        const std::vector<std::u16string> lines = plWrapText(fonts, font, c.text, c.width);
        EXPECT_EQ(lines.size(), c.lines) << lines.size();
        std::u16string joined;
        for (const std::u16string& line : lines) {
            u32 width = 0, height = 0;
            fonts.MeasureText(font, line, width, height);
            EXPECT_LE(width, c.width);
            joined += line;
        }
        EXPECT_EQ(WithoutBreaks(joined), WithoutBreaks(c.text));
    }
    const std::vector<std::u16string> path = plWrapText(fonts, font, cases[2].text, cases[2].width);
    for (size_t i = 0; i + 1 < path.size(); ++i)
        EXPECT_EQ(path[i].back(), u'/') << i;
    fonts.DeleteFont(font);
}

// Dark text on the light body, light text on the band, the buttons in a row at the bottom right: a click
// finds each, and nothing else.
TEST(plMessageBoxPicture, TheBoxShowsItsTextAndFindsItsButtons) {
    plFreeTypeFonts fonts;
    const plMessageBoxPicture box(fonts, u"Error",
                                  u"A long message that wraps over several lines of the box. "
                                  u"/tmp/somewhere/Data/GUI/gui.pak\nIt is cut short.",
                                  {{6, u"Yes"}, {7, u"No"}, {2, u"Cancel"}});
    ASSERT_FALSE(box.IsEmpty());
    const u32 width = box.GetWidth(), height = box.GetHeight();
    EXPECT_LE(width, 600u);
    const auto pixel = [&](u32 x, u32 y) { return box.GetPixels()[y * width + x]; };
    const auto dark = [](u32 colour) { return (colour & 0xFF) < 0x60; };
    u32 inkInBody = 0, inkInBand = 0;
    for (u32 y = 0; y < height; ++y)
        for (u32 x = 0; x < width; ++x) {
            inkInBody += y > 45 && y < height - 50 && dark(pixel(x, y));
            inkInBand += y < 40 && (pixel(x, y) & 0xFF) > 0xC0;
        }
    EXPECT_GT(inkInBody, 1500u);
    EXPECT_GT(inkInBand, 50u);

    std::vector<i32> row;
    for (u32 x = 0; x < width; ++x)
        if (const i32 id = box.ButtonAt(static_cast<i32>(x), static_cast<i32>(height) - 30);
            id != 0 && (row.empty() || row.back() != id))
            row.push_back(id);
    EXPECT_EQ(row, (std::vector<i32>{6, 7, 2}));
    EXPECT_EQ(box.ButtonAt(static_cast<i32>(width) / 2, 60), 0);
    EXPECT_EQ(box.ButtonAt(static_cast<i32>(width) - 1, static_cast<i32>(height) - 1), 0);
}

TEST(plMessageBoxPicture, NoFontNoPicture) {
    struct NoFonts : plFontRasterizer {
        plFontHandle CreateFont(const std::string&, i32) override { return 0; }
        void DeleteFont(plFontHandle) override {}
        bool MeasureText(plFontHandle, std::u16string_view, u32&, u32&) override { return false; }
        void DrawText(plFontHandle, std::u16string_view, i32, i32, u32*, u32, u32) override {}
    } none;
    EXPECT_TRUE(plMessageBoxPicture(none, u"Error", u"text", {{1, u"OK"}}).IsEmpty());
}
