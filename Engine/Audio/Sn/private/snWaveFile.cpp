#include "Engine/Audio/Sn/private/snWaveFile.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Audio/Sn/snExceptions.h"
#include "Engine/Core/Env/envLittleEndian.h"
#include "Engine/Platform/Sound/plSoundTypes.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {

constexpr u32 FourCC(const char (&text)[5]) {
    return static_cast<u32>(static_cast<u8>(text[0])) | static_cast<u32>(static_cast<u8>(text[1])) << 8 |
           static_cast<u32>(static_cast<u8>(text[2])) << 16 |
           static_cast<u32>(static_cast<u8>(text[3])) << 24;
}

constexpr u32 kRiff = FourCC("RIFF");
constexpr u32 kWave = FourCC("WAVE");
constexpr u32 kFmt = FourCC("fmt ");
constexpr u32 kData = FourCC("data");
constexpr u32 kHeaderBytes = 8;
constexpr u32 kPcmBytes = 16;
constexpr u32 kUnknownRiffSizes[] = {0, 0xFFFFFFFF};

// False for an offset beyond what the stream can seek to.
bool SeekTo(gfFile& file, u64 offset) {
    if (offset > static_cast<u64>(std::numeric_limits<i32>::max()))
        return false;
    file.Seek(static_cast<i32>(offset), 0);
    return true;
}

// The bytes read at a file offset.
u32 ReadAt(gfFile& file, u64 offset, u32 count, void* destination) {
    return SeekTo(file, offset) ? file.Read(count, destination) : 0;
}

// Walks the chunks from begin to end (file offsets), skipping the pad byte after an odd size, and
// finds the first with the id. Its size is bounded by end; `declared` is the size as stored.
bool FindChunk(gfFile& file, u64 begin, u64 end, u32 id, snWaveChunk& found, u32& declared) {
    u64 position = begin;
    while (position + kHeaderBytes <= end) {
        u8 header[kHeaderBytes];
        if (ReadAt(file, position, kHeaderBytes, header) != kHeaderBytes)
            return false;
        const u32 size = envLe32(header + 4);
        const u64 contents = position + kHeaderBytes;
        if (envLe32(header) == id) {
            found = {id, static_cast<u32>(std::min<u64>(size, end - contents)), 0,
                     static_cast<u32>(contents)};
            declared = size;
            return true;
        }
        position = contents + size + (size & 1);
    }
    return false;
}

u32 ReadRiffHeader(snWaveFile& wave) {
    gfFile& file = *wave.file;
    const u64 fileSize = file.GetSize();
    u8 header[12];
    if (ReadAt(file, 0, sizeof(header), header) != sizeof(header) || envLe32(header) != kRiff ||
        envLe32(header + 8) != kWave)
        return snWaveResult::NotWave;
    const u32 size = envLe32(header + 4);
    const bool unknown = std::find(std::begin(kUnknownRiffSizes), std::end(kUnknownRiffSizes), size) !=
                         std::end(kUnknownRiffSizes);
    const u64 end = unknown ? fileSize : std::min<u64>(kHeaderBytes + static_cast<u64>(size), fileSize);
    wave.riff = {kRiff, static_cast<u32>(end - kHeaderBytes), kWave, kHeaderBytes};
    return snWaveResult::Ok;
}

u32 ReadFormat(snWaveFile& wave) {
    gfFile& file = *wave.file;
    const u64 riffEnd = static_cast<u64>(wave.riff.dataOffset) + wave.riff.size;
    snWaveChunk chunk;
    u32 declared = 0;
    if (!FindChunk(file, wave.riff.dataOffset + 4, riffEnd, kFmt, chunk, declared) || declared < kPcmBytes)
        return snWaveResult::NotWave;
    u8 pcm[kPcmBytes];
    if (chunk.size < kPcmBytes || file.Read(kPcmBytes, pcm) != kPcmBytes)
        return snWaveResult::FormatReadShort;
    auto format = std::make_unique<snWaveFormat>();
    format->formatTag = envLe16(pcm);
    format->channels = envLe16(pcm + 2);
    format->samplesPerSec = envLe32(pcm + 4);
    format->avgBytesPerSec = envLe32(pcm + 8);
    format->blockAlign = envLe16(pcm + 12);
    format->bitsPerSample = envLe16(pcm + 14);
    if (format->formatTag != 1) {
        u8 extraSize[2];
        if (declared < kPcmBytes + 2)
            return snWaveResult::NotWave;
        if (chunk.size < kPcmBytes + 2 || file.Read(2, extraSize) != 2)
            return snWaveResult::FormatReadShort;
        const u32 extra = envLe16(extraSize);
        if (kPcmBytes + 2 + extra > declared)
            return snWaveResult::NotWave;
        format->extra.resize(extra);
        if (kPcmBytes + 2 + extra > chunk.size || file.Read(extra, format->extra.data()) != extra)
            return snWaveResult::FormatReadShort;
    }
    wave.format = std::move(format);
    return snWaveResult::Ok;
}

} // namespace

