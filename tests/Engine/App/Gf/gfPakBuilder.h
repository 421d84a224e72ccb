#pragma once
#include "Engine/Core/Env/envTestBytes.h"

#include <string>
#include <vector>

// ZIP archives laid out here by hand, so that the pak reader is not tested against a writer that
// could share its mistakes.
struct gfPakBuilderEntry {
    std::string name;
    std::string data;
    u16 method = 0;              // 0 stored, 8 deflated (the data is then taken as already compressed)
    bool dataDescriptor = false; // sizes zero in the local header, given after the data and centrally
};

struct gfPakBuilderLayout {
    std::vector<gfPakBuilderEntry> entries;
    std::string prefix;  // data before the archive; offsets stay relative to the archive
    std::string comment; // archive comment after the end record
};

// File positions of the parts, for tests that corrupt them.
struct gfPakBuilderOffsets {
    size_t directory = 0;
    size_t endRecord = 0;
    std::vector<size_t> localHeaders;
};

inline std::string gfBuildPak(const gfPakBuilderLayout& layout, gfPakBuilderOffsets* offsets = nullptr) {
    envTestBytes archive;
    std::vector<u32> local;
    for (const gfPakBuilderEntry& e : layout.entries) {
        local.push_back(static_cast<u32>(archive.Size()));
        const u32 size = e.dataDescriptor ? 0 : static_cast<u32>(e.data.size());
        // Signature, version, flags, method, time and date, crc (not checked by the reader).
        archive.U32(0x04034b50).U16(10).U16(e.dataDescriptor ? 8 : 0).U16(e.method).U32(0).U32(0);
        archive.U32(size).U32(size).U16(static_cast<u16>(e.name.size())).U16(0).Text(e.name).Text(e.data);
        const u32 real = static_cast<u32>(e.data.size());
        if (e.dataDescriptor)
            archive.U32(0x08074b50).U32(0).U32(real).U32(real);
    }
    const u32 directory = static_cast<u32>(archive.Size());
    for (size_t i = 0; i < layout.entries.size(); ++i) {
        const gfPakBuilderEntry& e = layout.entries[i];
        const u32 size = static_cast<u32>(e.data.size());
        archive.U32(0x02014b50).U16(20).U16(10).U16(e.dataDescriptor ? 8 : 0).U16(e.method).U32(0).U32(0);
        archive.U32(size).U32(size).U16(static_cast<u16>(e.name.size())).U16(0).U16(0); // extra, comment
        archive.U16(0).U16(0).U32(0).U32(local[i]).Text(e.name); // disk, attributes, offset
    }
    const u32 end = static_cast<u32>(archive.Size());
    const u16 count = static_cast<u16>(layout.entries.size());
    archive.U32(0x06054b50).U16(0).U16(0).U16(count).U16(count).U32(end - directory).U32(directory);
    archive.U16(static_cast<u16>(layout.comment.size())).Text(layout.comment);
    if (offsets) {
        offsets->directory = layout.prefix.size() + directory;
        offsets->endRecord = layout.prefix.size() + end;
        offsets->localHeaders.clear();
        for (u32 l : local)
            offsets->localHeaders.push_back(layout.prefix.size() + l);
    }
    return layout.prefix + archive.Str();
}
