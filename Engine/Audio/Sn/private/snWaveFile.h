#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>
#include <vector>

class gfFile;
struct plWaveFormat;

// Result codes of the WAV reader; 0 is success.
namespace snWaveResult {
constexpr u32 Ok = 0;
constexpr u32 OutOfMemory = 0xE000;
constexpr u32 CannotOpen = 0xE100;
constexpr u32 NotWave = 0xE101; // no "RIFF"/"WAVE", no or short "fmt ", extra bytes missing, no "data"
constexpr u32 FormatReadShort = 0xE102;
constexpr u32 DataEnded = 0xE103; // the file ended inside the data chunk
} // namespace snWaveResult

// The wave format record: the 16 bytes of the PCM part, then the extra bytes of other formats.
struct snWaveFormat {
    u16 formatTag = 0;
    u16 channels = 0;
    u32 samplesPerSec = 0;
    u32 avgBytesPerSec = 0;
    u16 blockAlign = 0;
    u16 bitsPerSample = 0;
    std::vector<u8> extra;

    // The size of the record as stored: 18 bytes and the extra bytes.
    u32 GetRecordSize() const { return 18 + static_cast<u32>(extra.size()); }
    plWaveFormat ToPlatform() const;
};

// A chunk of the RIFF file: its id, its size bounded by its parent and by the file, the form type
// (of the RIFF chunk only) and the file offset of its contents.
struct snWaveChunk {
    u32 id = 0;
    u32 size = 0;
    u32 formType = 0;
    u32 dataOffset = 0;
};

// The reader's state. The data chunk's size counts down as bytes are read, so it holds the bytes
// not yet read; dataTotal keeps what the chunk holds.
struct snWaveFile {
    snWaveFile();
    ~snWaveFile();
    snWaveFile(snWaveFile&&) noexcept;
    snWaveFile& operator=(snWaveFile&&) noexcept;

    std::unique_ptr<gfFile> file;
    std::unique_ptr<snWaveFormat> format;
    snWaveChunk riff;
    snWaveChunk data;
    u32 dataTotal = 0;
};

// Opens a RIFF WAVE file (paks first, then disc) and reads its format. On failure the state is
// closed and cleared. A RIFF size of 0 or 0xFFFFFFFF, as streaming writers leave it, runs to the end
// of the file.
u32 snWaveOpen(const fsLocator& locator, snWaveFile& wave);
// Finds the "data" chunk anywhere in the RIFF chunk and positions at its first byte; calling it
// again starts the data over.
u32 snWaveStartData(snWaveFile& wave);
// Reads up to count bytes of the data chunk's rest. `read` is the bytes copied, also when the file
// ends early (DataEnded).
u32 snWaveRead(snWaveFile& wave, u32 count, void* destination, u32& read);
// Positions at a byte offset into the data chunk (at most dataTotal), after snWaveStartData.
u32 snWaveSeekData(snWaveFile& wave, u32 offset);
// Frees the format and closes the file; either may be absent.
void snWaveClose(snWaveFile& wave);

// The format the sound buffers play (see plIsPlayableFormat).
bool snIsSupportedWaveFormat(const snWaveFormat& format);
// Opens the file for playback: a missing file throws fsFileDoesntExistX, a file that is no WAVE
// file or has no data chunk snCorruptedFileX, an unplayable format snUnsupportedSoundFileTypeX.
// The state ends at the first data byte.
void snWaveOpenForPlayback(const fsLocator& locator, snWaveFile& wave);
