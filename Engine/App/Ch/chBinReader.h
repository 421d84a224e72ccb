#pragma once
#include "Engine/App/Ch/chReader.h"

#include <vector>

class gfFile;

// Reads the binary chunk form: per chunk an id (u32), the body size (u32, header excluded) and a
// version (u16), then the body. Values are copied from the file's window; nothing is read beyond the
// file's end: a chunk, a count or a value that runs past it throws chInvalidChunkX.
class chBinReader : public chReader {
  public:
    // The file stays the caller's, positioned at the first chunk (after the file header).
    explicit chBinReader(gfFile* file);

    bool BeginChunk(u32* id, u16* version, u32* size) override;
    void EndChunk() override;

    void ReadChars(envString& out, u32 count) override;
    void ReadString(envString& out) override;
    void ReadChars(std::string& out, u32 count) override;
    void ReadString(std::string& out) override;
    void ReadBool(bool* value) override;
    void ReadDouble(f64* value) override;
    void ReadFloat(f32* value) override;
    void ReadUInt64(u64* value) override;
    void ReadInt64(i64* value) override;
    void ReadUInt32(u32* value) override;
    void ReadInt32(i32* value) override;
    void ReadUInt16(u16* value) override;
    void ReadInt16(i16* value) override;
    void ReadUInt8(u8* value) override;
    void ReadInt8(i8* value) override;

    const fsLocator& GetLocator() const override;

    // The bytes from here to the end of the innermost entered chunk (of the file outside any chunk);
    // 0 once a read has run past it. Loaders bound counts from the file by it.
    u64 GetChunkBytesLeft() const;

  private:
    void ReadExact(void* buffer, u32 count);
    template <typename T> void ReadInto(T* value);
    template <typename T> T ReadValue();
    u64 GetBytesLeft() const;

    gfFile* m_file;
    u64 m_size;
    std::vector<u64> m_ends; // end offsets of the entered chunks, innermost last
};
