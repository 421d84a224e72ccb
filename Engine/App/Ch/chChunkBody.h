#pragma once
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chReader.h"

#include <limits>
#include <string>

// Reads the values of one chunk body, refusing any that would run past the chunk's end (the binary reader
// lets values run into the next chunk). Every refusal is chInvalidChunkX, naming `file` when given one
// (which must outlive the body: the reader's own locator does).
class chChunkBody {
  public:
    chChunkBody(chReader& reader, u32 size, const fsLocator* file = nullptr)
        : m_reader(reader), m_left(size), m_file(file) {}
    // A text chunk carries no size: its values are single tokens, which the text reader bounds itself.
    static chChunkBody Unsized(chReader& reader) {
        chChunkBody body(reader, 0);
        body.m_left = std::numeric_limits<u64>::max();
        return body;
    }

    float Float() { return Value<float>(&chReader::ReadFloat); }
    i8 Int8() { return Value<i8>(&chReader::ReadInt8); }
    u8 UInt8() { return Value<u8>(&chReader::ReadUInt8); }
    i16 Int16() { return Value<i16>(&chReader::ReadInt16); }
    u16 UInt16() { return Value<u16>(&chReader::ReadUInt16); }
    i32 Int32() { return Value<i32>(&chReader::ReadInt32); }
    u32 UInt32() { return Value<u32>(&chReader::ReadUInt32); }
    std::string String() {
        std::string value;
        m_reader.ReadString(value);
        Take(u64{value.size()} + 1);
        return value;
    }
    // UTF-16 units up to a 0 unit inside the body, each refused before it is read; the 0 is not kept.
    envString Wide() {
        envString value;
        for (char16_t unit = UInt16(); unit != 0; unit = UInt16())
            value.AppendChar(unit);
        return value;
    }
    envString Units(u32 count) {
        // The count comes from the file: refuse it before anything is allocated for it.
        Take(u64{count} * 2);
        envString value;
        m_reader.ReadChars(value, count);
        return value;
    }
    // Refuses `count` records of `bytes` each that the rest of the body cannot hold, before they are read.
    void Require(u64 count, u64 bytes) const {
        if (count * bytes > m_left)
            Refuse();
    }
    // A value the caller finds out of its range refuses the body as an overrun does.
    [[noreturn]] void Refuse() const {
        if (m_file)
            throw chInvalidChunkX(*m_file);
        throw chInvalidChunkX();
    }

  private:
    template <class T> T Value(void (chReader::*read)(T*)) {
        Take(sizeof(T));
        T value;
        (m_reader.*read)(&value);
        return value;
    }
    void Take(u64 bytes) {
        if (bytes > m_left)
            Refuse();
        m_left -= bytes;
    }

    chReader& m_reader;
    u64 m_left;
    const fsLocator* m_file;
};
