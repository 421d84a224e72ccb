#include "Source/Sound/coMusic.h"

#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/App/In/inVirtualJoystick.h"
#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/Settings/coDefaultInput.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"

#include <string>
#include <vector>

namespace {

enum coMusicState { kIdle = 0, kPlaying = 1, kPaused = 3 };

struct coMusicContext {
    int choice = 0;
    fsLocator ownTrack;
    int state = kIdle;
};

// The shipped tracks of choices 0 to 3 of each context.
using coShippedChoices = std::vector<std::vector<const char*>>;
const coShippedChoices kBuilderTracks = {
    {"build1", "build2", "build3", "build4"}, {"build2"}, {"build3"}, {"build4"}};
const coShippedChoices kShipped[coMusicContextCount] = {
    {{"main1"}, {"main2"}, {}, {}},
    kBuilderTracks,
    {{"ride1"}, {"ride2"}, {"ride3"}, {"ride4"}},
    kBuilderTracks,
};
// Each context's volume and music-off preferences.
const int kVolumePrefs[coMusicContextCount] = {coPrefMenuMusicVolume, coPrefBuilderMusicVolume,
                                               coPrefRideMusicVolume, coPrefBuilderMusicVolume};
const int kMusicOffPrefs[coMusicContextCount] = {coPrefMenuMusicOff, coPrefBuilderMusicOff,
                                                 coPrefRideMusicOff, coPrefBuilderMusicOff};

std::vector<coMusicContext> g_contexts;
int g_current = -1;
int g_previous = -1;

u32 PlaylistId(int context, int choice) {
    return static_cast<u32>(context * coMusicChoiceCount + choice);
}

// The context index, the current one for a negative context; -1 when there is none.
int Resolve(int context) {
    const int c = context < 0 ? g_current : context;
    return c >= 0 && c < static_cast<int>(g_contexts.size()) ? c : -1;
}

int CheckedChoice(int choice) {
    return choice >= 0 && choice < coMusicChoiceCount ? choice : 0;
}

fsLocator TrackFile(const char* name) {
    std::string file = name;
    file += coPrefs::GetSessionFlag(coSessionMp3Music) ? ".mp3" : ".wav";
    fsLocator track(coRootMusic);
    track.AppendComponent(file.c_str());
    return track;
}

void SetMusicOff(muMusicManager& manager, bool off) {
    const u32 flags = manager.GetFlags();
    manager.SetFlags(off ? flags | muMusicManager::kOff : flags & ~muMusicManager::kOff);
}

void StopManager(muMusicManager& manager) {
    manager.Stop();
    manager.ReleaseJob();
    if (const int c = Resolve(-1); c >= 0)
        g_contexts[static_cast<size_t>(c)].state = kIdle;
}

void WarnUnplayable(const fsLocator& file, const envExceptionX& e) {
    std::string track;
    fsLocatorToNativePath(file, track);
    DBG_WARNING("The music \"%s\" cannot be played (error 0x%08X); the music stays silent", track.c_str(),
                e.GetCode());
}

void WarnAndSilence(muMusicManager& manager, const envExceptionX& e) {
    WarnUnplayable(manager.GetPlaylist(static_cast<u32>(manager.GetCurrentPlaylist())).GetCurrentTrack(), e);
    StopManager(manager);
}

void ApplyMenu(muMusicManager& manager, coMusicContext& context, bool paused) {
    // The two menu tracks take turns at each application.
    context.choice = context.choice == 0 ? 1 : 0;
    manager.SetCurrentPlaylist(static_cast<i32>(PlaylistId(coMusicMenu, context.choice)));
    if (paused)
        manager.Resume();
    else
        manager.PlayCurrent();
    g_previous = g_current;
}

// The building contexts and the ride; false when the choice is silence. The second building context plays
// the builder's choice and own track from playlists of its own; the ride starts its track only when asked
// to restart.
bool ApplyChosen(muMusicManager& manager, int c, bool paused, bool restart) {
    const coMusicContext& chosen =
        g_contexts[static_cast<size_t>(c == coMusicSecondBuilder ? coMusicBuilder : c)];
    const u32 playlist = PlaylistId(c, chosen.choice);
    manager.SetCurrentPlaylist(static_cast<i32>(playlist));
    if (chosen.choice == coMusicSilence) {
        StopManager(manager);
        return false;
    }
    if (chosen.choice == coMusicOwnTrack) {
        manager.ClearPlaylist(playlist);
        manager.LoadPlaylist(chosen.ownTrack, playlist);
        if (c == coMusicBuilder)
            manager.SetShuffle(PlaylistId(coMusicSecondBuilder, coMusicOwnTrack),
                               manager.IsShuffled(playlist));
    }
    if (paused) {
        manager.Resume();
    } else if (restart || (c != coMusicRide && g_previous != c)) {
        manager.PlayCurrent();
        g_previous = g_current;
    }
    return true;
}

} // namespace

