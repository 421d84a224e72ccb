#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/App/App/appEventHandler.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "guiWidgetFixture.h"

#include <string>

namespace {

constexpr char16_t kHome = 0xE016, kDelete = 0xE018, kEnd = 0xE019, kLeft = 0xE01D, kRight = 0xE01E;

class guiEditFieldTest : public guiWidgetTest {
  protected:
    template <class F = guiEditField> F* Make(i32 width = 120) {
        auto* field = new F;
        guiWindowMgr::AddWindow(field);
        field->SetSize(width, 30);
        field->GetCaret()->SetSize(2, 20);
        return field;
    }
    // Focuses the field, lets it think so that its handler is enabled, then sends the keys.
    static void Type(guiEditField* field, const std::u16string& keys) {
        guiWindow::SetFocusWindow(field);
        field->Think();
        for (char16_t c : keys)
            appDispatchChar(c);
    }
    static std::u16string Text(const guiEditField* field) {
        const envString text = field->GetText();
        return std::u16string(text.GetData() ? text.GetData() : u"", text.GetLength());
    }
};

} // namespace

TEST_F(guiEditFieldTest, KeysEditTheTextAroundTheCaret) {
    const struct {
        const char16_t* keys;
        bool editable;
        const char16_t* text;
        i32 caret;
    } cases[] = {
        {u"abc", true, u"abc", 3},
        {u"abc\xE016x\xE019y", true, u"xabcy", 5},
        {u"abc\xE01D\xE01D\b\xE018", true, u"c", 0},
        {u"ab\b\b\b\xE018", true, u"", 0},                 // Backspace at 0 and Delete at the end
        {u"a\x1B\t\r\xE01B\xE000\x01", true, u"a\x01", 2}, // ignored keys; other control codes go in
        {u"abc\xE016\xE01E", false, u"", 0},               // read-only: the caret moves, nothing goes in
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.keys, c.keys + std::char_traits<char16_t>::length(c.keys)));
        auto* field = Make();
        field->SetEditable(c.editable);
        Type(field, c.keys);
        EXPECT_EQ(Text(field), c.text);
        EXPECT_EQ(field->GetCaretIndex(), c.caret);
        guiWindowMgr::DeleteWindow(field);
    }
    auto* readOnly = Make();
    readOnly->SetText(u"abc");
    readOnly->SetEditable(false);
    Type(readOnly, {kHome, kRight, kRight, kEnd, kLeft});
    EXPECT_EQ(readOnly->GetCaretIndex(), 2);
    EXPECT_FALSE(readOnly->GetCaret()->IsVisible());
    EXPECT_EQ(readOnly->GetState(), 6);

    auto* unfocused = Make();
    Type(unfocused, u"");
    guiWindow::SetFocusWindow(nullptr);
    unfocused->Think();
    appDispatchChar(u'x');
    EXPECT_EQ(Text(unfocused), u"");

    unfocused->SetText(u"abc");
    unfocused->SetCaretIndex(10);
    EXPECT_EQ(unfocused->GetCaretIndex(), 3);
    unfocused->SetCaretIndex(-2);
    EXPECT_EQ(unfocused->GetCaretIndex(), 0);
}

TEST_F(guiEditFieldTest, TheCaretStaysInsideTheField) {
    auto* field = Make();
    Type(field, std::u16string(60, u'm'));
    EXPECT_GT(field->GetTextWindow()->GetFirstVisibleChar(), 0);
    EXPECT_GE(field->GetCaret()->GetPosition().x, 0.0f);
    EXPECT_LT(field->GetCaret()->GetPosition().x, 120.0f);
    appDispatchChar(kHome);
    EXPECT_EQ(field->GetTextWindow()->GetFirstVisibleChar(), 0);
    EXPECT_EQ(field->GetCaret()->GetPosition().x, 0.0f);

    // Fields that cannot scroll the caret into view place it at their right edge and return.
    auto* narrow = Make(1);
    Type(narrow, u"abcdef");
    EXPECT_EQ(narrow->GetCaret()->GetPosition().x, 0.0f);
    // A texture as wide as the field makes glyph widths field pixels.
    auto* wrapped = Make(20);
    wrapped->GetTextWindow()->SetTextureSize(20, 32);
    wrapped->GetTextWindow()->SetWordWrap(1);
    Type(wrapped, u"wrapped words here");
    EXPECT_EQ(wrapped->GetCaret()->GetPosition().x, 19.0f);
    auto* wide = Make(4);
    wide->GetTextWindow()->SetTextureSize(4, 32);
    Type(wide, u"WWW");
    EXPECT_EQ(wide->GetTextWindow()->GetFirstVisibleChar(), 2);
    EXPECT_EQ(wide->GetCaret()->GetPosition().x, 3.0f);
    wide->GetTextWindow()->SetTile(0.0f, 1.0f, 0);
    wide->SetCaretIndex(3);
    EXPECT_EQ(wide->GetCaret()->GetPosition().x, 3.0f);
}

TEST_F(guiEditFieldTest, TheCaretBlinksHalfOfEachSecondWhileFocused) {
    auto* field = Make();
    Type(field, u"");
    std::string shown;
    for (int frame = 0; frame < 16; ++frame) {
        time.Advance(0.125);
        field->Think();
        shown += field->GetCaret()->IsVisible() ? '1' : '0';
    }
    EXPECT_EQ(shown, "1111000011110000");
    guiWindow::SetFocusWindow(nullptr);
    field->Think();
    EXPECT_FALSE(field->GetCaret()->IsVisible());
}

TEST_F(guiEditFieldTest, NumberFieldsTakeOnlyTheirCharacters) {
    auto* integer = Make<guiEditFieldInteger>();
    integer->SetEditable(false); // the integer field does not ask
    Type(integer, u"-1.a2\b3");
    EXPECT_EQ(Text(integer), u"13");

    auto* number = Make<guiEditFieldFloat>();
    Type(number, u"1.2.5-");
    EXPECT_EQ(Text(number), u"1.25");
    Type(number, u"\xE016-\xE016-");
    EXPECT_EQ(Text(number), u"--1.25");
    number->SetText(u"12.5");
    number->Think();
    EXPECT_EQ(number->GetValue(), 12.5);
    number->Increase();
    EXPECT_EQ(Text(number), u"12.51");
    number->Decrease();
    EXPECT_EQ(Text(number), u"12.5");
}

TEST(guiFormatFieldValue, FourSignificantDigitsWithAPoint) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{1.0, "1."},       {0.01, "1.e-002"},    {100000.0, "1.e+005"},
                 {-0.5, "-0.5"},    {0.0, "0."},          {12.51, "12.51"},
                 {1234.5, "1234."}, {9999.5, "1.e+004"},  {-0.000123456, "-1.235e-004"},
                 {0.1, "0.1"},      {1.5e123, "1.5e+123"}};
    for (const auto& c : cases)
        EXPECT_EQ(guiFormatFieldValue(c.value), c.text) << c.value;
}
