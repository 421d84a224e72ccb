// computeVertexNormals on a 1,000-vertex outline: the first call, which computes the normals, against a
// later call, which copies them from the section's cache. The ratio cached / first is printed at the end
// (the medians when run with --benchmark_repetitions); it should stay at most 0.5.
#include "Source/TrackGeom/coCrossSection.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kVertices = 1000;

std::vector<maVector2d> Outline() {
    std::vector<maVector2d> points(kVertices);
    for (int i = 0; i < kVertices; ++i) {
        const float angle = 6.2831855f * static_cast<float>(i) / kVertices;
        points[static_cast<size_t>(i)] = maVector2d(std::cos(angle), std::sin(angle) * 0.5f);
    }
    return points;
}

// Times one call after `prepare`, which is left out of the measurement.
template <class Prepare> void TimeCalls(benchmark::State& state, Prepare prepare) {
    const std::vector<maVector2d> outline = Outline();
    coCrossSection section;
    std::vector<maVector2d> normals;
    section.SetVertices(outline.data(), kVertices);
    for (auto _ : state) {
        prepare(section, outline);
        const auto start = std::chrono::steady_clock::now();
        computeVertexNormals(section, normals);
        benchmark::DoNotOptimize(normals.data());
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}

void BM_FirstCall(benchmark::State& state) {
    // Setting the vertices again empties the cache.
    TimeCalls(state, [](coCrossSection& section, const std::vector<maVector2d>& outline) {
        section.SetVertices(outline.data(), kVertices);
    });
}
BENCHMARK(BM_FirstCall)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_CachedCall(benchmark::State& state) {
    TimeCalls(state, [](coCrossSection&, const std::vector<maVector2d>&) {});
}
BENCHMARK(BM_CachedCall)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& reporter) {
        const benchReport::Figures* first = reporter.Find("BM_FirstCall/manual_time");
        const benchReport::Figures* cached = reporter.Find("BM_CachedCall/manual_time");
        if (first && cached)
            std::printf(
                "computeVertexNormals on %d vertices: first call %.3f us, cached call %.3f us, cached/first "
                "ratio %.3f (target: at most 0.5)\n",
                kVertices, first->seconds * 1e6, cached->seconds * 1e6, cached->seconds / first->seconds);
    });
}
