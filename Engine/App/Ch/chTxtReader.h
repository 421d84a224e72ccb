#pragma once
#include "Engine/App/Ch/chReader.h"

#include <map>
#include <vector>

class gfFile;

// Longer chunk names of a text format and the ids they stand for.
using chTagMap = std::map<std::string, u32>;

// Reads the text chunk form: NAME then either "{" children and values "}" or values to the end of the
// line. Every value is one token; text chunks carry version 0 and size 0. Numbers are read without
// the user's locale.
class chTxtReader : public chReader {
  public:
    // The file stays the caller's; the chunks start at its current position.
    explicit chTxtReader(gfFile* file);
    // The map stays the caller's; names it holds give its ids instead of their first four characters.
    void SetTagMap(const chTagMap* tagMap) { m_tagMap = tagMap; }

    bool BeginChunk(u32* id, u16* version, u32* size) override;
    void EndChunk() override;
    // Whether an ended chunk's body ran to the end of the file without its closing brace.
    bool HasUnclosedBody() const { return m_unclosedBody; }

    // Text bytes widen to units zero-extended, as envString does with narrow text.
    void ReadChars(envString& out, u32 count) override;
    void ReadString(envString& out) override;
    void ReadChars(std::string& out, u32 count) override;
    void ReadString(std::string& out) override;
    // TRUE in any case is true; anything else, or no token outside any chunk, is false.
    void ReadBool(bool* value) override;
    void ReadDouble(f64* value) override;
    void ReadFloat(f32* value) override;
    // Integers: the token's leading decimal integer taken in 64 bits, then cut to the slot's width.
    void ReadUInt64(u64* value) override;
    void ReadInt64(i64* value) override;
    void ReadUInt32(u32* value) override;
    void ReadInt32(i32* value) override;
    void ReadUInt16(u16* value) override;
    void ReadInt16(i16* value) override;
    void ReadUInt8(u8* value) override;
    void ReadInt8(i8* value) override;

    const fsLocator& GetLocator() const override;

  private:
    // The next value: chInvalidChunkX where the current chunk has ended (a brace, the name of a nested
    // chunk, the end of a bodiless chunk's line, or the end of the file inside a chunk).
    std::string ReadToken(u32 maximum = 0);
    // Whether a token follows before the end of the current line; reads nothing.
    bool LineHoldsValue();
    // Whether the next token is "{"; reads nothing.
    bool NextOpensBody();
    u64 ReadInteger();
    f64 ReadNumber();

    gfFile* m_file;
    const chTagMap* m_tagMap = nullptr;
    std::vector<bool> m_hasBody; // one per entered chunk, innermost last
    bool m_unclosedBody = false;
};
