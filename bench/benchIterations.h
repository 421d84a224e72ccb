#pragma once
#include <benchmark/benchmark.h>

#include <cstdlib>

// A benchmark's fixed iteration count, cut to one when LOOPVANE_BENCH_SMOKE is set: the test build runs
// every bench once to see that it still builds and starts, not to time it.
inline benchmark::IterationCount benchIterations(benchmark::IterationCount count) {
    return std::getenv("LOOPVANE_BENCH_SMOKE") ? 1 : count;
}
