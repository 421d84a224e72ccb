// Fragments on the OpenGL device (run under xvfb-run): making 1000 fragments of 1000 vertices, against a
// loss and reset of the device while the same 1000 are alive, which releases every buffer and makes it
// again from the system copies. Both make and fill the same buffers, so the reset/create ratio printed
// after the table should be near 1.
// Then frames drawn through the renderer's fragment drawing with its default states: (a) an 800x600
// frame of 1000 fragments of 40 triangles covering half the target twice, each with its world matrix,
// in 300 runs of 300 materials with their own 64x64 mip textures, as shares of 16.7 ms and against the
// same draws as direct OpenGL calls; (b) 1000 fragments sharing one material against 1000 equal but
// distinct materials.
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dResetHandler.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Graphics/G3d/private/g3dTexturePAC.h"
#include "Engine/Platform/Graphics/plD3dTexture.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "benchDirectGl.h"
#include "benchIterations.h"
#include "benchReport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr i32 kWidth = 800;
constexpr i32 kHeight = 600;
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

constexpr u32 kMaterials = 300;
constexpr f64 kFrameBudgetMs = 1000.0 / 60.0;

// The fragments, their materials (each with its texture) and the frame that draws them.
struct MaterialScene {
    explicit MaterialScene(u32 materialCount) {
        const Tile tile;
        for (u32 m = 0; m < materialCount; ++m) {
            textures.push_back(MakeMipTexture(TexelOf(m)));
            materials.push_back(std::make_unique<g3dMaterial>());
            materials.back()->AddTextureStage(textures.back().get(), 0);
        }
        worlds = TileWorlds();
        for (u32 i = 0; i < kFragments; ++i) {
            g3dMaterial* material = materials[i * materialCount / kFragments].get();
            fragments.push_back(g3dFragmentManager::CreateFragmentPNT2(
                tile.positions.data(), tile.normals.data(), tile.uvs.data(), 30, tile.indices.data(), 120,
                &material, nullptr, 1, false));
        }
    }
    ~MaterialScene() { Destroy(fragments); }

    void Draw() {
        g_pdevice->Clear(0, nullptr, plD3dClear::Target | plD3dClear::ZBuffer, 0xFF203040, 1.0f, 0);
        g_pdevice->BeginScene();
        g3dRendererPAC::SetTransformMode(2);
        const g3dMaterial* last = nullptr;
        bool forced = false;
        for (u32 i = 0; i < fragments.size(); ++i) {
            g3dRendererPAC::SetWorldMatrix(worlds[i]);
            g3dRendererPAC::DrawFragment(*fragments[i], last, forced);
        }
        g_pdevice->EndScene();
        g3dRendererPAC::ResetTextureStages();
        g_pdevice->Present();
        glFinish();
    }

    std::vector<std::unique_ptr<g3dMipTexture>> textures;
    std::vector<std::unique_ptr<g3dMaterial>> materials;
    std::vector<maMatrix4d> worlds;
    std::vector<g3dFragment*> fragments;
};

// The renderer's draws made directly: buffer objects, mip textures, a lit white material modulated by
// the texture, one world matrix a draw, into a frame buffer of the same size with depth.
class DirectScene {
  public:
    DirectScene() : m_target(kWidth, kHeight), m_tiles(kFragments), m_worlds(TileWorlds()) {
        for (u32 m = 0; m < kMaterials; ++m)
            m_textures.push_back(MakeDirectTexture(TexelOf(m)));
        plGlCountForeignUse();
    }
    ~DirectScene() {
        glDeleteTextures(static_cast<GLsizei>(m_textures.size()), m_textures.data());
        plGlCountForeignUse();
    }

