#include "Engine/Platform/plIniFile.h"
#include "Engine/Platform/plIniReader.h"
#include "plTestFolder.h"

#include <gtest/gtest.h>

TEST(plIniFile, FindsTrimmedUnquotedValuesIgnoringCase) {
    const plIniFile ini("\xEF\xBB\xBF"
                        "# comment\r\n"
                        "top=before any section\r\n"
                        "[Main]\r\n"
                        "Name = \"  spaced  \"\r\n"
                        "Single='x'\r\n"
                        "Mismatched=\"x'\r\n"
                        "Empty=\r\n"
                        "NoEquals\r\n"
                        "name=second\r\n"
                        "  [ sub\\key ]  \r\n"
                        "k=v=w\r\n"
                        "[main]\r\n"
                        "Late=found only in the second Main\r\n");
    std::string value;
    EXPECT_TRUE(ini.Find("MAIN", "name", value));
    EXPECT_EQ(value, "  spaced  ");
    EXPECT_TRUE(ini.Find("main", "Single", value));
    EXPECT_EQ(value, "x");
    EXPECT_TRUE(ini.Find("main", "Mismatched", value));
    EXPECT_EQ(value, "\"x'");
    EXPECT_TRUE(ini.Find("main", "Empty", value));
    EXPECT_EQ(value, "");
    EXPECT_FALSE(ini.Find("main", "NoEquals", value));
    EXPECT_TRUE(ini.Find("Sub\\Key", "K", value));
    EXPECT_EQ(value, "v=w");
    EXPECT_FALSE(ini.Find("main", "Late", value)); // the first section of a name wins
    EXPECT_FALSE(ini.Find("", "top", value));
    EXPECT_FALSE(ini.Find("none", "k", value));
    EXPECT_EQ(ini.GetSections(), (std::vector<std::string>{"Main", "sub\\key", "main"}));
}

TEST(plIniFile, SetKeepsEverythingElse) {
    plIniFile ini("; keep me\n[A]\nx=1\n\n[B]\ny=2\n");
    ini.Set("a", "X", "one");   // replaced in place, under its first spelling
    ini.Set("A", "z", " 3 ");   // added at the end of its section, before the blank line
    ini.Set("C", "w", "\"q\""); // a new section at the end
    EXPECT_EQ(ini.GetText(), "; keep me\n[A]\nx=\"one\"\nz=\" 3 \"\n\n[B]\ny=2\n\n[C]\nw=\"\"q\"\"\n");
    std::string value;
    EXPECT_TRUE(ini.Find("A", "z", value));
    EXPECT_EQ(value, " 3 ");
    EXPECT_TRUE(ini.Find("C", "w", value));
    EXPECT_EQ(value, "\"q\"");
    plIniFile empty("");
    empty.Set("S", "k", "v");
    EXPECT_EQ(empty.GetText(), "[S]\nk=\"v\"\n");
}

TEST(plIniReader, DefaultsRelativeNamesAndTheBufferSize) {
    const plTestFolder folder;
    folder.Write("a.ini", "[S]\nk=value\n");
    const plIniReader reader(folder.Path());
    std::string out;
    EXPECT_EQ(reader.GetPrivateProfileString("s", "K", "dflt", out, 1024, "a.ini"), 5u);
    EXPECT_EQ(out, "value");
    EXPECT_EQ(reader.GetPrivateProfileString("S", "k", "dflt", out, 4, folder.Path("a.ini")), 3u);
    EXPECT_EQ(out, "val");
    EXPECT_EQ(reader.GetPrivateProfileString("S", "other", "dflt", out, 1024, "a.ini"), 4u);
    EXPECT_EQ(out, "dflt");
    EXPECT_EQ(reader.GetPrivateProfileString("S", "k", "dflt", out, 1024, "missing.ini"), 4u);
    EXPECT_EQ(out, "dflt");
    EXPECT_EQ(reader.GetPrivateProfileString("S", "k", "dflt", out, 0, "a.ini"), 0u);
    EXPECT_EQ(out, "");
}
