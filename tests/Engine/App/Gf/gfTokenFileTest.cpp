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
        return std::make_unique<gfFile>(m_folder.Write("t.txt", bytes), gfFileRead);
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

// The break rule, comments and quotes: each text and the tokens it splits into.
TEST_F(gfTokenFileTest, BreakRuleCommentsAndQuotes) {
    const std::pair<std::string, Tokens> cases[] = {
        {"-5", {"-5"}},
        {".5", {".5"}},
        {"abc.def", {"abc.def"}},
        {"a.1", {"a.1"}},
        {"abc123 123abc _x1", {"abc123", "123abc", "_x1"}},
        {"a-5", {"a", "-5"}},
        {"a=b", {"a=", "b"}},
        {"1e-5", {"1e", "-5"}}, // '-' always breaks a token
        {"f(x,y);{}", {"f", "(", "x", ",", "y", ")", ";", "{", "}"}},
        {"a:b\tc\r\nd", {"a", "b", "c", "d"}},
        {"a. b", {"a", ".", "b"}},
        {"x\"q\"y", {"x", "q", "y"}},
        {"caf\xC3\xA9s \xE9t\xE9", {"caf\xC3\xA9s", "\xE9t\xE9"}}, // high bytes are letters
        {"# first\nA 1 # tail\nB#c\nC", {"A", "1", "B", "C"}},
        {"\"# kept\" last", {"# kept", "last"}},
        {"  \r\n# only a comment", {}},
        {"\"\\a\\b\\f\\n\\r\\t\\v\\\\\\'\\\"\\?\\q\" \"\" \"a b\"", {"\a\b\f\n\r\t\v\\'\"?q", "", "a b"}},
    };
    for (const auto& [text, tokens] : cases)
        EXPECT_EQ(Split(text), tokens) << text;
    EXPECT_EQ(Split("#a b", false), (Tokens{"#", "a", "b"}));

    for (const char* bad : {"\"open", "\"raw\nfeed\"", "\"escape at end\\"}) {
        auto file = Open(bad);
        std::string token;
        EXPECT_THROW(gfReadToken(*file, token, 0, 0, true), gfInvalidTokenFileTxtX) << bad;
    }
}

// A plain token over the maximum is cut and the rest skipped, without swallowing what follows; a quoted
// one is refused, one of exactly the maximum is not.
TEST_F(gfTokenFileTest, TheMaximumLength) {
    auto cut = Open("abcdefgh ij.kl-5 \"abcd\" \"abcde\"");
    std::string token;
    Tokens read;
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(gfReadToken(*cut, token, 4, 0, true));
        read.push_back(token);
    }
    EXPECT_EQ(read, (Tokens{"abcd", "ij.k", "-5", "abcd"}));
    EXPECT_EQ(CaughtLocator<gfInvalidTokenFileTxtX>([&] { gfReadToken(*cut, token, 4, 0, true); }),
              m_folder.Locator("t.txt"));
}

TEST_F(gfTokenFileTest, WrittenTokensReadBackWhole) {
    const std::vector<std::string> texts = {
        "plain", "a b", "c:\\x\\", "",    "say \"hi\"", "two\nlines", "{",
        "}",     "a-5", "1e-5",    "a=b", "x=",         "5.",         "end.",
        ":",     "#",   "-",       "-5",  "\xE9t\xE9",  "tab\there",  std::string("nul\0in", 6)};
    m_folder.Write("w.txt", "");
    {
        gfFile out(m_folder.Locator("w.txt"), gfFileWrite);
        for (const std::string& text : texts) {
            gfWriteToken(out, text);
            out.Write(1, " ");
        }
    }
    EXPECT_EQ(m_folder.Read("w.txt").substr(0, 30), "plain \"a b\" \"c:\\\\x\\\\\" \"\" \"say ");
    Tokens back;
    gfFile in(m_folder.Locator("w.txt"), gfFileRead);
    for (std::string token; gfReadToken(in, token, 0, 0, true);)
        back.push_back(token);
    EXPECT_EQ(back, texts);
}

// Lines end at CR, LF or CRLF; a line over the maximum goes on as the next one.
TEST_F(gfTokenFileTest, Lines) {
    auto file = Open("one\r\ntwo\rthree\nabcdef");
    Tokens lines;
    for (std::string line; gfReadLine(*file, line, 4);)
        lines.push_back(line);
    EXPECT_EQ(lines, (Tokens{"one", "two", "thre", "e", "abcd", "ef"}));
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
