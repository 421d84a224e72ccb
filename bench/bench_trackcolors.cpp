// Applying a colour scheme to a 200-piece circuit against a 10-piece one, one run each. Schemes recolour
// the materials of the definitions, which every piece shares, so the cost must not grow with the circuit:
// the printed ratio should stay at most 1.5.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

// "Tracks/Bench" with two rails and a spine, and pole supports, in a temporary folder.
void WriteDefinitions(const std::filesystem::path& root) {
    const std::filesystem::path type = root / "Tracks" / "Bench";
    std::filesystem::create_directories(type);
    std::ofstream(type / "Track.def") << "Track\n{\n"
                                         "Rail { Name Rail\nMaterial { Diffuse 1 1 1 }\n"
                                         "CrossSection { Vertices 3 -0.7 0 -0.6 0.1 -0.5 0 } }\n"
                                         "Rail { Name Rail\nMaterial { Diffuse 1 1 1 }\n"
                                         "CrossSection { Vertices 3 0.5 0 0.6 0.1 0.7 0 } }\n"
                                         "Rail { Name Center\nMaterial { Diffuse 1 1 1 }\n"
                                         "CrossSection { Vertices 3 -0.2 -0.3 0 0 0.2 -0.3 } }\n}\n";
    std::ofstream(type / "Support.def") << "Support\n{\nPole { Name Support\nMaterial { Diffuse 1 1 1 }\n"
                                           "CrossSection { Vertices 4 -0.2 0 0 0.2 0.2 0 -0.2 0 } }\n}\n";
    fsLocator tracks;
    fsLocatorFromNativePath((root / "Tracks").c_str(), tracks);
    fsResetRootTable();
    fsAddRootDirectory(coRootTracks, tracks);
    coCoasterDefinitionStore().SetCoasterTypeName("Bench");
}

void BuildCircuit(int pieces) {
    coCircuitClear();
    for (int i = 0; i < pieces; ++i) {
        auto straight = std::make_unique<coCoasterPieceStraight>();
        straight->SetRunLength(12.0f);
        straight->Place(maVector3d(0.0f, 10.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(straight), true);
    }
}

void BM_ApplyScheme(benchmark::State& state) {
    BuildCircuit(static_cast<int>(state.range(0)));
    std::vector<coColorScheme> schemes;
    coTrackColorizer::CopySchemes(schemes);
    // Once untimed, so that neither run pays for loading the definitions or for cold caches.
    coTrackColorizer::ApplyScheme(schemes[0]);
    for (auto _ : state)
        coTrackColorizer::ApplyScheme(schemes[1]);
}
BENCHMARK(BM_ApplyScheme)->Arg(10)->Arg(200)->Iterations(1)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "bench_trackcolors";
    WriteDefinitions(root);
    coTrackColorizer::MakeDefaultSchemes();
    {
        coTrackMeshBuilder builder;
        coSetTrackBuilder(&builder);
        coMeshBuilderDefinitions definitions(builder);
        benchReport reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        const benchReport::Figures* small = reporter.Find("BM_ApplyScheme/10/iterations:1");
        const benchReport::Figures* large = reporter.Find("BM_ApplyScheme/200/iterations:1");
        if (small && large)
            std::printf(
                "ApplyScheme: 10 pieces %.3f us, 200 pieces %.3f us, ratio %.2f (target: at most 1.5)\n",
                small->cpuSeconds * 1e6, large->cpuSeconds * 1e6, large->cpuSeconds / small->cpuSeconds);
        coCircuitClear();
        builder.FreeDefinitions();
        coSetTrackBuilder(nullptr);
    }
    std::filesystem::remove_all(root);
    benchmark::Shutdown();
    return 0;
}
