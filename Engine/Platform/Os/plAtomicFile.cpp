#include "Engine/Platform/Os/plAtomicFile.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
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
// character boundary of its UTF-8 before the writer's mark and the suffix.
std::string TemporaryOf(const std::string& path, const std::string& mark) {
    const size_t slash = path.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const size_t room = NAME_MAX - mark.size() - std::strlen(plAtomicFile::kSuffix);
    size_t end = path.size();
    if (end - nameStart > room) {
        end = nameStart + room;
        while (end > nameStart && (static_cast<unsigned char>(path[end]) & 0xC0) == 0x80)
            --end;
    }
    return path.substr(0, end) + mark + plAtomicFile::kSuffix;
}

bool AllDigits(std::string_view text) {
    return !text.empty() && text.size() <= 10 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Whether a process of that id may still be writing: one that may not be signalled (another user's) is
// taken as running.
bool Runs(pid_t pid) {
    return pid > 0 && (kill(pid, 0) == 0 || errno != ESRCH);
}

// A temporary's name without its suffix ends in the writer's mark ".<process id>-<write>": where the mark
// starts, or nothing for the older form without one.
std::optional<size_t> WriterMarkOf(std::string_view stem) {
    const size_t dot = stem.rfind('.');
    const size_t dash = stem.rfind('-');
    if (dot == std::string_view::npos || dash == std::string_view::npos || dash < dot ||
        !AllDigits(stem.substr(dot + 1, dash - dot - 1)) || !AllDigits(stem.substr(dash + 1)))
        return std::nullopt;
    return dot;
}

} // namespace

plAtomicFile::plAtomicFile(const std::string& path) : m_path(path) {
    static std::atomic<unsigned> writes{0};
    const std::string process = "." + std::to_string(getpid()) + "-";
    // O_EXCL never opens what stands under the name, a planted link included: a taken name is passed by.
    for (;;) {
        m_temporary = TemporaryOf(path, process + std::to_string(writes++));
        m_fd = open(m_temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (m_fd >= 0)
            return;
        if (errno != EEXIST) {
            m_error = errno;
            return;
        }
    }
}

std::optional<std::string> plAtomicFile::StaleTargetOf(std::string_view name) {
    const std::string_view suffix = kSuffix;
    if (!name.ends_with(suffix))
        return std::nullopt;
    name.remove_suffix(suffix.size());
    const std::optional<size_t> mark = WriterMarkOf(name);
    if (!mark)
        return std::string(name);
    const std::string_view process = name.substr(*mark + 1, name.rfind('-') - *mark - 1);
    if (Runs(static_cast<pid_t>(std::stoll(std::string(process)))))
        return std::nullopt;
    return std::string(name.substr(0, *mark));
}

bool plAtomicFile::MayHoldCutTarget(std::string_view name) {
    constexpr size_t kLongestUtf8Tail = 3; // continuation bytes a cut may step back over
    const std::string_view suffix = kSuffix;
    // Only the form with the writer's mark is ever cut.
    return name.size() + kLongestUtf8Tail >= NAME_MAX && name.ends_with(suffix) &&
           WriterMarkOf(name.substr(0, name.size() - suffix.size()));
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
