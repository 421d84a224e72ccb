// The drawn message box on DejaVu, pinned by the tests' font configuration.
#include "Engine/Platform/Window/plMessageBoxPicture.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"

#include <gtest/gtest.h>

#include <algorithm>

// Every line fits, nothing but break spaces is lost, a path breaks after its '/'s, a line break stays one.
TEST(plMessageBoxPicture, TextWrapsToTheWidthKeepingEveryCharacter) {
    plFreeTypeFonts fonts;
    const plFontHandle font = fonts.CreateFont("Sans", 17);
    const struct {
        std::u16string text;
        u32 width;
        size_t lines;
    } cases[] = {
        {u"Cannot be read, and the game has to end.\n/tmp/x/Data/GUI/gui.pak\nIt is cut short.\n", 200, 4},
        {u"/home/player/a-very-long-folder-name/another-long-folder/Data/Text/Eng/fontname.tsf", 200, 4},
        {u"Mmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmmm", 100, 7},
    };
    const auto withoutBreaks = [](std::u16string text) {
        std::erase_if(text, [](char16_t unit) { return unit == u' ' || unit == u'\n'; });
        return text;
    };
    for (const auto& c : cases) {
        const std::vector<std::u16string> lines = plWrapText(fonts, font, c.text, c.width);
        EXPECT_EQ(lines.size(), c.lines);
        std::u16string joined;
        for (const std::u16string& line : lines) {
            u32 width = 0, height = 0;
            fonts.MeasureText(font, line, width, height);
            EXPECT_LE(width, c.width);
            joined += line;
        }
        EXPECT_EQ(withoutBreaks(joined), withoutBreaks(c.text));
    }
    const std::vector<std::u16string> path = plWrapText(fonts, font, cases[1].text, cases[1].width);
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
    const i32 width = static_cast<i32>(box.GetWidth()), height = static_cast<i32>(box.GetHeight());
    ASSERT_FALSE(box.IsEmpty());
    EXPECT_LE(width, 600);
    u32 inkInBody = 0, inkInBand = 0;
    for (i32 y = 0; y < height; ++y)
        for (i32 x = 0; x < width; ++x) {
            const u32 blue = box.GetPixels()[static_cast<size_t>(y * width + x)] & 0xFF;
            inkInBody += y > 45 && y < height - 50 && blue < 0x60;
            inkInBand += y < 40 && blue > 0xC0;
        }
    EXPECT_GT(inkInBody, 1500u);
    EXPECT_GT(inkInBand, 50u);

    std::vector<i32> row;
    for (i32 x = 0; x < width; ++x)
        if (const i32 id = box.ButtonAt(x, height - 30); id != 0 && (row.empty() || row.back() != id))
            row.push_back(id);
    EXPECT_EQ(row, (std::vector<i32>{6, 7, 2}));
    EXPECT_EQ(box.ButtonAt(width - 1, height - 1), 0);
}
