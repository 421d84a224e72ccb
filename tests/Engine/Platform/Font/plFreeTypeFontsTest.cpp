// The FreeType rasterizer on DejaVu, pinned by the tests' font configuration.
#include "Engine/Platform/Font/plFreeTypeFonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// At 16 pixels DejaVu is hinted at 14 ppem, and its accented capitals reach a row above the size's
// ascent: the cell grows by that row.
TEST(plFreeTypeFonts, AnyFaceGivesAFontWhoseCellIsTheHeightAskedForOrAsTallAsItsGlyphs) {
    plFreeTypeFonts fonts;
    const struct {
        const char* face;
        i32 height;
        u32 cell; // 0: no font
    } cases[] = {
        {"Arial", 12, 12}, {"Arial", 16, 17},       {"Comic Sans MS", 20, 20}, {"", 16, 17},
        {"Arial", 0, 0},   {"Arial", INT32_MAX, 0}, {"Arial", INT32_MIN, 0},
    };
    for (const auto& c : cases) {
        const plFontHandle font = fonts.CreateFont(c.face, c.height);
        EXPECT_EQ(font != 0, c.cell != 0) << c.face << " " << c.height;
        u32 width = 1, height = 0;
        EXPECT_EQ(fonts.MeasureText(font, u"", width, height), c.cell != 0);
        if (c.cell != 0) {
            EXPECT_EQ(width, 0u);
            EXPECT_EQ(height, c.cell) << c.face << " " << c.height;
        }
        fonts.DeleteFont(font);
    }
    // A negative height is the em, which is smaller than the cell.
    const plFontHandle em = fonts.CreateFont("Arial", -16);
    u32 width = 0, height = 0;
    ASSERT_TRUE(fonts.MeasureText(em, u"x", width, height));
    EXPECT_GT(height, 16u);
    fonts.DeleteFont(em);
    EXPECT_FALSE(fonts.MeasureText(em, u"x", width, height));
}

TEST(plFreeTypeFonts, TextMeasuresItsAdvancesAndDrawsCoverageInItsCell) {
    plFreeTypeFonts fonts;
    const plFontHandle font = fonts.CreateFont("Arial", 16);
    ASSERT_NE(font, 0u);
    // No kerning: a text is as wide as its characters.
    u32 g = 0, t = 0, gt = 0, height = 0;
    ASSERT_TRUE(fonts.MeasureText(font, u"g", g, height));
    ASSERT_TRUE(fonts.MeasureText(font, u"t", t, height));
    ASSERT_TRUE(fonts.MeasureText(font, u"gt", gt, height));
    EXPECT_EQ(gt, g + t);
    EXPECT_EQ(height, 17u);

    constexpr u32 kWidth = 40, kHeight = 24, kGarbage = 0x00ABCDEF;
    std::vector<u32> pixels(kWidth * kHeight, kGarbage);
    fonts.DrawText(font, u"Hg", 3, 2, pixels.data(), kWidth, kHeight);
    u32 width = 0;
    fonts.MeasureText(font, u"Hg", width, height);
    u32 full = 0;
    for (u32 y = 0; y < kHeight; ++y)
        for (u32 x = 0; x < kWidth; ++x) {
            const u32 pixel = pixels[y * kWidth + x];
            const bool inCell = x >= 3 && x < 3 + width && y >= 2 && y < 2 + height;
            if (pixel == kGarbage) {
                EXPECT_FALSE(inCell) << x << ", " << y;
                continue;
            }
            // Grey coverage: blue, green and red alike.
            EXPECT_EQ(pixel, (pixel & 0xFF) * 0x010101u) << x << ", " << y;
            full += pixel == 0x00FFFFFF;
        }
    EXPECT_GT(full, 10u);
    // Text reaching past the buffer is cut, and an unknown font draws nothing.
    fonts.DrawText(font, u"Hg", -5, 20, pixels.data(), kWidth, kHeight);
    const std::vector<u32> before = pixels;
    fonts.DrawText(0, u"Hg", 0, 0, pixels.data(), kWidth, kHeight);
    EXPECT_EQ(pixels, before);
    fonts.DeleteFont(font);
}

// Letters beyond Latin-1 draw as themselves, inside the cell that Latin-1 sized: Cyrillic, and a Vietnamese
// capital taller than the cell, cut to it. A letter the face lacks (a four-byte one, a CJK one) and a lone
// surrogate (a name's byte that is not UTF-8) are one replacement mark each, in the cell as well.
TEST(plFreeTypeFonts, LettersTheFaceLacksAreAReplacementMarkAndNothingLeavesTheCell) {
    plFreeTypeFonts fonts;
    const plFontHandle font = fonts.CreateFont("Arial", 16);
    ASSERT_NE(font, 0u);
    constexpr u32 kWidth = 200, kHeight = 60;
    constexpr i32 kTop = 20;
    const auto draw = [&](std::u16string_view text) {
        std::vector<u32> pixels(kWidth * kHeight, 0);
        fonts.DrawText(font, text, 4, kTop, pixels.data(), kWidth, kHeight);
        return pixels;
    };
    const auto width = [&](std::u16string_view text) {
        u32 w = 0, h = 0;
        fonts.MeasureText(font, text, w, h);
        return w;
    };
    const std::vector<u32> mark = draw(u"\uFFFD");
    const struct {
        std::u16string text;
        bool isMark;
    } cases[] = {
        {u"\u0418\u0433\u0440\u044B_\u00C6r\u00F8", false},
        {u"\u1EAA\u1EA4", false},
        {u"\U00010400", true},
        {u"\u6F22", true},
        {u"\xDC80", true},
    };
    for (const auto& c : cases) {
        const std::vector<u32> pixels = draw(c.text);
        EXPECT_EQ(pixels == mark, c.isMark) << static_cast<u32>(c.text[0]);
        if (c.isMark) {
            EXPECT_EQ(width(c.text), width(u"\uFFFD")) << static_cast<u32>(c.text[0]);
        }
        u32 inside = 0, outside = 0;
        for (u32 y = 0; y < kHeight; ++y)
            for (u32 x = 0; x < kWidth; ++x) {
                const bool inCell = y >= kTop && y < kTop + 17u;
                (inCell ? inside : outside) += pixels[y * kWidth + x] != 0;
            }
        EXPECT_GT(inside, 20u) << static_cast<u32>(c.text[0]);
        EXPECT_EQ(outside, 0u) << static_cast<u32>(c.text[0]);
    }
    fonts.DeleteFont(font);
}
