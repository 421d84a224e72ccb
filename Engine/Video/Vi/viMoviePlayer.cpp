#include "Engine/Video/Vi/viMoviePlayer.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/Platform/Media/plMediaEvents.h"
#include "Engine/Platform/Media/plMovieHost.h"
#include "Engine/Platform/Media/plMoviePlayback.h"
#include "Engine/Platform/Window/plVirtualKeys.h"
#include "Engine/Platform/plServices.h"

namespace {

// The longest wait for the movie's news before the Space key is looked at again.
constexpr u32 kWaitMilliseconds = 250;

void WaitForEnd(plMoviePlayback& playback, viMovieBackend& backend) {
    for (;;) {
        i32 code = 0;
        const bool received = playback.WaitForEvent(kWaitMilliseconds, code);
        if (backend.IsSkippable() && backend.IsSkipRequested())
            return;
        if (received && (code == plMediaEventComplete || code == plMediaEventUserAbort))
            return;
    }
}

} // namespace

bool viMovieBackend::IsSkipRequested() {
    plMovieHost* host = plGetServices().movie;
    return host && host->GetAsyncKeyState(plVk::Space);
}

void viMovieBackend::SetSkippable(bool skippable) {
    m_flags = static_cast<u8>(skippable ? m_flags | kSkippable : m_flags & ~kSkippable);
}

viMoviePlayer::viMoviePlayer() : m_backend(std::make_unique<viMovieBackend>()) {}

viMoviePlayer::~viMoviePlayer() {
    Close();
}

void viMoviePlayer::Play(const fsLocator& file) {
    if (m_backend)
        viPlayMovieFile(*m_backend, file);
}

void viMoviePlayer::Close() {
    if (!m_backend)
        return;
    m_backend->Release();
    m_backend.reset();
}

void viPlayMovieFile(viMovieBackend& backend, const fsLocator& file) {
    fsLocator resolved = file;
    fsResolveRoot(resolved);
    // Content names differ in case: the demuxer gets the name that exists on disc.
    const std::string path = fsFindFilePath(resolved);
    // A press made before the movie must not skip it.
    backend.IsSkipRequested();

    const plServices& services = plGetServices();
    if (!services.movie || !services.time || path.empty())
        return;
    plMoviePlayback playback(*services.movie, services.sound, *services.time);
    if (!playback.Render(path))
        return;
    playback.Run();
    WaitForEnd(playback, backend);
    playback.Stop();
}
