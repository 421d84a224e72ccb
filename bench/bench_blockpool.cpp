#include "Engine/Graphics/Sc/scBlockPool.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>

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

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& reporter) {
        const benchReport::Figures* pool = reporter.Find("BM_PoolPairs");
        const benchReport::Figures* heap = reporter.Find("BM_HeapPairs");
        if (pool && heap)
            std::printf("10^6 pairs of 64 bytes: pool %.3f ms, new/delete %.3f ms, pool/new ratio %.3f (must "
                        "stay below 1)\n",
                        pool->seconds * 1e3, heap->seconds * 1e3, pool->seconds / heap->seconds);
    });
}
