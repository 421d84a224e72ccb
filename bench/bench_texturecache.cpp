// The world's texture cache on the test device: 1,000 first loads of distinct 256 x 256 PNGs against
// 1,000 hits on them, one run each. The hit/load time ratio is printed (target: at most 1/100).
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "Source/Scene/coTextureCache.h"
#include "Tools/Image/toolPngWriter.h"
#include "benchFakeScreen.h"
#include "benchReport.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kFiles = 1000;
constexpr int kSide = 256;

// The fake screen, and the PNGs in a temporary folder.
class Scene : public benchFakeScreen {
  public:
    Scene()
        : benchFakeScreen(640, 480), m_folder(std::filesystem::temp_directory_path() /
                                              ("bench-texturecache-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_folder);
        toolImage image{kSide, kSide, 3, std::vector<u8>(size_t(kSide) * kSide * 3)};
        for (size_t i = 0; i < image.pixels.size(); ++i)
            image.pixels[i] = static_cast<u8>(i * 7 / 3);
        for (int n = 0; n < kFiles; ++n) {
            // Distinct files: the first pixel carries the number.
            image.pixels[0] = static_cast<u8>(n);
            image.pixels[1] = static_cast<u8>(n >> 8);
            const std::filesystem::path path = m_folder / ("t" + std::to_string(n) + ".png");
            toolWritePng(path.string(), image);
            fsLocatorFromNativePath(path.c_str(), files.emplace_back());
        }
    }
    ~Scene() { std::filesystem::remove_all(m_folder); }

    std::vector<fsLocator> files;

  private:
    std::filesystem::path m_folder;
};

Scene* g_scene = nullptr;

void ReleaseAll(const std::vector<g3dTexture*>& textures) {
    for (g3dTexture* texture : textures)
        coReleaseTexture(texture);
}

void BM_FirstLoads(benchmark::State& state) {
    std::vector<g3dTexture*> loaded;
    for (auto _ : state) {
        for (const fsLocator& file : g_scene->files)
            loaded.push_back(coAcquireTexture(file));
        state.PauseTiming();
        ReleaseAll(loaded);
        loaded.clear();
        g_scene->ClearLog();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstLoads)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_Hits(benchmark::State& state) {
    std::vector<g3dTexture*> held, hits;
    for (const fsLocator& file : g_scene->files)
        held.push_back(coAcquireTexture(file));
    for (auto _ : state) {
        for (const fsLocator& file : g_scene->files)
            hits.push_back(coAcquireTexture(file));
        state.PauseTiming();
        ReleaseAll(hits);
        hits.clear();
        state.ResumeTiming();
    }
    ReleaseAll(held);
    g_scene->ClearLog();
}
BENCHMARK(BM_Hits)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    Scene scene;
    g_scene = &scene;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* loads = report.Find("BM_FirstLoads/iterations:1");
        const benchReport::Figures* hits = report.Find("BM_Hits/iterations:1");
        if (loads && hits && loads->seconds > 0.0)
            std::printf("1,000 hits %.3f ms / 1,000 first loads %.3f ms = 1/%.0f (target: at most 1/100)\n",
                        hits->seconds * 1e3, loads->seconds * 1e3, loads->seconds / hits->seconds);
    });
}
