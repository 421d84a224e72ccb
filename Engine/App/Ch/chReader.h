#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>

// A chunk id: four characters, character 0 in the lowest byte (file order in a binary file).
constexpr u32 chMakeId(char c0, char c1, char c2, char c3) {
    return static_cast<u32>(static_cast<u8>(c0)) | static_cast<u32>(static_cast<u8>(c1)) << 8 |
           static_cast<u32>(static_cast<u8>(c2)) << 16 | static_cast<u32>(static_cast<u8>(c3)) << 24;
}

// Walks a tree of chunks without knowing whether the file is binary or text. A loader loops
// BeginChunk / read values or enter children / EndChunk until BeginChunk returns false.
class chReader {
  public:
    virtual ~chReader() = default;

    // Enters the next chunk of the current level; false (nothing entered) when the level has ended.
    virtual bool BeginChunk(u32* id, u16* version, u32* size) = 0;
    // Leaves the current chunk, skipping whatever of it was not read.
    virtual void EndChunk() = 0;

    virtual void ReadChars(envString& out, u32 count) = 0;
    // Keeps the terminating 0 unit.
    virtual void ReadString(envString& out) = 0;
    virtual void ReadChars(std::string& out, u32 count) = 0;
    virtual void ReadString(std::string& out) = 0;
    virtual void ReadBool(bool* value) = 0;
    virtual void ReadDouble(f64* value) = 0;
    virtual void ReadFloat(f32* value) = 0;
    virtual void ReadUInt64(u64* value) = 0;
    virtual void ReadInt64(i64* value) = 0;
    virtual void ReadUInt32(u32* value) = 0;
    virtual void ReadInt32(i32* value) = 0;
    virtual void ReadUInt16(u16* value) = 0;
    virtual void ReadInt16(i16* value) = 0;
    virtual void ReadUInt8(u8* value) = 0;
    virtual void ReadInt8(i8* value) = 0;

    virtual const fsLocator& GetLocator() const = 0;
};
