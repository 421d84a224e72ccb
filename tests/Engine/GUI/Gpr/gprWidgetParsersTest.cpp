#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gpr/gprAssociatedControlParser.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiListBox.h"
#include "Engine/GUI/Gui/guiRadioGroup.h"
#include "Engine/GUI/Xui/xuiScrollBox.h"
#include "Engine/GUI/Xui/xuiSliderComposite.h"
#include "gprTestScripts.h"

#include <typeinfo>

namespace {

using gprWidgetParsersTest = gprTestScripts;

template <class W> W& Child(const guiWindow& parent, i32 index) {
    return dynamic_cast<W&>(*dynamic_cast<const guiContainer&>(parent).GetChild(index));
}

// The first string value of the first chunk with that id.
std::string StringOf(const std::string& bytes, const char* id) {
    const size_t at = bytes.find(id);
    return at == std::string::npos ? "<none>" : std::string(bytes.c_str() + at + 10);
}

std::array<f32, 4> Layout(const guiButton& button) {
    std::array<f32, 4> l{};
    button.GetLayout(l[0], l[1], l[2], l[3]);
    return l;
}

} // namespace

TEST_F(gprWidgetParsersTest, ButtonPlacementAndLayout) {
    const struct {
        const char* name;
        i32 positioning;
        const char* saved;
    } placements[] = {
        {"Left", 4, "Left"}, {"Below", 3, "Below"}, {"left", 0, "Center"}, {"Sideways", 0, "Center"}};
    for (const auto& p : placements) {
        guiContainer screen;
        LoadText(std::string("Container { Button { TextPositioning \"") + p.name + "\" } }", &screen);
        auto& button = Child<guiButton>(screen, 0);
        EXPECT_EQ(button.GetTextPositioning(), p.positioning) << p.name;
        EXPECT_EQ(StringOf(Save(&screen), "TXTP"), p.saved);
        button.SetTextPositioning(7);
        EXPECT_EQ(StringOf(Save(&screen), "TXTP"), "Center");
    }

    guiContainer screen;
    LoadText(
        "Container { Button { ImagePercentage 0.5 0.25 TextPercentage 0.4 0.75 } Button { TextPercentage 0.1 "
        "0.2 } Button { ImagePercentage 0.3 0.6 } }",
        &screen);
    const std::array<f32, 4> initial = Layout(guiButton());
    EXPECT_EQ(Layout(Child<guiButton>(screen, 0)), (std::array<f32, 4>{0.5f, 0.25f, 0.4f, 0.75f}));
    EXPECT_EQ(Layout(Child<guiButton>(screen, 1)), (std::array<f32, 4>{initial[0], initial[1], 0.1f, 0.2f}));
    EXPECT_EQ(Layout(Child<guiButton>(screen, 2)), (std::array<f32, 4>{0.3f, 0.6f, initial[2], initial[3]}));
}

TEST_F(gprWidgetParsersTest, RenamedSubWidgetIsSkippedWithWarning) {
    guiContainer screen;
    LoadText("Container { Button { Image { Id \"Icon\" } Image { Id \"Second\" } Text { Id \"Label\" } }\n"
             "Slider { Thumb { Id \"T\" } Thumb { } Background { } } }",
             &screen);
    const auto& button = Child<guiButton>(screen, 0);
    EXPECT_NE(button.FindChild("Icon"), nullptr);
    EXPECT_EQ(button.FindChild("Second"), nullptr);
    EXPECT_TRUE(log.Holds("no child named \"Image\"; the object is skipped"));
    EXPECT_NE(button.FindChild("Label"), nullptr);
    EXPECT_TRUE(log.Holds("no child named \"Thumb\"; the object is skipped"));
}

