#include "Engine/App/Gf/private/gfPakFilePAC.h"

#include "Engine/App/Fs/private/fsPosixPAC.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/Core/Env/envLittleEndian.h"
#include "Engine/Core/Env/envUtf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr u32 kEndRecordSize = 22;
constexpr u32 kEndSearchRange = 65535; // the record lies within the last 65535 bytes
constexpr u32 kDirectoryHeaderSize = 46;
constexpr u32 kLocalHeaderSize = 30;
constexpr u64 kDirectoryBlock = 64 * 1024;
constexpr u8 kEndSignature[4] = {'P', 'K', 5, 6};
constexpr u32 kLocalSignature = 0x04034b50;
constexpr u16 kFlagDataDescriptor = 1 << 3;

// The central directory read front to back through a window of a block or one entry's parts: what a
// directory size in the end record declares costs nothing until the entries use it.
class DirectoryReader {
  public:
    DirectoryReader(const gfPakFilePAC& pak, u64 start, u64 end) : m_pak(pak), m_next(start), m_end(end) {}

    // The next `count` bytes of the directory, contiguous in `bytes` until the next call; false when
    // the directory ends first.
    bool Take(u32 count, const u8*& bytes) {
        if (m_window.size() - m_at < count && !Refill(count))
            return false;
        bytes = m_window.data() + m_at;
        m_at += count;
        return true;
    }

  private:
    bool Refill(u32 count) {
        m_window.erase(m_window.begin(), m_window.begin() + static_cast<std::ptrdiff_t>(m_at));
        m_at = 0;
        const u64 wanted = std::max<u64>(count - m_window.size(), kDirectoryBlock);
        const u32 read = static_cast<u32>(std::min(wanted, m_end - m_next));
        const size_t kept = m_window.size();
        m_window.resize(kept + read);
        if (m_pak.ReadAt(m_next, read, m_window.data() + kept, m_pak.GetLocator()) != read)
            return false;
        m_next += read;
        return m_window.size() >= count;
    }

    const gfPakFilePAC& m_pak;
    u64 m_next; // the file position of the first byte not yet in the window
    u64 m_end;
    std::vector<u8> m_window;
    size_t m_at = 0; // the first byte of the window not yet taken
};

} // namespace

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
            Invalid(gfDamage::CutShort);
        const u16 disk = envLe16(fields + 4), directoryDisk = envLe16(fields + 6);
        const u16 entriesOnDisk = envLe16(fields + 8), total = envLe16(fields + 10);
        const u64 directorySize = envLe32(fields + 12), directoryOffset = envLe32(fields + 16);
        if (disk != 0 || directoryDisk != 0 || entriesOnDisk != total)
            Invalid();
        if (record < directoryOffset + directorySize)
            Invalid();
        // Positive when other data precedes the archive in the file; every offset is relative to it.
        m_archiveStart = record - directorySize - directoryOffset;
        ReadDirectory(m_archiveStart + directoryOffset, directorySize, total);
    } catch (...) {
        fsCloseFile(m_fd);
        throw;
    }
}

gfPakFilePAC::~gfPakFilePAC() {
    fsCloseFile(m_fd);
}

void gfPakFilePAC::Invalid(gfDamage damage) const {
    throw gfInvalidPakFileX(m_locator, damage);
}

u64 gfPakFilePAC::FindEndRecord() const {
    const u32 range = static_cast<u32>(std::min<u64>(m_fileSize, kEndSearchRange));
    if (range < sizeof(kEndSignature))
        Invalid(gfDamage::CutShort);
    std::vector<u8> tail(range);
    if (ReadAt(m_fileSize - range, range, tail.data(), m_locator) != range)
        Invalid();
    // The signature nearest the end wins, as a backwards scan of the tail finds it.
    for (u32 i = range - sizeof(kEndSignature) + 1; i-- > 0;)
        if (std::memcmp(&tail[i], kEndSignature, sizeof(kEndSignature)) == 0)
            return m_fileSize - range + i;
    // The record ends the file: a pak that begins as one and lacks it has lost its end.
    u8 first[4];
    if (ReadAt(0, sizeof(first), first, m_locator) == sizeof(first) && envLe32(first) == kLocalSignature)
        Invalid(gfDamage::CutShort);
    Invalid();
}

void gfPakFilePAC::ReadDirectory(u64 start, u64 size, u32 total) {
    // Every entry takes at least its fixed header: a count that the size cannot hold is refused unread.
    if (u64{total} * kDirectoryHeaderSize > size)
        Invalid();
    DirectoryReader directory(*this, start, start + size);
    const u8* bytes = nullptr;
    for (u32 i = 0; i < total; ++i) {
        if (!directory.Take(kDirectoryHeaderSize, bytes))
            Invalid();
        const u32 nameLength = envLe16(bytes + 28), extraLength = envLe16(bytes + 30),
                  commentLength = envLe16(bytes + 32);
        const gfPakDirectoryEntry entry{envLe32(bytes + 42), envLe32(bytes + 24)};
        if (!directory.Take(nameLength, bytes))
            Invalid();
        // Entry names are compared with "A" to "Z" lower-cased, every other byte as it is.
        std::string name(reinterpret_cast<const char*>(bytes), nameLength);
        envLowerAscii(name);
        m_names[name] = entry;
        if (!directory.Take(extraLength + commentLength, bytes))
            Invalid();
    }
}

const gfPakDirectoryEntry* gfPakFilePAC::Find(const std::string& name) const {
    const auto it = m_names.find(name);
    return it == m_names.end() ? nullptr : &it->second;
}

void gfPakFilePAC::LocateData(const gfPakDirectoryEntry& entry, const std::string& name,
                              const fsLocator& entryLocator, u64& start, u32& size) const {
    const auto damaged = [&] { return gfInvalidPakFileX(m_locator, gfDamage::Malformed, entryLocator); };
    const u64 header = m_archiveStart + entry.localHeaderOffset;
    u8 fields[kLocalHeaderSize];
    if (ReadAt(header, kLocalHeaderSize, fields, entryLocator) != kLocalHeaderSize ||
        envLe32(fields) != kLocalSignature)
        throw damaged();
    if (envLe16(fields + 8) != 0)
        throw damaged(); // compressed: paks hold stored entries only
    // The local header repeats the entry's name; another name, or another length, is a damaged header
    // whose data would start elsewhere.
    const u16 nameLength = envLe16(fields + 26);
    std::string localName(nameLength, '\0');
    if (nameLength != name.size() ||
        ReadAt(header + kLocalHeaderSize, nameLength, localName.data(), entryLocator) != nameLength)
        throw damaged();
    envLowerAscii(localName);
    if (localName != name)
        throw damaged();
    // With a data descriptor the local sizes are zero; otherwise they repeat the directory's.
    const bool described = (envLe16(fields + 6) & kFlagDataDescriptor) != 0;
    if (!described && envLe32(fields + 22) != entry.size)
        throw damaged();
    size = entry.size;
    start = header + kLocalHeaderSize + nameLength + envLe16(fields + 28);
    if (start > m_fileSize || size > m_fileSize - start)
        throw damaged();
}

u32 gfPakFilePAC::ReadAt(u64 position, u32 count, void* buffer, const fsLocator& locator) const {
    return fsReadAt(m_fd, position, count, buffer, locator);
}
