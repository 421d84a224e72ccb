#pragma once
#include "Engine/App/Ch/chWriter.h"

#include <string_view>
#include <vector>

class gfFile;

// Writes the text chunk form that chTxtReader reads: one TAB of indentation per enclosing chunk body,
// every value followed by one blank, integers in signed decimal, floats as "%f" in the C locale,
// booleans as TRUE and FALSE, strings as single tokens. Versions are not written.
class chTxtWriter : public chWriter {
  public:
    explicit chTxtWriter(gfFile* file);

    using chWriter::WriteString;

    void BeginChunk(u32 id, u16 version, bool hasBody) override;
    void EndChunk() override;

    // Wide text is written as the low byte of each unit.
    void WriteChars(const char16_t* units, u32 count) override;
    void WriteString(const char16_t* units) override;
    void WriteChars(const char* text, u32 count) override;
    void WriteString(const char* text) override;
    void WriteBool(bool value) override;
    void WriteDouble(f64 value) override;
    void WriteFloat(f32 value) override;
    void WriteUInt64(u64 value) override;
    void WriteInt64(i64 value) override;
    // Printed signed: 2^31 and above print negative and read back to the same bits.
    void WriteUInt32(u32 value) override;
    void WriteInt32(i32 value) override;
    void WriteUInt16(u16 value) override;
    void WriteInt16(i16 value) override;
    void WriteUInt8(u8 value) override;
    void WriteInt8(i8 value) override;

    const fsLocator& GetLocator() const override;

  private:
    void Put(std::string_view text);
    void PutIndentation();
    void PutValue(const std::string& token);
    void PutInteger(i64 value);

    gfFile* m_file;
    std::vector<bool> m_hasBody; // one per open chunk, innermost last
};
