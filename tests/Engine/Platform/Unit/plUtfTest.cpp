#include "Engine/Platform/plUtf.h"

#include <gtest/gtest.h>

TEST(plUtf, Utf8ToUtf16WithPairsAndMalformedInput) {
    EXPECT_EQ(plUtf8ToUtf16("A\xC3\xA9"), u"A\u00E9");
    EXPECT_EQ(plUtf8ToUtf16("\xE2\x82\xAC"), u"\u20AC");
    // Outside the basic plane: two units.
    EXPECT_EQ(plUtf8ToUtf16("\xF0\x9F\x98\x80"), std::u16string({0xD83D, 0xDE00}));
    // Truncated, overlong, encoded surrogate, stray continuation, beyond U+10FFFF: one U+FFFD per bad byte.
    EXPECT_EQ(plUtf8ToUtf16("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(plUtf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");
    EXPECT_EQ(plUtf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(plUtf8ToUtf16("\x80z"), u"\uFFFDz");
    EXPECT_EQ(plUtf8ToUtf16("\xF4\x90\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(plUtf8ToUtf16("\xE2\x82"
                            "A"),
              u"\uFFFD\uFFFDA");
    EXPECT_EQ(plUtf8ToUtf16(""), u"");
}

TEST(plUtf, Utf16ToUtf8RoundTripsAndReplacesLoneSurrogates) {
    const std::u16string text = u"Kestrune \u00E9\u20AC\U0001F600";
    EXPECT_EQ(plUtf16ToUtf8(text), "Kestrune \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(plUtf8ToUtf16(plUtf16ToUtf8(text)), text);
    EXPECT_EQ(plUtf16ToUtf8(std::u16string({0xD800, u'a'})), "\xEF\xBF\xBD"
                                                             "a");
    EXPECT_EQ(plUtf16ToUtf8(std::u16string({0xDC00})), "\xEF\xBF\xBD");
}
