#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Graphics/plD3dSurface.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coScreenCapture.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>

#include <cstdio>

// The bitmap writer on one 1600 x 1200 X8R8G8B8 surface at full size and reduced by 5 (the thumbnail of
// that screen). Both read every pixel once, so the reduction should cost little more than the copy.
namespace {

constexpr u32 kWidth = 1600;
constexpr u32 kHeight = 1200;

// The test device with one image surface of noise-like pixels.
struct Screen {
    plFakeD3d factory;
    plD3d* d3d = nullptr;
    plD3dDevice* device = nullptr;
    plD3dSurface* surface = nullptr;

    Screen() {
        plInstallServices({.d3d = &factory});
        d3d = plDirect3DCreate();
        plD3dPresentParameters params;
        params.backBufferWidth = kWidth;
        params.backBufferHeight = kHeight;
        params.windowed = true;
        params.swapEffect = plD3dSwapEffect::Discard;
        d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params, &device);
        device->CreateImageSurface(kWidth, kHeight, plD3dFormat::X8R8G8B8, &surface);
        for (u32 y = 0; y < kHeight; ++y)
            for (u32 x = 0; x < kWidth * 4; ++x)
                surface->Pixels()[y * surface->Pitch() + x] = static_cast<u8>(x * 7 + y * 13);
    }
    ~Screen() {
        surface->Release();
        device->Release();
        d3d->Release();
        plInstallServices({});
    }
};

void Write(benchmark::State& state, int factor) {
    Screen screen;
    u64 sum = 0;
    const coBmpTarget target = [&](const u8* bytes, u32 count) { sum += bytes[count / 2]; };
    for (auto _ : state) {
        coWriteBmpPixels(target, *screen.surface, factor, nullptr);
        benchmark::DoNotOptimize(sum);
    }
}

void BM_FullSize(benchmark::State& state) {
    Write(state, 1);
}
BENCHMARK(BM_FullSize)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Factor5(benchmark::State& state) {
    Write(state, 5);
}
BENCHMARK(BM_Factor5)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    return benchRunAndPrint(argc, argv, [&](const benchReport& reporter) {
        const benchReport::Figures* full = reporter.Find("BM_FullSize/iterations:1");
        const benchReport::Figures* reduced = reporter.Find("BM_Factor5/iterations:1");
        if (full && reduced)
            std::printf(
                "1600 x 1200 bitmap pixels: full size %.3f ms, factor 5 %.3f ms, ratio %.3f (target: at most "
                "1.5)\n",
                full->seconds * 1e3, reduced->seconds * 1e3, reduced->seconds / full->seconds);
    });
}
