#pragma once
#include "Engine/Core/Env/envTypes.h"

#include <string>
#include <vector>

// An independent byte builder for ZIP archives, so that the pak reader is tested against bytes laid
// out here by hand and not by a writer that could share its mistakes.
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

struct gfPakBuilderOffsets {
    size_t directory = 0; // file position of the central directory
    size_t endRecord = 0; // file position of the end record
    std::vector<size_t> localHeaders;
};

inline void gfPakPut16(std::string& out, u32 v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
inline void gfPakPut32(std::string& out, u32 v) {
    gfPakPut16(out, v & 0xFFFF);
    gfPakPut16(out, v >> 16);
}

inline std::string gfBuildPak(const gfPakBuilderLayout& layout, gfPakBuilderOffsets* offsets = nullptr) {
    std::string archive;
    std::vector<u32> local;
    for (const gfPakBuilderEntry& e : layout.entries) {
        local.push_back(static_cast<u32>(archive.size()));
        const u32 size = static_cast<u32>(e.data.size());
        gfPakPut32(archive, 0x04034b50);
        gfPakPut16(archive, 10);
        gfPakPut16(archive, e.dataDescriptor ? 8 : 0);
        gfPakPut16(archive, e.method);
        gfPakPut32(archive, 0); // time and date
        gfPakPut32(archive, 0); // crc, not checked by the reader
        gfPakPut32(archive, e.dataDescriptor ? 0 : size);
        gfPakPut32(archive, e.dataDescriptor ? 0 : size);
        gfPakPut16(archive, static_cast<u32>(e.name.size()));
        gfPakPut16(archive, 0);
        archive += e.name;
        archive += e.data;
        if (e.dataDescriptor) {
            gfPakPut32(archive, 0x08074b50);
            gfPakPut32(archive, 0);
            gfPakPut32(archive, size);
            gfPakPut32(archive, size);
        }
    }
    const u32 directory = static_cast<u32>(archive.size());
    for (size_t i = 0; i < layout.entries.size(); ++i) {
        const gfPakBuilderEntry& e = layout.entries[i];
        const u32 size = static_cast<u32>(e.data.size());
        gfPakPut32(archive, 0x02014b50);
        gfPakPut16(archive, 20);
        gfPakPut16(archive, 10);
        gfPakPut16(archive, e.dataDescriptor ? 8 : 0);
        gfPakPut16(archive, e.method);
        gfPakPut32(archive, 0);
        gfPakPut32(archive, 0);
        gfPakPut32(archive, size);
        gfPakPut32(archive, size);
        gfPakPut16(archive, static_cast<u32>(e.name.size()));
        gfPakPut16(archive, 0); // extra
        gfPakPut16(archive, 0); // comment
        gfPakPut16(archive, 0); // disk
        gfPakPut16(archive, 0); // internal attributes
        gfPakPut32(archive, 0); // external attributes
        gfPakPut32(archive, local[i]);
        archive += e.name;
    }
    const u32 end = static_cast<u32>(archive.size());
    const u32 count = static_cast<u32>(layout.entries.size());
    gfPakPut32(archive, 0x06054b50);
    gfPakPut16(archive, 0);
    gfPakPut16(archive, 0);
    gfPakPut16(archive, count);
    gfPakPut16(archive, count);
    gfPakPut32(archive, end - directory);
    gfPakPut32(archive, directory);
    gfPakPut16(archive, static_cast<u32>(layout.comment.size()));
    archive += layout.comment;
    if (offsets) {
        offsets->directory = layout.prefix.size() + directory;
        offsets->endRecord = layout.prefix.size() + end;
        offsets->localHeaders.clear();
        for (u32 l : local)
            offsets->localHeaders.push_back(layout.prefix.size() + l);
    }
    return layout.prefix + archive;
}
