#include "Engine/App/Gf/gfPakFile.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsSeekTarget.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/private/gfPakFilePAC.h"
#include "Engine/Core/Env/envUtf.h"

#include <algorithm>
#include <limits>

std::string gfPakEntryName(const fsLocator& locator) {
    std::string name;
    if (!fsJoinComponents(locator, name))
        throw fsInvalidLocatorX(locator);
    envLowerAscii(name);
    return name;
}

gfPakFile::gfPakFile(const fsLocator& locator) : m_body(std::make_shared<gfPakFilePAC>(locator)) {}

gfPakFile::~gfPakFile() = default;

bool gfPakFile::HasEntry(const fsLocator& locator) const {
    return m_body->Find(gfPakEntryName(locator)) != nullptr;
}

u32 gfPakFile::GetEntryCount() const {
    return m_body->GetEntryCount();
}

std::vector<std::string> gfPakFile::GetEntryNames() const {
    std::vector<std::string> names;
    for (const auto& [name, entry] : m_body->GetNames())
        names.push_back(name);
    return names;
}

const fsLocator& gfPakFile::GetLocator() const {
    return m_body->GetLocator();
}

gfPakEntryStream::gfPakEntryStream(const gfPakFile& pak, const fsLocator& locator)
    : m_pak(pak.m_body), m_locator(locator) {
    const std::string name = gfPakEntryName(locator);
    const gfPakDirectoryEntry* entry = m_pak->Find(name);
    if (!entry)
        throw gfFileNotInPakX(locator);
    m_pak->LocateData(*entry, name, locator, m_dataStart, m_size);
}

u32 gfPakEntryStream::Read(void* buffer, u32 count) {
    if (m_position >= m_size)
        return 0;
    const u32 n =
        m_pak->ReadAt(m_dataStart + m_position, std::min(count, m_size - m_position), buffer, m_locator);
    m_position += n;
    return n;
}

u32 gfPakEntryStream::Seek(i32 offset, u32 origin) {
    const std::optional<i64> target = fsSeekTarget(offset, origin, m_position, [this] { return m_size; });
    if (!target || *target < 0 || *target > std::numeric_limits<u32>::max())
        throw fsInvalidLocatorX(m_locator); // a failed seek, as on disc
    m_position = static_cast<u32>(*target);
    return m_position;
}