    void Draw() {
        m_target.Begin();
        glEnable(GL_LIGHTING);
        const GLfloat white[4] = {1, 1, 1, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
        GLuint bound = 0;
        for (u32 i = 0; i < kFragments; ++i) {
            const GLuint texture = m_textures[i * kMaterials / kFragments];
            if (texture != bound) {
                glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
                glBindTexture(GL_TEXTURE_2D, texture);
                bound = texture;
            }
            glLoadMatrixf(m_worlds[i].m);
            m_tiles.Draw(i);
        }
        m_target.Present();
    }

  private:
    DirectTarget m_target;
    DirectTileBuffers m_tiles;
    std::vector<maMatrix4d> m_worlds;
    std::vector<GLuint> m_textures;
};

// Pixels to clip space, y down, the renderer's projection as stored.
void UsePixelProjection() {
    g3dRendererPAC::SetProjectionMatrix(
        maMatrix4d(2.0f / kWidth, 0, 0, 0, 0, -2.0f / kHeight, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1));
    g3dRendererPAC::SetViewMatrix(maMatrix4d());
}

void BM_MaterialFrame(benchmark::State& state) {
    UsePixelProjection();
    std::vector<f64> rendererMs, directMs;
    {
        MaterialScene scene(kMaterials);
        DirectScene direct;
        for (auto _ : state) {
            auto start = std::chrono::steady_clock::now();
            scene.Draw();
            rendererMs.push_back(benchMilliseconds(start));
            start = std::chrono::steady_clock::now();
            direct.Draw();
            directMs.push_back(benchMilliseconds(start));
        }
    }
    state.counters["median_over_16_7ms"] = benchQuantile(rendererMs, 0.5) / kFrameBudgetMs;
    state.counters["p90_over_16_7ms"] = benchQuantile(rendererMs, 0.9) / kFrameBudgetMs;
    state.counters["renderer_over_direct"] = benchQuantile(rendererMs, 0.5) / benchQuantile(directMs, 0.5);
}
BENCHMARK(BM_MaterialFrame)->Iterations(benchIterations(60))->Unit(benchmark::kMillisecond);

// 1000 fragments of one material, or of 1000 equal materials sharing one 64x64 texture.
void DrawMaterials(benchmark::State& state, bool shared) {
    UsePixelProjection();
    MaterialScene scene(1);
    std::vector<std::unique_ptr<g3dMaterial>> copies;
    if (!shared)
        for (g3dFragment* fragment : scene.fragments) {
            copies.push_back(std::make_unique<g3dMaterial>(*scene.materials[0]));
            fragment->SetMaterial(copies.back().get(), 0);
        }
    for (auto _ : state)
        scene.Draw();
}
void BM_SharedMaterial(benchmark::State& state) {
    DrawMaterials(state, true);
}
void BM_DistinctMaterials(benchmark::State& state) {
    DrawMaterials(state, false);
}
BENCHMARK(BM_SharedMaterial)->Iterations(benchIterations(60))->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DistinctMaterials)->Iterations(benchIterations(60))->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    plSystemServices services;
    plInstallServices(services.GetServices());
    int status = 1;
    if (plGetWindowHost().CreateWindow(0, 0, kWidth, kHeight, u"bench", false)) {
        g2dInitialize();
        g2dScreen::InitWindowed(kWidth, kHeight, 0, 0);
        g3dFragmentManager::Initialize();
        g3dRenderer::Initialize();
        g3dRenderer::InitStates();
        benchReport reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        const benchReport::Figures* create = reporter.Find("BM_CreateFragments");
        const benchReport::Figures* reset = reporter.Find("BM_LossAndReset");
        if (create && reset)
            std::printf("1000 fragments of 1000 vertices on OpenGL: create %.2f ms, loss and reset %.2f ms, "
                        "reset/create %.3f (about 1 expected)\n",
                        create->seconds * 1e3, reset->seconds * 1e3, reset->seconds / create->seconds);
        if (const benchReport::Figures* frame = reporter.Find("BM_MaterialFrame/iterations:60"))
            std::printf("(a) 800x600, 1000 fragments, 300 materials: median %.3f and p90 %.3f of 16.7 ms "
                        "(median below 1), renderer/direct %.3f (aim 1.2 at most)\n",
                        frame->counters.at("median_over_16_7ms"), frame->counters.at("p90_over_16_7ms"),
                        frame->counters.at("renderer_over_direct"));
        const benchReport::Figures* shared = reporter.Find("BM_SharedMaterial/iterations:60");
        const benchReport::Figures* distinct = reporter.Find("BM_DistinctMaterials/iterations:60");
        if (shared && distinct)
            std::printf("(b) 1000 fragments: one shared material / 1000 distinct equal ones %.3f (below 1)\n",
                        shared->seconds / distinct->seconds);
        g3dRenderer::Shutdown();
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
