#include "Engine/App/Gf/private/gfPakFilePAC.h"

#include "Engine/App/Fs/private/fsPosixPAC.h"
#include "Engine/App/Gf/gfExceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr u32 kEndRecordSize = 22;
constexpr u32 kEndSearchRange = 65535; // the record lies within the last 65535 bytes
constexpr u32 kDirectoryHeaderSize = 46;
constexpr u32 kLocalHeaderSize = 30;
constexpr u8 kEndSignature[4] = {'P', 'K', 5, 6};
constexpr u32 kLocalSignature = 0x04034b50;
constexpr u16 kFlagDataDescriptor = 1 << 3;

u16 U16(const u8* p) {
    return static_cast<u16>(p[0] | p[1] << 8);
}
u32 U32(const u8* p) {
    return static_cast<u32>(p[0]) | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]) << 16 |
           static_cast<u32>(p[3]) << 24;
}

} // namespace

void gfLowerAscii(std::string& text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
}

gfPakFilePAC::gfPakFilePAC(const fsLocator& locator)
    : m_locator(locator), m_fd(fsOpenExisting(locator, O_RDONLY, "CD Removed (gfPakFile)!!!")) {
    try {
        struct stat st;
        if (fstat(m_fd, &st) != 0)
            Invalid();
        m_fileSize = static_cast<u64>(st.st_size);

        const u64 record = FindEndRecord();
        u8 fields[kEndRecordSize];
        if (ReadAt(record, kEndRecordSize, fields, m_locator) != kEndRecordSize)
            Invalid();
        const u16 disk = U16(fields + 4), directoryDisk = U16(fields + 6);
        const u16 entriesOnDisk = U16(fields + 8), total = U16(fields + 10);
        const u64 directorySize = U32(fields + 12), directoryOffset = U32(fields + 16);
        if (disk != 0 || directoryDisk != 0 || entriesOnDisk != total)
            Invalid();
        if (record < directoryOffset + directorySize)
            Invalid();
        // Positive when other data precedes the archive in the file; every offset is relative to it.
        m_archiveStart = record - directorySize - directoryOffset;
        ReadDirectory(m_archiveStart + directoryOffset, total);
    } catch (...) {
        fsCloseFile(m_fd);
        throw;
    }
}

gfPakFilePAC::~gfPakFilePAC() {
    fsCloseFile(m_fd);
}

void gfPakFilePAC::Invalid() const {
    throw gfInvalidPakFileX(m_locator);
}

u64 gfPakFilePAC::FindEndRecord() const {
    const u32 range = static_cast<u32>(std::min<u64>(m_fileSize, kEndSearchRange));
    if (range < sizeof(kEndSignature))
        Invalid();
    std::vector<u8> tail(range);
    if (ReadAt(m_fileSize - range, range, tail.data(), m_locator) != range)
        Invalid();
    // The signature nearest the end wins, as a backwards scan of the tail finds it.
    for (u32 i = range - sizeof(kEndSignature) + 1; i-- > 0;)
        if (std::memcmp(&tail[i], kEndSignature, sizeof(kEndSignature)) == 0)
            return m_fileSize - range + i;
    Invalid();
}

void gfPakFilePAC::ReadDirectory(u64 directoryStart, u32 total) {
    // The headers are read as far as the file goes, not only within the declared directory size.
    const u32 available = static_cast<u32>(
        std::min<u64>(m_fileSize - std::min(directoryStart, m_fileSize), std::numeric_limits<u32>::max()));
    std::vector<u8> directory(available);
    if (ReadAt(directoryStart, available, directory.data(), m_locator) != available)
        Invalid();

    size_t at = 0;
    for (u32 i = 0; i < total; ++i) {
        if (directory.size() - at < kDirectoryHeaderSize)
            Invalid();
        const u8* header = &directory[at];
        const u32 nameLength = U16(header + 28), extraLength = U16(header + 30),
                  commentLength = U16(header + 32);
        const size_t next = at + kDirectoryHeaderSize + nameLength + extraLength + commentLength;
        if (next > directory.size())
            Invalid();
        std::string name(reinterpret_cast<const char*>(header + kDirectoryHeaderSize), nameLength);
        gfLowerAscii(name);
        m_names[name] = gfPakDirectoryEntry{U32(header + 42), U32(header + 24)};
        at = next;
    }
}

const gfPakDirectoryEntry* gfPakFilePAC::Find(const std::string& name) const {
    const auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : &it->second;
}

void gfPakFilePAC::LocateData(const gfPakDirectoryEntry& entry, const fsLocator& entryLocator, u64& start,
                              u32& size) const {
    const u64 header = m_archiveStart + entry.localHeaderOffset;
    u8 fields[kLocalHeaderSize];
    if (ReadAt(header, kLocalHeaderSize, fields, entryLocator) != kLocalHeaderSize ||
        U32(fields) != kLocalSignature)
        throw gfFileNotInPakX(entryLocator);
    if (U16(fields + 8) != 0)
        throw gfInvalidPakFileX(m_locator); // compressed: paks hold stored entries only
    // With a data descriptor the local sizes are zero; the central directory has the real ones.
    size = (U16(fields + 6) & kFlagDataDescriptor) ? entry.size : U32(fields + 22);
    start = header + kLocalHeaderSize + U16(fields + 26) + U16(fields + 28);
    if (start > m_fileSize || size > m_fileSize - start)
        throw gfFileNotInPakX(entryLocator);
}

u32 gfPakFilePAC::ReadAt(u64 position, u32 count, void* buffer, const fsLocator& locator) const {
    return fsReadAt(m_fd, position, count, buffer, locator);
}
