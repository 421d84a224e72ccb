// The statistics run over a closed circuit of 200 pieces: its time as a share of one frame at 60 frames a
// second, simulated steps per second, and the cost of one step per car against one frame evaluation of the
// same pieces (a step should cost about one). The ride's frame step with its cars placed in the scene (on
// the fake device) must also stay below two frame evaluations a car.
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureFormats.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Tools/Model/toolDefaultModels.h"
#include "benchReport.h"
#include "tests/Engine/Graphics/G2d/g2dNoText.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

namespace {

constexpr int kSides = 4;
constexpr int kStraightsPerSide = 49;
constexpr double kFrameSeconds = 1.0 / 60.0;
constexpr int kCars = 8;

void Append(std::unique_ptr<coCoasterPiece> piece) {
    if (!coCircuitLastPiece())
        piece->Connect(nullptr);
    coCircuitAppend(std::move(piece), false);
}

// A rectangle of chained pieces: per side 49 Straights of 20, banked by turns so that the roll blends,
// and one quarter Turn. The chain keeps the train at 8 units per second all round.
void BuildCircuit() {
    if (coCircuitPieceCount() > 0)
        return;
    for (int side = 0; side < kSides; ++side) {
        for (int i = 0; i < kStraightsPerSide; ++i) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(20.0f);
            straight->SetElement(coElementChainLift);
            straight->SetRoll(coDegrees(static_cast<float>((i % 3) - 1) * 10.0f));
            Append(std::move(straight));
        }
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(coDegrees(90.0f));
        turn->SetRadius(15.0f);
        turn->SetElement(coElementChainLift);
        Append(std::move(turn));
    }
    coCircuitClose();
}

int StepsPerRun() {
    return static_cast<int>(std::lround(coGetRideStats()[coStatRideTime] / 0.04f));
}

void BM_RideStats200(benchmark::State& state) {
    BuildCircuit();
    int steps = 0;
    for (auto _ : state) {
        coRideComputeStats();
        steps = StepsPerRun();
    }
    state.counters["pieces"] = static_cast<double>(coCircuitPieceCount());
    state.counters["steps"] = steps;
    state.counters["steps/s"] = benchmark::Counter(
        static_cast<double>(steps) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// Every piece of the circuit in turn, at fractions that walk each piece as a train does.
void BM_FrameAt200(benchmark::State& state) {
    BuildCircuit();
    const int count = coCircuitPieceCount();
    int piece = 0, fraction = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(coCircuitPieceAt(piece)->FrameAt(static_cast<float>(fraction) / 61.0f));
        piece = piece + 1 == count ? 0 : piece + 1;
        fraction = fraction == 61 ? 0 : fraction + 1;
    }
}

// The ride's cars on the fake device, with the default theme's car models written by the model generator
// into a temporary folder.
class CarScene {
  public:
    CarScene() {
        plInstallServices({.time = &m_time, .d3d = &m_d3d});
        g2dSetTextService(&m_text);
        g2dInitialize();
        g2dScreen::InitWindowed(640, 480, 0, 0);
        g3dFragmentManager::Initialize();
        g3dTextureManager::Initialize();
        g3dSelectTextureFormats();
        g3dRenderer::Initialize();
        char folder[] = "/tmp/lvbenchrideXXXXXX";
        m_folder = mkdtemp(folder) ? folder : "";
        toolWriteDefaultModels(m_folder);
        fsLocator themes;
        fsLocatorFromNativePath((m_folder + "/Themes").c_str(), themes);
        fsAddRootDirectory(coRootThemes, themes);
        coSetThemeName("Ironvale");
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        coSetRideCarScene(&m_cars);
    }
    CarScene(const CarScene&) = delete;
    CarScene& operator=(const CarScene&) = delete;
    ~CarScene() {
        coRideClear();
        coSetRideCarScene(nullptr);
        coSetThemeName("");
        fsResetRootTable();
        std::filesystem::remove_all(m_folder);
        g3dRenderer::Shutdown();
        g2dScreen::Deinitialize();
        g2dShutdown();
        g2dSetTextService(nullptr);
        plInstallServices({});
    }

  private:
    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    g2dNoText m_text; // fragments need the screen, which asks for a text service
    std::string m_folder;
    coRideCars m_cars{[] { coReportCurrentException(); }};
};

// One frame's step of one train of kCars cars at 60 frames a second, every car placed in the scene.
void BM_RideUpdateWithCars(benchmark::State& state) {
    BuildCircuit();
    CarScene scene;
    coRideStart(kCars, true, 1);
    if (coGetCarCount() != kCars) {
        state.SkipWithError("the cars were not built");
        return;
    }
    float time = 0.0f;
    for (auto _ : state) {
        if (!coRideIsRunning())
            coRideLaunchTrain(0);
        appClock::SetTime(time, static_cast<float>(kFrameSeconds));
        coRideUpdate(maVector3d());
        time += static_cast<float>(kFrameSeconds);
    }
}

BENCHMARK(BM_RideStats200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAt200)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_RideUpdateWithCars)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport report;
    benchmark::RunSpecifiedBenchmarks(&report);
    const benchReport::Figures* run = report.Find("BM_RideStats200");
    const benchReport::Figures* frame = report.Find("BM_FrameAt200");
    if (run) {
        std::printf("\nStatistics run of %d pieces: %.2f ms, %.2f of one %.1f ms frame\n",
                    coCircuitPieceCount(), run->seconds * 1e3, run->seconds / kFrameSeconds,
                    kFrameSeconds * 1e3);
    }
    const double steps = run ? run->counters.at("steps") : 0.0;
    if (frame && steps > 0.0) {
        const double perStep = run->seconds / steps;
        const double perCar = perStep / coGetCoasterDefinition().GetNumCars();
        std::printf("%.0f steps, %.0f simulated steps per second\n", steps, 1.0 / perStep);
        std::printf("One step per car %.1f ns, one FrameAt %.1f ns: ratio %.2f (must stay below 2)\n",
                    perCar * 1e9, frame->seconds * 1e9, perCar / frame->seconds);
    }
    const benchReport::Figures* ride = report.Find("BM_RideUpdateWithCars");
    if (frame && ride) {
        const double perCar = ride->cpuSeconds / kCars;
        std::printf("Ride frame step with %d cars placed: %.1f ns a car, ratio to FrameAt %.2f (must stay "
                    "below 2)\n",
                    kCars, perCar * 1e9, perCar / frame->cpuSeconds);
    }
    benchmark::Shutdown();
    return 0;
}
