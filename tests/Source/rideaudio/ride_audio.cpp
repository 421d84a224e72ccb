// A scripted ride heard through the test sound device: the shipped "Steel" sounds, screams and the first
// ride track on a circuit of every decoration and a loop, mixed frame by frame and written as a WAV file:
//   ride_audio --out <file.wav> [--data <data folder>]
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/plServices.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coTrain.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideAudioHooks.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Tools/Pak/toolPakWriter.h"
#include "Tools/Sound/toolSoundSynth.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr float kFrame = 0.04f;
constexpr int kLongestRide = 3000;

class coSteelDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

void AddStraight(float run, i32 element, float slopeDegrees = 0.0f, i32 tube = 0) {
    auto piece = std::make_unique<coCoasterPieceStraight>();
    piece->SetRunLength(run);
    piece->SetElement(element);
    piece->SetSlope(coDegrees(slopeDegrees));
    piece->SetTube(tube);
    piece->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    coCircuitAppend(std::move(piece), false);
}

// A chain lift, a drop, a loop, a booster, a tube, a retarder, brakes and a run back to the start.
void BuildCircuit() {
    AddStraight(40.0f, coElementChainLift);
    AddStraight(40.0f, coElementNone, -30.0f);
    auto loop = std::make_unique<coCoasterPieceLoop>();
    loop->SetHeight(12.0f);
    coCircuitAppend(std::move(loop), false);
    AddStraight(30.0f, coElementBooster);
    AddStraight(30.0f, coElementNone, 0.0f, 1);
    AddStraight(30.0f, coElementRetarder);
    AddStraight(30.0f, coElementBrakes);
    AddStraight(40.0f, coElementNone);
}

void AddRoot(i32 root, const std::string& folder) {
    fsLocator locator;
    fsLocatorFromNativePath(folder.c_str(), locator);
    fsAddRootDirectory(root, locator);
}

// Runs the ride to the end of its lap and returns the device's mix.
std::vector<i16> RideMix(const std::string& data) {
    plTestTimeSource time;
    plTestSoundDevice device;
    plInstallServices({.time = &time, .sound = &device});
    appInitTime();
    snStartSoundSystem();
    snSoundManager::Init();
    AddRoot(coRootTracks, data + "/Tracks");
    AddRoot(coRootGui, data + "/Data/GUI");
    AddRoot(coRootMusic, data + "/Data/Music");
    coPrefs::SetDefaults();
    coPrefs::SetBool(coPrefScreamsOff, false);
    coPrefs::ApplyVolumes();

    coSteelDefinition definition;
    coSetCoasterDefinition(&definition);
    coRideAudioHooks hooks;
    coSetRideAudio(&hooks);
    coSetTrainDragOn(0);
    BuildCircuit();

    coMusicStart();
    coMusicRequestContext(coMusicRide);
    coMusicSetChoice(coMusicRide, 0);
    coMusicApplyContext(true);
    coRideStart(1, false, 1);
    coRideLaunchTrain(0);
    for (int frame = 0; frame < kLongestRide && coRideIsRunning(); ++frame) {
        appClock::SetTime(appClock::GetTime(), kFrame);
        coRideUpdate(maVector3d());
        // The camera rides in the lead car.
        snSoundManager::SetListenerPosition(coRideGetLeadCar(0).frame.GetTranslation());
        coMusicHandleKeys();
        device.Render(static_cast<u32>(kFrame * toolSampleRate));
        snSoundManager::Update(appClock::GetTime());
    }
    // The end of the lap sounds out.
    for (int frame = 0; frame < 25; ++frame) {
        device.Render(static_cast<u32>(kFrame * toolSampleRate));
        snSoundManager::Update(appClock::GetTime());
    }
    std::vector<i16> mix = device.GetOutput();

    coRideStop();
    coSetRideAudio(nullptr);
    coSetCoasterDefinition(nullptr);
    coCircuitClear();
    muDestroyMusicManager();
    snSoundManager::Shutdown();
    snStopSoundSystem();
    plInstallServices({});
    return mix;
}

int Usage() {
    std::fputs("usage: ride_audio --out <file.wav> [--data <data folder>]\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string out;
    std::string data = LV_DATA_DIR;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--out") == 0)
            out = argv[i + 1];
        else if (std::strcmp(argv[i], "--data") == 0)
            data = argv[i + 1];
        else
            return Usage();
    }
    if (out.empty() || argc % 2 == 0)
        return Usage();
    try {
        const std::vector<i16> mix = RideMix(data);
        if (const std::filesystem::path folder = std::filesystem::path(out).parent_path(); !folder.empty())
            std::filesystem::create_directories(folder);
        toolWriteFile(out, toolBuildWave(mix));
        if (std::all_of(mix.begin(), mix.end(), [](i16 sample) { return sample == 0; })) {
            std::fputs("ride_audio: the ride was silent\n", stderr);
            return 1;
        }
    } catch (const envExceptionX& e) {
        std::fprintf(stderr, "ride_audio: error 0x%08X\n", e.GetCode());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "ride_audio: %s\n", e.what());
        return 1;
    }
    return 0;
}
