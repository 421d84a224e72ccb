#pragma once
#include "Engine/App/Fs/private/fsPosixPAC.h"

#include <cerrno>
#include <unistd.h>

// While it lives, counts the file system's write calls and fails each with `error` unless it is 0.
class fsWriteCalls {
  public:
    explicit fsWriteCalls(int error = 0) {
        s_count = 0;
        s_error = error;
        fsSetWriteFunction([](int fd, const void* buffer, size_t count, off_t at) -> ssize_t {
            ++s_count;
            return s_error == 0 ? pwrite(fd, buffer, count, at) : (errno = s_error, -1);
        });
    }
    ~fsWriteCalls() { fsSetWriteFunction(nullptr); }
    int GetCount() const { return s_count; }

  private:
    static inline int s_count = 0;
    static inline int s_error = 0;
};
