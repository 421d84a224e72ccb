#include "Engine/App/Gf/gfTextSet.h"
#include "gprTestScripts.h"

#include <typeinfo>

namespace {

using gprContentParsersTest = gprTestScripts;

// The ids of the chunks inside the first object chunk, in order.
std::string PropertyIds(const std::string& bytes) {
    std::string ids;
    for (size_t at = 10; at + 10 <= bytes.size();) {
        u32 size = 0;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        ids += bytes.substr(at, 4) + " ";
        at += 10 + size;
    }
    return ids;
}

} // namespace

TEST_F(gprContentParsersTest, MaterialLookPerState) {
    guiContainer screen;
    LoadText(
        "Container { Image { Color 300 0 -1 Over Transparency 0.5 Idle Tile 2 2 Over Color 7 7 7 Nonsense\n"
        "  ImageState \"a.png\" Pressed Tile 3 4 Pressed MakeTransparencyMap 0.25 Pressed\n"
        "  Transparency 1e99 Pressed } }",
        &screen);
    auto& image = dynamic_cast<gprTestImage&>(*screen.GetChild(0));
    EXPECT_EQ(image.looks.at(1).rgb, (std::array<u8, 3>{44, 0, 255}));
    EXPECT_EQ(image.looks.at(0).alpha, 0.5f);
    EXPECT_EQ(image.looks.at(1).u, 1.0f); // no texture: not tiled
    EXPECT_TRUE(log.Holds("Tile for state 1, which has no texture"));
    EXPECT_EQ(image.looks.at(3).u, 3.0f);
    EXPECT_EQ(image.looks.at(3).threshold, 0.25f);
    EXPECT_EQ(image.looks.at(3).alpha, 1.0f);
    EXPECT_EQ(image.files.at(3), folder.Locator("a.png"));

    // Untextured states save their colour only, textured ones colour, tiling and alpha.
    const std::string saved = Save(&image);
    EXPECT_EQ(PropertyIds(saved),
              "SIMG COLR COLR COLR COLR TILE TRAN IDNM PSTN ORTN PVPT SIZE SCLE RNDR ENBL JUST ");

    // The default look comes back as the default look.
    gprTestImage again;
    LoadBytes(saved, &again);
    EXPECT_EQ(again.looks.at(-1).rgb, (std::array<u8, 3>{7, 7, 7}));
    EXPECT_EQ(Save(&again), saved);
}

TEST_F(gprContentParsersTest, TextKeywords) {
    gfWriteTextSet(folder.Locator("texts.tsf"), 32, {{5, u"Five"}});
    for (const char* kind : {"Text", "ScrollingText"}) {
        guiContainer screen;
        const std::string body =
            std::string("Container { ") + kind +
            " { Id \"T\" StaticText \"Hi\" Over StateColor 300 2 3 Over StaticText \"?\" "
            "Bogus DefaultColor 9 8 7 DefaultXOffset 4 WordWrap 2 TextureSize 2048 128 "
            "DefaultFont \"Sans\" 0 StateFontNum 1 601 Over StateFont \"Sans\" 12 Over StaticTextNum 5 Idle "
            "} }";
        gprPushTextSet(folder.Locator("texts.tsf"));
        LoadText(body, &screen);
        gprPopTextSet();
        auto& text = dynamic_cast<gprTestText&>(*screen.GetChild(0));
        EXPECT_EQ(text.records.at(1).text, envString("Hi")) << kind;
        EXPECT_EQ(text.records.at(1).rgb, (std::array<u8, 3>{44, 2, 3})) << kind;
        EXPECT_EQ(text.records.at(-1).text, envString("?")) << kind;
        EXPECT_EQ(text.records.at(0).text, envString("Five")) << kind;
        EXPECT_EQ(text.defaultColor, (std::array<u8, 3>{9, 8, 7})) << kind;
        EXPECT_EQ(text.xOffset, 4) << kind;
        EXPECT_EQ(text.wordWrap, 1) << kind;
        EXPECT_EQ(text.width, 2048) << kind;
        EXPECT_FALSE(text.defaultFont) << kind;
        EXPECT_TRUE(text.records.at(1).font) << kind;
        EXPECT_EQ(dynamic_cast<gprTestScrollingText*>(&text) != nullptr,
                  std::string(kind) == "ScrollingText");

        // The state texts and colours come back as they were loaded; the numbered text by its number.
        gprPushTextSet(folder.Locator("texts.tsf"));
        const std::string saved = Save(&text);
        gprPopTextSet();
        EXPECT_EQ(saved.substr(0, 4), kind == std::string("Text") ? "TEXT" : "SCTX");
        EXPECT_NE(saved.find(gprChunk("STNM", gprInt(5) + gprString("Idle"))), std::string::npos) << kind;
        EXPECT_NE(saved.find(gprChunk("SFNT", gprString("Sans") + gprInt(12) + gprString("Over"))),
                  std::string::npos)
            << kind;
        EXPECT_NE(saved.find(gprChunk("SCLR", gprInt(44) + gprInt(2) + gprInt(3) + gprString("Over"))),
                  std::string::npos)
            << kind;
    }
    EXPECT_EQ(log.Count("which is too great an aspect ratio, must be 8 or less."), 2u);
    EXPECT_EQ(log.Count("Text w/ ID: T asks for a font of size 0"), 2u);
    EXPECT_EQ(log.Count("Text w/ ID: T asks for a font of size 601"), 2u);
}

