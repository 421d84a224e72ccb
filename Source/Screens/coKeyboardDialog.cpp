#include "Source/Screens/coKeyboardDialog.h"

#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inKeyCode.h"
#include "Engine/App/In/inKeyboard.h"
#include "Engine/Core/Env/envUtf.h"
#include "Engine/GUI/Gui/guiButton.h"
#include "Engine/GUI/Gui/guiCheckbox.h"
#include "Engine/GUI/Gui/guiEditField.h"
#include "Engine/GUI/Gui/guiScrollingText.h"
#include "Engine/GUI/Gui/guiText.h"
#include "Engine/GUI/Xui/xuiKeyboardSelector.h"
#include "Engine/GUI/Xui/xuiOrderedKeyboard.h"
#include "Engine/Graphics/G2d/g2dFont.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Source/Career/coProfileFiles.h"
#include "Source/Screens/coDialogDimmer.h"
#include "Source/Screens/coScreenScript.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coSoundEffects.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <string_view>

namespace {

// A character above U+FFFF is two units and goes whole: half of it could not be saved in a name.
size_t LastCharacterUnits(std::u16string_view text) {
    const auto high = [](char16_t unit) { return unit >= 0xD800 && unit < 0xDC00; };
    const auto low = [](char16_t unit) { return unit >= 0xDC00 && unit < 0xE000; };
    return text.size() >= 2 && low(text.back()) && high(text[text.size() - 2]) ? 2 : 1;
}

constexpr const char* kScript = "uikd";
constexpr u32 kPageTextSet = 32;
constexpr u32 kWidestText = 165;

// On-screen key ids.
constexpr u32 kSpaceKey = 1;
constexpr u32 kClearKey = 2;
constexpr u32 kBackspaceKey = 3;
constexpr u32 kCapsKey = 6;
constexpr u32 kDigitsKey = 35;
constexpr u32 kSpecialKeys[] = {kSpaceKey, kBackspaceKey, kClearKey};

constexpr int kErrorSound = 18;

constexpr i32 kPressedLook = 3;
constexpr i32 kCheckedPressedLook = 9;

// Folders the game keeps in the saves root beside the profiles; a fresh start would empty them.
constexpr const char* kOwnFolders[] = {"Track Color Preference Settings", "Directory For Unlocked Props"};

bool SameIgnoringCase(const envString& a, const char* b) {
    const std::string narrow = envStringToNarrow(a);
    return std::equal(
        narrow.begin(), narrow.end(), b, b + std::char_traits<char>::length(b), [](char x, char y) {
            return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
        });
}

bool CanBeAName(const envString& text) {
    bool blank = true;
    for (u32 i = 0; i < text.GetLength(); ++i)
        blank = blank && (text[i] == u' ' || text[i] == u'\t');
    if (blank || !coIsValidProfileName(text))
        return false;
    return std::none_of(std::begin(kOwnFolders), std::end(kOwnFolders),
                        [&](const char* folder) { return SameIgnoringCase(text, folder); });
}

// The toggle key's caption: the off text in the plain looks, the on text in the checked ones. The key is
// named by the off text, as the other keys are by theirs.
void LabelToggle(xuiOrderedKeyboard& page, u32 keyId, const envString& off, const envString& on) {
    guiCheckbox* key = page.FindKey(keyId);
    if (!key || !key->GetText())
        return;
    key->SetName(envStringToNarrow(off).c_str());
    for (i32 state : {0, 1, 3, 5}) {
        key->GetText()->SetText(off, state);
        key->GetText()->SetText(on, state + guiCheckbox::kCheckedStates);
    }
}

envString Caption(const guiButton* key) {
    return key->GetText() ? key->GetText()->GetText(0) : envString();
}

// The real key's look on its on-screen key: pressed while down, released (a press) when let go. A
// disabled key takes no press, so a full field stays full. The key is looked up only for a key in use.
// Returns the key pressed by a release.
template <class FindKey> guiButton* Mirror(const inKeyboard& keys, i32 code, FindKey findKey) {
    const bool released = keys.WasKeyReleased(code);
    if (!released && !keys.IsKeyDown(code) && !keys.IsKeyHeld(code))
        return nullptr;
    guiButton* key = findKey();
    if (!key || !key->IsEnabled())
        return nullptr;
    key->SetState(released ? guiStateReleased : kPressedLook);
    return released ? key : nullptr;
}

} // namespace

