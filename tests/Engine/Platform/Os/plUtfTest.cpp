#include "Engine/Platform/Os/plUtf.h"

#include <gtest/gtest.h>

// The conversions are the engine's own (envUtf, tested there); here only that both ways reach them.
TEST(plUtf, ConvertsBothWaysWithPairsAndReplacements) {
    const std::u16string text = u"Kestrune \u00E9\u20AC\U0001F600";
    const std::string utf8 = "Kestrune \xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    EXPECT_EQ(plUtf16ToUtf8(text), utf8);
    EXPECT_EQ(plUtf8ToUtf16(utf8), text);
    EXPECT_EQ(plUtf8ToUtf16("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(plUtf16ToUtf8(std::u16string({0xDC00})), "\xEF\xBF\xBD");
}
