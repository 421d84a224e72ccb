#include "Tools/TextSet/toolTextSetSource.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace {

std::string ErrorOf(const std::string& source) {
    try {
        toolParseTextSetSource(source, "src.tss");
    } catch (const toolSourceError& e) {
        return e.what();
    }
    return "no error";
}

} // namespace

TEST(toolTextSetSource, ReadsEntriesEscapesAndUtf8) {
    const std::string source = "\xEF\xBB\xBF# a comment\r\n"
                               "\r\n"
                               "1\tplain text # not a comment\r\n"
                               "   \t  \n"
                               "20\tline one\\nline two\\tand \\\\ a backslash\n"
                               "4294967295\t\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x8E\xA2\n"
                               "3\t";
    const auto entries = toolParseTextSetSource(source, "src.tss");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].id, 1u);
    EXPECT_EQ(entries[0].text, envString("plain text # not a comment"));
    EXPECT_EQ(entries[1].id, 20u);
    EXPECT_EQ(entries[1].text, envString("line one\nline two\tand \\ a backslash"));
    EXPECT_EQ(entries[2].id, 4294967295u);
    EXPECT_EQ(entries[2].text, envString(u"\u00E9t\u00E9 \u20AC \U0001F3A2")); // a surrogate pair at the end
    EXPECT_EQ(entries[2].text.GetLength(), 8u);
    EXPECT_EQ(entries[3].id, 3u);
    EXPECT_EQ(entries[3].text.GetLength(), 0u);
}

TEST(toolTextSetSource, FaultsNameTheFileAndLine) {
    EXPECT_EQ(ErrorOf("# x\n5\tone\n\n5\ttwo\n"), "src.tss:4: the id 5 is already given on line 2");
    EXPECT_EQ(ErrorOf("1\tok\n2\tbad \\q escape\n"),
              "src.tss:2: unknown escape \\q (only \\n, \\t and \\\\ are known)");
    EXPECT_EQ(ErrorOf("1\tends in \\"),
              "src.tss:1: the line ends in a lone backslash (write \\\\ for a backslash)");
    EXPECT_EQ(ErrorOf("1 no tab\n"), "src.tss:1: expected <id><TAB><text>, the line has no TAB");
    EXPECT_EQ(ErrorOf("\tno id\n"), "src.tss:1: expected <id><TAB><text>, the id is missing");
    EXPECT_EQ(ErrorOf("x1\ttext\n"), "src.tss:1: the id \"x1\" is not a decimal number");
    EXPECT_EQ(ErrorOf("4294967296\ttext\n"), "src.tss:1: the id 4294967296 does not fit in 32 bits");
    for (const char* bad : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "\xE2\x82"})
        EXPECT_EQ(ErrorOf(std::string("1\t") + bad + "\n"), "src.tss:1: the text is not valid UTF-8") << bad;
    EXPECT_EQ(ErrorOf(std::string("1\ta\0b\n", 6)), "src.tss:1: the text holds a 0 character");
    EXPECT_EQ(ErrorOf("1\t" + std::string(32768, 'x')),
              "src.tss:1: the text is longer than 32767 UTF-16 units");
    EXPECT_EQ(ErrorOf("1\t" + std::string(32767, 'x')), "no error");
}

TEST(toolTextSetSource, WritesACompleteSetInPlaceOfTheOldFile) {
    fsTestFolder folder;
    folder.Write("out.tsf", std::string(500, 'z')); // longer than the new set: nothing of it may remain
    toolWriteTextSet(folder.Path("out.tsf"), 32, toolParseTextSetSource("2\ttwo\n1\tone\n", "src.tss"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.tsf.tmp")));
    const std::string bytes = folder.Read("out.tsf");
    EXPECT_EQ(bytes.size(), 20u + 2 * (6 + 6));
    gfTextSet set(folder.Locator("out.tsf"), 32, true);
    EXPECT_EQ(set.GetSetNumber(), 32u);
    EXPECT_EQ(set.GetText(1), envString("one"));
    EXPECT_EQ(set.GetText(2), envString("two"));

    // A target that cannot be replaced (a folder) fails and leaves nothing beside it.
    folder.MakeFolder("folder.tsf/inside");
    EXPECT_THROW(toolWriteTextSet(folder.Path("folder.tsf"), 32, {}), fsReadOnlyX);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("folder.tsf.tmp")));
}

TEST(toolTextSetSource, CompilerProgramRefusesBadSourcesAndKeepsTheOldOutput) {
    fsTestFolder folder;
    folder.Write("good.tss", "7\tseven\n");
    folder.Write("bad.tss", "7\tseven\n7\tagain\n");
    const std::string compiler = LV_TEXT_SET_COMPILER;
    const std::string out = folder.Path("out.tsf");
    const std::string errors = folder.Path("errors.txt");
    ASSERT_EQ(std::system((compiler + " --set 40 " + folder.Path("good.tss") + " " + out).c_str()), 0);
    const std::string good = folder.Read("out.tsf");
    EXPECT_NE(std::system((compiler + " " + folder.Path("bad.tss") + " " + out + " 2>" + errors).c_str()), 0);
    EXPECT_EQ(folder.Read("errors.txt"),
              folder.Path("bad.tss") + ":2: the id 7 is already given on line 1\n");
    EXPECT_EQ(folder.Read("out.tsf"), good);
    gfTextSet set(folder.Locator("out.tsf"), 32, true);
    EXPECT_EQ(set.GetSetNumber(), 40u);
    EXPECT_EQ(set.GetText(7), envString("seven"));
}