void coMusicStart() {
    if (!muGetMusicManager())
        muSetMusicManager(new muMusicManager);
    muMusicManager& manager = *muGetMusicManager();
    g_current = g_previous = -1;
    g_contexts.assign(coMusicContextCount, coMusicContext());

    manager.SetPlaylistCount(coMusicContextCount * coMusicChoiceCount);
    for (int c = 0; c < coMusicContextCount; ++c) {
        for (int k = 0; k < coMusicChoiceCount; ++k)
            manager.ClearPlaylist(PlaylistId(c, k));
        for (size_t k = 0; k < kShipped[c].size(); ++k)
            for (const char* name : kShipped[c][k])
                manager.LoadPlaylist(TrackFile(name), PlaylistId(c, static_cast<int>(k)));
        manager.LoadPlaylist(fsLocator(), PlaylistId(c, coMusicSilence));
    }
    coMusicApplyVolumes();
    for (int c : {coMusicBuilder, coMusicSecondBuilder})
        manager.SetShuffle(PlaylistId(c, 0), true);
    g_contexts[coMusicRide].choice = coMusicSilence;

    coMusicContext& builder = g_contexts[coMusicBuilder];
    builder.choice = CheckedChoice(coPrefs::GetInt(coPrefBuilderMusicChoice));
    manager.SetShuffle(PlaylistId(coMusicBuilder, coMusicOwnTrack), coPrefs::GetBool(coPrefOwnTrackShuffled));
    const fsLocator& own = coPrefs::GetPath(coPrefBuilderOwnTrack);
    if (fsFileExists(own))
        builder.ownTrack = own;
}

void coMusicSaveSettings() {
    muMusicManager* manager = muGetMusicManager();
    if (!manager || Resolve(coMusicBuilder) < 0)
        return;
    const coMusicContext& builder = g_contexts[coMusicBuilder];
    const bool shuffled = manager->IsShuffled(PlaylistId(coMusicBuilder, coMusicOwnTrack));
    if (coPrefs::GetInt(coPrefBuilderMusicChoice) == builder.choice &&
        coPrefs::GetPath(coPrefBuilderOwnTrack) == builder.ownTrack &&
        coPrefs::GetBool(coPrefOwnTrackShuffled) == shuffled)
        return;
    coPrefs::SetInt(coPrefBuilderMusicChoice, builder.choice);
    coPrefs::SetPath(coPrefBuilderOwnTrack, builder.ownTrack);
    coPrefs::SetBool(coPrefOwnTrackShuffled, shuffled);
    coPrefs::SaveOnItsOwn();
}

void coMusicRequestContext(int context) {
    if (context < -1 || context >= coMusicContextCount)
        return;
    // A context left while paused gives its track up: the next context's music replaces it, and resuming
    // on return would take up that music instead.
    if (const int c = Resolve(-1);
        c >= 0 && c != context && g_contexts[static_cast<size_t>(c)].state == kPaused)
        g_contexts[static_cast<size_t>(c)].state = kIdle;
    g_previous = g_current;
    g_current = context;
}

int coMusicGetContext() {
    return g_current;
}

void coMusicApplyContext(bool restart) {
    muMusicManager* manager = muGetMusicManager();
    if (!manager)
        return;
    const int c = Resolve(-1);
    if (c < 0) {
        coMusicStop();
        return;
    }
    coMusicContext& context = g_contexts[static_cast<size_t>(c)];
    const bool paused = context.state == kPaused;
    const bool off = coPrefs::GetBool(kMusicOffPrefs[c]);
    SetMusicOff(*manager, off);
    try {
        if (c == coMusicMenu)
            ApplyMenu(*manager, context, paused);
        else if (!ApplyChosen(*manager, c, paused, restart))
            return;
    } catch (const envExceptionX& e) {
        WarnAndSilence(*manager, e);
        return;
    }
    if (!off)
        context.state = kPlaying;
}

void coMusicStop() {
    if (muMusicManager* manager = muGetMusicManager())
        StopManager(*manager);
}

void coMusicPause() {
    muMusicManager* manager = muGetMusicManager();
    const int c = Resolve(-1);
    if (!manager || c < 0 || g_contexts[static_cast<size_t>(c)].state != kPlaying)
        return;
    manager->Pause();
    g_contexts[static_cast<size_t>(c)].state = kPaused;
}

