#include "Engine/App/Gf/gfFile.h"

#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileStream.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsSeekTarget.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"
#include "Engine/Core/Env/dbgLog.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr u32 kHeaderSize = 8;
constexpr char kMagic[4] = {'K', 'S', 'F', 'B'};
constexpr char kOldMagic[4] = {'B', 'R', 'F', 'B'};
constexpr u32 kMaxUnits = 0x7FFFFFFF; // the byte count of a run must fit 32 bits
constexpr u32 kWindowSize = 64 * 1024;
constexpr u64 kMaxPosition = std::numeric_limits<u32>::max();

std::unique_ptr<fsFileStream> OpenOnDisc(const fsLocator& locator, u32 mode) {
    fsLocator resolved = locator;
    fsResolveRoot(resolved);
    return std::make_unique<fsFileStream>(resolved, mode);
}

// Streams seek by a signed 32-bit offset; positions past 2 GiB are reached in steps.
template <class Stream> void PlaceAt(Stream& stream, u32 position) {
    if (stream.Tell() == position)
        return;
    stream.Seek(0, 0);
    for (u32 left = position; left > 0;) {
        const u32 step = std::min<u32>(left, std::numeric_limits<i32>::max());
        stream.Seek(static_cast<i32>(step), 1);
        left -= step;
    }
}

} // namespace

// Reads look in the paks first; writes are always on disc.
gfFile::gfFile(const fsLocator& locator, u32 mode, u32 byteOrder)
    : m_byteOrder(byteOrder), m_writable(mode != gfFileRead) {
    if (mode == gfFileRead)
        m_pak = gfFindInPaks(locator);
    if (!m_pak)
        m_disc = OpenOnDisc(locator, mode);
}

gfFile::gfFile(const fsLocator& locator, u32 mode) : gfFile(locator, mode, gfByteOrderPlain) {}

gfFile::~gfFile() {
    try {
        Flush();
    } catch (const envExceptionX& e) {
        std::string path;
        fsLocatorToNativePath(GetLocator(), path);
        DBG_WARNING("%s not completely written (error 0x%08X)", path.c_str(), e.GetCode());
    }
}

u32 gfFile::Read(u32 count, void* buffer) {
    Flush(); // written bytes are read back from the file
    u8* out = static_cast<u8*>(buffer);
    u32 done = 0;
    while (done < count) {
        if (m_position >= m_windowStart && m_position < WindowEnd()) {
            const u32 n = std::min(count - done, static_cast<u32>(WindowEnd() - m_position));
            std::memcpy(out + done, &m_window[m_position - m_windowStart], n);
            m_position += n;
            done += n;
        } else if (count - done >= kWindowSize) {
            // A large read goes straight to the caller's buffer.
            const u32 n = ReadStream(m_position, count - done, out + done);
            m_position += n;
            done += n;
            break;
        } else if (!FillWindow()) {
            break;
        }
    }
    return done;
}

u32 gfFile::ReadAvailable(u32 count, void* buffer) {
    return Read(count, buffer);
}

void gfFile::Write(u32 count, const void* buffer) {
    if (!m_writable)
        throw fsReadOnlyX(GetLocator());
    if (count > kMaxPosition - m_position)
        throw fsUnknownX(GetLocator()); // positions are 32-bit
    if (!m_dirty) {
        // A window read from the file is left behind; the written bytes start a new one here.
        if (!m_window)
            m_window = std::make_unique_for_overwrite<u8[]>(kWindowSize);
        m_windowStart = m_position;
        m_windowLength = 0;
        m_dirty = true;
    }
    const u8* in = static_cast<const u8*>(buffer);
    while (count > 0) {
        if (m_position - m_windowStart == kWindowSize) {
            Flush();
            m_windowStart = m_position;
            m_windowLength = 0;
            m_dirty = true;
        }
        const u32 offset = m_position - m_windowStart;
        const u32 n = std::min(count, kWindowSize - offset);
        std::memcpy(&m_window[offset], in, n);
        in += n;
        count -= n;
        m_position += n;
        m_windowLength = std::max(m_windowLength, offset + n);
    }
}

void gfFile::Flush() {
    if (!m_dirty)
        return;
    // Marked clean first: a failed write is reported once, by this call, and never retried.
    m_dirty = false;
    const u32 length = m_windowLength;
    m_windowLength = 0;
    PlaceStream(m_windowStart);
    m_disc->Write(length, m_window.get());
    m_windowLength = length; // the window now holds the file's bytes
}

