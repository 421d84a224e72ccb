// The ride audio's cost per frame: 10,000 frames of the ride event sounds, the screams and the sound
// manager's update over their 16 jobs, against 10,000 frames of the sound manager's update alone over the
// same jobs, one run each; the ratio should stay at most 1.5.
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Sound/coScreams.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Tools/Pak/toolPakWriter.h"
#include "Tools/Sound/toolSoundSynth.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kFrames = 10000;
constexpr float kFrame = 0.02f;

const char* const kRideSounds[] = {"START", "END",        "RUN",           "TURN",   "GFORCE",
                                   "CLIMB", "GRAB_CHAIN", "RELEASE_CHAIN", "BRAKES", "ACCEL",
                                   "TUBE",  "RETARDER",   "RETARDER_END"};

void AddStraight(float run, i32 element, float slopeDegrees, i32 tube) {
    auto piece = std::make_unique<coCoasterPieceStraight>();
    piece->SetRunLength(run);
    piece->SetElement(element);
    piece->SetSlope(coDegrees(slopeDegrees));
    piece->SetTube(tube);
    piece->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    coCircuitAppend(std::move(piece), false);
}

// The test device and clock, one second of sound for each ride sound and scream in a temporary folder,
// a circuit of a chain, a drop, a loop, a tube and a retarder; the 16 jobs loaded, started and warmed up.
class RideAudio {
  public:
    RideAudio() {
        plInstallServices({.time = &m_time, .sound = &m_device});
        appInitTime();
        snStartSoundSystem();
        snSoundManager::Init();
        std::filesystem::create_directories(m_folder / "Steel");
        const std::string wave = toolBuildWave(toolSynthesize({toolSoundKind::Noise, 500.0f, 1.0f, true}, 1));
        for (const char* name : kRideSounds)
            toolWriteFile((m_folder / "Steel" / (std::string(name) + ".wav")).string(), wave);
        for (int i = 1; i <= 5; ++i)
            toolWriteFile((m_folder / ("SCREAMS" + std::to_string(i) + ".wav")).string(), wave);
        fsLocator tracks;
        fsLocatorFromNativePath(m_folder.string().c_str(), tracks);
        fsAddRootDirectory(coRootTracks, tracks);

        AddStraight(40.0f, coElementChainLift, 20.0f, 0);
        AddStraight(40.0f, coElementNone, -30.0f, 0);
        coCircuitAppend(std::make_unique<coCoasterPieceLoop>(), false);
        AddStraight(30.0f, coElementNone, 0.0f, 1);
        AddStraight(30.0f, coElementRetarder, 0.0f, 0);
        m_length = coCircuitTotalLength();

        coLoadRideEventSounds();
        coLoadScreams();
        coRideSoundsStart(0.0f);
        // Warmed up, so that neither measured run pays for first touches.
        for (int frame = 0; frame < kFrames / 10; ++frame)
            Frame(frame, true);
    }
    ~RideAudio() {
        coFreeRideEventSounds();
        coFreeScreams();
        coCircuitClear();
        snSoundManager::Shutdown();
        snStopSoundSystem();
        plInstallServices({});
        std::filesystem::remove_all(m_folder);
    }

    // The frame's game time moves on; with the ride, the train moves 0.3 along at a changing speed.
    void Frame(int frame, bool ride) {
        appClock::SetTime(appClock::GetTime(), kFrame);
        if (ride) {
            const float distance = std::fmod(static_cast<float>(frame) * 0.3f, m_length);
            const float speed = 20.0f + 10.0f * std::sin(static_cast<float>(frame) * 0.01f);
            coRideSoundsUpdate(speed, std::sin(static_cast<float>(frame) * 0.03f), distance,
                               maVector3d(distance, 2.0f, 0.0f));
            coScreamUpdate(distance, -0.5f);
        }
        snSoundManager::Update(appClock::GetTime());
    }

  private:
    plTestTimeSource m_time;
    plTestSoundDevice m_device;
    std::filesystem::path m_folder =
        std::filesystem::temp_directory_path() / ("lvbench-rideaudio-" + std::to_string(std::rand()));
    float m_length = 0.0f;
};

RideAudio& Audio() {
    static RideAudio audio;
    return audio;
}

void BM_RideAudioFrames(benchmark::State& state) {
    RideAudio& audio = Audio();
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame)
            audio.Frame(frame, true);
}
BENCHMARK(BM_RideAudioFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_SoundManagerFrames(benchmark::State& state) {
    RideAudio& audio = Audio();
    for (auto _ : state)
        for (int frame = 0; frame < kFrames; ++frame)
            audio.Frame(frame, false);
}
BENCHMARK(BM_SoundManagerFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

class TimeReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    TimeReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double ride = reporter.times["BM_RideAudioFrames"];
    const double manager = reporter.times["BM_SoundManagerFrames"];
    if (ride > 0.0 && manager > 0.0)
        std::printf("10,000 frames of 16 jobs: ride sounds, screams and sound manager %.3f ms, sound manager "
                    "alone %.3f ms, ratio %.3f (target: at most 1.5)\n",
                    ride, manager, ride / manager);
    benchmark::Shutdown();
    return 0;
}
