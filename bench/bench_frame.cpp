// The renderer's frame on the OpenGL device (run under xvfb-run).
// (a) RenderFrame with the game's five render lists at 800x600, present included: 1000 dynamic models of
//     40 triangles covering half the target twice, over 300 materials with their own 64x64 mip textures
//     (a fifth of them transparent), three lights, linear fog and 200 sprites in four groups; frame
//     times as shares of 16.7 ms and against the same draws made as direct OpenGL calls.
// (b) Sorting a render list of 10 000 sort items against one of 1 000, while the eye turns: a merge
//     sort should take about 10 x log2(10 000) / log2(1 000) = 13.3 times as long.
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G2d/g2dScreen.h"
#include "Engine/Graphics/G2d/private/g2dScreenPAC.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"
#include "Engine/Graphics/G3d/private/g3dRendererPAC.h"
#include "Engine/Platform/System/plSystemServices.h"
#include "benchDirectGl.h"
#include "benchIterations.h"
#include "benchReport.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr i32 kWidth = 800;
constexpr i32 kHeight = 600;
constexpr u32 kModels = 1000;
constexpr u32 kMaterials = 300;
constexpr u32 kGroups = 4;
constexpr u32 kSpritesPerGroup = 50;
constexpr f32 kSpriteSize = 8.0f;
constexpr f32 kSpriteAlpha = 0.5f;
constexpr f64 kFrameBudgetMs = 1000.0 / 60.0;

