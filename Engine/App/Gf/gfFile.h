#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <memory>
#include <type_traits>

class fsFileStream;
class gfPakEntryStream;

// The stream of every data file: a pak entry or a disc file. Mode 0 reads (the paks are asked
// first, then the root's directories on disc); modes 1 (write) and 2 (read and write) are always on
// disc and need an existing file, which they do not truncate.
//
// Byte-order flag: 1 means multi-byte values are stored in the other byte order and are reversed by
// the typed reads and writes below; every other value (2 for every file with the binary header)
// leaves them as the machine holds them, least significant byte first.
class gfFile {
  public:
    gfFile(const fsLocator& locator, u32 mode, u32 byteOrder);
    gfFile(const fsLocator& locator, u32 mode);
    ~gfFile();
    gfFile(const gfFile&) = delete;
    gfFile& operator=(const gfFile&) = delete;

    // Both return the bytes actually read: fewer than asked at the end of the file.
    u32 Read(u32 count, void* buffer);
    u32 ReadAvailable(u32 count, void* buffer);
    // Disc files only: writing a file opened from a pak throws fsReadOnlyX.
    void Write(u32 count, const void* buffer);
    u32 Tell() const;
    // Origin 0 start, 1 current, 2 end; a position before the start throws and leaves it unchanged.
    u32 Seek(i32 offset, u32 origin);
    // The size in bytes; the position is unchanged afterwards.
    u32 GetSize();
    // The pak entry's locator, or the resolved disc file's.
    const fsLocator& GetLocator() const;
    u32 GetByteOrder() const { return m_byteOrder; }
    bool IsFromPak() const { return m_pak != nullptr; }

    // The 8-byte header at the current position: "KSFB" or "BRFB", then the 4-byte version record
    // (byte 0 is the writer's byte-order flag) copied to `version` unless it is null. A file too short
    // for the header or with another magic throws gfInvalidFileBinX. The position ends at 8.
    void ReadBinHeader(u8* version);
    // Writes "KSFB" and the version record with its byte 0 replaced by this stream's byte-order flag.
    void WriteBinHeader(const u8* version);

    // Typed values in the file's byte order. ReadValue is false (value untouched) on a short read.
    template <class T> bool ReadValue(T& value);
    template <class T> void WriteValue(T value);
    // UTF-16 units, reversed on both sides when the flag is 1. Returns the whole units read.
    u32 ReadUnits(u32 count, char16_t* units);
    void WriteUnits(u32 count, const char16_t* units);

  private:
    bool IsSwapped() const { return m_byteOrder == 1; }
    static void Reverse(void* value, u32 size);

    u32 m_byteOrder;
    std::unique_ptr<fsFileStream> m_disc;
    std::unique_ptr<gfPakEntryStream> m_pak;
};

template <class T> bool gfFile::ReadValue(T& value) {
    static_assert(std::is_arithmetic_v<T>, "typed reads take numbers");
    T read;
    if (Read(sizeof(T), &read) != sizeof(T))
        return false;
    if (IsSwapped())
        Reverse(&read, sizeof(T));
    value = read;
    return true;
}

template <class T> void gfFile::WriteValue(T value) {
    static_assert(std::is_arithmetic_v<T>, "typed writes take numbers");
    if (IsSwapped())
        Reverse(&value, sizeof(T));
    Write(sizeof(T), &value);
}
