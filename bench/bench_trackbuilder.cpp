// The track mesh builder on a 200-piece circuit of straights and turns with pole supports and shadows:
// a mode-0 rebuild of one piece in the middle against a mode-2 rebuild from the first piece, one run
// each. The ratio is printed at the end; an edit of one piece must not cost like the whole circuit, so
// it should stay at most 1/50.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/TrackGeom/coSupportMakerPole.h"
#include "Source/TrackGeom/coTrackMeshBuilder.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

constexpr int kPieces = 200;

// "Tracks/Bench/Track.def" with one rail, in a temporary folder.
void WriteTrackDefinition(const std::filesystem::path& root) {
    std::filesystem::create_directories(root / "Tracks" / "Bench");
    std::ofstream(root / "Tracks" / "Bench" / "Track.def")
        << "Track\n{\nRail\n{\nCrossSection\n{\nVertices 9 -0.5 0 -0.55 0.07 -0.6 0.1 -0.65 0.07 -0.7 0 "
           "-0.65 -0.07 -0.6 -0.1 -0.55 -0.07 -0.5 0\n}\nTextureSpacing 4\n}\n}\n";
    fsLocator tracks;
    fsLocatorFromNativePath((root / "Tracks").c_str(), tracks);
    fsResetRootTable();
    fsAddRootDirectory(coRootTracks, tracks);
    coCoasterDefinitionStore().SetCoasterTypeName("Bench");
}

// Straights with a gentle turn every fourth piece, so the circuit wanders without closing.
void BuildCircuit(coTrackMeshBuilder& builder) {
    auto maker = std::make_unique<coSupportMakerPole>();
    auto pole = std::make_unique<coSupportPole>();
    const maVector2d square[5] = {{-0.2f, -0.2f}, {0.2f, -0.2f}, {0.2f, 0.2f}, {-0.2f, 0.2f}, {-0.2f, -0.2f}};
    pole->SetVertices(square, 5);
    maker->AddPole(std::move(pole));
    builder.SetSupportMaker(std::move(maker));
    for (int i = 0; i < kPieces; ++i) {
        std::unique_ptr<coCoasterPiece> piece;
        if (i % 4 == 3) {
            auto turn = std::make_unique<coCoasterPieceTurn>();
            turn->SetAngle(coDegrees(i % 8 == 3 ? 20.0f : -20.0f));
            turn->SetRadius(30.0f);
            piece = std::move(turn);
        } else {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(12.0f);
            piece = std::move(straight);
        }
        piece->Place(maVector3d(0.0f, 10.0f, 0.0f), 0.0f);
        coCircuitAppend(std::move(piece), true);
    }
}

void BM_Rebuild(benchmark::State& state) {
    coCoasterPiece* piece =
        state.range(0) == 0 ? coCircuitPieces()[kPieces / 2].get() : coCircuitFirstPiece();
    const int mode = static_cast<int>(state.range(0));
    for (auto _ : state)
        coGetTrackBuilder().RebuildPieceObjects(piece, mode);
}
BENCHMARK(BM_Rebuild)->Arg(0)->Arg(2)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "bench_trackbuilder";
    WriteTrackDefinition(root);
    coSetShadowsEnabled(coShadowsDown);
    {
        coTrackMeshBuilder builder;
        coSetTrackBuilder(&builder);
        BuildCircuit(builder);
        benchReport reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        const benchReport::Figures* one = reporter.Find("BM_Rebuild/0/iterations:1");
        const benchReport::Figures* all = reporter.Find("BM_Rebuild/2/iterations:1");
        if (one && all)
            std::printf("Rebuild on %d pieces: mode 0 of one piece %.3f ms, mode 2 from the first %.3f ms, "
                        "ratio 1/%.0f (target: at most 1/50)\n",
                        kPieces, one->cpuSeconds * 1e3, all->cpuSeconds * 1e3,
                        all->cpuSeconds / one->cpuSeconds);
        coCircuitClear();
        coSetTrackBuilder(nullptr);
    }
    std::filesystem::remove_all(root);
    benchmark::Shutdown();
    return 0;
}