const std::vector<g3dRenderListConfig> kGameLists = {
    {0, 2, 0, true}, {0, 2, 0, true}, {0, 2, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};

// Every fifth material is half transparent.
bool IsTransparent(u32 m) {
    return m % 5 == 0;
}

// Sprite i of group g: rows over the right half, in front of the tiles.
maVector3d SpriteAt(u32 g, u32 i) {
    return {450.0f + 6.0f * static_cast<f32>(i), 60.0f + 130.0f * static_cast<f32>(g), 0.2f};
}

// Pixels to clip space, y down, the renderer's projection as stored; the eye at the origin.
void UsePixelCamera() {
    g3dRendererPAC::SetProjectionMatrix(
        maMatrix4d(2.0f / kWidth, 0, 0, 0, 0, -2.0f / kHeight, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1));
    g3dRendererPAC::SetViewMatrix(maMatrix4d());
}

// The models, sprites, lights and fog in the renderer's lists, and the frame that draws them.
class RendererFrame {
  public:
    RendererFrame() {
        const Tile tile;
        for (u32 m = 0; m < kMaterials; ++m) {
            m_textures.push_back(MakeMipTexture(TexelOf(m)));
            m_materials.push_back(std::make_unique<g3dMaterial>());
            m_materials.back()->AddTextureStage(m_textures.back().get(), 0);
            if (IsTransparent(m))
                m_materials.back()->SetDiffuse({1, 1, 1, 0.5f});
        }
        const std::vector<maMatrix4d> worlds = TileWorlds();
        for (u32 i = 0; i < kModels; ++i) {
            g3dMaterial* material = m_materials[i * kMaterials / kModels].get();
            m_fragments.push_back(g3dFragmentManager::CreateFragmentPNT2(
                tile.positions.data(), tile.normals.data(), tile.uvs.data(), 30, tile.indices.data(), 120,
                &material, nullptr, 1, false));
            g3dHFragment node(m_fragments.back());
            node.GetLocalMatrix() = worlds[i];
            m_models.push_back(g3dRenderer::AddNode(node, 0));
        }
        m_spriteTexture = MakeMipTexture(0xFFFFE0A0);
        m_sprites.resize(kGroups * kSpritesPerGroup);
        for (u32 g = 0; g < kGroups; ++g) {
            g3dSpriteGroupModel* group = g3dRenderer::AddSpriteGroup(2);
            group->GetMaterial().AddTextureStage(m_spriteTexture.get(), 0);
            group->SetPosition(SpriteAt(g, 0));
            for (u32 i = 0; i < kSpritesPerGroup; ++i) {
                g3dSprite& sprite = m_sprites[g * kSpritesPerGroup + i];
                sprite.position = SpriteAt(g, i);
                sprite.size = kSpriteSize;
                sprite.alpha = kSpriteAlpha;
                sprite.next = i + 1 < kSpritesPerGroup ? &sprite + 1 : nullptr;
            }
            group->SetFirstSprite(&m_sprites[g * kSpritesPerGroup]);
            m_models.push_back(group);
        }
        for (g3dModel* model : m_models)
            model->SetVisible(true);
        for (const maVector3d direction : {maVector3d(-1, 1, 1), maVector3d(1, 0.5f, 1)}) {
            g3dDirectionalLight* light = g3dLightManager::CreateDirectionalLight();
            light->SetDirection(direction);
            light->SetEnabled();
            m_lights.push_back(light);
        }
        g3dPointLight* lamp = g3dLightManager::CreatePointLight();
        lamp->SetPosition({200, 300, -50});
        lamp->SetEnabled();
        m_lights.push_back(lamp);
        g3dRenderer::SetFogColor({0.5f, 0.6f, 0.7f, 1.0f});
        g3dRenderer::SetFogStart(0);
        g3dRenderer::SetFogEnd(2);
        g3dRenderer::SetFogMode(3);
    }
    ~RendererFrame() {
        g3dRenderer::SetFogMode(0);
        for (g3dLight* light : m_lights)
            g3dLightManager::RemoveLight(light);
        for (g3dModel* model : m_models)
            g3dRenderer::RemoveModel(model);
        for (g3dFragment* fragment : m_fragments)
            g3dFragmentManager::DestroyFragment(fragment);
    }

    void Draw(f32 time) {
        g_pdevice->Clear(0, nullptr, plD3dClear::Target, 0xFF203040, 1.0f, 0);
        g3dRenderer::RenderFrame(time);
        g_pdevice->Present();
        glFinish();
    }

  private:
    std::vector<std::unique_ptr<g3dMipTexture>> m_textures;
    std::unique_ptr<g3dMipTexture> m_spriteTexture;
    std::vector<std::unique_ptr<g3dMaterial>> m_materials;
    std::vector<g3dFragment*> m_fragments;
    std::vector<g3dModel*> m_models;
    std::vector<g3dSprite> m_sprites;
    std::vector<g3dLight*> m_lights;
};

// The same frame made directly: opaque tiles by material, then the transparent ones far to near with
// blending and without depth writes, then each sprite written into a small streamed buffer and drawn as
// one fan, all lit by three lights with linear fog, into a frame buffer of the same size with depth.
class DirectFrame {
  public:
    DirectFrame() : m_target(kWidth, kHeight), m_tiles(kModels), m_worlds(TileWorlds()) {
        glGenBuffers(1, &m_spriteBuffer);
        glBindBuffer(GL_ARRAY_BUFFER, m_spriteBuffer);
        glBufferData(GL_ARRAY_BUFFER, 3200, nullptr, GL_DYNAMIC_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        for (u32 m = 0; m <= kMaterials; ++m)
            m_textures.push_back(MakeDirectTexture(m < kMaterials ? TexelOf(m) : 0xFFFFE0A0));
        // Far to near: the deeper layer comes first in the worlds already.
        for (u32 i = 0; i < kModels; ++i)
            (IsTransparent(i * kMaterials / kModels) ? m_transparent : m_opaque).push_back(i);
        plGlCountForeignUse();
    }
    ~DirectFrame() {
        glDeleteTextures(static_cast<GLsizei>(m_textures.size()), m_textures.data());
        glDeleteBuffers(1, &m_spriteBuffer);
        plGlCountForeignUse();
    }

    void Draw() {
        m_target.Begin();
        SetLights();
        SetFog();
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        glDisable(GL_BLEND);
        DrawTiles(m_opaque);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glDepthMask(GL_FALSE);
        DrawTiles(m_transparent);
        DrawSprites();
        glDepthMask(GL_TRUE);
        m_target.Present();
    }

  private:
    static void SetLights() {
        const GLfloat white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
        const GLfloat positions[3][4] = {{1, -1, -1, 0}, {-1, -0.5f, -1, 0}, {200, 300, -50, 1}};
        glEnable(GL_LIGHTING);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
        for (GLenum i = 0; i < 3; ++i) {
            glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, white);
            glLightfv(GL_LIGHT0 + i, GL_SPECULAR, white);
            glLightfv(GL_LIGHT0 + i, GL_AMBIENT, black);
            glLightfv(GL_LIGHT0 + i, GL_POSITION, positions[i]);
            glEnable(GL_LIGHT0 + i);
        }
    }

    static void SetFog() {
        const GLfloat colour[4] = {0.5f, 0.6f, 0.7f, 1.0f};
        glEnable(GL_FOG);
        glFogi(GL_FOG_MODE, GL_LINEAR);
        glFogf(GL_FOG_START, 0.0f);
        glFogf(GL_FOG_END, 2.0f);
        glFogfv(GL_FOG_COLOR, colour);
    }

    void DrawTiles(const std::vector<u32>& tiles) {
        GLuint bound = 0;
        for (u32 i : tiles) {
            const u32 m = i * kMaterials / kModels;
            if (m_textures[m] != bound) {
                const GLfloat diffuse[4] = {1, 1, 1, IsTransparent(m) ? 0.5f : 1.0f};
                glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, diffuse);
                glBindTexture(GL_TEXTURE_2D, m_textures[m]);
                bound = m_textures[m];
            }
            glLoadMatrixf(m_worlds[i].m);
            m_tiles.Draw(i);
        }
    }

    void DrawSprites() {
        glLoadIdentity();
        glBindTexture(GL_TEXTURE_2D, m_textures.back());
        glBindBuffer(GL_ARRAY_BUFFER, m_spriteBuffer);
        glVertexPointer(3, GL_FLOAT, 32, nullptr);
        glNormalPointer(GL_FLOAT, 32, reinterpret_cast<const void*>(12));
        glTexCoordPointer(2, GL_FLOAT, 32, reinterpret_cast<const void*>(24));
        const GLfloat diffuse[4] = {1, 1, 1, kSpriteAlpha};
        for (u32 g = 0; g < kGroups; ++g)
            for (u32 i = 0; i < kSpritesPerGroup; ++i) {
                if (m_write >= 100) {
                    glBufferData(GL_ARRAY_BUFFER, 3200, nullptr, GL_DYNAMIC_DRAW);
                    m_write = 0;
                }
                const maVector3d s = SpriteAt(g, i);
                const f32 k = kSpriteSize;
                const f32 square[32] = {
                    s.x + k, s.y + k, s.z, 0, 0, -1, 0, 0, s.x + k, s.y - k, s.z, 0, 0, -1, 0, 1,
                    s.x - k, s.y - k, s.z, 0, 0, -1, 1, 1, s.x - k, s.y + k, s.z, 0, 0, -1, 1, 0};
                glBufferSubData(GL_ARRAY_BUFFER, m_write * 32, sizeof square, square);
                glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, diffuse);
                glDrawArrays(GL_TRIANGLE_FAN, static_cast<GLint>(m_write), 4);
                m_write += 4;
            }
    }

    DirectTarget m_target;
    DirectTileBuffers m_tiles;
    std::vector<maMatrix4d> m_worlds;
    std::vector<GLuint> m_textures;
    std::vector<u32> m_opaque, m_transparent;
    GLuint m_spriteBuffer = 0;
    u32 m_write = 0;
};

