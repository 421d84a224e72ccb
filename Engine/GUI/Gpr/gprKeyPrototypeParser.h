#pragma once
#include "Engine/GUI/Gpr/gprParser.h"
#include "Engine/GUI/Xui/xuiKeyPrototype.h"

#include <memory>

// The parser of "KeyPrototypeStandard" objects. Unlike widget parsers it keeps the prototype it fills, so
// its users make one for each load; the registry's instance only registers the keywords.
class gprKeyPrototypeStandardParser : public gprParser {
  public:
    gprKeyPrototypeStandardParser();

    // Reads the body into a new prototype, which the parser keeps until its next load or its end.
    void Load(chReader& reader, guiWindow* parent) override;
    // The prototype of the last load; null before one.
    const xuiKeyPrototypeStandard* GetTarget() const { return m_target.get(); }
    bool IsType(u32 id) const override { return id == s_standard; }
    u32 GetType() const override { return s_standard; }
    // Other keywords, window keywords among them, are ignored.
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

  protected:
    virtual std::unique_ptr<xuiKeyPrototypeStandard> NewTarget() const;
    xuiKeyPrototypeStandard& Target() { return *m_target; }

  private:
    std::unique_ptr<xuiKeyPrototypeStandard> m_target;
    static inline u32 s_standard = 0, s_enableKey = 0, s_enableKeyText = 0, s_keySize = 0, s_showText = 0,
                      s_textOffset = 0, s_textColor = 0, s_textFont = 0, s_textFontNum = 0,
                      s_transparencyMap = 0, s_imageState = 0, s_transparency = 0, s_stateColor = 0;
};

// "KeyPrototypeSpecial": every standard keyword, and the key's "Position", "KeyLabel" and "KeyId" name.
class gprKeyPrototypeSpecialParser : public gprKeyPrototypeStandardParser {
  public:
    gprKeyPrototypeSpecialParser();

    bool IsType(u32 id) const override { return id == s_special; }
    u32 GetType() const override { return s_special; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

  protected:
    std::unique_ptr<xuiKeyPrototypeStandard> NewTarget() const override;

  private:
    static inline u32 s_special = 0, s_position = 0, s_keyLabel = 0, s_keyId = 0;
};

// "KeyPrototypeToggle": every special keyword and "ToggleVal", whose each occurrence replaces the flags.
class gprKeyPrototypeToggleParser : public gprKeyPrototypeSpecialParser {
  public:
    gprKeyPrototypeToggleParser();

    bool IsType(u32 id) const override { return id == s_toggle; }
    u32 GetType() const override { return s_toggle; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

  protected:
    std::unique_ptr<xuiKeyPrototypeStandard> NewTarget() const override;

  private:
    static inline u32 s_toggle = 0, s_toggleVal = 0;
};

// Registers "ToggleOnce" and takes no chunk: no script sets a toggle key's toggle-once flag.
class gprKeyTogglePropertiesParser : public gprParser {
  public:
    gprKeyTogglePropertiesParser();

    bool IsType(u32) const override { return false; }
    u32 GetType() const override { return s_toggleOnce; }

  private:
    static inline u32 s_toggleOnce = 0;
};
