#include "Engine/Core/Env/envUtf.h"
#include "Engine/Core/Env/envString.h"

#include <gtest/gtest.h>

TEST(envUtf, Utf8DecodingAcceptsOnlyWellFormedSequences) {
    // length 0: malformed, and neither the position nor the code may move.
    const struct {
        std::string bytes;
        u32 code;
        size_t length;
    } cases[] = {
        {"A", 0x41, 1},
        {"\xC2\x80", 0x80, 2},
        {"\xDF\xBF", 0x7FF, 2},
        {"\xE0\xA0\x80", 0x800, 3},
        {"\xED\x9F\xBF", 0xD7FF, 3},
        {"\xEE\x80\x80", 0xE000, 3},
        {"\xEF\xBF\xBF", 0xFFFF, 3},
        {"\xF0\x90\x80\x80", 0x10000, 4},
        {"\xF0\x9F\x98\x80z", 0x1F600, 4},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF, 4},
        {"\x80", 0, 0},                 // stray continuation byte
        {"\xC3", 0, 0},                 // truncated
        {"\xE2\x82", 0, 0},             // truncated
        {"\xF0\x9F\x98", 0, 0},         // truncated
        {"\xC3\x41", 0, 0},             // no continuation
        {"\xE2\x82\x41", 0, 0},         // continuation missing in the middle
        {"\xC0\x80", 0, 0},             // overlong 0
        {"\xC1\xBF", 0, 0},             // overlong two bytes
        {"\xE0\x9F\xBF", 0, 0},         // overlong three bytes
        {"\xF0\x8F\xBF\xBF", 0, 0},     // overlong four bytes
        {"\xED\xA0\x80", 0, 0},         // encoded high surrogate
        {"\xED\xBF\xBF", 0, 0},         // encoded low surrogate
        {"\xF4\x90\x80\x80", 0, 0},     // above U+10FFFF
        {"\xF8\x88\x80\x80\x80", 0, 0}, // five-byte form
        {"\xFF", 0, 0},
    };
    for (const auto& c : cases) {
        const std::string text = "x" + c.bytes;
        size_t at = 1;
        u32 code = 0xABCDEF;
        EXPECT_EQ(envDecodeUtf8(text, at, code), c.length > 0) << c.bytes;
        EXPECT_EQ(at, 1 + c.length) << c.bytes;
        EXPECT_EQ(code, c.length > 0 ? c.code : 0xABCDEFu) << c.bytes;
    }
}

TEST(envUtf, Utf8EncodingAtEveryLengthBoundary) {
    const struct {
        u32 code;
        std::string bytes;
    } cases[] = {{0x7F, "\x7F"},
                 {0x80, "\xC2\x80"},
                 {0x7FF, "\xDF\xBF"},
                 {0x800, "\xE0\xA0\x80"},
                 {0xFFFF, "\xEF\xBF\xBF"},
                 {0x10000, "\xF0\x90\x80\x80"},
                 {0x10FFFF, "\xF4\x8F\xBF\xBF"},
                 {0xD800, "\xED\xA0\x80"}}; // a lone surrogate keeps its own bytes
    for (const auto& c : cases) {
        std::string out = "x";
        envAppendUtf8(out, c.code);
        EXPECT_EQ(out, "x" + c.bytes) << c.code;
    }
}

TEST(envUtf, Utf16PairsAndLoneSurrogates) {
    const struct {
        std::u16string units;
        u32 code;
        size_t taken;
    } decoded[] = {{u"A", 0x41, 1},
                   {{0xD83D, 0xDE00}, 0x1F600, 2},
                   {{0xDBFF, 0xDFFF}, 0x10FFFF, 2},
                   {{0xD800, u'a'}, 0xD800, 1}, // a high surrogate without its low half
                   {{0xD800, 0xD800}, 0xD800, 1},
                   {{0xD800}, 0xD800, 1},
                   {{0xDC00, 0xD800}, 0xDC00, 1}}; // pairs are high then low only
    for (const auto& c : decoded) {
        size_t at = 0;
        EXPECT_EQ(envDecodeUtf16(c.units, at), c.code);
        EXPECT_EQ(at, c.taken);
    }

    const struct {
        u32 code;
        std::u16string units;
    } encoded[] = {{0x41, u"A"},
                   {0xFFFF, {0xFFFF}},
                   {0xDC00, {0xDC00}},
                   {0x10000, {0xD800, 0xDC00}},
                   {0x10FFFF, {0xDBFF, 0xDFFF}},
                   {0x110000, {0xFFFD}}};
    for (const auto& c : encoded) {
        char16_t units[2];
        EXPECT_EQ(std::u16string(units, envEncodeUtf16(c.code, units)), c.units) << c.code;
        envString appended("x");
        envAppendUtf16(appended, c.code);
        EXPECT_EQ(appended, envString((u"x" + c.units).c_str()));
    }
}

TEST(envUtf, WholeTextsReplaceEachMalformedByte) {
    EXPECT_EQ(envUtf8ToUtf16("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(envUtf8ToUtf16("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(envUtf8ToUtf16("\xC0\x80"), u"\uFFFD\uFFFD");
    EXPECT_EQ(envUtf8ToUtf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(envUtf8ToUtf16("\xE2\x82"
                             "A"),
              u"\uFFFD\uFFFDA");
    EXPECT_EQ(envUtf8ToUtf16(""), u"");

    const std::u16string text = u"Kestrune \u00E9\u20AC\U0001F600";
    EXPECT_EQ(envUtf8ToUtf16(envUtf16ToUtf8(text)), text);
    EXPECT_EQ(envUtf16ToUtf8(std::u16string({0xD800, u'a'})), "\xEF\xBF\xBD"
                                                              "a");
    EXPECT_EQ(envUtf16ToUtf8(std::u16string({0xDC00})), "\xEF\xBF\xBD");
}
