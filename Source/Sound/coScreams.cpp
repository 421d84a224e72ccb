#include "Source/Sound/coScreams.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceLoop.h"

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kScreamFiles = 5;
constexpr float kSteepDescent = -0.3f;
constexpr float kDescentBeforeScream = 2.5f;

struct coScreams {
    std::vector<std::unique_ptr<coRideSound>> list;
    int last = 0;
    int current = -1;
    float descentTime = 0.0f;
};

coScreams g_screams;

bool Finished(const coRideSound& scream) {
    return !scream.playing || scream.job->IsStopped();
}

// Never the scream played last while there is another to choose; one still sounding is left to finish.
void PlayScream() {
    const u32 count = static_cast<u32>(g_screams.list.size());
    if (count == 0)
        return;
    int k = static_cast<int>(maRandomInt() % count);
    while (count >= 2 && k == g_screams.last)
        k = static_cast<int>(maRandomInt() % count);
    g_screams.current = g_screams.last = k;
    coRideSound& scream = *g_screams.list[static_cast<size_t>(k)];
    if (!Finished(scream))
        return;
    // The options' "Screams" slider: on top of the effects' category volume.
    scream.job->FadeVolume(coPrefs::GetFloat(coPrefScreamsVolume), 0.0f, 0.0f);
    scream.job->Restart(appClock::GetTime());
    scream.playing = true;
}

} // namespace

void coLoadScreams() {
    coFreeScreams();
    const fsLocator folder(coRootTracks);
    for (int i = 0; i < coScreamsLoaded; ++i) {
        const std::string name = "SCREAMS" + std::to_string(maRandomInt() % kScreamFiles + 1);
        if (std::unique_ptr<coRideSound> scream = coMakeRideSound(folder, name.c_str(), false, true))
            g_screams.list.push_back(std::move(scream));
    }
}

void coFreeScreams() {
    g_screams = coScreams();
}

void coScreamUpdate(float distance, float descent) {
    if (dynamic_cast<const coCoasterPieceLoop*>(coCircuitPieceAtDistance(distance))) {
        const int current = g_screams.current;
        if (current < 0 || Finished(*g_screams.list[static_cast<size_t>(current)])) {
            g_screams.descentTime = 0.0f;
            PlayScream();
        }
        return;
    }
    g_screams.descentTime = descent < kSteepDescent ? g_screams.descentTime + appClock::GetDeltaTime() : 0.0f;
    if (g_screams.descentTime > kDescentBeforeScream) {
        g_screams.descentTime = 0.0f;
        PlayScream();
    }
}

void coScreamsSetPosition(const maVector3d& position) {
    for (const auto& scream : g_screams.list)
        scream->job->SetPosition(position);
}

void coScreamsSetPaused(bool paused) {
    if (!paused)
        return;
    for (const auto& scream : g_screams.list)
        scream->job->Stop();
}

int coGetScreamCount() {
    return static_cast<int>(g_screams.list.size());
}

const coRideSound& coGetScream(int index) {
    return *g_screams.list.at(static_cast<size_t>(index));
}
