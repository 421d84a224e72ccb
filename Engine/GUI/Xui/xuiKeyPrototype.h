#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G2d/g2dFont.h"

#include <array>
#include <map>
#include <vector>

// The template of an on-screen keyboard's key: the image, transparency and transparency-map threshold of
// each state, whether the key and its caption react to the pointer, the key's size and how its caption is
// drawn. The standard kind serves every character key of a layout, whose captions come from the layout.
class xuiKeyPrototypeStandard {
  public:
    xuiKeyPrototypeStandard() = default;
    xuiKeyPrototypeStandard(const xuiKeyPrototypeStandard&) = default;
    xuiKeyPrototypeStandard& operator=(const xuiKeyPrototypeStandard&) = default;
    virtual ~xuiKeyPrototypeStandard() = default;

    void SetKeyEnabled(bool enabled) { m_keyEnabled = enabled; }
    bool IsKeyEnabled() const { return m_keyEnabled; }
    void SetKeyTextEnabled(bool enabled) { m_keyTextEnabled = enabled; }
    bool IsKeyTextEnabled() const { return m_keyTextEnabled; }
    void SetKeySize(i32 width, i32 height);
    i32 GetKeyWidth() const { return m_keyWidth; }
    i32 GetKeyHeight() const { return m_keyHeight; }
    void SetShowText(bool show) { m_showText = show; }
    bool GetShowText() const { return m_showText; }
    void SetTextOffset(f32 x, f32 y);
    f32 GetTextOffsetX() const { return m_textOffsetX; }
    f32 GetTextOffsetY() const { return m_textOffsetY; }

    void SetImage(i32 state, const fsLocator& file) { m_images[state] = file; }
    // An empty locator for a state without an image.
    const fsLocator& GetImage(i32 state) const;
    // The states that have an image, ascending: the order in which a key takes them.
    void GetImageStates(std::vector<i32>& states) const;
    void SetTransparency(f32 value, i32 state) { m_transparencies[state] = value; }
    bool HasTransparency(i32 state) const { return m_transparencies.count(state) != 0; }
    // 1 (opaque) for a state without one.
    f32 GetTransparency(i32 state) const;
    void SetTransparencyMap(f32 value, i32 state) { m_transparencyMaps[state] = value; }
    bool HasTransparencyMap(i32 state) const { return m_transparencyMaps.count(state) != 0; }
    // 0 for a state without one.
    f32 GetTransparencyMap(i32 state) const;

    void SetTextColor(const std::array<u8, 3>& rgb) { m_textColor = rgb; }
    const std::array<u8, 3>& GetTextColor() const { return m_textColor; }
    // A caption colour of a state's own (the grey of a key that cannot be pressed); the other states
    // take the text colour.
    void SetStateTextColor(const std::array<u8, 3>& rgb, i32 state) { m_stateTextColors[state] = rgb; }
    const std::map<i32, std::array<u8, 3>>& GetStateTextColors() const { return m_stateTextColors; }
    void SetTextFont(g2dFont font) { m_textFont = font; }
    g2dFont GetTextFont() const { return m_textFont; }

  private:
    bool m_keyEnabled = true;
    bool m_keyTextEnabled = false;
    i32 m_keyWidth = 0;
    i32 m_keyHeight = 0;
    bool m_showText = true;
    f32 m_textOffsetX = 0.0f;
    f32 m_textOffsetY = 0.0f;
    std::map<i32, fsLocator> m_images;
    std::map<i32, f32> m_transparencies;
    std::map<i32, f32> m_transparencyMaps;
    std::array<u8, 3> m_textColor{};
    std::map<i32, std::array<u8, 3>> m_stateTextColors;
    g2dFont m_textFont;
};

// A key with a function of its own (space, backspace, arrows ...): its number from the key-name table,
// which identifies it inside its keyboard, its place on the keyboard and its caption.
class xuiKeyPrototypeSpecial : public xuiKeyPrototypeStandard {
  public:
    void SetKeyId(u32 id) { m_keyId = id; }
    u32 GetKeyId() const { return m_keyId; }
    void SetKeyPosition(const maVector3d& position) { m_keyPosition = position; }
    const maVector3d& GetKeyPosition() const { return m_keyPosition; }
    void SetKeyLabel(const envString& label) { m_keyLabel = label; }
    const envString& GetKeyLabel() const { return m_keyLabel; }

  private:
    u32 m_keyId = 0;
    maVector3d m_keyPosition;
    envString m_keyLabel;
};

// Toggle flags: the bits a checked toggle key adds to its keyboard's toggle value.
enum xuiToggleFlag : u32 {
    xuiToggleOff = 0,
    xuiToggleCapitalLetters = 1,
    xuiToggleNumLock = 2,
    xuiToggleLanguageModifier1 = 4,
    xuiToggleLanguageModifier2 = 8,
};

// What a toggle key adds while checked; a toggle-once key (a shift) lets go after one character.
class xuiKeyToggleProperties {
  public:
    void SetToggleValue(u32 value) { m_toggleValue = value; }
    u32 GetToggleValue() const { return m_toggleValue; }
    void SetToggleOnce(bool once) { m_toggleOnce = once; }
    bool IsToggleOnce() const { return m_toggleOnce; }

  private:
    u32 m_toggleValue = 0;
    bool m_toggleOnce = false;
};

// A special key that stays down until clicked again.
class xuiKeyPrototypeToggle : public xuiKeyPrototypeSpecial, public xuiKeyToggleProperties {};
