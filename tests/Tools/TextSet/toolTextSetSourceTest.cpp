#include "Tools/TextSet/toolTextSetSource.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

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
    // The third ends in a surrogate pair: 8 units.
    const std::pair<u32, envString> expected[] = {
        {1u, envString("plain text # not a comment")},
        {20u, envString("line one\nline two\tand \\ a backslash")},
        {4294967295u, envString(u"\u00E9t\u00E9 \u20AC \U0001F3A2")},
        {3u, envString()}};
    ASSERT_EQ(entries.size(), std::size(expected));
    for (size_t i = 0; i < entries.size(); ++i)
        EXPECT_EQ(std::pair(entries[i].id, entries[i].text), expected[i]) << i;
    EXPECT_EQ(entries[2].text.GetLength(), 8u);
}

TEST(toolTextSetSource, FaultsNameTheFileAndLine) {
    const std::pair<std::string, const char*> cases[] = {
        {"# x\n5\tone\n\n5\ttwo\n", "src.tss:4: the id 5 is already given on line 2"},
        {"1\tok\n2\tbad \\q escape\n", "src.tss:2: unknown escape \\q (only \\n, \\t and \\\\ are known)"},
        {"1\tends in \\", "src.tss:1: the line ends in a lone backslash (write \\\\ for a backslash)"},
        {"1 no tab\n", "src.tss:1: expected <id><TAB><text>, the line has no TAB"},
        {"\tno id\n", "src.tss:1: expected <id><TAB><text>, the id is missing"},
        {"x1\ttext\n", "src.tss:1: the id \"x1\" is not a decimal number"},
        {"4294967296\ttext\n", "src.tss:1: the id 4294967296 does not fit in 32 bits"},
        {std::string("1\ta\0b\n", 6), "src.tss:1: the text holds a 0 character"},
        {"1\t" + std::string(32768, 'x'), "src.tss:1: the text is longer than 32767 UTF-16 units"},
        {"1\t" + std::string(32767, 'x'), "no error"},
    };
    for (const auto& [source, error] : cases)
        EXPECT_EQ(ErrorOf(source), error) << source.substr(0, 20);
    for (const char* bad : {"\xC3", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "\xE2\x82"})
        EXPECT_EQ(ErrorOf(std::string("1\t") + bad + "\n"), "src.tss:1: the text is not valid UTF-8") << bad;
}

TEST(toolTextSetSource, WritesACompleteSetInPlaceOfTheOldFile) {
    fsTestFolder folder;
    folder.Write("out.tsf", std::string(500, 'z')); // longer than the new set: nothing of it may remain
    toolWriteTextSet(folder.Path("out.tsf"), 32, toolParseTextSetSource("2\ttwo\n1\tone\n", "src.tss"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path("out.tsf.tmp")));
    const std::string bytes = folder.Read("out.tsf");
    EXPECT_EQ(bytes.size(), 20u + 2 * (6 + 6));
    gfTextSet set(folder.Locator("out.tsf"), 32, true);
    EXPECT_EQ(std::tuple(set.GetSetNumber(), set.GetText(1), set.GetText(2)),
              std::tuple(32u, envString("one"), envString("two")));

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
    EXPECT_EQ(std::tuple(set.GetSetNumber(), set.GetText(7)), std::tuple(40u, envString("seven")));
}
