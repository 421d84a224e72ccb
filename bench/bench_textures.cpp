// Loading one 512 x 512 PNG as a mip texture and as a plain texture, through the texture manager on the
// test device (decoding, resampling, level building and copies; no driver upload). The mip/plain time
// ratio is printed beside the ratio of their texels, 4/3 (1 + 1/4 + 1/16 + ...).
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/G3d/g3dTextureManager.h"
#include "benchFakeScreen.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr u32 kSide = 512;

std::string Be32(u32 value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

u32 Crc32(const std::string& bytes) {
    u32 crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

std::string Chunk(const std::string& type, const std::string& data) {
    return Be32(static_cast<u32>(data.size())) + type + data + Be32(Crc32(type + data));
}

// An RGB PNG of a colour pattern, its image data in stored (uncompressed) deflate blocks.
std::string Png() {
    std::string raw;
    for (u32 y = 0; y < kSide; ++y) {
        raw += '\0';
        for (u32 x = 0; x < kSide; ++x)
            raw += {static_cast<char>(x), static_cast<char>(y), static_cast<char>((x ^ y) * 3)};
    }
    std::string zlib = "\x78\x01";
    for (size_t at = 0; at < raw.size(); at += 65535) {
        const auto length = static_cast<u32>(std::min<size_t>(65535, raw.size() - at));
        zlib += static_cast<char>(at + length == raw.size() ? 1 : 0);
        zlib += {static_cast<char>(length), static_cast<char>(length >> 8), static_cast<char>(~length),
                 static_cast<char>(~length >> 8)};
        zlib += raw.substr(at, length);
    }
    u32 a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    zlib += Be32(b << 16 | a);
    const std::string header = Be32(kSide) + Be32(kSide) + std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1A\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", zlib) +
           Chunk("IEND", "");
}

// The fake screen, and the PNG in a temporary folder.
class Scene : public benchFakeScreen {
  public:
    Scene()
        : benchFakeScreen(640, 480),
          m_folder(std::filesystem::temp_directory_path() / ("bench-textures-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_folder);
        std::ofstream(m_folder / "picture.png", std::ios::binary) << Png();
        fsLocatorFromNativePath((m_folder / "picture.png").c_str(), file);
    }
    ~Scene() { std::filesystem::remove_all(m_folder); }

    fsLocator file;

  private:
    std::filesystem::path m_folder;
};

Scene* g_scene = nullptr;

void BM_PlainTexture(benchmark::State& state) {
    for (auto _ : state) {
        g3dTexture* texture = g3dTextureManager::LoadPlainTexture(g_scene->file, 0, 0);
        benchmark::DoNotOptimize(texture);
        g3dTextureManager::ReleaseTexture(texture);
        g_scene->ClearLog();
    }
}
BENCHMARK(BM_PlainTexture)->Unit(benchmark::kMillisecond);

void BM_MipTexture(benchmark::State& state) {
    for (auto _ : state) {
        g3dTexture* texture = g3dTextureManager::LoadMipTexture(g_scene->file, 0, 0);
        benchmark::DoNotOptimize(texture);
        g3dTextureManager::ReleaseTexture(texture);
        g_scene->ClearLog();
    }
}
BENCHMARK(BM_MipTexture)->Unit(benchmark::kMillisecond);

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
    Scene scene;
    g_scene = &scene;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double plain = reporter.Median("BM_PlainTexture");
    const double mip = reporter.Median("BM_MipTexture");
    if (plain > 0.0 && mip > 0.0)
        std::printf("512 x 512 PNG: plain %.3f ms, mip %.3f ms, mip/plain %.3f (texels: 4/3 = %.3f)\n", plain,
                    mip, mip / plain, 4.0 / 3.0);
    g_scene = nullptr;
    benchmark::Shutdown();
    return 0;
}
