#include "Engine/Core/Env/envString.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(envString, DefaultAndClearedAreEqualButOnlyDefaultHasNoStorage) {
    envString def;
    envString cleared("abc");
    cleared.Clear();
    EXPECT_EQ(def.GetLength(), 0u);
    EXPECT_EQ(cleared.GetLength(), 0u);
    EXPECT_EQ(def, cleared);
    EXPECT_EQ(def.GetData(), nullptr);
    EXPECT_NE(cleared.GetData(), nullptr);
    EXPECT_EQ(envString("").GetData(), nullptr);
}

TEST(envString, NarrowBytesWidenAndNarrowByLowByte) {
    const char bytes[] = {0x41, static_cast<char>(0xE9), 0};
    envString s(bytes);
    ASSERT_EQ(s.GetLength(), 2u);
    EXPECT_EQ(s[0], 0x0041);
    EXPECT_EQ(s[1], 0x00E9);

    const char16_t units[] = {0x0041, 0x20AC, 0};
    EXPECT_EQ(envStringToNarrow(envString(units)), std::string("\x41\xAC"));

    envString wide(L"a\U0001F600");
    ASSERT_EQ(wide.GetLength(), 3u);
    EXPECT_EQ(wide[1], 0xD83D);
    EXPECT_EQ(wide[2], 0xDE00);
    // A wchar_t past the last code point is no character: U+FFFD, not its low 16 bits.
    const wchar_t beyond[] = {static_cast<wchar_t>(0x110041), 0};
    EXPECT_EQ(envString(beyond), envString(u"\uFFFD"));
}

TEST(envString, OrderIsUnsignedLexicographic) {
    EXPECT_TRUE(envString("ab") < envString("abc"));
    EXPECT_FALSE(envString("abc") < envString("ab"));
    EXPECT_FALSE(envString("ab") < envString("ab"));
    const char16_t high[] = {0xFF01, 0};
    const char16_t mid[] = {0x8000, 0};
    EXPECT_TRUE(envString("A") < envString(high));
    EXPECT_TRUE(envString("A") < envString(mid));
    EXPECT_TRUE(envString(mid) < envString(high));
}

TEST(envString, EditsAndNullHandling) {
    envString s("ab");
    s.Resize(5);
    ASSERT_EQ(s.GetLength(), 5u);
    EXPECT_EQ(s[4], 0);
    s.TruncateAtNull();
    EXPECT_EQ(s, envString("ab"));

    s.InsertChar(s.GetLength(), u'c');
    EXPECT_EQ(s, envString("abc"));
    s.InsertChar(0, u'x');
    EXPECT_EQ(s, envString("xabc"));
    s.EraseChar(s.GetLength() - 1);
    EXPECT_EQ(s, envString("xab"));

    s.Append(s);
    EXPECT_EQ(s, envString("xabxab"));

    EXPECT_TRUE(envString("abc").Contains(envString()));
    EXPECT_TRUE(envString("abc").Contains(envString("bc")));
    EXPECT_FALSE(envString("abc").Contains(envString("cb")));
    envString withNull("ab");
    withNull.AppendChar(0);
    withNull.Append(envString("cd"));
    EXPECT_FALSE(withNull.Contains(envString("cd")));
}

TEST(envString, SubstringIsClippedToTheSource) {
    const envString src("hello");
    EXPECT_EQ(envString(1, 3, src), envString("ell"));
    EXPECT_EQ(envString(3, 100, src), envString("lo"));
    EXPECT_EQ(envString(9, 2, src).GetLength(), 0u);
}

TEST(envString, GrowthAtLeastDoublesAndCopiesAreDeep) {
    envString a("abcd");
    envString b(a);
    b.AppendChar(u'e');
    EXPECT_EQ(a, envString("abcd"));
    EXPECT_NE(a.GetData(), b.GetData());
    a = a; // self-assignment is a no-op
    EXPECT_EQ(a, envString("abcd"));
}

TEST(envString, ToFloatReadsWithoutLocale) {
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("2.5")), 2.5);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("1e")), 1.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString(" -2.5x")), -2.5);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("")), 0.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("inf")), 0.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("nan")), 0.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("0x10")), 0.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("+.5e1")), 5.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("-")), 0.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString(".")), 0.0);
    EXPECT_DOUBLE_EQ(envStringToFloat(envString("1e-999")), 0.0);
    EXPECT_TRUE(std::isinf(envStringToFloat(envString("1e999"))));
}
