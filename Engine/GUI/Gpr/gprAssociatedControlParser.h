#pragma once
#include "Engine/GUI/Gpr/gprParser.h"
#include "Engine/GUI/Xui/xuiAssociatedControl.h"

#include <memory>

// The parser of "AssociatedControl" objects: one widget object and the "ControlPosition" edge it sits
// on. The enclosing widget's parser makes one for each load and takes the record afterwards.
class gprAssociatedControlParser : public gprParser {
  public:
    gprAssociatedControlParser();

    // Reads the body into a new record; the parent is the enclosing widget.
    void Load(chReader& reader, guiWindow* parent) override;
    // The record of the last load, now the caller's; null before a load.
    std::unique_ptr<xuiAssociatedControl> TakeRecord() { return std::move(m_record); }
    bool IsType(u32 id) const override { return id == s_associatedControl; }
    u32 GetType() const override { return s_associatedControl; }
    bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent) override;
    bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

    // "Left" 0, "Right" 1, "Top" 2, "Bottom" 3, exactly; anything else 4.
    static i32 PositionOfName(const std::string& name);

  protected:
    virtual std::unique_ptr<xuiAssociatedControl> NewRecord() const;
    xuiAssociatedControl& Record() { return *m_record; }

  private:
    std::unique_ptr<xuiAssociatedControl> m_record;
    static inline u32 s_associatedControl = 0, s_controlPosition = 0;
};

// The parser of "AssociatedControlDeltaFloat" objects: the same with a "DeltaValue" step, 0 when absent.
class gprAssociatedControlDeltaFloatParser : public gprAssociatedControlParser {
  public:
    gprAssociatedControlDeltaFloatParser();

    bool IsType(u32 id) const override { return id == s_deltaFloat; }
    u32 GetType() const override { return s_deltaFloat; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

  protected:
    std::unique_ptr<xuiAssociatedControl> NewRecord() const override;

  private:
    static inline u32 s_deltaFloat = 0, s_deltaValue = 0;
};
