#include "Tools/Pak/toolPakWriter.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/envLittleEndian.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <zlib.h>

namespace {

constexpr u32 kLocalHeader = 0x04034b50;
constexpr u32 kCentralHeader = 0x02014b50;
constexpr u32 kEndRecord = 0x06054b50;
constexpr u16 kVersionNeeded = 10; // stored entries only
constexpr u16 kVersionMadeBy = 20;
constexpr u16 kUtf8NameFlag = 0x0800;
constexpr u16 kDosTime = 0;
constexpr u16 kDosDate = (1 << 5) | 1; // 1980-01-01: builds of the same files give the same bytes

// The CRC-32 of ZIP archives.
u32 Crc32(std::string_view data) {
    return static_cast<u32>(
        crc32_z(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<z_size_t>(data.size())));
}

class Bytes {
  public:
    Bytes& U16(u16 value) {
        envAppendLe16(m_bytes, value);
        return *this;
    }
    Bytes& U32(u32 value) {
        envAppendLe32(m_bytes, value);
        return *this;
    }
    Bytes& Text(std::string_view text) {
        m_bytes.append(text);
        return *this;
    }
    u32 Offset() const {
        if (m_bytes.size() > std::numeric_limits<u32>::max())
            throw std::length_error("a pak of 4 GiB or more needs ZIP64, which paks do not use");
        return static_cast<u32>(m_bytes.size());
    }
    std::string& Str() { return m_bytes; }

  private:
    std::string m_bytes;
};

u16 Size16(size_t size, const char* what) {
    if (size > std::numeric_limits<u16>::max())
        throw std::length_error(std::string("a pak holds at most 65535 ") + what);
    return static_cast<u16>(size);
}

u32 Size32(size_t size) {
    if (size > std::numeric_limits<u32>::max())
        throw std::length_error("an entry of 4 GiB or more needs ZIP64, which paks do not use");
    return static_cast<u32>(size);
}

u16 Flags(const std::string& name) {
    const bool ascii =
        std::all_of(name.begin(), name.end(), [](char c) { return static_cast<u8>(c) < 0x80; });
    return ascii ? 0 : kUtf8NameFlag;
}

} // namespace

std::string toolBuildPak(const std::vector<toolPakEntry>& entries) {
    const u16 count = Size16(entries.size(), "entries");
    Bytes archive;
    std::vector<u32> offsets, crcs;
    for (const toolPakEntry& e : entries) {
        offsets.push_back(archive.Offset());
        crcs.push_back(Crc32(e.data));
        const u32 size = Size32(e.data.size());
        archive.U32(kLocalHeader).U16(kVersionNeeded).U16(Flags(e.name)).U16(0).U16(kDosTime).U16(kDosDate);
        archive.U32(crcs.back()).U32(size).U32(size).U16(Size16(e.name.size(), "bytes in a name")).U16(0);
        archive.Text(e.name).Text(e.data);
    }
    const u32 directory = archive.Offset();
    for (size_t i = 0; i < entries.size(); ++i) {
        const toolPakEntry& e = entries[i];
        const u32 size = static_cast<u32>(e.data.size());
        archive.U32(kCentralHeader).U16(kVersionMadeBy).U16(kVersionNeeded).U16(Flags(e.name)).U16(0);
        archive.U16(kDosTime).U16(kDosDate).U32(crcs[i]).U32(size).U32(size);
        archive.U16(static_cast<u16>(e.name.size())).U16(0).U16(0); // extra field, comment
        archive.U16(0).U16(0).U32(0).U32(offsets[i]).Text(e.name);  // disk, attributes, local header
    }
    const u32 end = archive.Offset();
    archive.U32(kEndRecord).U16(0).U16(0).U16(count).U16(count).U32(end - directory).U32(directory).U16(0);
    return std::move(archive.Str());
}

std::vector<toolPakEntry> toolCollectPakEntries(const std::string& folder) {
    std::vector<toolPakEntry> entries;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        if (!item.is_regular_file())
            continue;
        std::ifstream in(item.path(), std::ios::binary);
        std::string data(std::istreambuf_iterator<char>(in), {});
        if (!in && !in.eof())
            throw std::runtime_error(item.path().string() + ": cannot be read");
        entries.push_back({std::filesystem::relative(item.path(), folder).generic_string(), std::move(data)});
    }
    std::sort(entries.begin(), entries.end(),
              [](const toolPakEntry& a, const toolPakEntry& b) { return a.name < b.name; });
    return entries;
}

void toolWritePak(const std::string& path, const std::vector<toolPakEntry>& entries) {
    toolWriteFile(path, toolBuildPak(entries));
}

void toolWriteFile(const std::string& path, std::string_view bytes) {
    if (bytes.size() > std::numeric_limits<u32>::max())
        throw std::length_error(path + ": more than 4 GiB");
    fsLocator target;
    fsLocatorFromNativePath(path.c_str(), target);
    gfWriteFileAtomically(target, gfByteOrderPlain, [bytes](gfFile& file) {
        file.Write(static_cast<u32>(bytes.size()), bytes.data());
    });
}