TEST_F(gprWidgetParsersTest, CheckboxesAndRadioGroups) {
    // The registry's check-box parser added the checked states to the names every object may use.
    EXPECT_EQ(gprStateNumberToName(7), "CheckedOver");
    guiContainer screen;
    LoadText("Container { RadioGroup { Spacing 7 Checkbox { } Checkbox { Id \"Two\" Checked 1 State "
             "CheckedOver }\n"
             "Button { Id \"Plain\" } Checkbox { } } }",
             &screen);
    auto& group = Child<guiRadioGroup>(screen, 0);
    ASSERT_EQ(group.GetButtonCount(), 3);
    EXPECT_EQ(group.GetChildCount(), 4);
    EXPECT_EQ(group.GetChild(0)->GetName(), "RadioButton0");
    const auto& two = Child<guiCheckbox>(group, 1);
    EXPECT_EQ(two.GetName(), "Two");
    EXPECT_TRUE(two.IsChecked());
    EXPECT_EQ(two.GetState(), 7);
    EXPECT_EQ(typeid(*group.GetChild(2)), typeid(guiButton));
    EXPECT_EQ(group.GetSpacing(), 7);

    // A four-byte flag body is read from its first byte; the rest is skipped and the next chunk loads.
    guiContainer bytes;
    LoadBytes(gprChunk("CNTR", gprChunk("RDGR", gprChunk("ASIZ", std::string("\x01\xFF\xFF\xFF", 4)) +
                                                    gprChunk("SPAC", gprInt(9)))),
              &bytes);
    const auto& built = Child<guiRadioGroup>(bytes, 0);
    EXPECT_TRUE(built.GetAutoSizing());
    EXPECT_EQ(built.GetSpacing(), 9);
}

TEST_F(gprWidgetParsersTest, SliderKeywords) {
    const struct {
        const char* axis;
        i32 number;
    } axes[] = {{"Vertical", 2}, {"vertical", 1}, {"Horizontal", 1}, {"Diagonal", 1}};
    for (const auto& a : axes) {
        guiContainer screen;
        LoadText(std::string("Container { Slider { Axis \"") + a.axis +
                     "\" ThumbPos 1.5 BackgroundConstraint 10 90 } }",
                 &screen);
        const auto& slider = Child<guiSlider>(screen, 0);
        EXPECT_EQ(slider.GetAxis(), a.number) << a.axis;
        EXPECT_EQ(slider.GetValue(), 1.0f);
        i32 min = 0, max = 0;
        slider.GetBackgroundConstraint(min, max);
        EXPECT_EQ(min, 10);
        EXPECT_EQ(max, 90);
    }
    for (const auto& [axis, saved] : {std::pair{2, "Vertical"}, {0, "Horizontal"}, {1, "Horizontal"}}) {
        guiContainer screen;
        screen.AddChild(new guiSlider);
        Child<guiSlider>(screen, 0).SetAxis(axis);
        EXPECT_EQ(StringOf(Save(&screen), "AXIS"), saved) << axis;
    }
}

TEST_F(gprWidgetParsersTest, SliderCompositeSteppers) {
    guiContainer screen;
    LoadText("Container { SliderComposite { Increase { Button { } DeltaValue 0.1 } Decrease { Button { } }\n"
             "Increase { DeltaValue 0.5 } } }",
             &screen);
    const auto& composite = Child<xuiSliderComposite>(screen, 0);
    // Besides the thumb and the background, one control of each kind.
    EXPECT_EQ(composite.GetChildCount(), 4);
    EXPECT_NE(composite.FindChild("Increase"), nullptr);
    EXPECT_NE(composite.FindChild("Decrease"), nullptr);
    EXPECT_TRUE(log.Holds("holds no widget; skipped"));
}

TEST_F(gprWidgetParsersTest, ScrollBoxViewsAndControls) {
    guiContainer screen;
    LoadText("Container { ScrollBox { ScrollBox { Id \"View\" } Image { Id \"Plain\" }\n"
             "AssociatedControl { Slider { Id \"Side\" Axis \"Vertical\" } ControlPosition \"Right\" }\n"
             "AssociatedControl { ControlPosition \"Bottom\" }\n"
             "AssociatedControl { Slider { Id \"First\" } Slider { Id \"Second\" } ControlPosition "
             "\"bottom\" } } }",
             &screen);
    const auto& box = Child<xuiScrollBox>(screen, 0);
    ASSERT_EQ(box.GetChildCount(), 4);
    EXPECT_EQ(box.GetChild(0)->GetName(), "View");
    EXPECT_EQ(box.GetChild(1)->GetName(), "Plain");
    EXPECT_EQ(box.GetChild(2)->GetName(), "Side");
    EXPECT_EQ(box.GetChild(3)->GetName(), "Second");
    EXPECT_TRUE(log.Holds("holds no widget; skipped"));
    EXPECT_TRUE(log.Holds("a further widget replaces \"First\""));

    const struct {
        const char* name;
        i32 position;
    } edges[] = {{"Left", 0}, {"Right", 1}, {"Top", 2}, {"Bottom", 3}, {"bottom", 4}, {"", 4}};
    for (const auto& e : edges)
        EXPECT_EQ(gprAssociatedControlParser::PositionOfName(e.name), e.position) << e.name;

    // A control that is no slider fails the load; the control is freed with its record.
    guiContainer failed;
    EXPECT_THROW(LoadText("Container { ScrollBox { AssociatedControl { Text { } } } }", &failed),
                 std::bad_cast);
}

