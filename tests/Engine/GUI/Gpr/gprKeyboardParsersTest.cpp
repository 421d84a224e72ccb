#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/GUI/Gpr/gprKeyNames.h"
#include "Engine/GUI/Gpr/gprKeyPrototypeParser.h"
#include "Engine/GUI/Gpr/gprKeywords.h"
#include "Engine/GUI/Gpr/gprParserUtil.h"
#include "Engine/GUI/Gpr/gprWindowParser.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiKeyboardSelector.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/Graphics/G2d/g2dImageBuilder.h"
#include "gprTestScripts.h"

#include <fstream>
#include <iterator>
#include <map>
#include <memory>

namespace {

class gprKeyboardParsersTest : public gprTestScripts {
  protected:
    // Loads the text form of one prototype with its own parser, as the keyboard's parser does.
    template <class P> void LoadPrototype(P& parser, const std::string& text) {
        gfFile file(folder.Write("o.gst", text), gfFileRead);
        chTxtReader reader(&file);
        reader.SetTagMap(&gprGetKeywords());
        u32 id = 0, size = 0;
        u16 version = 0;
        ASSERT_TRUE(reader.BeginChunk(&id, &version, &size));
        parser.Load(reader, nullptr);
    }
    void WriteSets() {
        std::map<u32, envString> lower, upper;
        for (u32 i = 0; i < 26; ++i) {
            lower[i] = envString(std::string(1, static_cast<char>('a' + i)).c_str());
            upper[i] = envString(std::string(1, static_cast<char>('A' + i)).c_str());
        }
        gfWriteTextSet(folder.Locator("lower.tsf"), 32, lower);
        gfWriteTextSet(folder.Locator("upper.tsf"), 32, upper);
        const std::string pixel = g2dImageBuilder::Png(1, 8, 6, {std::string("\x80\x80\x80\xFF", 4)});
        for (const char* name : {"key_i.png", "key_o.png", "key_p.png", "key_d.png", "key_c.png"})
            folder.Write(name, pixel);
    }
    static std::string Sample() {
        std::ifstream in(std::string(LV_GPR_SAMPLES) + "/keyboard.gst", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string Captions(const xuiOrderedKeyboard& keyboard) {
        std::vector<guiButton*> keys;
        keyboard.GetKeys(keys);
        std::string captions;
        for (const guiButton* key : keys)
            captions += envStringToNarrow(key->GetText()->GetText(guiStateIdle));
        return captions;
    }
};

} // namespace

TEST_F(gprKeyboardParsersTest, KeyAndToggleNamesAreExact) {
    const std::pair<const char*, u32> keys[] = {
        {"KeyUndefined", 0}, {"KeySpace", 1}, {"KeyBackspace", 3},
        {"KeyCapsLock", 6},  {"KeyF12", 34},  {"KeyLanguageModifier2", 36},
        {"keyf12", 0},       {"KeyF", 0},     {"KeyEnter", 0},
        {"KeyReturn", 0},    {"KeyF12 ", 0}};
    for (const auto& [name, id] : keys)
        EXPECT_EQ(gprKeyIdOfName(name), id) << name;
    const std::pair<const char*, u32> flags[] = {
        {"NumLock", 2}, {"LanguageModifier2", 8}, {"KeyNumLock", 0}, {"capitalletters", 0}};
    for (const auto& [name, flag] : flags)
        EXPECT_EQ(gprToggleFlagOfName(name), flag) << name;
}

TEST_F(gprKeyboardParsersTest, PrototypeKeywords) {
    gprKeyPrototypeToggleParser toggle;
    LoadPrototype(toggle,
                  "KeyPrototypeToggle { ToggleVal \"CapitalLetters\" ToggleVal \"NumLock\" ToggleOnce 1\n"
                  "TextColor 300 255 16 TextOffset 5 -3 KeyId \"KeyF12\" KeyLabel \"F12\" Position 1 2 3\n"
                  "EnableKey 0 EnableKeyText 1 ShowText 0 KeySize 40 20 Size 9 9 Id \"x\"\n"
                  "ImageState \"k.png\" Pressed ImageState \"k.png\" Bogus Transparency 0.5 Pressed\n"
                  "MakeTransparencyMap 0.25 Idle TextFont \"DejaVu Sans\" 601 TextFontNum 0 0\n"
                  "StateColor 150 150 406 Disabled StateColor 1 2 3 Disabled }");
    const auto& key = static_cast<const xuiKeyPrototypeToggle&>(*toggle.GetTarget());
    EXPECT_EQ(key.GetToggleValue(), 2u);
    EXPECT_FALSE(key.IsToggleOnce());
    EXPECT_EQ(key.GetTextColor(), (std::array<u8, 3>{44, 255, 16}));
    EXPECT_EQ(key.GetStateTextColors(), (std::map<i32, std::array<u8, 3>>{{guiStateDisabled, {1, 2, 3}}}));
    EXPECT_EQ(std::pair(key.GetTextOffsetX(), key.GetTextOffsetY()), std::pair(5.0f, -3.0f));
    EXPECT_EQ(key.GetKeyId(), 34u);
    EXPECT_EQ(key.GetKeyLabel(), envString(u"F12"));
    EXPECT_EQ(key.GetKeyPosition().z, 3.0f);
    EXPECT_FALSE(key.IsKeyEnabled() || !key.IsKeyTextEnabled() || key.GetShowText());
    EXPECT_EQ(std::pair(key.GetKeyWidth(), key.GetKeyHeight()), std::pair(40, 20));
    std::vector<i32> states;
    key.GetImageStates(states);
    EXPECT_EQ(states, (std::vector<i32>{-1, 3}));
    EXPECT_EQ(key.GetTransparency(guiStatePressed), 0.5f);
    EXPECT_EQ(key.GetTransparencyMap(guiStateIdle), 0.25f);
    EXPECT_FALSE(key.GetTextFont());
    EXPECT_EQ(log.Count("font of size"), 2u);

    // A standard prototype ignores the special keywords.
    gprKeyPrototypeStandardParser standard;
    LoadPrototype(standard, "KeyPrototypeStandard { KeyId \"KeyF12\" KeySize 7 8 Position 1 1 1 }");
    EXPECT_EQ(standard.GetTarget()->GetKeyWidth(), 7);
}

TEST_F(gprKeyboardParsersTest, TheSampleKeyboardLoadsTypesAndSwitchesCase) {
    WriteSets();
    log.lines.clear();
    guiContainer screen;
    LoadText(Sample(), &screen);
    auto& keyboard = dynamic_cast<xuiOrderedKeyboard&>(*screen.FindChild("Keyboard"));
    EXPECT_EQ(Captions(keyboard), "abcdefghijklmnopqrstuvwxyz");
    ASSERT_NE(keyboard.GetKeyById(1), nullptr);
    ASSERT_NE(keyboard.GetKeyById(3), nullptr);
    EXPECT_EQ(keyboard.GetKeyById(3)->GetPosition().x, 240.0f);
    guiCheckbox* capsLock = keyboard.FindKey(6);
    ASSERT_NE(capsLock, nullptr);
    EXPECT_EQ(keyboard.GetChildCount(), 29);
    capsLock->SetChecked(true);
    keyboard.Think();
    EXPECT_EQ(Captions(keyboard), "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(log.Count("**Warning**"), 0u);
}

TEST_F(gprKeyboardParsersTest, GridsByToggleValueFirstWinsLastPrototypeWins) {
    WriteSets();
    guiContainer screen;
    LoadText("Container { OrderedKeyboard {\n"
             "LayoutGrid { LayoutToggleVal \"CapitalLetters\" LayoutToggleVal \"LanguageModifier1\"\n"
             "  CharacterSetPath \"upper.tsf\" NumColumns 26 StandardLayoutSize 260 10 }\n"
             "LayoutGrid { CharacterSetPath \"lower.tsf\" NumColumns 13 StandardLayoutSize 130 20\n"
             "  LayoutDirection \"Sideways\" KeyPrototypeStandard { KeySize 1 1 } KeyPrototypeStandard { "
             "KeySize 5 6 }\n"
             "  ImageState \"key_i.png\" Idle }\n"
             "LayoutGrid { CharacterSetPath \"upper.tsf\" NumColumns 13 }\n"
             "KeyPrototypeToggle { KeyId \"KeyCapsLock\" ToggleVal \"CapitalLetters\" }\n"
             "KeyPrototypeToggle { KeyId \"KeyLanguageModifier1\" ToggleVal \"LanguageModifier1\" } } }",
             &screen);
    auto& keyboard = dynamic_cast<xuiOrderedKeyboard&>(*screen.GetChild(0));
    std::vector<guiButton*> keys;
    keyboard.GetKeys(keys);
    ASSERT_EQ(keys.size(), 26u);
    EXPECT_EQ(envStringToNarrow(keys[0]->GetText()->GetText(guiStateIdle)), "");
    i32 w = 0, h = 0;
    keys[0]->GetSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(5, 6));
    EXPECT_EQ(keys[13]->GetPosition().y, 10.0f);
    EXPECT_TRUE(log.Holds("holds a grid for toggle value 0 already"));
    keyboard.FindKey(6)->SetChecked(true);
    keyboard.FindKey(35)->SetChecked(true);
    keyboard.Think();
    EXPECT_EQ(keyboard.GetToggleValue(), 5u);
    keyboard.GetKeys(keys);
    ASSERT_EQ(keys.size(), 26u);
    EXPECT_EQ(keys[25]->GetPosition().x, 250.0f);
}

TEST_F(gprKeyboardParsersTest, SelectorPairsInEitherOrderAndMalformedOnesAddNothing) {
    WriteSets();
    const auto keyboard = [](int i) { return "OrderedKeyboard { Id \"K" + std::to_string(i) + "\" }"; };
    const std::string image = "Image { Id \"I\" }";
    guiContainer screen;
    LoadText("Container { KeyboardSelector { Previous { Size 20 20 } Next { Id \"Forward\" }\n"
             "KeyboardSelectorPair { " +
                 keyboard(0) + image +
                 " }\n"
                 "KeyboardSelectorPair { " +
                 image + keyboard(1) +
                 " }\n"
                 "KeyboardSelectorPair { Text { } " +
                 keyboard(9) + image +
                 " }\n"
                 "KeyboardSelectorPair { " +
                 keyboard(9) +
                 " }\n"
                 "KeyboardSelectorPair { " +
                 image + image + keyboard(9) +
                 " }\n"
                 "KeyboardSelectorPair { " +
                 keyboard(2) + image +
                 " }\n"
                 "Next { Size 5 5 } } Text { Id \"After\" } }",
             &screen);
    auto& selector = dynamic_cast<xuiKeyboardSelector&>(*screen.GetChild(0));
    ASSERT_EQ(selector.GetNumKeyboards(), 3);
    for (i32 i = 0; i < 3; ++i)
        EXPECT_EQ(selector.GetKeyboard(i)->GetName(), "K" + std::to_string(i));
    EXPECT_EQ(selector.GetCurrentIndex(), 0);
    EXPECT_EQ(selector.GetCurrentKeyboard(), selector.GetKeyboard(0));
    EXPECT_EQ(log.Count("does not hold one \"OrderedKeyboard\" and one \"Image\""), 3u);
    i32 w = 0, h = 0;
    selector.GetPrevious()->GetSize(w, h);
    EXPECT_EQ(w, 20);
    EXPECT_TRUE(log.Holds("no child named \"Next\""));
    // Previous, the renamed Next and three pairs; the sibling after the selector loads under the screen.
    EXPECT_EQ(selector.GetChildCount(), 8);
    ASSERT_EQ(screen.GetChildCount(), 2);
    EXPECT_EQ(screen.GetChild(1)->GetName(), "After");

    // Saved as window keywords and children, it loads again.
    const std::string saved = Save(&screen);
    guiContainer again;
    LoadBytes(saved, &again);
    EXPECT_EQ(again.GetChildCount(), 2);
}

// The widget list puts derived widgets' parsers first: each kind's new widget is saved by its own parser.
TEST_F(gprKeyboardParsersTest, EveryWidgetKindSavesUnderItsOwnKeyword) {
    size_t kinds = 0;
    for (const auto& [keyword, code] : gprKeywordTable) {
        const u32 id = gprLookUpKeyword(keyword);
        gprWindowParser* parser = gprParserUtil::FindWidgetParser(id);
        // A kind read by another kind's parser ("ComboBoxText") saves as that kind.
        if (!parser || parser->GetType() != id)
            continue;
        std::unique_ptr<guiWindow> widget(parser->CreateWidget());
        if (!widget)
            continue;
        EXPECT_EQ(Save(widget.get()).substr(0, 4), code) << keyword;
        ++kinds;
    }
    EXPECT_GE(kinds, 12u);
}
