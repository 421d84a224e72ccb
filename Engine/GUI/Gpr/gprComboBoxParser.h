#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"
#include "Engine/GUI/Gpr/gprKindParser.h"
#include "Engine/GUI/Xui/xuiComboBox.h"

// The parser of "ComboBox" objects: "Results" holds the one widget that shows the choice, "DropDown"
// and "ScrollView" are associated controls (a control and its edge) for the button and the list.
class gprComboBoxParser : public gprContainerParser {
  public:
    gprComboBoxParser();

    bool IsType(u32 id) const override { return id == s_comboBox; }
    u32 GetType() const override { return s_comboBox; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_comboBox = 0, s_results = 0, s_dropDown = 0, s_scrollView = 0;
};

// "ComboBoxText": a combo box whose results are an edit field kept in step with the list.
class gprComboBoxTextParser : public gprKindParser<gprComboBoxParser, xuiComboBoxText> {
  public:
    gprComboBoxTextParser() : gprKindParser("ComboBoxText") {}
};
