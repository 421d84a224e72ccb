#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "gprTestScripts.h"

#include <set>

namespace {

using gprFormatTest = gprTestScripts;

} // namespace

TEST_F(gprFormatTest, KeywordTableHoldsEachKeywordAndIdOnce) {
    std::set<std::string> keywords, ids;
    for (const auto& [keyword, id] : gprKeywordTable) {
        keywords.insert(keyword);
        ids.insert(id);
        EXPECT_EQ(std::strlen(id), 4u) << keyword;
    }
    EXPECT_EQ(keywords.size(), 112u);
    EXPECT_EQ(ids.size(), 112u);
    EXPECT_EQ(gprGetKeywords().size(), 112u);
    const char* leading[] = {"Window",       "Id",         "State",         "Position",
                             "Orientation",  "PivotPoint", "Scale",         "Size",
                             "Render",       "Enable",     "Justification", "ToolTipText",
                             "ToolTipNum",   "Material",   "Tile",          "MakeTransparencyMap",
                             "Transparency", "Color"};
    for (size_t i = 0; i < std::size(leading); ++i)
        EXPECT_STREQ(gprKeywordTable[i].first, leading[i]);
    EXPECT_STREQ(gprKeywordTable.back().first, "ScrollBox");
    EXPECT_EQ(gprLookUpKeyword("Window"), 0x444E4957u);
    EXPECT_EQ(gprLookUpKeyword("Id"), chMakeId('I', 'D', 'N', 'M'));
    EXPECT_EQ(gprLookUpKeyword("window"), 0u);
}

TEST_F(gprFormatTest, TextFormCompilesToTheseBytes) {
    const struct {
        const char* text;
        std::string bytes;
    } cases[] = {
        {"Image {}", gprChunk("IMGE")},
        {"Image { Id \"abc\" }", gprChunk("IMGE", gprChunk("IDNM", gprString("abc")))},
        {"Image { Position 1 2.5 -3 }",
         gprChunk("IMGE", gprChunk("PSTN", gprFloat(1.0f) + gprFloat(2.5f) + gprFloat(-3.0f)))},
        {"Image { Id \"x\" }",
         std::string("\x49\x4D\x47\x45\x0C\x00\x00\x00\x00\x00\x49\x44\x4E\x4D\x02\x00\x00\x00"
                     "\x00\x00\x78\x00",
                     22)},
        // Unknown words are empty chunks named by their first characters; their values become words too.
        {"Image { Foo 1 2 }", gprChunk("IMGE", gprChunk("Foo") + gprChunk("1") + gprChunk("2"))},
        {"Image { SIZE 10 abc }", gprChunk("IMGE", gprChunk("SIZE", gprInt(10) + gprInt(0)))},
        {"Image { Render 256 Enable -1 }",
         gprChunk("IMGE", gprChunk("RNDR", std::string(1, '\0')) + gprChunk("ENBL", std::string(1, '\xFF')))},
        {"# a comment\nImage { } Text { Id \"second\" }", gprChunk("IMGE")},
        {"Window { Id \"w\" }", ""},
        {"Container { Text { StateColor 1 2 3 \"Over\" } Material { Color 1 2 3 Idle } }",
         gprChunk("CNTR",
                  gprChunk("TEXT", gprChunk("SCLR", gprInt(1) + gprInt(2) + gprInt(3) + gprString("Over"))) +
                      gprChunk("MTRL"))},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Compile(c.text), c.bytes) << c.text;
}

TEST_F(gprFormatTest, UnreadableTextThrowsWithItsLine) {
    folder.Write("bad.gst", "Image {\n  Id \"x\"\n  Position 1\n}\n");
    u32 line = 0;
    EXPECT_THROW(gprParserUtil::CompileScript(folder.Locator("bad.gst"), folder.Locator("bad.gsf"), &line),
                 chInvalidChunkX);
    EXPECT_EQ(line, 3u);
    EXPECT_FALSE(fsFileExists(folder.Locator("bad.gsf")));
}
