#include "Engine/Platform/Os/plSystemFolders.h"

#include "Engine/Platform/Os/plFileText.h"
#include "Engine/Platform/plErrors.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// mountinfo writes space, tab, line feed and backslash as a backslash and three octal digits.
std::string DecodeOctalEscapes(const std::string& field) {
    std::string decoded;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1]) && IsOctal(field[i + 2]) &&
            IsOctal(field[i + 3])) {
            decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                         (field[i + 3] - '0'));
            i += 3;
        } else {
            decoded += field[i];
        }
    }
    return decoded;
}

std::string EnvironmentFolder(const char* name) {
    const char* value = std::getenv(name);
    return value && *value == '/' ? value : std::string();
}

// The label of a disc: the by-label link that leads to its device, else the mount point's name.
std::string LabelOf(const plMount& mount) {
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(mount.source, error);
    if (!error) {
        std::filesystem::directory_iterator entry("/dev/disk/by-label", error);
        for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
            std::error_code linkError;
            const std::filesystem::path target = std::filesystem::canonical(entry->path(), linkError);
            if (!linkError && target == device)
                return plDecodeUdevLabel(entry->path().filename().string());
        }
    }
    return std::filesystem::path(mount.mountPoint).filename().string();
}

} // namespace

std::vector<plMount> plParseMountInfo(const std::string& text) {
    std::vector<plMount> mounts;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        std::istringstream fields(line);
        std::vector<std::string> parts;
        std::string part;
        while (fields >> part)
            parts.push_back(part);
        size_t separator = 6;
        while (separator < parts.size() && parts[separator] != "-")
            ++separator;
        if (parts.size() < 7 || separator + 2 >= parts.size())
            continue;
        mounts.push_back({DecodeOctalEscapes(parts[separator + 2]), DecodeOctalEscapes(parts[4]),
                          DecodeOctalEscapes(parts[separator + 1])});
    }
    return mounts;
}

std::vector<plMount> plOpticalMounts(const std::vector<plMount>& mounts) {
    std::vector<plMount> optical;
    for (const plMount& mount : mounts)
        if (mount.type == "iso9660" || mount.type == "udf")
            optical.push_back(mount);
    return optical;
}

std::string plDecodeUdevLabel(const std::string& name) {
    std::string decoded;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' && HexDigit(name[i + 2]) >= 0 &&
            HexDigit(name[i + 3]) >= 0) {
            decoded += static_cast<char>(HexDigit(name[i + 2]) * 16 + HexDigit(name[i + 3]));
            i += 3;
        } else {
            decoded += name[i];
        }
    }
    return decoded;
}

std::string plLinuxSystemFolders::GetProgramPath() {
    std::error_code error;
    const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

std::string plLinuxSystemFolders::GetTempFolder() {
    const std::string folder = EnvironmentFolder("TMPDIR");
    return folder.empty() ? "/tmp" : folder;
}

bool plLinuxSystemFolders::GetCommonAppDataFolder(std::string& out) {
    if (std::string data = EnvironmentFolder("XDG_DATA_HOME"); !data.empty()) {
        out = data;
        return true;
    }
    const std::string home = EnvironmentFolder("HOME");
    if (home.empty())
        return false;
    out = home + "/.local/share";
    return true;
}

std::vector<plVolume> plLinuxSystemFolders::GetOpticalVolumes() {
    std::string text;
    plReadFileText("/proc/self/mountinfo", text);
    std::vector<plVolume> volumes;
    for (const plMount& mount : plOpticalMounts(plParseMountInfo(text)))
        if (std::string label = LabelOf(mount); !label.empty())
            volumes.push_back({mount.mountPoint, label});
    return volumes;
}

bool plTestSystemFolders::GetCommonAppDataFolder(std::string& out) {
    if (commonAppDataFolder.empty())
        return false;
    out = commonAppDataFolder;
    return true;
}
