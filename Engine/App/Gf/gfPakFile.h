#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>
#include <string>
#include <vector>

class gfPakFilePAC;

// An open pak: a ZIP archive of stored entries, indexed once by its central directory. Entry names
// are matched ignoring ASCII case, with "/" between components; a later duplicate name wins.
// Failures: the fs exceptions for the file itself, gfInvalidPakFileX for a bad archive.
class gfPakFile {
  public:
    // An unrooted locator; a removed disc asks to retry as disc files do.
    explicit gfPakFile(const fsLocator& locator);
    ~gfPakFile();
    gfPakFile(const gfPakFile&) = delete;
    gfPakFile& operator=(const gfPakFile&) = delete;

    bool HasEntry(const fsLocator& locator) const;
    u32 GetEntryCount() const;
    // The name of every entry, lower-cased, in name order.
    std::vector<std::string> GetEntryNames() const;
    const fsLocator& GetLocator() const;

  private:
    friend class gfPakEntryStream;
    std::shared_ptr<const gfPakFilePAC> m_body;
};

// One entry of a pak opened for reading. It shares the open archive with its pak, so it stays readable
// after the pak is closed (a coaster type's paks are reopened while its files may still be read).
class gfPakEntryStream {
  public:
    // gfFileNotInPakX when the pak lacks the entry; gfInvalidPakFileX naming the entry when its local
    // header is unreadable or disagrees with the directory, its data lies outside the file, or it is
    // compressed.
    gfPakEntryStream(const gfPakFile& pak, const fsLocator& locator);

    // The bytes copied: the smaller of count and what is left; 0 at or past the end.
    u32 Read(void* buffer, u32 count);
    // Origin 0 start, 1 current, 2 end. The position may pass the end but never the start: such a seek
    // throws fsInvalidLocatorX and leaves the position unchanged.
    u32 Seek(i32 offset, u32 origin);
    u32 GetSize() const { return m_size; }
    u32 Tell() const { return m_position; }
    const fsLocator& GetLocator() const { return m_locator; }

  private:
    std::shared_ptr<const gfPakFilePAC> m_pak;
    fsLocator m_locator;
    u64 m_dataStart = 0;
    u32 m_size = 0;
    u32 m_position = 0;
};

// The entry name of a locator: its components in UTF-8 joined with "/", ASCII letters lower-cased;
// the root is ignored. A component that cannot be converted throws fsInvalidLocatorX.
std::string gfPakEntryName(const fsLocator& locator);