TEST_F(gprContentParsersTest, TextureSizesAndMissingTextSet) {
    const struct {
        i32 width, height;
        i32 keptWidth, keptHeight;
        bool warns;
    } cases[] = {
        {1024, 128, 1024, 128, false}, {1100, 128, 1100, 128, false}, {2048, 128, 2048, 128, true},
        {128, 2048, 128, 2048, true},  {0, 0, 256, 128, false},       {-5, 7, 256, 128, false},
    };
    for (const auto& c : cases) {
        log.lines.clear();
        guiContainer screen;
        LoadText("Container { Text { TextureSize " + std::to_string(c.width) + " " +
                     std::to_string(c.height) + " StaticTextNum 3 Idle } }",
                 &screen);
        auto& text = dynamic_cast<gprTestText&>(*screen.GetChild(0));
        EXPECT_EQ(text.width, c.keptWidth) << c.width;
        EXPECT_EQ(text.height, c.keptHeight) << c.width;
        EXPECT_EQ(log.Holds("too great an aspect ratio"), c.warns) << c.width;
        EXPECT_FALSE(text.records.count(0));
        EXPECT_TRUE(log.Holds("no text set is installed"));
    }
}

TEST_F(gprContentParsersTest, ImageNamesRelativeToTheScript) {
    fsLocator scripts = folder.Locator();
    scripts.AppendComponent("gui");
    scripts.AppendComponent("uisp");
    guiContainer screen;
    folder.Write("gui/uisp/i.gsf",
                 Compile("Container { Image { ImageState \"..\\\\common\\\\a.png\" Idle "
                         "ImageState \"../../x//b.png\" Over ImageState \"c.png\" Nonsense } }"));
    gprParserUtil::LoadScript(scripts, u"i", &screen);
    auto& image = dynamic_cast<gprTestImage&>(*screen.GetChild(0));
    fsLocator a = folder.Locator("gui/common/a.png"), b = folder.Locator("x/b.png"), c = scripts;
    c.AppendComponent("c.png");
    EXPECT_EQ(image.files.at(0), a);
    EXPECT_EQ(image.files.at(1), b);
    EXPECT_EQ(image.files.at(-1), c);

    gprParserUtil::SetScriptDirectory(scripts);
    const std::string saved = Save(&image);
    for (const char* name : {"..\\common\\a.png", "..\\..\\x\\b.png", "c.png"})
        EXPECT_NE(saved.find(gprString(name)), std::string::npos) << name;
}

TEST_F(gprContentParsersTest, WrongWidgetClassIsABadCast) {
    guiContainer screen;
    EXPECT_THROW(LoadText("Text { StaticText \"x\" Idle }", &screen), std::bad_cast);
    EXPECT_THROW(LoadText("Image { Color 1 2 3 Idle }", &screen), std::bad_cast);
}
