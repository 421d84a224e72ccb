#include "Engine/Platform/Os/plKeyValueStore.h"

#include "Engine/Platform/Os/plFileText.h"
#include "Engine/Platform/Os/plIniFile.h"
#include "Engine/Platform/plErrors.h"

#include <cstdlib>
#include <cstring>

namespace {

// The parts of a key path joined by single backslashes.
std::string NormalisePath(const std::string& path) {
    std::string normal;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        if (end > start)
            normal += (normal.empty() ? "" : "\\") + path.substr(start, end - start);
        start = end + 1;
    }
    return normal;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() && plEqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool KeyExists(const plIniFile& hive, const std::string& path) {
    if (path.empty())
        return true;
    for (const std::string& section : hive.GetSections()) {
        const std::string normal = NormalisePath(section);
        if (plEqualsIgnoringCase(normal, path) || StartsWithIgnoringCase(normal, path + "\\"))
            return true;
    }
    return false;
}

bool HasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

// A name that reads back as itself from a "name=value" line.
bool IsStorableName(const std::string& name) {
    if (HasLineBreak(name) || name.find('=') != std::string::npos || plTrimBlanks(name) != name)
        return false;
    return name.empty() || (name.front() != '[' && name.front() != ';' && name.front() != '#');
}

} // namespace

std::string plKeyValueStore::GetHiveFile(u32 hive) const {
    const char* name = nullptr;
    switch (hive) {
    case plHive::ClassesRoot:
        name = "HKEY_CLASSES_ROOT";
        break;
    case plHive::CurrentUser:
        name = "HKEY_CURRENT_USER";
        break;
    case plHive::LocalMachine:
        name = "HKEY_LOCAL_MACHINE";
        break;
    case plHive::Users:
        name = "HKEY_USERS";
        break;
    case plHive::CurrentConfig:
        name = "HKEY_CURRENT_CONFIG";
        break;
    case plHive::DynData:
        name = "HKEY_DYN_DATA";
        break;
    default:
        return {};
    }
    return m_folder + "/" + name + ".ini";
}

u32 plKeyValueStore::OpenKey(u32 hive, const std::string& path, plKeyHandle& out) {
    out = 0;
    const std::string file = GetHiveFile(hive);
    if (file.empty())
        return plErr::InvalidHandle;
    std::string text;
    if (const u32 result = plReadFileText(file, text); result != plErr::Success)
        return result;
    const std::string normal = NormalisePath(path);
    if (!KeyExists(plIniFile(text), normal))
        return plErr::FileNotFound;
    out = m_nextHandle++;
    m_keys[out] = {file, normal};
    return plErr::Success;
}

u32 plKeyValueStore::QueryValue(plKeyHandle key, const std::string& name, char* buffer, u32& size) {
    const auto found = m_keys.find(key);
    if (found == m_keys.end())
        return plErr::InvalidHandle;
    std::string text;
    if (const u32 result = plReadFileText(found->second.file, text); result != plErr::Success)
        return result;
    std::string value;
    if (!plIniFile(text).Find(found->second.path, name, value))
        return plErr::FileNotFound;
    const auto needed = static_cast<u32>(value.size() + 1);
    if (!buffer) {
        size = needed;
        return plErr::Success;
    }
    if (size < needed) {
        size = needed;
        return plErr::MoreData;
    }
    std::memcpy(buffer, value.c_str(), needed);
    size = needed;
    return plErr::Success;
}

u32 plKeyValueStore::SetValue(plKeyHandle key, const std::string& name, const std::string& text) {
    const auto found = m_keys.find(key);
    if (found == m_keys.end())
        return plErr::InvalidHandle;
    if (!IsStorableName(name) || HasLineBreak(text))
        return plErr::InvalidParameter;
    std::string fileText;
    if (const u32 result = plReadFileText(found->second.file, fileText); result != plErr::Success)
        return result;
    plIniFile hive(fileText);
    hive.Set(found->second.path, name, text);
    return plReplaceFileText(found->second.file, hive.GetText());
}

u32 plKeyValueStore::CloseKey(plKeyHandle key) {
    return m_keys.erase(key) != 0 ? plErr::Success : plErr::InvalidHandle;
}

std::string plDefaultConfigFolder() {
    if (const char* folder = std::getenv("LOOPVANE_CONFIG_HOME"); folder && *folder)
        return folder;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return std::string(config) + "/loopvane";
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.config/loopvane";
}
