#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>

class fsFileStreamPAC;

// An open disc file. Modes: 0 read, 1 write, 2 read and write; every mode needs an existing file
// and none truncates it. Failures throw the fs exceptions; a failed transfer or seek leaves the
// position unchanged.
class fsFileStream {
  public:
    fsFileStream(const fsLocator& locator, u32 mode);
    ~fsFileStream();
    fsFileStream(const fsFileStream&) = delete;
    fsFileStream& operator=(const fsFileStream&) = delete;

    // The bytes read: fewer than asked only at the end of the file.
    u32 Read(u32 count, void* buffer);
    // Writes all count bytes or throws (a full medium throws fsUnknownX).
    void Write(u32 count, const void* buffer);
    // Origin 0 start, 1 current, 2 end; returns the new position. A position before the start throws.
    u32 Seek(i32 offset, u32 origin);
    u32 Tell() const;
    const fsLocator& GetLocator() const;

  private:
    std::unique_ptr<fsFileStreamPAC> m_body;
};
