// The OpenGL 3D device against the same OpenGL calls made directly, timed to glFinish.
// (a) 10 000 two-triangle screen-space draws into a 64x64 back buffer.
// (b) An 800x600 frame: clear, 1000 indexed draws of 40 triangles, each with its own world matrix, depth on,
//     covering half the target twice, then present. Frame times are given as shares of 16.7 ms.
#include "Engine/Platform/Gl/plGlD3d.h"
#include "Engine/Platform/Graphics/plD3dDevice.h"
#include "Engine/Platform/Sdl/plSdlWindowHost.h"

#include "benchDirectGl.h"
#include "benchIterations.h"
#include "benchReport.h"
#include "tests/Engine/Platform/Graphics/plD3dWindowed.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr u32 kWidth = 800;
constexpr u32 kHeight = 600;
constexpr f64 kFrameBudgetMs = 1000.0 / 60.0;

struct ScreenVertex {
    f32 x, y, z, rhw;
    u32 color;
};

struct WorldVertex {
    f32 x, y, z;
    u32 color;
};

// The window, the factory and a windowed device with a depth buffer.
class Bench {
  public:
    Bench(u32 width, u32 height) {
        m_window.CreateWindow(0, 0, kWidth, kHeight, u"bench", false);
        m_d3d = m_factory.Create();
        plD3dPresentParameters params = Windowed(width, height);
        if (m_d3d)
            m_d3d->CreateDevice(0, plD3dDevType::Hal, plD3dCreate::HardwareVertexProcessing, &params,
                                &device);
    }
    ~Bench() {
        if (device)
            device->Release();
        if (m_d3d)
            m_d3d->Release();
    }

    plD3dDevice* device = nullptr;

  private:
    plSdlWindowHost m_window;
    plGlD3d m_factory{m_window};
    plD3d* m_d3d = nullptr;
};

void ScreenQuadsThroughTheLayerAndDirect(benchmark::State& state) {
    constexpr u32 kSize = 64;
    constexpr u32 kDraws = 10'000;
    Bench bench(kSize, kSize);
    if (!bench.device) {
        state.SkipWithError("no OpenGL device (run under xvfb-run)");
        return;
    }
    // Two triangles each, clockwise on the screen, spread over the target.
    std::vector<ScreenVertex> quads;
    for (u32 i = 0; i < kDraws; ++i) {
        const auto x = static_cast<f32>(i % 56);
        const auto y = static_cast<f32>((i / 56) % 56);
        const u32 color = 0xFF000000u | (i * 2654435761u >> 8);
        const ScreenVertex a{x, y, 0.5f, 1, color}, b{x + 8, y, 0.5f, 1, color}, c{x, y + 8, 0.5f, 1, color},
            d{x + 8, y + 8, 0.5f, 1, color};
        quads.insert(quads.end(), {a, b, c, b, d, c});
    }
    // The direct calls get their clip positions made beforehand.
    std::vector<f32> clip;
    for (const ScreenVertex& v : quads)
        clip.insert(clip.end(), {(v.x + 0.5f) * 2.0f / kSize - 1.0f, (v.y + 0.5f) * 2.0f / kSize - 1.0f,
                                 v.z * 2.0f - 1.0f, 1.0f});
    DirectTarget direct(kSize, kSize);
    plD3dDevice& device = *bench.device;
    device.SetRenderState(plD3dRs::ZEnable, 0);
    device.SetVertexShader(plD3dFvf::XyzRhw | plD3dFvf::Diffuse);

    std::vector<f64> layerMs;
    std::vector<f64> directMs;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        device.BeginScene();
        for (u32 i = 0; i < kDraws; ++i)
            device.DrawPrimitiveUP(plD3dPt::TriangleList, 2, &quads[i * 6], sizeof(ScreenVertex));
        device.EndScene();
        glFinish();
        layerMs.push_back(benchMilliseconds(start));

        start = std::chrono::steady_clock::now();
        direct.Bind();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glEnableClientState(GL_VERTEX_ARRAY);
        for (u32 i = 0; i < kDraws; ++i) {
            glVertexPointer(4, GL_FLOAT, 0, &clip[i * 24]);
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, sizeof(ScreenVertex), &quads[i * 6].color);
            glDrawArrays(GL_TRIANGLES, 0, 6);
        }
        glFinish();
        directMs.push_back(benchMilliseconds(start));
    }
    state.counters["a_layer_ms"] = benchQuantile(layerMs, 0.5);
    state.counters["a_direct_ms"] = benchQuantile(directMs, 0.5);
    state.counters["a_layer_over_direct"] = benchQuantile(layerMs, 0.5) / benchQuantile(directMs, 0.5);
}

