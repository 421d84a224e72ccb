#include "Engine/Audio/Mu/muMusicManager.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Audio/Sn/snPackage.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundJobMP3.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Core/Env/envUtf.h"

#include <algorithm>

namespace {
muMusicManager* g_manager = nullptr;
}

muMusicManager::muMusicManager() {
    EnsurePlaylist();
    for (u32 index = 0; index < GetPlaylistCount(); ++index)
        PreparePlaylist(index);
}

muMusicManager::~muMusicManager() {
    ReleaseJob();
}

void muMusicManager::EnsurePlaylist() {
    if (m_playlists.empty())
        m_playlists.emplace_back();
}

void muMusicManager::SetPlaylistCount(u32 count) {
    if (m_playlists.size() < count)
        m_playlists.resize(count);
}

void muMusicManager::SetCurrentPlaylist(i32 index) {
    if (index < 0 || index >= static_cast<i32>(m_playlists.size()))
        return;
    m_current = index;
}

void muMusicManager::LoadPlaylist(const fsLocator& file, u32 index) {
    SetPlaylistCount(index + 1);
    muPlaylist& playlist = m_playlists[index];
    if (muIsPlaylistFile(file))
        muReadPlaylistFile(file, playlist, true);
    else
        playlist.AddTrack(file);
}

void muMusicManager::ClearPlaylist(u32 index) {
    if (index < m_playlists.size())
        m_playlists[index].Clear();
}

void muMusicManager::SetShuffle(u32 index, bool on) {
    if (index < m_playlists.size())
        m_playlists[index].SetShuffle(on);
}

bool muMusicManager::IsShuffled(u32 index) const {
    return index < m_playlists.size() && m_playlists[index].shuffle;
}

void muMusicManager::SetPlaylistVolume(u32 index, f32 volume) {
    if (index >= m_playlists.size())
        return;
    m_playlists[index].volume = volume;
    if (snSoundJob* job = GetJob(); job && static_cast<i32>(index) == m_current)
        job->SetVolume(volume);
}

i32 muMusicManager::GetTrackCount() const {
    return static_cast<i32>(CurrentList().tracks.size());
}

bool muMusicManager::NextTrack() {
    muPlaylist& playlist = CurrentList();
    if (playlist.position >= GetTrackCount() - 1)
        return false;
    ++playlist.position;
    return true;
}

bool muMusicManager::PreviousTrack() {
    muPlaylist& playlist = CurrentList();
    if (playlist.position < 1)
        return false;
    --playlist.position;
    return true;
}

void muMusicManager::SetTrack(i32 position) {
    CurrentList().position = position;
}

// A track that cannot be played is passed over for the one that would follow it, each track at most
// once: a playlist none of whose tracks plays falls silent.
void muMusicManager::PlayTrack(i32 loops) {
    if (m_flags & kOff)
        return;
    for (i32 tries = std::max(GetTrackCount(), 1); !StartTrack(loops);) {
        if (--tries == 0)
            DBG_WARNING("music: no track of playlist %d can be played", m_current);
        if (tries == 0 || !AdvanceTrack()) {
            m_flags &= ~kPlaying;
            return;
        }
    }
}

bool muMusicManager::StartTrack(i32 loops) {
    const muPlaylist& playlist = CurrentList();
    const fsLocator file = playlist.GetCurrentTrack();
    if (file.GetComponentCount() == 0) {
        // Silence: nothing plays, and nothing ends to move on from.
        if (snSoundJob* job = GetJob()) {
            job->Stop();
            job->Unload();
        }
        m_flags &= ~kPlaying;
        return true;
    }
    ReleaseJob();
    const bool wav = snIsWavFile(file);
    m_job = wav ? static_cast<snSoundJob*>(snSoundManager::CreateStreamedSound(file))
                : static_cast<snSoundJob*>(snSoundManager::CreateMP3Sound(file));
    try {
        m_job->SetFile(file);
        m_job->SetCategory(kMusicCategory);
        m_job->SetLoopCount(loops);
        m_job->SetAutoRelease(false);
        if (wav) {
            m_job->Stop();
            m_job->Unload();
        }
        m_job->Load();
        m_job->SetVolume(playlist.volume);
        snSoundManager::ApplyVolume(m_job);
        m_job->Play(static_cast<f32>(appGetTime()));
    } catch (const envExceptionX& fault) {
        DBG_WARNING("music: %s cannot be played (error 0x%08X)",
                    envStringToUtf8(file.GetLastComponent()).c_str(), fault.GetCode());
        ReleaseJob();
        return false;
    }
    // A job that stopped as it started had nothing to play; it has said why.
    if (m_job->IsStopped()) {
        ReleaseJob();
        return false;
    }
    snSoundManager::AddToActiveList(m_job);
    m_flags |= kPlaying;
    return true;
}

bool muMusicManager::AdvanceTrack() {
    if (!(m_flags & kAdvance))
        return false;
    if (NextTrack())
        return true;
    if (!(m_flags & kWrap))
        return false;
    CurrentList().position = 0;
    return true;
}

void muMusicManager::PlayCurrent() {
    PlayTrack(GetTrackCount() < 2 ? -1 : 1);
}

void muMusicManager::Update() {
    const snSoundJob* job = GetJob();
    if (!(m_flags & kPlaying) || !job || !job->IsStopped())
        return;
    if (AdvanceTrack())
        PlayCurrent();
    else
        Stop();
}

void muMusicManager::Stop() {
    if (snSoundJob* job = GetJob())
        job->Stop();
    m_flags &= ~kPlaying;
}

void muMusicManager::Pause() {
    if (snSoundJob* job = GetJob())
        job->Pause();
    m_flags &= ~kPlaying;
}

void muMusicManager::Resume() {
    if (snSoundJob* job = GetJob())
        job->Resume(static_cast<f32>(appGetTime()));
    m_flags |= kPlaying;
}

// The sound manager owns the job: its shut-down, or a DestroySound elsewhere, may have deleted it.
snSoundJob* muMusicManager::GetJob() const {
    return snSoundManager::FindActive(m_job);
}

void muMusicManager::ReleaseJob() {
    if (m_job)
        snSoundManager::DestroySound(m_job);
    m_job = nullptr;
}

void muSetMusicManager(muMusicManager* manager) {
    g_manager = manager;
}

muMusicManager* muGetMusicManager() {
    return g_manager;
}

void muDestroyMusicManager() {
    delete g_manager;
    g_manager = nullptr;
}
