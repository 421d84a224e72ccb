#include "Engine/Platform/Codec/plMpg123Decoder.h"

#include "Engine/Platform/Codec/plAvMovieSource.h"
#include "Engine/Platform/Os/plFileText.h"

#include <mpg123.h>

#include <cerrno>
#include <mutex>
#include <unistd.h>

namespace {
// Older library versions need their tables built once per process; newer ones ignore the call.
void InitLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mpg123_init(); });
}
} // namespace

plMpg123Decoder::~plMpg123Decoder() {
    Close();
}

bool plMpg123Decoder::Open(const std::string& path) {
    Close();
    // The library reads the descriptor of a file checked to be one: a pipe in its place is refused.
    const int fd = plOpenRegularFile(path);
    if (fd < 0) {
        plWarnUnopenedMedia(path, errno);
        return false;
    }
    InitLibrary();
    int error = MPG123_OK;
    mpg123_handle* handle = mpg123_new(nullptr, &error);
    if (!handle) {
        close(fd);
        return false;
    }
    m_handle = handle;
    m_fd = fd;
    mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    // Every rate in 16-bit samples, so the output keeps the file's rate and channels.
    mpg123_format_none(handle);
    const long* rates = nullptr;
    size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (size_t i = 0; i < rateCount; ++i)
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);

    long rate = 0;
    int channels = 0;
    int encoding = 0;
    if (mpg123_open_fd(handle, fd) != MPG123_OK ||
        mpg123_getformat(handle, &rate, &channels, &encoding) != MPG123_OK || rate <= 0 ||
        (channels != 1 && channels != 2) || encoding != MPG123_ENC_SIGNED_16) {
        Close();
        return false;
    }
    m_rate = static_cast<u32>(rate);
    m_channels = static_cast<u32>(channels);
    m_ended = false;
    return true;
}

void plMpg123Decoder::Close() {
    if (m_handle) {
        mpg123_close(m_handle);
        mpg123_delete(m_handle);
        m_handle = nullptr;
    }
    if (m_fd >= 0)
        close(m_fd); // the library leaves a descriptor it was given open
    m_fd = -1;
    m_rate = 0;
    m_channels = 0;
    m_ended = true;
}

u32 plMpg123Decoder::Read(u8* out, u32 bytes) {
    if (!m_handle)
        return 0;
    bytes -= bytes % GetBlockAlign();
    u32 total = 0;
    while (!m_ended && total < bytes) {
        size_t done = 0;
        const int result = mpg123_read(m_handle, out + total, bytes - total, &done);
        total += static_cast<u32>(done);
        if (result == MPG123_NEW_FORMAT) {
            long rate = 0;
            int channels = 0;
            int encoding = 0;
            mpg123_getformat(m_handle, &rate, &channels, &encoding);
            if (static_cast<u32>(rate) != m_rate || static_cast<u32>(channels) != m_channels)
                m_ended = true;
        } else if (result != MPG123_OK || done == 0) {
            m_ended = true;
        }
    }
    // A stream cut inside a frame must not leave half a frame behind.
    return total - total % GetBlockAlign();
}

bool plMpg123Decoder::Rewind() {
    if (!m_handle || mpg123_seek(m_handle, 0, SEEK_SET) < 0)
        return false;
    m_ended = false;
    return true;
}