coKeyboardDialog::coKeyboardDialog() {
    coLoadScreenScript(kScript, "uikd.tsf", this);
    m_field = coFindWidget<guiEditField>(*this, kScript, "EditField", "EditField");
    m_selector = coFindWidget<xuiKeyboardSelector>(*this, kScript, "Selector", "KeyboardSelector");
    const fsLocator& languageFolder = fsGetRootDirectory(coRootText, 0);
    const envString language =
        languageFolder.GetComponentCount() ? languageFolder.GetLastComponent() : envString();
    for (i32 i = 0; i < m_selector->GetNumKeyboards(); ++i) {
        auto* page = dynamic_cast<xuiOrderedKeyboard*>(m_selector->GetKeyboard(i));
        if (!page)
            continue;
        const envString name(page->GetName().c_str());
        const std::string file = kScript + page->GetName() + ".tsf";
        const gfTextSet texts(coScreenTextSet(file.c_str()), kPageTextSet, true);
        if (name == language)
            m_languagePage = i;
        if (page->GetName() == "Eng")
            m_englishPage = i;
        LabelToggle(*page, kCapsKey, texts.GetText(0), texts.GetText(1));
        LabelToggle(*page, kDigitsKey, texts.GetText(2), texts.GetText(3));
    }
    for (u32 i = 0; i < 26; ++i) {
        m_unshifted[i] = static_cast<char16_t>(u'a' + i);
        m_shifted[i] = static_cast<char16_t>(u'A' + i);
    }
    for (u32 i = 0; i < 10; ++i)
        m_unshifted[26 + i] = m_shifted[26 + i] = static_cast<char16_t>(u'0' + i);
    // Without the player's language the English page shows, and without that the first.
    m_selector->SelectKeyboard(m_languagePage >= 0 ? m_languagePage : std::max(m_englishPage, 0));
    SetVisible(false);
    SetEnabled(false);
}

envString coKeyboardDialog::GetText() const {
    return m_field->GetText();
}

bool coKeyboardDialog::IsTooWide() const {
    const guiScrollingText* text = m_field->GetTextWindow();
    const g2dFont font = text && text->GetFont(0) ? text->GetFont(0) : g2dScreen::GetDefaultFont();
    u32 width = 0, height = 0;
    g2dFont::MeasureText(font, GetText(), width, height);
    return width >= kWidestText;
}

void coKeyboardDialog::SetTextFull(bool full) {
    m_textFull = full;
    xuiOrderedKeyboard* page = m_selector->GetCurrentKeyboard();
    if (!page)
        return;
    page->SetEnabled(!full);
    for (u32 id : {kBackspaceKey, kClearKey})
        if (guiButton* key = page->GetKeyById(id))
            key->SetEnabled(true);
}

void coKeyboardDialog::SetText(const envString& text) {
    m_field->SetText(text);
    SetTextFull(IsTooWide());
}

void coKeyboardDialog::Type(const envString& text) {
    xuiOrderedKeyboard* page = m_selector->GetCurrentKeyboard();
    if (!page)
        return;
    const std::u16string_view units(text.GetData() ? text.GetData() : u"", text.GetLength());
    for (size_t at = 0; at < units.size();) {
        envString character;
        envAppendUtf16(character, envDecodeUtf16(units, at));
        page->QueueText(character);
    }
}

void coKeyboardDialog::DriveRealKeys(xuiOrderedKeyboard& page) {
    const inKeyboard* keys = inDeviceManager::GetKeyboard(0);
    if (!keys)
        return;
    std::vector<guiButton*> characterKeys;
    const auto labelled = [&](char16_t c) -> guiButton* {
        if (characterKeys.empty())
            page.GetKeys(characterKeys);
        const char16_t text[2] = {c, 0};
        const envString wanted(text);
        const auto found = std::find_if(characterKeys.begin(), characterKeys.end(),
                                        [&](const guiButton* key) { return Caption(key) == wanted; });
        return found == characterKeys.end() ? nullptr : *found;
    };
    // As on a typewriter, Shift down when a letter goes down types it in the other case, whichever of
    // the two is let go first.
    const bool shift = keys->IsKeyDown(inKeyLeftShift) || keys->IsKeyDown(inKeyRightShift);
    m_shiftedKey = nullptr;
    for (i32 code = inKeyA; code <= inKey9; ++code) {
        const size_t index = static_cast<size_t>(code);
        if (keys->IsKeyDown(code) && !keys->IsKeyHeld(code))
            m_shiftedCodes[index] = shift;
        guiButton* released = Mirror(*keys, code, [&] {
            guiButton* key = labelled(m_unshifted[index]);
            return key ? key : labelled(m_shifted[index]);
        });
        if (released && m_shiftedCodes.test(index))
            m_shiftedKey = released;
    }
    const std::pair<i32, u32> specials[] = {
        {inKeySpace, kSpaceKey}, {inKeyBackspace, kBackspaceKey}, {inKeyDelete, kClearKey}};
    for (const auto& [code, id] : specials)
        Mirror(*keys, code, [&page, id = id] { return page.GetKeyById(id); });
    if (guiCheckbox* caps = page.FindKey(kCapsKey)) {
        if (keys->WasKeyReleased(inKeyCapsLock))
            caps->SetChecked(!caps->IsChecked());
        else if (keys->IsKeyDown(inKeyCapsLock) || keys->IsKeyHeld(inKeyCapsLock))
            caps->SetState(caps->IsChecked() ? kCheckedPressedLook : kPressedLook);
    }
}

