#include "Engine/App/Ch/chBinWriter.h"

#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"

#include <cstring>

namespace {
constexpr u32 kHeaderSize = 10;
constexpr u32 kSizePlaceholder = 0xFFFFFFFF;
} // namespace

chBinWriter::chBinWriter(gfFile* file) : m_file(file) {}

void chBinWriter::BeginChunk(u32 id, u16 version, bool) {
    m_starts.push_back(m_file->Tell());
    WriteValue(id);
    WriteValue(kSizePlaceholder);
    WriteValue(version);
}

void chBinWriter::EndChunk() {
    if (m_starts.empty()) {
        DBG_WARNING("EndChunk without an open chunk in a binary chunk file; ignored");
        return;
    }
    const u32 end = m_file->Tell();
    const u32 start = m_starts.back();
    m_file->Seek(static_cast<i32>(start + 4), 0);
    WriteValue(end - start - kHeaderSize);
    m_starts.pop_back();
    m_file->Seek(static_cast<i32>(end), 0);
}

void chBinWriter::WriteChars(const char16_t* units, u32 count) {
    // Units are swapped like every other value when the flag asks for it, so that the reader's swap
    // gives them back.
    if (count > 0)
        m_file->WriteUnits(count, units);
}

void chBinWriter::WriteString(const char16_t* units) {
    WriteChars(units, chUnitCount(units));
    WriteValue(char16_t{0});
}

void chBinWriter::WriteChars(const char* text, u32 count) {
    WriteBytes(text, count);
}

void chBinWriter::WriteString(const char* text) {
    if (!text)
        text = "";
    WriteBytes(text, static_cast<u32>(std::strlen(text)) + 1);
}

void chBinWriter::WriteBool(bool value) {
    WriteValue(u8{value ? u8{1} : u8{0}});
}
void chBinWriter::WriteDouble(f64 value) {
    WriteValue(value);
}
void chBinWriter::WriteFloat(f32 value) {
    WriteValue(value);
}
void chBinWriter::WriteUInt64(u64 value) {
    WriteValue(value);
}
void chBinWriter::WriteInt64(i64 value) {
    WriteValue(value);
}
void chBinWriter::WriteUInt32(u32 value) {
    WriteValue(value);
}
void chBinWriter::WriteInt32(i32 value) {
    WriteValue(value);
}
void chBinWriter::WriteUInt16(u16 value) {
    WriteValue(value);
}
void chBinWriter::WriteInt16(i16 value) {
    WriteValue(value);
}
void chBinWriter::WriteUInt8(u8 value) {
    WriteValue(value);
}
void chBinWriter::WriteInt8(i8 value) {
    WriteValue(value);
}

const fsLocator& chBinWriter::GetLocator() const {
    return m_file->GetLocator();
}

void chBinWriter::WriteBytes(const void* bytes, u32 count) {
    if (count > 0)
        m_file->Write(count, bytes);
}

template <typename T> void chBinWriter::WriteValue(T value) {
    m_file->WriteValue(value);
}
