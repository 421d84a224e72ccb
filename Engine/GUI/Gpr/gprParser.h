#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Ch/chWriter.h"

class guiWindow;

// Deepest nesting of object chunks that a load or a compile follows; deeper files are invalid, so a
// hostile file cannot run the walk off the stack.
constexpr u32 gprMaxNesting = 64;

// The parser of one kind of script object: it reads an object chunk's body into a live object, writes a
// live object back as chunks, and copies an object chunk from the text form to the binary form. Parsers
// keep no per-load state; the ids of their keywords are class-wide, looked up when they are made.
class gprParser {
  public:
    virtual ~gprParser() = default;

    // Walks the current chunk's body in file order: children first to LoadChild, anything else to
    // LoadProperty; what a handler did not read is skipped.
    virtual void Load(chReader& reader, guiWindow* target);
    virtual void Save(u16 version, chWriter& writer, guiWindow* window);
    // The same walk, writing a binary chunk for every chunk read.
    virtual void Translate(chReader& reader, chWriter& writer);
    virtual bool IsType(u32 id) const = 0;
    virtual u32 GetType() const = 0;
    virtual bool LoadChild(u32 id, u16 version, u32 size, chReader& reader, guiWindow* parent);
    virtual void LoadProperty(u32 id, u16 version, u32 size, chReader& reader, guiWindow* target);
    virtual void SaveProperties(u16 version, chWriter& writer, guiWindow* window);
    virtual bool TranslateChild(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer);
    // Unknown ids copy nothing: their chunk is written empty.
    virtual void TranslateProperty(u32 id, u16 version, u32 size, chReader& reader, chWriter& writer);

  protected:
    // Copies values typed by letters, in order: 'f' float, 'i' int32, 'b' int8, 's' string.
    static void CopyValues(chReader& reader, chWriter& writer, const char* types);
};
