#include "Engine/App/Gf/gfTokenFile.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

class gfTokenFileTest : public ::testing::Test {
  protected:
    std::unique_ptr<gfFile> Open(const std::string& bytes) {
        m_folder.Write("t.txt", bytes);
        return std::make_unique<gfFile>(m_folder.Locator("t.txt"), 0);
    }
    // Every token of the text (no maximum, no stop character).
    std::vector<std::string> Split(const std::string& text, bool comments = true) {
        auto file = Open(text);
        std::vector<std::string> tokens;
        for (std::string token; gfReadToken(*file, token, 0, 0, comments);)
            tokens.push_back(token);
        return tokens;
    }

    fsTestFolder m_folder;
};

using Tokens = std::vector<std::string>;

} // namespace

TEST_F(gfTokenFileTest, BreakRule) {
    EXPECT_EQ(Split("-5"), Tokens{"-5"});
    EXPECT_EQ(Split("1.5"), Tokens{"1.5"});
    EXPECT_EQ(Split(".5"), Tokens{".5"});
    EXPECT_EQ(Split("abc.def"), Tokens{"abc.def"});
    EXPECT_EQ(Split("a.1"), Tokens{"a.1"});
    EXPECT_EQ(Split("abc123 123abc _x1"), (Tokens{"abc123", "123abc", "_x1"}));
    EXPECT_EQ(Split("a-5"), (Tokens{"a", "-5"}));
    EXPECT_EQ(Split("a=b"), (Tokens{"a=", "b"}));
    EXPECT_EQ(Split("1e-5"), (Tokens{"1e", "-5"})); // '-' always breaks a token
    EXPECT_EQ(Split("{a}"), (Tokens{"{", "a", "}"}));
    EXPECT_EQ(Split("f(x,y);"), (Tokens{"f", "(", "x", ",", "y", ")", ";"}));
    EXPECT_EQ(Split("a:b\tc\r\nd"), (Tokens{"a", "b", "c", "d"}));
    EXPECT_EQ(Split("a. b"), (Tokens{"a", ".", "b"}));
    EXPECT_EQ(Split("x\"q\"y"), (Tokens{"x", "q", "y"}));
    EXPECT_EQ(Split("caf\xC3\xA9s \xE9t\xE9"),
              (Tokens{"caf\xC3\xA9s", "\xE9t\xE9"})); // high bytes are letters
}

TEST_F(gfTokenFileTest, CommentsAndStops) {
    EXPECT_EQ(Split("# first\nA 1 # tail\nB#c\nC"), (Tokens{"A", "1", "B", "C"}));
    EXPECT_EQ(Split("#a b", false), (Tokens{"#", "a", "b"}));
    EXPECT_EQ(Split("\"# kept\""), Tokens{"# kept"});
    // A file that ends right after a token gives it once.
    EXPECT_EQ(Split("last"), Tokens{"last"});
    EXPECT_TRUE(Split("  \r\n# only a comment").empty());

    // The stop character ends a token and is read by the next call, which answers false.
    auto file = Open("abc\ndef # x\nghi");
    std::string token;
    EXPECT_TRUE(gfReadToken(*file, token, 0, '\n', true));
    EXPECT_EQ(token, "abc");
    EXPECT_FALSE(gfReadToken(*file, token, 0, '\n', true));
    EXPECT_TRUE(gfReadToken(*file, token, 0, '\n', true));
    EXPECT_EQ(token, "def");
    EXPECT_FALSE(gfReadToken(*file, token, 0, '\n', true)); // the comment ran to the line feed
    EXPECT_TRUE(gfReadToken(*file, token, 0, '\n', true));
    EXPECT_EQ(token, "ghi");
}

TEST_F(gfTokenFileTest, QuotedTokens) {
    auto file = Open("\"\\a\\b\\f\\n\\r\\t\\v\\\\\\'\\\"\\?\\q\" \"\" \"a b\" ");
    std::string token;
    EXPECT_EQ(gfReadTokenKind(*file, token, 0, 0, true), gfTokenKind::Quoted);
    EXPECT_EQ(token, "\a\b\f\n\r\t\v\\'\"?q");
    EXPECT_EQ(gfReadTokenKind(*file, token, 0, 0, true), gfTokenKind::Quoted); // empty but present
    EXPECT_EQ(token, "");
    EXPECT_TRUE(gfReadToken(*file, token, 0, 0, true));
    EXPECT_EQ(token, "a b");
    EXPECT_EQ(gfReadTokenKind(*file, token, 0, 0, true), gfTokenKind::None);

    for (const char* bad : {"\"open", "\"raw\nfeed\"", "\"escape at end\\"}) {
        auto badFile = Open(bad);
        EXPECT_THROW(gfReadToken(*badFile, token, 0, 0, true), gfInvalidTokenFileTxtX) << bad;
    }
    // A quoted token longer than the maximum is refused; one of exactly the maximum is not.
    auto longFile = Open("\"abcd\" \"abcde\"");
    EXPECT_TRUE(gfReadToken(*longFile, token, 4, 0, true));
    EXPECT_EQ(token, "abcd");
    try {
        gfReadToken(*longFile, token, 4, 0, true);
        FAIL();
    } catch (const gfInvalidTokenFileTxtX& e) {
        EXPECT_EQ(e.GetLocator(), m_folder.Locator("t.txt"));
    }
}

