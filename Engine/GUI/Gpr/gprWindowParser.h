#pragma once
#include "Engine/Core/Env/envString.h"
#include "Engine/GUI/Gpr/gprParser.h"

#include <array>
#include <string>

// The properties every widget shares, and the base of every widget parser: each widget parser hands the
// keywords it does not know down to here, so window keywords work in every widget object.
class gprWindowParser : public gprParser {
  public:
    gprWindowParser();

    // One object chunk of the actual parser's type holding the window's properties.
    void Save(u16 version, chWriter& writer, guiWindow* window) override;
    bool IsType(u32 id) const override { return id == s_window; }
    u32 GetType() const override { return s_window; }
    void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target) override;
    void SaveProperties(u16 version, chWriter& writer, guiWindow* window) override;
    void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer) override;

    // Whether the window is of this parser's widget class or derived from it.
    virtual bool CanHandle(guiWindow* window) const;
    // A new default widget of the parser's class, owned by the caller; null when no widget class has
    // been provided for the kind.
    virtual guiWindow* CreateWidget() const = 0;

  protected:
    // Reads `count` floats; false, with a warning naming the window and keyword, when one is not finite:
    // the caller then applies nothing.
    static bool ReadFinite(chReader& reader, f32* values, u32 count, const guiWindow* target,
                           const char* keyword);
    // A colour as three int32 values, each kept as its low byte.
    static std::array<u8, 3> ReadColor(chReader& reader);
    static void WriteColor(chWriter& writer, const std::array<u8, 3>& rgb);
    // A state name read from the script, through the named values; -1 when unknown.
    static i32 ReadState(chReader& reader);
    // Script text is 8-bit: each byte becomes one unit, and each unit is saved as its low byte.
    static envString Widen(const std::string& text);

  private:
    static inline u32 s_window = 0, s_id = 0, s_state = 0, s_position = 0, s_orientation = 0, s_pivot = 0,
                      s_scale = 0, s_size = 0, s_render = 0, s_enable = 0, s_justification = 0,
                      s_toolTipText = 0, s_toolTipNum = 0;
};