u32 gfFile::Seek(i32 offset, u32 origin) {
    const std::optional<i64> target = fsSeekTarget(offset, origin, m_position, [this] { return GetSize(); });
    if (!target || *target < 0 || (m_pak && *target > static_cast<i64>(kMaxPosition)))
        throw fsInvalidLocatorX(GetLocator());
    const i64 position = *target;
    if (position > static_cast<i64>(kMaxPosition))
        throw fsUnknownX(GetLocator()); // as the disc stream: its positions are 32-bit
    // Inside the window only the position moves: written bytes there are patched in the window.
    if (position < m_windowStart || position > static_cast<i64>(WindowEnd()))
        Flush();
    m_position = static_cast<u32>(position);
    return m_position;
}

// The disc size is the larger of the file's and the end of bytes written but not yet flushed.
u32 gfFile::GetSize() {
    if (m_pak)
        return m_pak->GetSize();
    const u32 size = m_disc->Seek(0, 2);
    return m_dirty ? static_cast<u32>(std::max<u64>(size, WindowEnd())) : size;
}

const fsLocator& gfFile::GetLocator() const {
    return m_pak ? m_pak->GetLocator() : m_disc->GetLocator();
}

void gfFile::ReadBinHeader(u8* version) {
    u8 header[kHeaderSize];
    const u32 read = Read(kHeaderSize, header);
    const bool magic =
        read >= 4 && (std::memcmp(header, kMagic, 4) == 0 || std::memcmp(header, kOldMagic, 4) == 0);
    if (read < 4 || (magic && read < kHeaderSize))
        throw gfInvalidFileBinX(GetLocator(), gfDamage::CutShort);
    if (!magic)
        throw gfInvalidFileBinX(GetLocator());
    if (version)
        std::memcpy(version, header + 4, 4);
}

void gfFile::ReadBinHeaderBeforeChunks(u8* version) {
    ReadBinHeader(version);
    if (Tell() >= GetSize())
        throw gfInvalidFileBinX(GetLocator(), gfDamage::CutShort);
}

void gfFile::WriteBinHeader(const u8* version) {
    u8 header[kHeaderSize];
    std::memcpy(header, kMagic, 4);
    std::memcpy(header + 4, version, 4);
    header[4] = static_cast<u8>(m_byteOrder);
    Write(kHeaderSize, header);
}

u32 gfFile::ReadUnits(u32 count, char16_t* units) {
    count = std::min(count, kMaxUnits);
    const u32 read = Read(count * 2, units) / 2;
    if (IsSwapped())
        for (u32 i = 0; i < read; ++i)
            Reverse(&units[i], 2);
    return read;
}

void gfFile::WriteUnits(u32 count, const char16_t* units) {
    if (count > kMaxUnits)
        throw fsInvalidLocatorX(GetLocator());
    if (!IsSwapped()) {
        Write(count * 2, units);
        return;
    }
    std::unique_ptr<char16_t[]> swapped(new char16_t[count]);
    for (u32 i = 0; i < count; ++i) {
        swapped[i] = units[i];
        Reverse(&swapped[i], 2);
    }
    Write(count * 2, swapped.get());
}

bool gfFile::ReadOrdered(u32 size, void* value) {
    u8 bytes[8];
    if (Read(size, bytes) != size)
        return false;
    if (IsSwapped())
        Reverse(bytes, size);
    std::memcpy(value, bytes, size);
    return true;
}

void gfFile::Reverse(void* value, u32 size) {
    u8* bytes = static_cast<u8*>(value);
    std::reverse(bytes, bytes + size);
}

u32 gfFile::ReadStream(u32 position, u32 count, void* buffer) {
    PlaceStream(position);
    return m_pak ? m_pak->Read(buffer, count) : m_disc->Read(count, buffer);
}

void gfFile::PlaceStream(u32 position) {
    if (m_pak)
        PlaceAt(*m_pak, position);
    else
        PlaceAt(*m_disc, position);
}

bool gfFile::FillWindow() {
    if (!m_window)
        m_window = std::make_unique_for_overwrite<u8[]>(kWindowSize);
    m_windowStart = m_position;
    m_windowLength = 0; // empty should the read throw
    m_windowLength = ReadStream(m_position, kWindowSize, m_window.get());
    return m_windowLength > 0;
}

void gfWriteFileAtomically(const fsLocator& target, u32 byteOrder,
                           const std::function<void(gfFile&)>& write) {
    fsLocator resolved = target;
    fsResolveRoot(resolved);
    fsWriteFileAtomically(resolved, [&](const fsLocator& temporary) {
        gfFile file(temporary, gfFileWrite, byteOrder);
        write(file);
        file.Flush();
    });
}
