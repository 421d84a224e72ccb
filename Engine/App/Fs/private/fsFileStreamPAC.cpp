#include "Engine/App/Fs/private/fsFileStreamPAC.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsSeekTarget.h"
#include "Engine/App/Fs/private/fsPosixPAC.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>

namespace {

constexpr u32 kMaxPosition = std::numeric_limits<u32>::max();

int OpenFlags(const fsLocator& locator, u32 mode) {
    switch (mode) {
    case 0:
        return O_RDONLY;
    case 1:
        return O_WRONLY;
    case 2:
        return O_RDWR;
    default:
        throw fsInvalidLocatorX(locator);
    }
}

} // namespace

// Never creates or truncates: a file to be written must exist (callers create it first).
fsFileStreamPAC::fsFileStreamPAC(const fsLocator& locator, u32 mode)
    : m_locator(locator), m_fd(fsOpenExisting(locator, OpenFlags(locator, mode), fsRemovedDiscWarning)) {}

fsFileStreamPAC::~fsFileStreamPAC() {
    fsCloseFile(m_fd);
}

u32 fsFileStreamPAC::Read(u32 count, void* buffer) {
    count = std::min(count, kMaxPosition - m_position);
    const u32 done = fsReadAt(m_fd, m_position, count, buffer, m_locator);
    m_position += done;
    return done;
}

void fsFileStreamPAC::Write(u32 count, const void* buffer) {
    if (count > kMaxPosition - m_position)
        fsThrowErrno(EFBIG, fsOperation::Transfer, m_locator, {});
    fsWriteAt(m_fd, m_position, count, buffer, m_locator);
    m_position += count;
}

u32 fsFileStreamPAC::Seek(i32 offset, u32 origin) {
    const std::optional<i64> target = fsSeekTarget(offset, origin, m_position, [this] {
        struct stat st;
        if (fstat(m_fd, &st) != 0)
            fsThrowErrno(errno, fsOperation::Transfer, m_locator, {});
        return st.st_size;
    });
    if (!target || *target < 0)
        fsThrowErrno(EINVAL, fsOperation::Transfer, m_locator, {});
    if (*target > kMaxPosition)
        fsThrowErrno(EOVERFLOW, fsOperation::Transfer, m_locator, {});
    m_position = static_cast<u32>(*target);
    return m_position;
}
