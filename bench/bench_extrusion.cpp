// Extrusion of a rail section (9 vertices, opaque) along a 200-unit and a 10-unit straight, into a fresh
// mesh set each time. The time per ring of the long piece over that of the short one is printed at the
// end; the cost must stay linear in the rings, so the ratio should stay at most 1.5.
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/TrackGeom/coExtrusion.h"
#include "Source/TrackGeom/coTrackDefinition.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

std::unique_ptr<coTrackDefinition> RailDefinition() {
    const maVector2d rail[9] = {{-0.5f, 0.0f},   {-0.55f, 0.07f},  {-0.6f, 0.1f},
                                {-0.65f, 0.07f}, {-0.7f, 0.0f},    {-0.65f, -0.07f},
                                {-0.6f, -0.1f},  {-0.55f, -0.07f}, {-0.5f, 0.0f}};
    auto section = std::make_unique<coTrackRail>();
    section->SetVertices(rail, 9);
    section->SetMaterial(std::make_unique<g3dMaterial>());
    section->SetTextureSpacing(4.0f);
    auto definition = std::make_unique<coTrackDefinition>();
    definition->AddCrossSection(std::move(section));
    return definition;
}

void BM_Extrude(benchmark::State& state) {
    const auto definition = RailDefinition();
    coCoasterPieceStraight piece;
    piece.SetRunLength(static_cast<float>(state.range(0)));
    piece.Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
    const int rings = coSectionRingCount(*definition->GetCrossSections()[0], piece.GetLength());
    for (auto _ : state) {
        coSceneObjectSet set;
        coExtrudeCrossSections(*definition, piece, set);
        benchmark::DoNotOptimize(set.GetGroupCount());
    }
    state.counters["rings"] = rings;
}
BENCHMARK(BM_Extrude)->Arg(200)->Arg(10)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& reporter) {
        const benchReport::Figures* longPiece = reporter.Find("BM_Extrude/200");
        const benchReport::Figures* shortPiece = reporter.Find("BM_Extrude/10");
        if (longPiece && shortPiece) {
            const double perRingLong = longPiece->cpuSeconds / longPiece->counters.at("rings");
            const double perRingShort = shortPiece->cpuSeconds / shortPiece->counters.at("rings");
            std::printf(
                "Extrusion per ring: 200-unit straight %.3f us (%.0f rings), 10-unit straight %.3f us (%.0f "
                "rings), ratio %.3f (target: at most 1.5)\n",
                perRingLong * 1e6, longPiece->counters.at("rings"), perRingShort * 1e6,
                shortPiece->counters.at("rings"), perRingLong / perRingShort);
        }
    });
}
