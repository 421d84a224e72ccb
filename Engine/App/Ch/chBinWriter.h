#pragma once
#include "Engine/App/Ch/chWriter.h"

#include <vector>

class gfFile;

// Writes the binary chunk form that chBinReader reads. A chunk's size is patched in when it ends.
class chBinWriter : public chWriter {
  public:
    // The file stays the caller's; its header is already written.
    explicit chBinWriter(gfFile* file);

    using chWriter::WriteString;

    void BeginChunk(u32 id, u16 version, bool hasBody) override;
    void EndChunk() override;

    void WriteChars(const char16_t* units, u32 count) override;
    void WriteString(const char16_t* units) override;
    void WriteChars(const char* text, u32 count) override;
    void WriteString(const char* text) override;
    void WriteBool(bool value) override;
    void WriteDouble(f64 value) override;
    void WriteFloat(f32 value) override;
    void WriteUInt64(u64 value) override;
    void WriteInt64(i64 value) override;
    void WriteUInt32(u32 value) override;
    void WriteInt32(i32 value) override;
    void WriteUInt16(u16 value) override;
    void WriteInt16(i16 value) override;
    void WriteUInt8(u8 value) override;
    void WriteInt8(i8 value) override;

    const fsLocator& GetLocator() const override;

    void WriteBytes(const void* bytes, u32 count);

  private:
    template <typename T> void WriteValue(T value);

    gfFile* m_file;
    std::vector<u32> m_starts; // start offsets of the open chunks, innermost last
};
