#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/App/Gf/gfExceptions.h"

#include <map>
#include <string>

// What the central directory says of one entry.
struct gfPakDirectoryEntry {
    u32 localHeaderOffset = 0;
    u32 size = 0; // uncompressed; used when the local header defers its sizes to a data descriptor
};

// The body of an open pak: the descriptor (read with pread, so an I/O error on a removed medium is an
// exception, not a fault), the file size, the archive start and the name table.
class gfPakFilePAC {
  public:
    explicit gfPakFilePAC(const fsLocator& locator);
    ~gfPakFilePAC();
    gfPakFilePAC(const gfPakFilePAC&) = delete;
    gfPakFilePAC& operator=(const gfPakFilePAC&) = delete;

    const gfPakDirectoryEntry* Find(const std::string& name) const;
    u32 GetEntryCount() const { return static_cast<u32>(m_names.size()); }
    const std::map<std::string, gfPakDirectoryEntry>& GetNames() const { return m_names; }
    const fsLocator& GetLocator() const { return m_locator; }

    // The file position and size of the entry of that (lower-cased) name, checked against its local
    // header and the file: gfInvalidPakFileX naming the entry when they disagree.
    void LocateData(const gfPakDirectoryEntry& entry, const std::string& name, const fsLocator& entryLocator,
                    u64& start, u32& size) const;
    u32 ReadAt(u64 position, u32 count, void* buffer, const fsLocator& locator) const;

  private:
    u64 FindEndRecord() const;
    void ReadDirectory(u64 start, u64 size, u32 total);
    [[noreturn]] void Invalid(gfDamage damage = gfDamage::Malformed) const;

    fsLocator m_locator;
    int m_fd;
    u64 m_fileSize = 0;
    u64 m_archiveStart = 0;
    std::map<std::string, gfPakDirectoryEntry> m_names;
};
