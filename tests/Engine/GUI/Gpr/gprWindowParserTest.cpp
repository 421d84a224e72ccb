#include "gprTestScripts.h"

#include <algorithm>

namespace {

using gprWindowParserTest = gprTestScripts;

// The values of the first chunk of this id anywhere in the bytes.
std::string Values(const std::string& bytes, const std::string& code) {
    for (size_t at = bytes.find(code); at != std::string::npos; at = bytes.find(code, at + 1)) {
        u32 size = 0;
        std::memcpy(&size, bytes.data() + at + 4, 4);
        if (at + 10 + size <= bytes.size())
            return bytes.substr(at + 10, size);
    }
    return "(none)";
}

} // namespace

TEST_F(gprWindowParserTest, PropertiesLoadAndSaveBack) {
    guiContainer screen;
    LoadText("Container { Id \"Screen\" Render 2 Enable 0 Justification Center Bottom Size 40 30\n"
             "  Orientation 0 0 2 1.0\n  Position 1e99 5 6\n  PivotPoint 1 2 3 Scale 2 2 2\n"
             "  ToolTipNum 7 ToolTipText \"tip\" State Nonsense }",
             &screen);
    EXPECT_EQ(screen.GetName(), "Screen");
    EXPECT_TRUE(screen.IsVisible());
    EXPECT_FALSE(screen.IsEnabled());
    EXPECT_EQ(screen.GetState(), -1);
    i32 h = 0, v = 0;
    screen.GetJustification(h, v);
    EXPECT_EQ(h, 2);
    EXPECT_EQ(v, 4);
    EXPECT_EQ(screen.GetPosition().x, 0.0f); // not finite: not applied
    EXPECT_TRUE(log.Holds("Position holds a number out of range"));

    const std::string saved = Save(&screen);
    EXPECT_EQ(Values(saved, "JUST"), gprString("Center") + gprString("Bottom"));
    EXPECT_EQ(Values(saved, "ORTN"), gprFloat(0.0f) + gprFloat(0.0f) + gprFloat(1.0f) + gprFloat(1.0f));
    EXPECT_EQ(Values(saved, "TTTX"), gprString("tip")); // the text wins over the number
    EXPECT_EQ(Values(saved, "TTNM"), "(none)");
    EXPECT_EQ(Values(saved, "STAT"), "(none)");
    EXPECT_EQ(Values(saved, "RNDR"), std::string(1, '\1'));

    // Tooltips are saved whole, each unit as its low byte.
    envString tip(std::string(300, 'x').c_str());
    tip.AppendChar(0x1E9);
    screen.SetToolTipText(tip);
    EXPECT_EQ(Values(Save(&screen), "TTTX"), std::string(300, 'x') + "\xE9" + std::string(1, '\0'));

    // Saved, loaded into a fresh window and saved again: the same bytes.
    guiContainer again;
    LoadBytes(saved, &again);
    EXPECT_EQ(Save(&again), saved);
}

TEST_F(gprWindowParserTest, NamedValuesOfTheScript) {
    const struct {
        const char* text;
        bool visible;
        i32 horizontal, vertical;
        const char* savedJustification;
    } cases[] = {
        {"Container { Render 256 Justification HorizontalCenter Top }", false, 2, 3, "Center|Top|"},
        {"Container { Render 1 Justification Right VerticalCenter }", true, 1, 2, "Right|Center|"},
        {"Container { Justification left Whatever }", true, 2, 2, "Center|Center|"},
    };
    for (const auto& c : cases) {
        guiContainer screen;
        LoadText(c.text, &screen);
        i32 h = 0, v = 0;
        screen.GetJustification(h, v);
        EXPECT_EQ(screen.IsVisible(), c.visible) << c.text;
        EXPECT_EQ(h, c.horizontal) << c.text;
        EXPECT_EQ(v, c.vertical) << c.text;
        std::string names = Values(Save(&screen), "JUST");
        std::replace(names.begin(), names.end(), '\0', '|');
        EXPECT_EQ(names, c.savedJustification) << c.text;
    }
    EXPECT_EQ(gprStateNumberToName(1), "Over");
    EXPECT_EQ(gprStateNumberToName(12), "Idle");
    gprSetNamedValue("Checked", 12);
    EXPECT_EQ(gprStateNumberToName(12), "Checked");
    EXPECT_EQ(gprGetNamedValue("Missing"), -1);
}

TEST_F(gprWindowParserTest, RepeatedStartsKeepTheTables) {
    gprInit();
    gprShutdown();
    EXPECT_EQ(gprGetKeywords().size(), 112u);
    EXPECT_NE(gprParserUtil::FindWidgetParser(gprLookUpKeyword("Text")), nullptr);
    EXPECT_EQ(gprStateNameToNumber("Disabled"), 5);
}
