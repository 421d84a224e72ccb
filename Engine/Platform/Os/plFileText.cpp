#include "Engine/Platform/Os/plFileText.h"

#include "Engine/Platform/Os/plAtomicFile.h"
#include "Engine/Platform/plErrors.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

u32 ErrorOf(int error) {
    return error == EACCES || error == EPERM || error == EROFS ? plErr::AccessDenied : plErr::WriteFault;
}

bool WriteAll(int fd, const std::string& text) {
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = write(fd, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += static_cast<size_t>(count);
    }
    return true;
}

} // namespace

int plOpenRegularFile(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode))
        return fd;
    const int error = S_ISDIR(st.st_mode) ? EISDIR : ENODEV;
    close(fd);
    errno = error;
    return -1;
}

u32 plReadFileText(const std::string& path, std::string& out) {
    out.clear();
    const int fd = plOpenRegularFile(path);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? plErr::Success : plErr::AccessDenied;
    // Only a file of a settings file's size is read: a huge one would never end.
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_size > static_cast<off_t>(plFileTextMaxBytes)) {
        close(fd);
        return plErr::AccessDenied;
    }
    char block[4096];
    ssize_t count = 0;
    while ((count = read(fd, block, sizeof block)) != 0) {
        if (count < 0 && errno == EINTR)
            continue;
        // Files of /proc tell no size: the limit holds while reading too.
        if (count < 0 || out.size() + static_cast<size_t>(count) > plFileTextMaxBytes) {
            close(fd);
            out.clear();
            return plErr::AccessDenied;
        }
        out.append(block, static_cast<size_t>(count));
    }
    close(fd);
    return plErr::Success;
}

u32 plReplaceFileText(const std::string& path, const std::string& text) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty())
        std::filesystem::create_directories(folder, error);
    if (error)
        return ErrorOf(error.value());
    plAtomicFile file(path);
    if (file.GetError() != 0)
        return ErrorOf(file.GetError());
    if (!WriteAll(file.GetDescriptor(), text))
        return ErrorOf(errno);
    const int committed = file.Commit();
    return committed == 0 ? plErr::Success : ErrorOf(committed);
}
