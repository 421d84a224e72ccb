#pragma once
#include "Engine/App/Fs/private/fsPosixPAC.h"

#include <cerrno>
#include <unistd.h>

// While it lives, counts the file system's write calls, and fails every one with `error` unless it is 0.
class fsWriteCalls {
  public:
    explicit fsWriteCalls(int error = 0) {
        s_count = 0;
        s_error = error;
        fsSetWriteFunction(&Write);
    }
    ~fsWriteCalls() { fsSetWriteFunction(nullptr); }
    fsWriteCalls(const fsWriteCalls&) = delete;
    fsWriteCalls& operator=(const fsWriteCalls&) = delete;

    int GetCount() const { return s_count; }

  private:
    static ssize_t Write(int fd, const void* buffer, size_t count, off_t position) {
        ++s_count;
        if (s_error == 0)
            return pwrite(fd, buffer, count, position);
        errno = s_error;
        return -1;
    }

    static inline int s_count = 0;
    static inline int s_error = 0;
};
