#pragma once
#include "Engine/App/Fs/private/fsPosixPAC.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

// While it lives, the file system's open calls fail with `error`: the next `count` of the calls that
// `applies` picks (every one of them when count is negative). Tests run as root, so refused
// permissions and removed discs are made this way. Other calls open for real.
class fsOpenFailures {
  public:
    using Filter = bool (*)(const char* path, int flags);

    fsOpenFailures(int error, int count, Filter applies = nullptr) {
        s_error = error;
        s_count = count;
        s_applies = applies;
        fsSetOpenFunction(&Open);
    }
    ~fsOpenFailures() { fsSetOpenFunction(nullptr); }
    fsOpenFailures(const fsOpenFailures&) = delete;
    fsOpenFailures& operator=(const fsOpenFailures&) = delete;

  private:
    static int Open(const char* path, int flags, mode_t mode) {
        if (s_count == 0 || (s_applies && !s_applies(path, flags)))
            return open(path, flags, mode);
        if (s_count > 0)
            --s_count;
        errno = s_error;
        return -1;
    }

    static inline int s_error = 0;
    static inline int s_count = 0;
    static inline Filter s_applies = nullptr;
};