TEST_F(gfTokenFileTest, LongPlainTokensAreCutAndTheRestSkipped) {
    auto file = Open("abcdefgh ij.k-5");
    std::string token;
    EXPECT_TRUE(gfReadToken(*file, token, 3, 0, true));
    EXPECT_EQ(token, "abc");
    EXPECT_TRUE(gfReadToken(*file, token, 3, 0, true));
    EXPECT_EQ(token, "ij."); // "ij.k" cut; the break before "-5" still holds
    EXPECT_TRUE(gfReadToken(*file, token, 3, 0, true));
    EXPECT_EQ(token, "-5");
}

TEST_F(gfTokenFileTest, WrittenTokensReadBackWhole) {
    const std::vector<std::string> texts = {
        "plain", "a b", "c:\\x\\", "",    "say \"hi\"", "two\nlines", "{",
        "}",     "a-5", "1e-5",    "a=b", "x=",         "5.",         "end.",
        ":",     "#",   "-",       "-5",  "\xE9t\xE9",  "tab\there",  std::string("nul\0in", 6)};
    m_folder.Write("w.txt", "");
    {
        gfFile out(m_folder.Locator("w.txt"), 1);
        for (const std::string& text : texts) {
            gfWriteToken(out, text);
            out.Write(1, " ");
        }
    }
    const std::string written = m_folder.Read("w.txt");
    EXPECT_EQ(written.substr(0, 30), "plain \"a b\" \"c:\\\\x\\\\\" \"\" \"say ");
    EXPECT_FALSE(gfTokenNeedsQuotes("x="));
    EXPECT_FALSE(gfTokenNeedsQuotes("5."));
    EXPECT_TRUE(gfTokenNeedsQuotes("end."));

    gfFile in(m_folder.Locator("w.txt"), 0);
    for (const std::string& text : texts) {
        std::string back;
        EXPECT_TRUE(gfReadToken(in, back, 0, 0, true)) << text;
        EXPECT_EQ(back, text);
    }
    std::string none;
    EXPECT_FALSE(gfReadToken(in, none, 0, 0, true));
}

TEST_F(gfTokenFileTest, Lines) {
    auto file = Open("one\r\ntwo\rthree\nfour\r\r\nabcdef");
    std::string line;
    std::vector<std::string> lines;
    while (gfReadLine(*file, line, 4))
        lines.push_back(line);
    // "four" fills the maximum; the CR after it then makes an empty line, which ends the loop.
    EXPECT_EQ(lines, (Tokens{"one", "two", "thre", "e", "four"}));
    EXPECT_FALSE(gfReadLine(*file, line, 4)); // the empty line before "abcdef"
    EXPECT_TRUE(gfReadLine(*file, line, 0));
    EXPECT_EQ(line, "abcdef");
    EXPECT_FALSE(gfReadLine(*file, line, 0));
}

// Cut at every byte and with huge tokens: the tokenizer ends, with a token, false, or its exception.
TEST_F(gfTokenFileTest, TruncationSweep) {
    const std::string whole = "NAME \"quoted \\\"x\\\"\" 1.5 -7 # note\r\n{ a=b }\r\n";
    for (size_t cut = 0; cut <= whole.size(); ++cut) {
        auto file = Open(whole.substr(0, cut));
        std::string token;
        u32 count = 0;
        try {
            while (gfReadToken(*file, token, 0, 0, true))
                ASSERT_LT(++count, 20u);
        } catch (const gfInvalidTokenFileTxtX&) {
        }
    }
    auto huge = Open(std::string(100000, 'x') + " \"" + std::string(100000, 'y') + "\"");
    std::string token;
    EXPECT_TRUE(gfReadToken(*huge, token, 16, 0, true));
    EXPECT_EQ(token.size(), 16u);
    EXPECT_THROW(gfReadToken(*huge, token, 16, 0, true), gfInvalidTokenFileTxtX);
}
