// Fragments on the OpenGL device (run under xvfb-run): making 1000 fragments of 1000 vertices, against a
// loss and reset of the device while the same 1000 are alive, which releases every buffer and makes it
// again from the system copies. Both make and fill the same buffers, so the reset/create ratio printed
// after the table should be near 1.
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "benchReport.h"

#include <cstdio>
#include <vector>

namespace {

constexpr i32 kWidth = 640;
constexpr i32 kHeight = 480;
constexpr u32 kFragments = 1000;
constexpr u32 kColumns = 40; // 40 x 25 = 1000 vertices

// A grid of 1000 vertices and its 1872 triangles.
struct Grid {
    std::vector<maVector3d> positions, normals;
    std::vector<u16> indices;
    Grid() {
        const u32 rows = 1000 / kColumns;
        for (u32 y = 0; y < rows; ++y)
            for (u32 x = 0; x < kColumns; ++x) {
                positions.emplace_back(static_cast<f32>(x), 0.0f, static_cast<f32>(y));
                normals.emplace_back(0.0f, 1.0f, 0.0f);
            }
        for (u32 y = 0; y + 1 < rows; ++y)
            for (u32 x = 0; x + 1 < kColumns; ++x) {
                const auto a = static_cast<u16>(y * kColumns + x);
                const auto b = static_cast<u16>(a + 1), c = static_cast<u16>(a + kColumns),
                           d = static_cast<u16>(c + 1);
                indices.insert(indices.end(), {a, c, b, b, c, d});
            }
    }
};

const Grid g_grid;

std::vector<g3dFragment*> MakeFragments() {
    std::vector<g3dFragment*> fragments;
    g3dMaterial* none = nullptr;
    for (u32 i = 0; i < kFragments; ++i)
        fragments.push_back(g3dFragmentManager::CreateFragmentPNT(
            g_grid.positions.data(), g_grid.normals.data(), static_cast<u32>(g_grid.positions.size()),
            g_grid.indices.data(), static_cast<u32>(g_grid.indices.size()), &none, nullptr, 1, false));
    return fragments;
}

void Destroy(const std::vector<g3dFragment*>& fragments) {
    for (g3dFragment* fragment : fragments)
        g3dFragmentManager::DestroyFragment(fragment);
}

void BM_CreateFragments(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<g3dFragment*> fragments = MakeFragments();
        state.PauseTiming();
        Destroy(fragments);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateFragments)->Unit(benchmark::kMillisecond);

void BM_LossAndReset(benchmark::State& state) {
    const std::vector<g3dFragment*> fragments = MakeFragments();
    for (auto _ : state) {
        g2dBroadcastDeviceLost();
        plD3dPresentParameters params;
        g2dScreenPAC::FillPresentParameters(true, kWidth, kHeight, params);
        if (plD3dFailed(g_pdevice->Reset(&params)))
            state.SkipWithError("the device refused the reset");
        g2dBroadcastDeviceReset();
    }
    Destroy(fragments);
}
BENCHMARK(BM_LossAndReset)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    plSystemServices services;
    plInstallServices(services.GetServices());
    int status = 1;
    if (plGetWindowHost().CreateWindow(0, 0, kWidth, kHeight, u"bench")) {
        g2dInitialize();
        g2dScreen::InitWindowed(kWidth, kHeight, 0, 0);
        g3dFragmentManager::Initialize();
        benchReport reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        const benchReport::Figures* create = reporter.Find("BM_CreateFragments");
        const benchReport::Figures* reset = reporter.Find("BM_LossAndReset");
        if (create && reset)
            std::printf("1000 fragments of 1000 vertices on OpenGL: create %.2f ms, loss and reset %.2f ms, "
                        "reset/create %.3f (about 1 expected)\n",
                        create->seconds * 1e3, reset->seconds * 1e3, reset->seconds / create->seconds);
        g2dScreen::Deinitialize();
        g2dShutdown();
        status = 0;
    } else {
        std::fprintf(stderr, "bench_fragments: no window (run under xvfb-run)\n");
    }
    plInstallServices({});
    benchmark::Shutdown();
    return status;
}
