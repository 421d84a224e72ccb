#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/Sc/scParticleGenerators.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>

// One update of a cone generator holding N living particles and emitting none: the walk that ages,
// moves, turns, fades and grows each one. Ten times the particles should cost ten times the time.
namespace {

void BM_ConeUpdate(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    maRandomSeed(1);
    scConeParticleGenerator cone(0.0f, 2);
    cone.SetDuration(1e7f);
    cone.SetParameter(0, 1e6f); // lives long enough never to die here
    cone.SetParameter(1, 1e6f);
    cone.SetParameter(3, 0.0f); // no limit on the living count
    cone.SetParameter(2, static_cast<float>(count + 1));
    cone.Update(0.0f);
    cone.Update(1.0f);
    cone.SetParameter(2, 0.0f);
    float time = 1.0f;
    for (auto _ : state) {
        time += 1.0f / 60.0f;
        cone.Update(time);
        benchmark::DoNotOptimize(cone.GetParticles());
    }
    if (cone.GetParticleCount() != static_cast<u32>(count))
        state.SkipWithError("the generator does not hold the particles asked for");
}
BENCHMARK(BM_ConeUpdate)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    g3dRenderer::Initialize();
    return benchRunAndPrint(argc, argv, [](const benchReport& reporter) {
        const benchReport::Figures* small = reporter.Find("BM_ConeUpdate/1000");
        const benchReport::Figures* large = reporter.Find("BM_ConeUpdate/10000");
        if (small && large)
            std::printf(
                "cone generator update, 10 000 particles / 1 000: %.2f (expected about 10: one pass over "
                "the particles)\n",
                large->cpuSeconds / small->cpuSeconds);
    });
}
