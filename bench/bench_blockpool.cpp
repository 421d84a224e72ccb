#include "Engine/Graphics/Sc/scBlockPool.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Particle churn: 256 records live, and each of 10^6 steps releases the oldest and takes a new one.
// The same steps with new and delete of a 64-byte record give the heap's time for comparison.
namespace {

constexpr int kPairs = 1000000;
constexpr int kLive = 256;

struct Record {
    std::byte bytes[64];
};

template <class Take, class Give> void Churn(Take take, Give give) {
    std::array<void*, kLive> live;
    for (void*& p : live)
        p = take();
    for (int i = 0; i < kPairs; ++i) {
        void*& slot = live[i % kLive];
        give(slot);
        slot = take();
        benchmark::DoNotOptimize(slot);
    }
    for (void* p : live)
        give(p);
}

void BM_PoolPairs(benchmark::State& state) {
    scBlockPool pool;
    pool.Init(sizeof(Record), 256);
    for (auto _ : state)
        Churn([&] { return pool.Alloc(); }, [&](void* p) { pool.Release(p); });
}
BENCHMARK(BM_PoolPairs)->Unit(benchmark::kMillisecond);

void BM_HeapPairs(benchmark::State& state) {
    for (auto _ : state)
        Churn([] { return static_cast<void*>(new Record); }, [](void* p) { delete static_cast<Record*>(p); });
}
BENCHMARK(BM_HeapPairs)->Unit(benchmark::kMillisecond);

// Prints the runs as usual and keeps every repetition's time, so the ratio uses the median.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                times[run.run_name.function_name].push_back(run.GetAdjustedRealTime());
        ConsoleReporter::ReportRuns(runs);
    }
    double Median(const std::string& name) {
        std::vector<double>& t = times[name];
        if (t.empty())
            return 0.0;
        std::sort(t.begin(), t.end());
        const std::size_t n = t.size();
        return n % 2 ? t[n / 2] : (t[n / 2 - 1] + t[n / 2]) / 2.0;
    }
    std::map<std::string, std::vector<double>> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double pool = reporter.Median("BM_PoolPairs");
    const double heap = reporter.Median("BM_HeapPairs");
    if (pool > 0.0 && heap > 0.0)
        std::printf("10^6 pairs of 64 bytes: pool %.3f ms, new/delete %.3f ms, pool/new ratio %.3f (must "
                    "stay below 1)\n",
                    pool, heap, pool / heap);
    benchmark::Shutdown();
    return 0;
}
