#include "Engine/Platform/Os/plIniFile.h"
#include "Engine/Platform/Os/plIniReader.h"
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
    // Late is in the second section called main: the first section of a name wins.
    const struct {
        const char *section, *key, *value; // value null: not found
    } finds[] = {
        {"MAIN", "name", "  spaced  "}, {"main", "Single", "x"},       {"main", "Mismatched", "\"x'"},
        {"main", "Empty", ""},          {"main", "NoEquals", nullptr}, {"Sub\\Key", "K", "v=w"},
        {"main", "Late", nullptr},      {"", "top", nullptr},          {"none", "k", nullptr}};
    std::string value; // carried over, so that each find must set it
    for (const auto& f : finds) {
        EXPECT_EQ(ini.Find(f.section, f.key, value), f.value != nullptr) << f.key;
        if (f.value) {
            EXPECT_EQ(value, f.value) << f.key;
        }
    }
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
    const struct {
        const char *section, *key;
        u32 size;
        std::string file, out;
    } reads[] = {{"s", "K", 1024, "a.ini", "value"},
                 {"S", "k", 4, folder.Path("a.ini"), "val"},
                 {"S", "other", 1024, "a.ini", "dflt"},
                 {"S", "k", 1024, "missing.ini", "dflt"},
                 {"S", "k", 0, "a.ini", ""}};
    std::string out; // carried over, so that each read must set it
    for (const auto& r : reads) {
        EXPECT_EQ(reader.GetPrivateProfileString(r.section, r.key, "dflt", out, r.size, r.file),
                  r.out.size());
        EXPECT_EQ(out, r.out) << r.key << " " << r.size;
    }
}
