// Our mixer with 32 looping voices of mixed formats, rates, pitches and pans, rendering one second
// of the primary format (22050 Hz mono, 16 bits) in the blocks an audio callback asks for. The
// figure is the mixing time as a share of the second it produces.
#include "Engine/Platform/Sound/plSoundMixer.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr u32 kVoices = 32;
constexpr u32 kOutputRate = 22050;
constexpr u32 kBlockFrames = 512;

std::shared_ptr<plSoundVoice> MakeVoice(u32 index) {
    auto voice = std::make_shared<plSoundVoice>();
    const u16 channels = index % 2 ? 2 : 1;
    const u16 bits = index % 3 ? 16 : 8;
    const u32 rate = index % 4 == 0 ? 44100 : index % 4 == 1 ? 22050 : 11025;
    const u16 align = static_cast<u16>(channels * bits / 8);
    voice->format = {1, channels, rate, rate * align, align, bits};
    voice->frameCount = rate * 2;
    voice->data = std::make_shared<std::vector<u8>>(static_cast<size_t>(voice->frameCount) * align);
    for (size_t i = 0; i < voice->data->size(); ++i)
        (*voice->data)[i] =
            static_cast<u8>(std::lround(127.0 * std::sin(0.01 * static_cast<f64>(i * (index + 1)))));
    voice->volume = -static_cast<i32>(index * 150);
    voice->pan = static_cast<i32>(index * 600) - 9000;
    voice->frequency = index % 5 == 0 ? 0 : rate + index * 97; // pitched a little, or the own rate
    voice->looping = voice->playing = true;
    voice->UpdateGains();
    return voice;
}

void MixThirtyTwoVoicesForOneSecond(benchmark::State& state) {
    plSoundMixer mixer;
    mixer.SetOutputFormat(kOutputRate, 1);
    for (u32 i = 0; i < kVoices; ++i)
        mixer.AddVoice(MakeVoice(i));
    std::vector<i16> block(kBlockFrames);
    f64 seconds = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (u32 done = 0; done < kOutputRate; done += kBlockFrames) {
            mixer.Mix(block.data(), std::min(kBlockFrames, kOutputRate - done));
            benchmark::DoNotOptimize(block.data());
        }
        seconds += std::chrono::duration<f64>(std::chrono::steady_clock::now() - start).count();
    }
    const f64 share = seconds / static_cast<f64>(state.iterations());
    state.counters["share_of_real_time"] = share;
    state.counters["percent_of_one_core"] = 100.0 * share;
}

} // namespace

BENCHMARK(MixThirtyTwoVoicesForOneSecond)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