void BM_Frame(benchmark::State& state) {
    UsePixelCamera();
    std::vector<f64> rendererMs, directMs;
    {
        RendererFrame frame;
        DirectFrame direct;
        f32 time = 0.0f;
        for (auto _ : state) {
            auto start = std::chrono::steady_clock::now();
            frame.Draw(time);
            rendererMs.push_back(benchMilliseconds(start));
            start = std::chrono::steady_clock::now();
            direct.Draw();
            directMs.push_back(benchMilliseconds(start));
            time += 1.0f / 60.0f;
        }
    }
    state.counters["median_over_16_7ms"] = benchQuantile(rendererMs, 0.5) / kFrameBudgetMs;
    state.counters["p90_over_16_7ms"] = benchQuantile(rendererMs, 0.9) / kFrameBudgetMs;
    state.counters["renderer_over_direct"] = benchQuantile(rendererMs, 0.5) / benchQuantile(directMs, 0.5);
}
BENCHMARK(BM_Frame)->Iterations(benchIterations(60))->Unit(benchmark::kMillisecond);

// A list of n sort items at random places: nine in ten dynamic models over 300 shared fragments of
// their own materials (a fifth transparent), one in ten sprite groups. The eye turns a little before
// each sort, so the far-to-near order changes.
void BM_SortRenderList(benchmark::State& state) {
    const u32 n = static_cast<u32>(state.range(0));
    const Tile tile;
    std::vector<std::unique_ptr<g3dMaterial>> materials;
    std::vector<g3dFragment*> fragments;
    for (u32 m = 0; m < kMaterials; ++m) {
        materials.push_back(std::make_unique<g3dMaterial>());
        if (IsTransparent(m))
            materials.back()->SetDiffuse({1, 1, 1, 0.5f});
        g3dMaterial* material = materials.back().get();
        fragments.push_back(g3dFragmentManager::CreateFragmentPNT2(tile.positions.data(), tile.normals.data(),
                                                                   tile.uvs.data(), 30, tile.indices.data(),
                                                                   120, &material, nullptr, 1, false));
    }
    std::mt19937 random(7);
    std::uniform_real_distribution<f32> place(-500.0f, 500.0f);
    g3dRenderListEntry entry;
    for (u32 i = 0; i < n; ++i) {
        const maVector3d at(place(random), place(random), place(random));
        g3dSortItem item;
        if (i % 10 == 9) {
            auto group = std::make_unique<g3dSpriteGroupModel>();
            group->SetPosition(at);
            item.spriteGroup = group.get();
            item.model = std::move(group);
        } else {
            auto model = std::make_unique<g3dDynamicModel>();
            auto root = std::make_unique<g3dHFragment>(fragments[random() % kMaterials]);
            root->GetLocalMatrix().SetTranslation(at.x, at.y, at.z);
            model->SetNode(std::move(root));
            item.dynamicModel = model.get();
            item.model = std::move(model);
        }
        entry.sortItems.push_back(std::move(item));
    }
    f32 angle = 0.0f;
    for (auto _ : state) {
        angle += 0.01f;
        g3dSortRenderList(entry, {0, 0, 0}, {std::sin(angle), 0.0f, std::cos(angle)});
    }
    for (g3dFragment* fragment : fragments)
        g3dFragmentManager::DestroyFragment(fragment);
}
BENCHMARK(BM_SortRenderList)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

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
        g3dRenderer::Initialize(kGameLists);
        g3dLightManager::Initialize();
        g3dRenderer::InitStates();
        benchReport reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        if (const benchReport::Figures* frame = reporter.Find("BM_Frame/iterations:60"))
            std::printf(
                "(a) 800x600, five lists, 1000 models, 300 materials, 3 lights, fog, 200 sprites: median "
                "%.3f and p90 %.3f of 16.7 ms (median below 1), renderer/direct %.3f (aim 1.25 at most)\n",
                frame->counters.at("median_over_16_7ms"), frame->counters.at("p90_over_16_7ms"),
                frame->counters.at("renderer_over_direct"));
        const benchReport::Figures* small = reporter.Find("BM_SortRenderList/1000");
        const benchReport::Figures* large = reporter.Find("BM_SortRenderList/10000");
        if (small && large)
            std::printf("(b) sorting 10 000 sort items / 1 000: %.2f (13.3 for a merge sort)\n",
                        large->cpuSeconds / small->cpuSeconds);
        g3dLightManager::Shutdown();
        g3dRenderer::Shutdown();
        g2dScreen::Deinitialize();
        g2dShutdown();
        status = 0;
    } else {
        std::fprintf(stderr, "bench_frame: no window (run under xvfb-run)\n");
    }
    plInstallServices({});
    benchmark::Shutdown();
    return status;
}
