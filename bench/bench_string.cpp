#include "Engine/Core/Env/envString.h"

#include <benchmark/benchmark.h>

// Appending unit by unit: growth must stay amortised constant.
static void BM_AppendChar(benchmark::State& state) {
    for (auto _ : state) {
        envString s;
        for (int i = 0; i < state.range(0); ++i)
            s.AppendChar(u'a');
        benchmark::DoNotOptimize(s.GetData());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_AppendChar)->Arg(64)->Arg(4096);

BENCHMARK_MAIN();
