#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"

// The parser of "Button" objects: the text's placement, the image's and the text's shares of the button,
// and the button's own "Image" and "Text" children; other widget objects become further children.
class gprButtonParser : public gprContainerParser {
  public:
    gprButtonParser();

    bool IsType(u32 id) const override { return id == s_button; }
    u32 GetType() const override { return s_button; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

    // Placement names: "Center" 0, "Above" 1, "Right" 2, "Below" 3, "Left" 4; other names read 0, other
    // numbers save "Center".
    static i32 PositioningOfName(const std::string& name);
    static const char* NameOfPositioning(i32 positioning);

  private:
    static inline u32 s_button = 0, s_image = 0, s_text = 0, s_textPositioning = 0, s_textPercentage = 0,
                      s_imagePercentage = 0;
};

// The parser of "Checkbox" objects: a button with a checked flag. Making one adds the states a checked
// box shows ("Checked" 6 .. "CheckedDisabled" 11) to the state names every script may use.
class gprCheckboxParser : public gprButtonParser {
  public:
    gprCheckboxParser();

    bool IsType(u32 id) const override { return id == s_checkbox; }
    u32 GetType() const override { return s_checkbox; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_checkbox = 0, s_checked = 0;
};

// The parser of "RadioGroup" objects: nested "Checkbox" objects become the group's buttons, in file
// order; other widget objects are plain children.
class gprRadioGroupParser : public gprContainerParser {
  public:
    gprRadioGroupParser();

    bool IsType(u32 id) const override { return id == s_radioGroup; }
    u32 GetType() const override { return s_radioGroup; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_radioGroup = 0, s_checkbox = 0, s_spacing = 0, s_autoPositioning = 0,
                      s_autoSizing = 0;
};