void WorldFrameThroughTheLayerAndDirect(benchmark::State& state) {
    Bench bench(kWidth, kHeight);
    if (!bench.device) {
        state.SkipWithError("no OpenGL device (run under xvfb-run)");
        return;
    }
    // One tile: a 5x4 grid of quads on the unit square, 40 triangles, clockwise on the screen.
    std::vector<WorldVertex> tile;
    for (u32 y = 0; y <= 4; ++y)
        for (u32 x = 0; x <= 5; ++x)
            tile.push_back({static_cast<f32>(x) / 5.0f, static_cast<f32>(y) / 4.0f, 0.0f,
                            0xFF000000u | (x * 40u << 16) | (y * 60u << 8) | 0x80u});
    std::vector<u16> indices;
    for (u16 y = 0; y < 4; ++y)
        for (u16 x = 0; x < 5; ++x) {
            const auto i = static_cast<u16>(y * 6 + x);
            indices.insert(indices.end(),
                           {i, static_cast<u16>(i + 1), static_cast<u16>(i + 6), static_cast<u16>(i + 1),
                            static_cast<u16>(i + 7), static_cast<u16>(i + 6)});
        }
    // Tiles of 20x24 pixels over the left half, two layers deep (the far one drawn first): 1000 draws.
    std::vector<maMatrix4d> worlds;
    for (const f32 depth : {0.6f, 0.3f})
        for (u32 row = 0; row < 25; ++row)
            for (u32 column = 0; column < 20; ++column) {
                maMatrix4d world;
                world.SetScale(20.0f, 24.0f, 1.0f);
                world.Translate(static_cast<f32>(column) * 20.0f, static_cast<f32>(row) * 24.0f, depth);
                worlds.push_back(world);
            }
    // Pixels to clip space, y down.
    const maMatrix4d projection(2.0f / kWidth, 0, 0, 0, 0, -2.0f / kHeight, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1);
    plD3dDevice& device = *bench.device;
    device.SetTransform(plD3dTs::Projection, &projection);
    device.SetVertexShader(plD3dFvf::Xyz | plD3dFvf::Diffuse);
    DirectTarget direct(kWidth, kHeight);
    const maMatrix4d adjust(1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 2, 0, 1.0f / kWidth, 1.0f / kHeight, -1, 1);
    const maMatrix4d directProjection = projection * adjust;

    std::vector<f64> layerMs;
    std::vector<f64> directMs;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        device.Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF203040, 1.0f, 0);
        device.BeginScene();
        for (const maMatrix4d& world : worlds) {
            device.SetTransform(plD3dTs::World, &world);
            device.DrawIndexedPrimitiveUP(plD3dPt::TriangleList, 0, static_cast<u32>(tile.size()), 40,
                                          indices.data(), plD3dFormat::Index16, tile.data(),
                                          sizeof(WorldVertex));
        }
        device.EndScene();
        device.Present();
        glFinish();
        layerMs.push_back(benchMilliseconds(start));

        start = std::chrono::steady_clock::now();
        direct.Bind();
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, kWidth, kHeight);
        glDepthMask(GL_TRUE);
        glClearColor(0.125f, 0.1875f, 0.25f, 1.0f);
        glClearDepth(1.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_SCISSOR_TEST);
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GL_LEQUAL);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glMatrixMode(GL_PROJECTION);
        glLoadMatrixf(directProjection.m);
        glMatrixMode(GL_MODELVIEW);
        glEnableClientState(GL_VERTEX_ARRAY);
        for (const maMatrix4d& world : worlds) {
            glLoadMatrixf(world.m);
            glVertexPointer(3, GL_FLOAT, sizeof(WorldVertex), tile.data());
            glEnableClientState(GL_COLOR_ARRAY);
            glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, sizeof(WorldVertex), &tile[0].color);
            glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices.size()), GL_UNSIGNED_SHORT,
                           indices.data());
        }
        direct.Present();
        glFinish();
        directMs.push_back(benchMilliseconds(start));
    }
    state.counters["b_median_over_16_7ms"] = benchQuantile(layerMs, 0.5) / kFrameBudgetMs;
    state.counters["b_p90_over_16_7ms"] = benchQuantile(layerMs, 0.9) / kFrameBudgetMs;
    state.counters["b_direct_median_over_16_7ms"] = benchQuantile(directMs, 0.5) / kFrameBudgetMs;
    state.counters["b_layer_over_direct"] = benchQuantile(layerMs, 0.5) / benchQuantile(directMs, 0.5);
}

} // namespace

BENCHMARK(ScreenQuadsThroughTheLayerAndDirect)
    ->Iterations(benchIterations(30))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(WorldFrameThroughTheLayerAndDirect)
    ->Iterations(benchIterations(100))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
