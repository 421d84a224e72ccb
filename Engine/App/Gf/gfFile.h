#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <cstring>
#include <functional>
#include <memory>
#include <type_traits>

class fsFileStream;
class gfPakEntryStream;

// Open modes of gfFile.
inline constexpr u32 gfFileRead = 0;      // the paks first, then the root's directories on disc
inline constexpr u32 gfFileWrite = 1;     // on disc, an existing file, not truncated
inline constexpr u32 gfFileReadWrite = 2; // the same, read back too

// Byte-order flags of gfFile.
inline constexpr u32 gfByteOrderPlain = 0;    // text token files and the binaries without a header
inline constexpr u32 gfByteOrderReversed = 1; // every multi-byte value is byte-reversed
inline constexpr u32 gfByteOrderData = 2; // every file with the binary header, least significant byte first

// The stream of every data file: a pak entry or a disc file. Mode gfFileRead asks the paks first, then
// the root's directories on disc; gfFileWrite and gfFileReadWrite are always on disc and need an
// existing file, which they do not truncate.
//
// Byte-order flag: gfByteOrderReversed means multi-byte values are stored in the other byte order and
// are reversed by the typed reads and writes below; every other value leaves them as the machine holds
// them, least significant byte first.
//
// Reads and writes go through a 64 KiB window, so that a value read or written is a copy, not a system
// call. Written bytes stay in the window until it fills, a seek leaves it, a read needs the file, or
// Flush; a seek back inside it (a chunk size patched) changes the window alone.
class gfFile {
  public:
    gfFile(const fsLocator& locator, u32 mode, u32 byteOrder);
    gfFile(const fsLocator& locator, u32 mode);
    // Flushes; a failure here can only be logged, so writers call Flush themselves.
    ~gfFile();
    gfFile(const gfFile&) = delete;
    gfFile& operator=(const gfFile&) = delete;

    // Both return the bytes actually read: fewer than asked at the end of the file.
    u32 Read(u32 count, void* buffer);
    u32 ReadAvailable(u32 count, void* buffer);
    // Files opened for writing on disc only: others throw fsReadOnlyX. A failed write of the window
    // throws from the call that flushes it.
    void Write(u32 count, const void* buffer);
    // Writes what the window holds to the file; an I/O error throws the fs exception here.
    void Flush();
    u32 Tell() const { return m_position; }
    // Origin 0 start, 1 current, 2 end; a position before the start throws and leaves it unchanged.
    u32 Seek(i32 offset, u32 origin);
    // The size in bytes, written bytes not yet flushed included; the position is unchanged afterwards.
    u32 GetSize();
    // The pak entry's locator, or the resolved disc file's.
    const fsLocator& GetLocator() const;
    bool IsFromPak() const { return m_pak != nullptr; }

    // The 8-byte header at the current position: "KSFB" or "BRFB", then the 4-byte version record
    // (byte 0 is the writer's byte-order flag) copied to `version` unless it is null. A file too short
    // for the header or with another magic throws gfInvalidFileBinX. The position ends at 8.
    void ReadBinHeader(u8* version);
    // The same for a format whose writer always puts a chunk after the header (the player's saves): a
    // file that ends at its header is cut short too, never an empty file of its kind.
    void ReadBinHeaderBeforeChunks(u8* version);
    // Writes "KSFB" and the version record with its byte 0 replaced by this stream's byte-order flag.
    void WriteBinHeader(const u8* version);

    // Typed values in the file's byte order. ReadValue is false (value untouched) on a short read.
    template <class T> bool ReadValue(T& value);
    template <class T> void WriteValue(T value);
    // UTF-16 units, reversed on both sides when the flag is 1. Returns the whole units read.
    u32 ReadUnits(u32 count, char16_t* units);
    void WriteUnits(u32 count, const char16_t* units);

  private:
    bool IsSwapped() const { return m_byteOrder == gfByteOrderReversed; }
    static void Reverse(void* value, u32 size);
    // A value of `size` bytes (at most 8) in the machine's order; false, the value untouched, when short.
    bool ReadOrdered(u32 size, void* value);
    u64 WindowEnd() const { return u64{m_windowStart} + m_windowLength; }
    // The underlying stream at a position, for the window's transfers.
    u32 ReadStream(u32 position, u32 count, void* buffer);
    void PlaceStream(u32 position);
    // Reads the block at the position into the window; false at the end of the file.
    bool FillWindow();

    u32 m_byteOrder;
    bool m_writable;
    std::unique_ptr<fsFileStream> m_disc;
    std::unique_ptr<gfPakEntryStream> m_pak;
    std::unique_ptr<u8[]> m_window; // allocated at the first buffered transfer
    u32 m_windowStart = 0;          // the file position of the window's first byte
    u32 m_windowLength = 0;         // the bytes it holds: the file's, or written ones when m_dirty
    bool m_dirty = false;           // holds written bytes not yet in the file
    u32 m_position = 0;             // the position callers see; the stream is placed before each transfer
};

// Writes a new file in place of `target` in one step through fsWriteFileAtomically: `write` fills the
// stream, which is flushed before the replace. On any failure the old file stays as it was.
void gfWriteFileAtomically(const fsLocator& target, u32 byteOrder, const std::function<void(gfFile&)>& write);

template <class T> bool gfFile::ReadValue(T& value) {
    static_assert(std::is_arithmetic_v<T>, "typed reads take numbers");
    // A value in the machine's order inside a window read from the file is copied here: loaders read
    // values by the thousand. The offset wraps round to far past the window for a position before it.
    const u32 offset = m_position - m_windowStart;
    if (!m_dirty && !IsSwapped() && u64{offset} + sizeof(T) <= m_windowLength) {
        std::memcpy(&value, &m_window[offset], sizeof(T));
        m_position += sizeof(T);
        return true;
    }
    return ReadOrdered(sizeof(T), &value);
}

template <class T> void gfFile::WriteValue(T value) {
    static_assert(std::is_arithmetic_v<T>, "typed writes take numbers");
    if (IsSwapped())
        Reverse(&value, sizeof(T));
    Write(sizeof(T), &value);
}