envString coKeyboardDialog::OtherCase(const envString& caption) const {
    if (caption.GetLength() != 1)
        return caption;
    char16_t text[2] = {caption[0], 0};
    for (size_t i = 0; i < m_unshifted.size() && text[0] == caption[0]; ++i)
        text[0] = caption[0] == m_unshifted[i] ? m_shifted[i]
                  : caption[0] == m_shifted[i] ? m_unshifted[i]
                                               : text[0];
    return envString(text);
}

void coKeyboardDialog::TypeOneEvent(xuiOrderedKeyboard& page) {
    const envString current = GetText();
    std::u16string text(current.GetData() ? current.GetData() : u"", current.GetLength());
    const auto type = [&](u32 keyId) {
        if (keyId == kSpaceKey)
            text += u' ';
        else if (keyId == kClearKey)
            text.clear();
        else if (keyId == kBackspaceKey && !text.empty())
            text.erase(text.size() - LastCharacterUnits(text));
    };
    envString typed;
    u32 keyId = 0;
    std::vector<guiButton*> characterKeys;
    page.GetKeys(characterKeys);
    const auto pressed = std::find_if(characterKeys.begin(), characterKeys.end(), [](const guiButton* key) {
        return key->GetState() == guiStateReleased;
    });
    if (page.PopText(typed)) {
        // A key let go as the name became full, or typing from outside, stops at the full name.
        if (!m_textFull)
            text.append(typed.GetData() ? typed.GetData() : u"", typed.GetLength());
    } else if (page.PopKeyId(keyId)) {
        type(keyId);
    } else if (pressed != characterKeys.end()) {
        // Only a character key types its caption; taken back to idle, one release types once.
        const envString caption = *pressed == m_shiftedKey ? OtherCase(Caption(*pressed)) : Caption(*pressed);
        text.append(caption.GetData() ? caption.GetData() : u"", caption.GetLength());
        (*pressed)->SetState(guiStateIdle);
    } else {
        const auto special = std::find_if(std::begin(kSpecialKeys), std::end(kSpecialKeys), [&](u32 id) {
            const guiButton* key = page.GetKeyById(id);
            return key && key->GetState() == guiStateReleased;
        });
        if (special == std::end(kSpecialKeys))
            return;
        type(*special);
        page.GetKeyById(*special)->SetState(guiStateIdle);
    }
    m_field->SetText(envString(text.c_str()));
}

void coKeyboardDialog::JudgeText() {
    const envString text = GetText();
    if (m_judged && text == m_judgedText)
        return;
    m_judgedText = text;
    m_judged = true;
    m_tooWide = IsTooWide();
    m_nameAllowed = CanBeAName(text);
}

void coKeyboardDialog::Think() {
    JudgeText();
    if (m_tooWide != m_textFull)
        SetTextFull(m_tooWide);
    if (xuiOrderedKeyboard* page = m_selector->GetCurrentKeyboard()) {
        const bool hasText = GetText().GetLength() > 0;
        for (u32 id : {kBackspaceKey, kClearKey})
            if (guiButton* key = page->GetKeyById(id))
                key->SetEnabled(hasText);
        DriveRealKeys(*page);
        TypeOneEvent(*page);
    }
    JudgeText();
    GetOk()->SetEnabled(m_nameAllowed);
    // Return on a name the game cannot take is refused aloud; the keyboard stays up to mend it.
    const inKeyboard* keys = inDeviceManager::GetKeyboard(0);
    if (!m_nameAllowed && keys &&
        (keys->WasKeyReleased(inKeyReturn) || keys->WasKeyReleased(inKeyNumpadEnter)))
        coPlaySoundEffect(kErrorSound);
    guiContainer::Think();
}

i32 coKeyboardDialog::DoModal() {
    const coDialogDimmer::Scope dimmer(this);
    return guiDialog::DoModal();
}
