#include "Engine/App/Ch/chBinReader.h"

#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"

#include <limits>

namespace {
constexpr u64 kHeaderSize = 10;
}

chBinReader::chBinReader(gfFile* file) : m_file(file), m_size(file->GetSize()) {
    // Chunk ends are sought with 32-bit signed offsets: a longer file is damaged, not a chunk file.
    if (m_size > static_cast<u64>(std::numeric_limits<i32>::max()))
        throw chInvalidChunkX(GetLocator());
}

bool chBinReader::BeginChunk(u32* id, u16* version, u32* size) {
    // 64-bit offsets: a size near 4 GiB must not wrap round and pass the bound tests.
    const u64 start = m_file->Tell();
    if (!m_ends.empty() && start >= m_ends.back())
        return false;
    if (start >= m_size)
        return false;
    if (start + kHeaderSize > m_size)
        throw chInvalidChunkX(GetLocator());
    *id = ReadValue<u32>();
    *size = ReadValue<u32>();
    *version = ReadValue<u16>();
    const u64 end = start + kHeaderSize + *size;
    // A child that runs past its parent would let the parent's loader read the child's bytes as its own.
    if (end > m_size || (!m_ends.empty() && end > m_ends.back()))
        throw chInvalidChunkX(GetLocator());
    m_ends.push_back(end);
    return true;
}

void chBinReader::EndChunk() {
    if (m_ends.empty()) {
        DBG_WARNING("EndChunk without an entered chunk in a binary chunk file; ignored");
        return;
    }
    m_file->Seek(static_cast<i32>(m_ends.back()), 0);
    m_ends.pop_back();
}

void chBinReader::ReadChars(envString& out, u32 count) {
    // The count comes from the file: refuse it before allocating for it.
    if (u64{count} * 2 > GetBytesLeft())
        throw chInvalidChunkX(GetLocator());
    out.Clear();
    std::u16string units(count, u'\0');
    if (m_file->ReadUnits(count, units.data()) != count)
        throw chInvalidChunkX(GetLocator());
    for (char16_t unit : units)
        out.AppendChar(unit);
}

void chBinReader::ReadString(envString& out) {
    out.Clear();
    char16_t unit;
    do {
        unit = ReadValue<char16_t>();
        out.AppendChar(unit);
    } while (unit != 0);
}

void chBinReader::ReadChars(std::string& out, u32 count) {
    if (count > GetBytesLeft())
        throw chInvalidChunkX(GetLocator());
    out.resize(count);
    ReadExact(out.data(), count);
}

void chBinReader::ReadString(std::string& out) {
    out.clear();
    for (char c = ReadValue<char>(); c != 0; c = ReadValue<char>())
        out += c;
}

void chBinReader::ReadBool(bool* value) {
    *value = ReadValue<u8>() != 0;
}
void chBinReader::ReadDouble(f64* value) {
    ReadInto(value);
}
void chBinReader::ReadFloat(f32* value) {
    ReadInto(value);
}
void chBinReader::ReadUInt64(u64* value) {
    ReadInto(value);
}
void chBinReader::ReadInt64(i64* value) {
    ReadInto(value);
}
void chBinReader::ReadUInt32(u32* value) {
    ReadInto(value);
}
void chBinReader::ReadInt32(i32* value) {
    ReadInto(value);
}
void chBinReader::ReadUInt16(u16* value) {
    ReadInto(value);
}
void chBinReader::ReadInt16(i16* value) {
    ReadInto(value);
}
void chBinReader::ReadUInt8(u8* value) {
    ReadInto(value);
}
void chBinReader::ReadInt8(i8* value) {
    ReadInto(value);
}

const fsLocator& chBinReader::GetLocator() const {
    return m_file->GetLocator();
}

void chBinReader::ReadExact(void* buffer, u32 count) {
    // Values may run into the next chunk, as the format allows, but never past the data.
    if (count > 0 && m_file->Read(count, buffer) != count)
        throw chInvalidChunkX(GetLocator());
}

// Straight into the caller's value: the file copies it there without a stop on the way.
template <typename T> void chBinReader::ReadInto(T* value) {
    if (!m_file->ReadValue(*value))
        throw chInvalidChunkX(GetLocator());
}

template <typename T> T chBinReader::ReadValue() {
    T value;
    ReadInto(&value);
    return value;
}

u64 chBinReader::GetBytesLeft() const {
    const u64 position = m_file->Tell();
    return position < m_size ? m_size - position : 0;
}

u64 chBinReader::GetChunkBytesLeft() const {
    const u64 position = m_file->Tell();
    const u64 end = m_ends.empty() ? m_size : m_ends.back();
    return position < end ? end - position : 0;
}
