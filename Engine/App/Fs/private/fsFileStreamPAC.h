#pragma once
#include "Engine/App/Fs/fsLocator.h"

// The body of an open disc file: the descriptor, the position the stream keeps itself (transfers
// are positioned, so a failed one leaves it unchanged) and the locator.
class fsFileStreamPAC {
  public:
    fsFileStreamPAC(const fsLocator& locator, u32 mode);
    ~fsFileStreamPAC();
    fsFileStreamPAC(const fsFileStreamPAC&) = delete;
    fsFileStreamPAC& operator=(const fsFileStreamPAC&) = delete;

    u32 Read(u32 count, void* buffer);
    void Write(u32 count, const void* buffer);
    u32 Seek(i32 offset, u32 origin);
    u32 Tell() const { return m_position; }
    const fsLocator& GetLocator() const { return m_locator; }

  private:
    fsLocator m_locator; // copied before the file is opened, so that a failed copy leaks no descriptor
    int m_fd;
    u32 m_position = 0;
};
