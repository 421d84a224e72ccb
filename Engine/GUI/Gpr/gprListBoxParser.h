#pragma once
#include "Engine/GUI/Gpr/gprContainerParser.h"

// The parser of "ListBox" objects: the list's "Background", "Highlight" and "RowTemplate" looks, its row
// height and its rows in file order. Widget objects inside a list box are compiled but create nothing.
// Saving writes the window keywords and the children, as a container does.
class gprListBoxParser : public gprContainerParser {
  public:
    gprListBoxParser();

    bool IsType(u32 id) const override { return id == s_listBox; }
    u32 GetType() const override { return s_listBox; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  private:
    static inline u32 s_listBox = 0, s_background = 0, s_highlight = 0, s_rowTemplate = 0, s_rowHeight = 0,
                      s_rowText = 0, s_rowTextNum = 0;
};
