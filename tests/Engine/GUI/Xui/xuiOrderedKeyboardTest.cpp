#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiImage.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiKeyboardSelector.h"
#include "xuiKeyboardFixture.h"

#include <string>
#include <vector>

namespace {

const std::string kLower = "abcdefghijklmnopqrstuvwxyz";
const std::string kUpper = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Lower case under 0, capitals under 1, three digits under 5; Backspace (3) at (400, 100), CapsLock (6,
// capitals) at (400, 130), a shift (4, capitals, once) at (400, 160), LanguageModifier1 (35) at
// (400, 190) and a key of no flags (7) at (400, 220).
class xuiOrderedKeyboardTest : public xuiKeyboardTest {
  protected:
    void SetUp() override {
        xuiKeyboardTest::SetUp();
        keyboard = Add<xuiOrderedKeyboard>();
        keyboard->SetPosition({0.0f, 0.0f, 1.0f});
        keyboard->AddLayoutGrid(0, Grid("lower.tsf", kLower));
        keyboard->AddLayoutGrid(1, Grid("upper.tsf", kUpper));
        keyboard->AddLayoutGrid(5, Grid("digits.tsf", "123"));
        auto backspace = Key<xuiKeyPrototypeSpecial>();
        backspace.SetKeyId(3);
        backspace.SetKeyPosition({400.0f, 100.0f, 0.5f});
        backspace.SetKeyLabel(u"<-");
        keyboard->AddSpecialKey(backspace);
        const struct {
            u32 id, value;
            bool once;
        } toggles[] = {{6, 1, false}, {4, 1, true}, {35, 4, false}, {7, 0, false}};
        float y = 130.0f;
        for (const auto& t : toggles) {
            auto toggle = Key<xuiKeyPrototypeToggle>(12);
            toggle.SetKeyId(t.id);
            toggle.SetKeyPosition({400.0f, y, 0.5f});
            toggle.SetToggleValue(t.value);
            toggle.SetToggleOnce(t.once);
            keyboard->AddToggleKey(toggle);
            y += 30.0f;
        }
        keyboard->BuildLayout(0);
        Update(700, 500);
    }
    // The captions of the character keys in placement order.
    std::string Captions() {
        std::vector<guiButton*> keys;
        keyboard->GetKeys(keys);
        std::string captions;
        for (const guiButton* key : keys)
            captions += envStringToNarrow(key->GetText()->GetText(guiStateIdle));
        return captions;
    }
    std::string Typed() {
        std::string typed;
        envString text;
        while (keyboard->PopText(text))
            typed += envStringToNarrow(text) + "|";
        return typed;
    }
    void ClickToggle(u32 id) {
        Click(415.0f, 145.0f + 30.0f * static_cast<float>(id == 6 ? 0 : id == 4 ? 1 : id == 35 ? 2 : 3));
    }

    xuiOrderedKeyboard* keyboard = nullptr;
};

} // namespace

TEST_F(xuiOrderedKeyboardTest, CheckedTogglesChooseTheGridOfTheirCombinedValue) {
    EXPECT_EQ(Captions(), kLower);
    const struct {
        u32 click;
        const char* captions;
        u32 value;
    } steps[] = {
        {35, "", 4}, {6, "123", 5}, {35, kUpper.c_str(), 1}, {7, kUpper.c_str(), 1}, {6, kLower.c_str(), 0}};
    for (const auto& s : steps) {
        ClickToggle(s.click);
        EXPECT_EQ(keyboard->GetToggleValue(), s.value) << s.click;
        EXPECT_EQ(Captions(), s.captions) << s.click;
    }
    // The key of no flags is still checked; a value without a grid got an empty one and no keys.
    EXPECT_TRUE(keyboard->FindKey(7)->IsChecked());
    EXPECT_EQ(keyboard->FindKey(8), nullptr);
    EXPECT_EQ(log.Count("**Warning**"), 0u);
}

TEST_F(xuiOrderedKeyboardTest, AShiftTypesOneCapitalAndTheKeyUnderThePointerGoesSafely) {
    ClickToggle(4);
    EXPECT_EQ(Captions(), kUpper);
    ClickCharacter(0);
    EXPECT_EQ(Typed(), "A|");
    EXPECT_FALSE(keyboard->FindKey(4)->IsChecked());
    EXPECT_EQ(Captions(), kLower);
    // The key under the pointer was replaced inside the update; nothing program-wide names it.
    for (const guiWindow* held : {guiWindow::GetFocusWindow(), guiWindow::GetOverWindow(),
                                  guiMouseButtons::GetDoubleClick(guiMouseButtons::kMain)})
        EXPECT_TRUE(!held || held->IsDescendantOf(keyboard) || held == keyboard);
    ClickCharacter(0);
    ClickCharacter(25);
    EXPECT_EQ(Typed(), "a|z|");

    // CapsLock stays down over several characters.
    ClickToggle(6);
    ClickCharacter(1);
    ClickCharacter(2);
    EXPECT_EQ(Typed(), "B|C|");
    EXPECT_EQ(Captions(), kUpper);
}

TEST_F(xuiOrderedKeyboardTest, QueuesSpecialKeysAndSetsRepeatedIdsUpOnce) {
    envString untouched(u"x");
    u32 id = 99;
    EXPECT_FALSE(keyboard->PopText(untouched));
    EXPECT_FALSE(keyboard->PopKeyId(id));
    EXPECT_EQ(untouched, envString(u"x"));
    EXPECT_EQ(id, 99u);
    Click(415, 115);
    Click(415, 115);
    std::vector<u32> ids;
    while (keyboard->PopKeyId(id))
        ids.push_back(id);
    EXPECT_EQ(ids, (std::vector<u32>{3, 3}));
    EXPECT_EQ(keyboard->GetKeyById(1), nullptr);

    // A second prototype of the id sets the same window up again, and the keyboard holds it once.
    guiButton* backspace = keyboard->GetKeyById(3);
    const i32 children = keyboard->GetChildCount();
    auto again = Key<xuiKeyPrototypeSpecial>();
    again.SetKeyId(3);
    again.SetKeyPosition({500.0f, 100.0f, 0.5f});
    again.SetTextColor({10, 20, 30});
    again.SetStateTextColor({150, 150, 150}, guiStateDisabled);
    keyboard->AddSpecialKey(again);
    EXPECT_EQ(keyboard->GetKeyById(3), backspace);
    EXPECT_EQ(keyboard->GetChildCount(), children);
    EXPECT_EQ(backspace->GetPosition().x, 500.0f);
    // A state's own caption colour; the others keep the text colour.
    EXPECT_EQ(backspace->GetText()->GetTextColor(guiStateDisabled), (g3dTextColour{150, 150, 150}));
    EXPECT_EQ(backspace->GetText()->GetTextColor(guiStateIdle), (g3dTextColour{10, 20, 30}));

    // SetEnabled reaches the keys only.
    keyboard->SetEnabled(false);
    EXPECT_TRUE(keyboard->IsEnabled());
    EXPECT_FALSE(backspace->IsEnabled() || keyboard->FindKey(6)->IsEnabled());
    std::vector<guiButton*> keys;
    keyboard->GetKeys(keys);
    EXPECT_FALSE(keys[0]->IsEnabled());
}

TEST_F(xuiOrderedKeyboardTest, KeysWithoutImagesOrCaptionsQueueEmptyTexts) {
    auto plain = Grid("lower.tsf", kLower);
    plain.GetLayout().SetKeyPrototype(Key(0));
    auto hidden = Grid("lower.tsf", kLower);
    auto prototype = Key();
    prototype.SetShowText(false);
    hidden.GetLayout().SetKeyPrototype(prototype);
    for (const auto& grid : {plain, hidden}) {
        xuiOrderedKeyboard* other = Add<xuiOrderedKeyboard>();
        other->SetPosition({0.0f, 300.0f, 1.0f});
        other->AddLayoutGrid(0, grid);
        other->BuildLayout(0);
        Click(15, 415);
        envString text(u"x");
        EXPECT_TRUE(other->PopText(text));
        EXPECT_EQ(text.GetLength(), 0u);
        guiWindowMgr::DeleteWindow(other);
    }
}

TEST_F(xuiKeyboardTest, TheSelectorShowsOnePairAndPagesWithWrap) {
    auto* selector = Add<xuiKeyboardSelector>();
    selector->GetPrevious()->SetSize(20, 20);
    selector->GetPrevious()->SetPosition({0.0f, 0.0f, 0.5f});
    selector->GetNext()->SetSize(20, 20);
    selector->GetNext()->SetPosition({40.0f, 0.0f, 0.5f});
    EXPECT_EQ(selector->GetCurrentKeyboard(), nullptr);
    Click(10, 10);
    selector->UpdateSelection();
    EXPECT_EQ(selector->GetCurrentIndex(), -1);

    std::vector<xuiOrderedKeyboard*> keyboards;
    for (int i = 0; i < 3; ++i) {
        keyboards.push_back(new xuiOrderedKeyboard);
        selector->AddKeyboard(keyboards.back(), new guiImage);
    }
    const auto shown = [&] {
        std::string flags;
        for (i32 i = 0; i < 3; ++i)
            flags += selector->GetKeyboard(i)->IsVisible() ? '1' : '0';
        return flags;
    };
    EXPECT_EQ(shown(), "100");
    EXPECT_EQ(selector->GetCurrentKeyboard(), keyboards[0]);
    EXPECT_EQ(selector->GetKeyboard(3), nullptr);
    const struct {
        float x;
        const char* expect;
    } clicks[] = {{10, "001"}, {50, "100"}, {50, "010"}, {10, "100"}};
    for (const auto& c : clicks) {
        Click(c.x, 10);
        selector->UpdateSelection();
        EXPECT_EQ(shown(), c.expect) << c.x;
    }
    for (i32 ignored : {0, -1, 3}) {
        selector->SelectKeyboard(ignored);
        EXPECT_EQ(shown(), "100") << ignored;
    }
    // Both released in one frame: "Previous" wins.
    selector->GetPrevious()->SetState(guiStateReleased);
    selector->GetNext()->SetState(guiStateReleased);
    selector->UpdateSelection();
    EXPECT_EQ(shown(), "001");
}
