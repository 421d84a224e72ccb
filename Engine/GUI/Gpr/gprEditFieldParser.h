#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"
#include "Engine/GUI/Gpr/gprKindParser.h"
#include "Engine/GUI/Gui/guiEditField.h"

// The parser of "EditField" objects: the field's "Background", "Caret" and "Text" parts, the caret's
// offset and position and the editable flag. The field takes its text from its "Text" part once the
// whole body is read, which puts the caret after the text.
class gprEditFieldParser : public gprContainerParser {
  public:
    gprEditFieldParser();

    void Load(chReader& reader, guiWindow* target) override;
    bool IsType(u32 id) const override { return id == s_editField; }
    u32 GetType() const override { return s_editField; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  protected:
    void SaveChildWindow(u16 version, chWriter& writer, guiWindow* child) override;

  private:
    static inline u32 s_editField = 0, s_background = 0, s_caret = 0, s_text = 0, s_caretOffset = 0,
                      s_caretPosition = 0, s_editable = 0;
};

// "EditFieldInteger": digits only.
class gprEditFieldIntegerParser : public gprKindParser<gprEditFieldParser, guiEditFieldInteger> {
  public:
    gprEditFieldIntegerParser() : gprKindParser("EditFieldInteger") {}
};

// "EditFieldFloat": a decimal value.
class gprEditFieldFloatParser : public gprKindParser<gprEditFieldParser, guiEditFieldFloat> {
  public:
    gprEditFieldFloatParser() : gprKindParser("EditFieldFloat") {}
};
