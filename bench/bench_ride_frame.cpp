// A frame of the ride mode on the OpenGL device at 800 x 600 (run under taskset -c 0,1 xvfb-run -a): the
// 100-piece closed coaster of benchCoaster.h with its track meshes and supports from the built "Steel" type
// and the train's cars, ridden from the seat (camera 0) and from the trackside posts (camera 2). Printed:
// the median and 90th percentile frame as shares of 16.7 ms (target below 0.7), and a movie-capture frame
// (half size) against a plain one.
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "Engine/Platform/Window/plWindowHost.h"
#include "Source/Modes/coModeRideCoaster.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPakManager.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Settings/coScreenCapture.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coSceneTrackObjectMaker.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "benchCoaster.h"
#include "benchIterations.h"
#include "benchReport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace {

constexpr i32 kWidth = 800;
constexpr i32 kHeight = 600;
constexpr double kFrameMs = 1000.0 / 60.0;
const std::vector<g3dRenderListConfig> kGameLists = {
    {0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};
const u8 kSky[3] = {140, 166, 191};

// Flat ground at 0 as far as the track reaches.
class FlatPark : public coParkWorld {
  public:
    bool GetHeightAt(float, float, float& height) const override {
        height = 0.0f;
        return true;
    }
};

// The game's frame: cleared to the sky, the world drawn with the mode's camera, presented.
class BenchModeHost : public coModeHost {
  public:
    bool AskQuitQuestion(u32) override { return false; }
    bool AskNamedQuestion(u32, const envString&) override { return false; }
    bool ScreenshotKeyReleased() override { return false; }
    void TakeScreenshot() override {}
    void HideLoadingScreen() override {}
    void BeginMenuFrame(bool) override {}
    void RenderFrame(g3dCamera* camera, g2dImage*) override {
        g2dScreen::Clear(kSky);
        if (camera != nullptr) {
            camera->Apply();
            g3dRenderer::RenderFrame(1.0f);
        }
        g2dScreen::EndFrame();
    }
};

class BenchRideHost : public coRideModeHost {
  public:
    void CaptureMovieFrame(i32 shrink) override { coGrabRideFrame(*g_pdevice, shrink); }
};

// Frame times in milliseconds.
std::vector<double> g_seatFrames, g_fixedFrames, g_captureFrames;
coModeRideCoaster* g_ride = nullptr;
BenchRideHost* g_rideHost = nullptr;
int g_cars = 0;

void RideFrames(benchmark::State& state, i32 camera, bool capture, std::vector<double>& frames) {
    g_rideHost->SetRideCamera(camera);
    g_ride->SetMovieCapture(capture);
    g_ride->SetMovieShrink(2);
    g_ride->SetPerpetual(true);
    g_ride->Enter();
    g_cars = coGetCarCount();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        g_ride->Think();
        frames.push_back(benchMilliseconds(start));
    }
    g_ride->Exit();
}

void BM_RideFrameSeat(benchmark::State& state) {
    RideFrames(state, coRideCameraSeat, false, g_seatFrames);
}
void BM_RideFrameFixed(benchmark::State& state) {
    RideFrames(state, coRideCameraFixed, false, g_fixedFrames);
}
void BM_RideFrameCapture(benchmark::State& state) {
    RideFrames(state, coRideCameraSeat, true, g_captureFrames);
}
BENCHMARK(BM_RideFrameSeat)->Unit(benchmark::kMillisecond)->Iterations(benchIterations(600));
BENCHMARK(BM_RideFrameFixed)->Unit(benchmark::kMillisecond)->Iterations(benchIterations(600));
BENCHMARK(BM_RideFrameCapture)->Unit(benchmark::kMillisecond)->Iterations(benchIterations(120));

double Percentile(std::vector<double> frames, double share) {
    if (frames.empty())
        return 0.0;
    std::sort(frames.begin(), frames.end());
    return frames[static_cast<size_t>(share * static_cast<double>(frames.size() - 1))];
}

void AddRoot(i32 root, const std::filesystem::path& folder) {
    fsLocator locator;
    fsLocatorFromNativePath(folder.string().c_str(), locator);
    fsAddRootDirectory(root, locator);
}

