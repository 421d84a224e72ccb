#pragma once
#include "Engine/GUI/Gpr/gprWindowParser.h"

// The parser of "Container" objects and the base of every parser whose widget holds children: nested
// widget objects become children in file order.
class gprContainerParser : public gprWindowParser {
  public:
    gprContainerParser();

    // The children in child order, then the properties; a load takes chunks in any order.
    void Save(u16 version, chWriter& writer, guiWindow* window) override;
    bool IsType(u32 id) const override { return id == s_container; }
    u32 GetType() const override { return s_container; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    bool CanHandle(guiWindow* window) const override;
    guiWindow* CreateWidget() const override;

  protected:
    // One child as a widget object; a widget's own sub-widgets may be written under their keywords.
    virtual void SaveChildWindow(u16 version, chWriter& writer, guiWindow* child);
    // A part the widget makes itself, written under its keyword with the body its own parser writes, so
    // that a load puts it back into the part instead of adding a child.
    static void SavePart(gprParser& parser, u32 id, u16 version, chWriter& writer, guiWindow* part);
    // Loads the chunk's body into the parent's child of that name. An earlier "Id" may have renamed the
    // child: then the chunk is skipped with a warning naming the keyword and the name.
    static void LoadNamedChild(gprParser& parser, u32 id, const char* name, chReader& reader,
                               guiWindow* parent);
    // Opens the object chunk for the caller's loop to close and copies the body with the parser.
    static void TranslateObject(gprParser& parser, u32 id, u16 version, chReader& reader, chWriter& writer);

  private:
    static inline u32 s_container = 0;
};
