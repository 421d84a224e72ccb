#include "Engine/App/Gf/gfFile.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileStream.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr u32 kHeaderSize = 8;
constexpr char kMagic[4] = {'K', 'S', 'F', 'B'};
constexpr char kOldMagic[4] = {'B', 'R', 'F', 'B'};
constexpr u32 kMaxUnits = 0x7FFFFFFF; // the byte count of a run must fit 32 bits

std::unique_ptr<fsFileStream> OpenOnDisc(const fsLocator& locator, u32 mode) {
    fsLocator resolved = locator;
    fsResolveRoot(resolved);
    return std::make_unique<fsFileStream>(resolved, mode);
}

} // namespace

// Reads look in the paks first; writes are always on disc.
gfFile::gfFile(const fsLocator& locator, u32 mode, u32 byteOrder) : m_byteOrder(byteOrder) {
    if (mode == 0)
        m_pak = gfFindInPaks(locator);
    if (!m_pak)
        m_disc = OpenOnDisc(locator, mode);
}

gfFile::gfFile(const fsLocator& locator, u32 mode) : gfFile(locator, mode, 0) {}

gfFile::~gfFile() = default;

u32 gfFile::Read(u32 count, void* buffer) {
    return m_pak ? m_pak->Read(buffer, count) : m_disc->Read(count, buffer);
}

u32 gfFile::ReadAvailable(u32 count, void* buffer) {
    return Read(count, buffer);
}

void gfFile::Write(u32 count, const void* buffer) {
    if (m_pak)
        throw fsReadOnlyX(m_pak->GetLocator());
    m_disc->Write(count, buffer);
}

u32 gfFile::Tell() const {
    return m_pak ? m_pak->Tell() : m_disc->Tell();
}

u32 gfFile::Seek(i32 offset, u32 origin) {
    return m_pak ? m_pak->Seek(offset, origin) : m_disc->Seek(offset, origin);
}

// The disc size is where a seek to the end lands; the position is put back even when a seek throws.
u32 gfFile::GetSize() {
    if (m_pak)
        return m_pak->GetSize();
    const u32 position = Tell();
    u32 size;
    try {
        size = Seek(0, 2);
    } catch (...) {
        Seek(static_cast<i32>(position), 0);
        throw;
    }
    Seek(static_cast<i32>(position), 0);
    return size;
}

const fsLocator& gfFile::GetLocator() const {
    return m_pak ? m_pak->GetLocator() : m_disc->GetLocator();
}

void gfFile::ReadBinHeader(u8* version) {
    u8 header[kHeaderSize];
    const u32 read = Read(kHeaderSize, header);
    const bool magic =
        read >= 4 && (std::memcmp(header, kMagic, 4) == 0 || std::memcmp(header, kOldMagic, 4) == 0);
    if (!magic || read < kHeaderSize)
        throw gfInvalidFileBinX(GetLocator());
    if (version)
        std::memcpy(version, header + 4, 4);
}

void gfFile::WriteBinHeader(const u8* version) {
    u8 header[kHeaderSize];
    std::memcpy(header, kMagic, 4);
    std::memcpy(header + 4, version, 4);
    header[4] = static_cast<u8>(m_byteOrder);
    Write(kHeaderSize, header);
}

u32 gfFile::ReadUnits(u32 count, char16_t* units) {
    count = std::min(count, kMaxUnits);
    const u32 read = Read(count * 2, units) / 2;
    if (IsSwapped())
        for (u32 i = 0; i < read; ++i)
            Reverse(&units[i], 2);
    return read;
}

void gfFile::WriteUnits(u32 count, const char16_t* units) {
    if (count > kMaxUnits)
        throw fsInvalidLocatorX(GetLocator());
    if (!IsSwapped()) {
        Write(count * 2, units);
        return;
    }
    std::unique_ptr<char16_t[]> swapped(new char16_t[count]);
    for (u32 i = 0; i < count; ++i) {
        swapped[i] = units[i];
        Reverse(&swapped[i], 2);
    }
    Write(count * 2, swapped.get());
}

void gfFile::Reverse(void* value, u32 size) {
    u8* bytes = static_cast<u8*>(value);
    std::reverse(bytes, bytes + size);
}