void RunBenchmarks() {
    const std::filesystem::path scratch = std::filesystem::temp_directory_path() / "bench_ride_frame";
    std::filesystem::create_directories(scratch);
    AddRoot(coRootProgram, scratch);
    AddRoot(coRootSaves, scratch);
    AddRoot(coRootTracks, LV_DATA_DIR "/Tracks");
    AddRoot(coRootEnvironments, LV_DATA_DIR "/Environments");
    // The cars are found under the coaster's theme by name.
    AddRoot(coRootThemes, LV_DATA_DIR "/Themes");
    coSetThemeName("Ironvale");
    coPrefs::SetDefaults();
    appInitTime();

    g3dFragmentManager::Initialize();
    g3dTextureManager::Initialize();
    g3dRenderer::Initialize(kGameLists);
    g3dLightManager::Initialize();
    g3dRenderer::InitStates();
    g3dLightManager::SetAmbientColor(0.4f, 0.4f, 0.4f, 1.0f);
    g3dDirectionalLight* sun = g3dLightManager::CreateDirectionalLight();
    sun->SetDirection(maVector3d(0.8f, -1.0f, -0.6f));
    sun->SetColor(0.8f, 0.78f, 0.7f, 1.0f);
    sun->SetEnabled();

    coPakManager::Create();
    coCoasterDefinitionStore().SetCoasterTypeName("Steel");
    coPakManager::OpenCoasterPaks(envString("Steel"));
    FlatPark park;
    coSetParkWorld(&park);
    coSceneTrackObjectMaker maker;
    coSetTrackObjectMaker(&maker);
    BenchModeHost modeHost;
    coSetModeHost(&modeHost);
    BenchRideHost rideHost;
    coSetRideModeHost(&rideHost);
    coStartRideCars([] { coReportCurrentException(); });
    {
        coTrackMeshBuilder builder;
        coSetTrackBuilder(&builder);
        coCoasterDefinitionStore().Load("Coaster.def");
        builder.LoadTrackDefinition("Track.def");
        builder.LoadSupportDefinition("Support.def");
        coMeshBuilderDefinitions definitions(builder);
        benchBuildClosedCoaster();
        coCircuitRebuildSupports();
        std::printf("bench_ride_frame: %d pieces, closed %d\n", coCircuitPieceCount(),
                    coCircuitIsClosed() ? 1 : 0);

        coModeRideCoaster ride;
        g_ride = &ride;
        g_rideHost = &rideHost;
        benchReport report;
        benchmark::RunSpecifiedBenchmarks(&report);
        g_ride = nullptr;
        std::printf("bench_ride_frame: %d cars\n", g_cars);

        for (const auto& [name, frames] :
             {std::pair{"camera 0 (seat)", &g_seatFrames}, std::pair{"camera 2 (fixed)", &g_fixedFrames}})
            if (!frames->empty())
                std::printf("%s: median %.3f, p90 %.3f of 16.7 ms (target < 0.7)\n", name,
                            Percentile(*frames, 0.5) / kFrameMs, Percentile(*frames, 0.9) / kFrameMs);
        const double plain = Percentile(g_seatFrames, 0.5);
        const double capture = Percentile(g_captureFrames, 0.5);
        if (plain > 0.0 && capture > 0.0)
            std::printf("capture frame / plain frame: %.2f\n", capture / plain);

        coRideClear();
        coCircuitClear();
        builder.FreeDefinitions();
        coReleaseTrackTextures();
        coSetTrackBuilder(nullptr);
    }
    coStopRideCars();
    coSetRideModeHost(nullptr);
    coSetModeHost(nullptr);
    coSetTrackObjectMaker(nullptr);
    coSetParkWorld(nullptr);
    coPakManager::Destroy();
    g3dRenderer::Shutdown();
    std::filesystem::remove_all(scratch);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    plSystemServices services;
    plInstallServices(services.GetServices());
    int status = 1;
    if (plGetWindowHost().CreateWindow(0, 0, kWidth, kHeight, u"bench_ride_frame", false)) {
        g2dInitialize();
        g2dScreen::InitWindowed(kWidth, kHeight, 0, 0);
        RunBenchmarks();
        g2dScreen::Deinitialize();
        g2dShutdown();
        status = 0;
    }
    plInstallServices({});
    return status;
}