void coMusicResume() {
    muMusicManager* manager = muGetMusicManager();
    const int c = Resolve(-1);
    if (!manager || c < 0 || g_contexts[static_cast<size_t>(c)].state != kPaused)
        return;
    manager->Resume();
    g_contexts[static_cast<size_t>(c)].state = kPlaying;
}

void coMusicSetDisabled(bool disabled) {
    if (muMusicManager* manager = muGetMusicManager())
        SetMusicOff(*manager, disabled);
}

void coMusicSetChoice(int context, int choice) {
    const int c = Resolve(context);
    if (c < 0)
        return;
    g_contexts[static_cast<size_t>(c)].choice = CheckedChoice(choice);
    if (muMusicManager* manager = muGetMusicManager(); manager && c == g_current)
        manager->SetCurrentPlaylist(
            static_cast<i32>(PlaylistId(c, g_contexts[static_cast<size_t>(c)].choice)));
}

int coMusicGetChoice(int context) {
    const int c = Resolve(context);
    return c < 0 ? coMusicSilence : g_contexts[static_cast<size_t>(c)].choice;
}

fsLocator coMusicGetOwnTrack(int context) {
    const int c = Resolve(context);
    return c < 0 ? fsLocator() : g_contexts[static_cast<size_t>(c)].ownTrack;
}

void coMusicSetOwnTrack(int context, const fsLocator& track) {
    if (const int c = Resolve(context); c >= 0)
        g_contexts[static_cast<size_t>(c)].ownTrack = track;
}

void coMusicClearPlaylist(int context) {
    coMusicClearChoicePlaylist(coMusicGetChoice(context), context);
}

void coMusicClearChoicePlaylist(int choice, int context) {
    muMusicManager* manager = muGetMusicManager();
    const int c = Resolve(context);
    if (manager && c >= 0)
        manager->ClearPlaylist(PlaylistId(c, CheckedChoice(choice)));
}

void coMusicAddTrack(const fsLocator& track, int context, int choice) {
    muMusicManager* manager = muGetMusicManager();
    const int c = Resolve(context);
    if (!manager || c < 0)
        return;
    const int k = choice < 0 ? g_contexts[static_cast<size_t>(c)].choice : CheckedChoice(choice);
    try {
        manager->LoadPlaylist(track, PlaylistId(c, k));
    } catch (const envExceptionX& e) {
        // A playlist file gone or unreadable since it was chosen: that choice plays nothing.
        WarnUnplayable(track, e);
    }
}

void coMusicSetShuffle(int context, int choice, bool shuffle) {
    muMusicManager* manager = muGetMusicManager();
    const int c = Resolve(context);
    if (manager && c >= 0)
        manager->SetShuffle(PlaylistId(c, CheckedChoice(choice)), shuffle);
}

void coMusicApplyVolumes() {
    muMusicManager* manager = muGetMusicManager();
    if (!manager)
        return;
    for (int c = 0; c < coMusicContextCount; ++c)
        for (int k = 0; k < coMusicChoiceCount; ++k)
            manager->SetPlaylistVolume(PlaylistId(c, k), coPrefs::GetFloat(kVolumePrefs[c]));
}

void coSetMusicVolume(float volume) {
    if (muMusicManager* manager = muGetMusicManager())
        manager->SetPlaylistVolume(static_cast<u32>(manager->GetCurrentPlaylist()), volume);
}

void coMusicHandleKeys() {
    muMusicManager* manager = muGetMusicManager();
    if (!manager)
        return;
    try {
        const inVirtualJoystick* joystick = inDeviceManager::GetVirtualJoystick();
        const i32 tracks = manager->GetTrackCount();
        if (joystick && tracks > 1) {
            if (joystick->WasButtonReleased(coActionPreviousTrack)) {
                if (!manager->PreviousTrack())
                    manager->SetTrack(tracks - 1);
                manager->PlayCurrent();
            }
            if (joystick->WasButtonReleased(coActionNextTrack)) {
                if (!manager->NextTrack())
                    manager->SetTrack(0);
                manager->PlayCurrent();
            }
            if (joystick->WasButtonReleased(coActionToggleShuffle)) {
                const u32 playlist = static_cast<u32>(manager->GetCurrentPlaylist());
                manager->SetShuffle(playlist, !manager->IsShuffled(playlist));
            }
        }
        manager->Update();
    } catch (const envExceptionX& e) {
        WarnAndSilence(*manager, e);
    }
}