// The widgets' layouts are set before their children are saved: a button laid out once and a slider
// without thumb offset come back alike.
TEST_F(gprWidgetParsersTest, WidgetTreeSavesLoadsAndSavesAlike) {
    guiContainer screen;
    LoadText("Container { Id \"Root\" Container { Text { Id \"a\" } Image { Id \"b\" } }\n"
             "Button { TextPositioning \"Left\" ImagePercentage 0.5 0.25 Text { StaticText \"Go\" Idle } }\n"
             "Checkbox { Checked 1 TextPercentage 1 1 } RadioGroup { AutoPositioning 1 Checkbox { "
             "TextPercentage 1 1 } "
             "Checkbox { TextPercentage 1 1 } }\n"
             "Slider { Axis \"Vertical\" ThumbPos 0.25 } ScrollBox { Size 10 20 } }",
             &screen);
    ASSERT_EQ(screen.GetChildCount(), 6);
    const std::string saved = Save(&screen);
    EXPECT_EQ(saved.substr(0, 4), "CNTR");
    EXPECT_NE(saved.find("SCBX"), std::string::npos);
    guiContainer again;
    LoadBytes(saved, &again);
    EXPECT_EQ(Save(&again), saved);
}

TEST_F(gprWidgetParsersTest, ListBoxRowsAndLooks) {
    gfWriteTextSet(folder.Locator("texts.tsf"), 32, {{2, u"Two"}});
    const std::string script =
        "Container { ScrollBox { ListBox { Id \"List\" RowHeight 20 Size 200 100 RowText \"a\" RowText "
        "\"b\"\n"
        "RowTemplate { TextPositioning \"Right\" } Highlight { Id \"Lit\" } Highlight { } Background { Color "
        "1 2 3 Idle }\n"
        "RowTextNum 2 RowTextNum 9 Button { Id \"Nested\" } RowText \"c\" } } }";
    const std::string compiled = Compile(script);
    EXPECT_NE(compiled.find("Nested"), std::string::npos);
    guiContainer screen;
    gprPushTextSet(folder.Locator("texts.tsf"));
    LoadBytes(compiled, &screen);
    gprPopTextSet();
    const auto& box = Child<xuiScrollBox>(screen, 0);
    const auto& list = dynamic_cast<const guiListBox&>(*box.GetChild(0));
    std::vector<std::string> rows;
    for (i32 i = 0; i < list.GetItemCount(); ++i)
        rows.push_back(envStringToNarrow(list.GetItemText(i)));
    EXPECT_EQ(rows, (std::vector<std::string>{"a", "b", "Two", "", "c"}));
    EXPECT_EQ(list.GetVisibleRows(), 5);
    EXPECT_EQ(list.GetRow(2)->GetTextPositioning(), guiButton::TextRight);
    EXPECT_EQ(list.GetHighlight()->GetName(), "Lit");
    EXPECT_TRUE(log.Holds("\"Highlight\" of \"List\": no child named \"Highlight\""));
    EXPECT_EQ(list.GetBackground()->GetColor(guiStateIdle), (std::array<u8, 3>{1, 2, 3}));
    EXPECT_EQ(list.FindChild("Nested"), nullptr);
    EXPECT_EQ(box.GetItemCount(), 5);

    // Without a text set a numbered row is refused; a list saves as a list box inside its scroll box.
    guiContainer bare;
    LoadBytes(compiled, &bare);
    EXPECT_TRUE(log.Holds("names row text 2, but no text set is installed"));
    EXPECT_EQ(dynamic_cast<const guiListBox&>(*Child<xuiScrollBox>(bare, 0).GetChild(0)).GetItemCount(), 3);
    const std::string saved = Save(&bare);
    EXPECT_LT(saved.find("SCBX"), saved.find("LBOX"));
}
