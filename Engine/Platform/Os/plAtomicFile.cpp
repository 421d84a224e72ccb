#include "Engine/Platform/Os/plAtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the rename itself durable. The new file is in place already, so a folder that cannot be synced
// (some file systems refuse) is not a failed save.
void SyncFolder(const std::string& path) {
    const int fd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

// A target whose name is near the limit is legal, so its temporary must be too: the name is cut on a
// character boundary of its UTF-8 before the suffix.
std::string TemporaryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t room = NAME_MAX - std::strlen(plAtomicFile::kSuffix);
    size_t end = path.size();
    if (end - nameStart > room) {
        end = nameStart + room;
        while (end > nameStart && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
            --end;
    }
    return path.substr(0, end) + plAtomicFile::kSuffix;
}

} // namespace

plAtomicFile::plAtomicFile(const std::string& path) : m_path(path), m_temporary(TemporaryOf(path)) {
    // Removed first, so that a link planted under the temporary's name is never written through.
    if (unlink(m_temporary.c_str()) != 0 && errno != ENOENT) {
        m_error = errno;
        return;
    }
    m_fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (m_fd < 0)
        m_error = errno;
}

// The temporary exists exactly while the descriptor is open.
plAtomicFile::~plAtomicFile() {
    if (m_fd < 0)
        return;
    close(m_fd);
    unlink(m_temporary.c_str());
}

int plAtomicFile::Commit() {
    if (m_fd < 0)
        return m_error;
    const int synced = fsync(m_fd);
    int error = synced != 0 ? errno : 0;
    if (close(m_fd) != 0 && error == 0)
        error = errno;
    m_fd = -1;
    if (error == 0 && rename(m_temporary.c_str(), m_path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        unlink(m_temporary.c_str());
        return m_error = error;
    }
    SyncFolder(m_path);
    return 0;
}
