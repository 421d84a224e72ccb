#include "Engine/Platform/Os/plInstanceGuard.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Platform/Os/plFileText.h"
#include "Engine/Platform/plErrors.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

std::atomic<bool> g_raiseRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

void OnRaiseSignal(int) {
    g_raiseRequested.store(true);
}

void InstallRaiseHandler() {
    struct sigaction action {};
    action.sa_handler = OnRaiseSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGUSR1, &action, nullptr);
}

u32 ErrorOf(int error) {
    return error == EACCES || error == EPERM || error == EROFS ? plErr::AccessDenied : plErr::InvalidHandle;
}

std::string OpenFailure(int error) {
    if (error == ELOOP)
        return "it is a symbolic link";
    if (error == EISDIR)
        return "it is a folder";
    return std::strerror(error);
}

// A name that is not one plain file may lead to someone's file (a hard link) or may never answer (a pipe).
std::string Unfit(const struct stat& status) {
    if (S_ISDIR(status.st_mode))
        return "it is a folder";
    if (S_ISFIFO(status.st_mode))
        return "it is a pipe";
    if (!S_ISREG(status.st_mode))
        return "it is not a regular file";
    if (status.st_nlink > 1)
        return "it has " + std::to_string(status.st_nlink) + " names (a hard link)";
    return "";
}

u32 NotUsed(const std::string& path, const std::string& why, u32 error) {
    DBG_WARNING("The instance lock %s is not used: %s; the game runs without the guard against a second copy",
                path.c_str(), why.c_str());
    return error;
}

// The holder writes its pid just after taking the lock: a reader that comes in between waits a little.
pid_t ReadHolderPid(const std::string& path) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        std::string text;
        plReadFileText(path, text);
        if (!text.empty() && text.back() == '\n')
            return static_cast<pid_t>(std::strtol(text.c_str(), nullptr, 10));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return 0;
}

// The file may still name a process of an earlier run (the holder writes its pid only after taking the
// lock, and may fail to): only a process of this same program is signalled, never a stranger whom
// SIGUSR1 would end. Another user's process cannot be looked at and is not reached either.
bool RunsThisProgram(pid_t pid) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return false;
    const std::filesystem::path other =
        std::filesystem::read_symlink("/proc/" + std::to_string(pid) + "/exe", error);
    return !error && other == self;
}

// Without the holder's pid a second instance cannot reach it and shows its message instead.
bool WritePid(int fd) {
    const std::string pid = std::to_string(getpid()) + "\n";
    return ftruncate(fd, 0) == 0 && pwrite(fd, pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
}

} // namespace

std::string plFlockInstanceGuard::GetLockPath(const std::string& name) const {
    std::string file = name;
    for (char& c : file)
        if (c == '\\' || c == '/')
            c = '-';
    return m_folder + "/" + file + ".lock";
}

u32 plFlockInstanceGuard::CreateMutex(const std::string& name) {
    const std::string path = GetLockPath(name);
    // Anyone may plant the lock's name in a shared folder: it is never followed as a link, and never
    // waited on as a pipe.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    // Another user's lock file may be read-only to us; a lock taken through a read-only file still holds.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
    if (fd < 0 && errno == EACCES)
        fd = open(path.c_str(), O_RDONLY | kFlags);
    if (fd < 0) {
        const int error = errno;
        return NotUsed(path, OpenFailure(error), ErrorOf(error));
    }
    struct stat status {};
    const std::string unfit = fstat(fd, &status) != 0 ? std::strerror(errno) : Unfit(status);
    if (!unfit.empty()) {
        close(fd);
        return NotUsed(path, unfit, plErr::InvalidHandle);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error != EWOULDBLOCK)
            return ErrorOf(error);
        m_heldElsewhere = path;
        return plErr::AlreadyExists;
    }
    // The handler goes in before the pid is written, so no request can arrive while SIGUSR1 still kills.
    InstallRaiseHandler();
    // Another user's file is only locked: its bytes are not ours to change.
    if (status.st_uid == geteuid() && !WritePid(fd))
        DBG_WARNING("The instance lock %s cannot hold this process's id", path.c_str());
    // The descriptor stays open, and the lock held, until the process ends.
    return plErr::Success;
}

bool plFlockInstanceGuard::RaiseRunningWindow(const std::string&) {
    if (m_heldElsewhere.empty())
        return false;
    const pid_t holder = ReadHolderPid(m_heldElsewhere);
    return holder > 0 && RunsThisProgram(holder) && kill(holder, SIGUSR1) == 0;
}

bool plFlockInstanceGuard::TakeRaiseRequest() {
    return g_raiseRequested.exchange(false);
}

u32 plTestInstanceGuard::CreateMutex(const std::string& name) {
    names.push_back(name);
    return createResult;
}

bool plTestInstanceGuard::RaiseRunningWindow(const std::string& title) {
    if (!windowFound)
        return false;
    raised.push_back(title);
    return true;
}

bool plTestInstanceGuard::TakeRaiseRequest() {
    const bool requested = raiseRequested;
    raiseRequested = false;
    return requested;
}
