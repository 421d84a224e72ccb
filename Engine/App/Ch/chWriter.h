#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// The units before the first 0 unit; 0 for null.
u32 chUnitCount(const char16_t* units);

// Writes a tree of chunks in binary or text form; the counterpart of chReader.
class chWriter {
  public:
    virtual ~chWriter() = default;

    // hasBody matters to the text form only: a chunk without a body holds values, no children.
    virtual void BeginChunk(u32 id, u16 version, bool hasBody) = 0;
    virtual void EndChunk() = 0;

    virtual void WriteChars(const char16_t* units, u32 count) = 0;
    // Writes the units up to the first 0 unit, then a 0 unit.
    virtual void WriteString(const char16_t* units) = 0;
    // The units up to the first 0 unit or the string's end, then a 0 unit: callers need not
    // append one first.
    virtual void WriteString(const envString& text);
    virtual void WriteString(const std::string& text);
    virtual void WriteChars(const char* text, u32 count) = 0;
    virtual void WriteString(const char* text) = 0;
    virtual void WriteBool(bool value) = 0;
    virtual void WriteDouble(f64 value) = 0;
    virtual void WriteFloat(f32 value) = 0;
    virtual void WriteUInt64(u64 value) = 0;
    virtual void WriteInt64(i64 value) = 0;
    virtual void WriteUInt32(u32 value) = 0;
    virtual void WriteInt32(i32 value) = 0;
    virtual void WriteUInt16(u16 value) = 0;
    virtual void WriteInt16(i16 value) = 0;
    virtual void WriteUInt8(u8 value) = 0;
    virtual void WriteInt8(i8 value) = 0;

    virtual const fsLocator& GetLocator() const = 0;
};