plWaveFormat snWaveFormat::ToPlatform() const {
    plWaveFormat format;
    format.formatTag = formatTag;
    format.channels = channels;
    format.samplesPerSec = samplesPerSec;
    format.avgBytesPerSec = avgBytesPerSec;
    format.blockAlign = blockAlign;
    format.bitsPerSample = bitsPerSample;
    return format;
}

snWaveFile::snWaveFile() = default;
snWaveFile::~snWaveFile() = default;
snWaveFile::snWaveFile(snWaveFile&&) noexcept = default;
snWaveFile& snWaveFile::operator=(snWaveFile&&) noexcept = default;

u32 snWaveOpen(const fsLocator& locator, snWaveFile& wave) {
    snWaveClose(wave);
    u32 result;
    try {
        try {
            wave.file = std::make_unique<gfFile>(locator, gfFileRead, gfByteOrderData);
        } catch (const envExceptionX&) {
            return snWaveResult::CannotOpen;
        }
        result = ReadRiffHeader(wave);
        if (result == snWaveResult::Ok)
            result = ReadFormat(wave);
    } catch (const std::bad_alloc&) {
        result = snWaveResult::OutOfMemory;
    } catch (const envExceptionX&) {
        result = snWaveResult::NotWave;
    }
    if (result != snWaveResult::Ok)
        snWaveClose(wave);
    return result;
}

u32 snWaveStartData(snWaveFile& wave) {
    if (!wave.file)
        return snWaveResult::CannotOpen;
    // Once found, the data chunk is where it was: a rewind is a seek.
    if (wave.data.id == kData)
        return snWaveSeekData(wave, 0) == snWaveResult::Ok ? snWaveResult::Ok : snWaveResult::NotWave;
    const u64 riffEnd = static_cast<u64>(wave.riff.dataOffset) + wave.riff.size;
    snWaveChunk chunk;
    u32 declared = 0;
    try {
        if (!FindChunk(*wave.file, wave.riff.dataOffset + 4, riffEnd, kData, chunk, declared) ||
            !SeekTo(*wave.file, chunk.dataOffset))
            return snWaveResult::NotWave;
    } catch (const envExceptionX&) {
        return snWaveResult::NotWave;
    }
    wave.data = chunk;
    wave.dataTotal = chunk.size;
    return snWaveResult::Ok;
}

u32 snWaveRead(snWaveFile& wave, u32 count, void* destination, u32& read) {
    read = 0;
    if (!wave.file)
        return snWaveResult::CannotOpen;
    const u32 wanted = std::min(count, wave.data.size);
    try {
        read = wave.file->Read(wanted, destination);
    } catch (const envExceptionX&) {
        read = 0;
    }
    wave.data.size -= read;
    return read < wanted ? snWaveResult::DataEnded : snWaveResult::Ok;
}

u32 snWaveSeekData(snWaveFile& wave, u32 offset) {
    if (!wave.file || wave.data.id != kData)
        return snWaveResult::NotWave;
    if (offset > wave.dataTotal)
        return snWaveResult::DataEnded;
    try {
        if (!SeekTo(*wave.file, static_cast<u64>(wave.data.dataOffset) + offset))
            return snWaveResult::DataEnded;
    } catch (const envExceptionX&) {
        return snWaveResult::DataEnded;
    }
    wave.data.size = wave.dataTotal - offset;
    return snWaveResult::Ok;
}

void snWaveClose(snWaveFile& wave) {
    wave.format.reset();
    wave.file.reset();
    wave.riff = {};
    wave.data = {};
    wave.dataTotal = 0;
}

bool snIsSupportedWaveFormat(const snWaveFormat& format) {
    return plIsPlayableFormat(format.ToPlatform());
}

void snWaveOpenForPlayback(const fsLocator& locator, snWaveFile& wave) {
    const u32 opened = snWaveOpen(locator, wave);
    if (opened == snWaveResult::CannotOpen)
        throw fsFileDoesntExistX(locator);
    if (opened == snWaveResult::OutOfMemory)
        throw snSoundCreateFailedX();
    if (opened != snWaveResult::Ok)
        throw snCorruptedFileX();
    if (!snIsSupportedWaveFormat(*wave.format)) {
        snWaveClose(wave);
        throw snUnsupportedSoundFileTypeX();
    }
    if (snWaveStartData(wave) != snWaveResult::Ok) {
        snWaveClose(wave);
        throw snCorruptedFileX();
    }
}
