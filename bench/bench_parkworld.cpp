// The park world's per-frame questions, on the test device:
// - coTerrain::GetHeightAt through the environment's kd-tree on a terrain of 20,000 triangles, against a
//   scan of all its triangles; the ratio is printed (target: at most 1/20);
// - coPropList::UpdateAll of 500 active animated props against 50; the ratio is printed beside 10 (one
//   pass over the props).
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coParkWorld.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropTemplate.h"
#include "Tools/Model/toolModelWriter.h"
#include "Tools/Model/toolPropModels.h"
#include "Tools/World/toolEnvironmentWriter.h"
#include "Tools/World/toolPropWriter.h"
#include "benchIterations.h"
#include "benchReport.h"
#include "tests/Engine/Graphics/G3d/g3dTestScreen.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// 100 x 100 quads of 4 units: 20,000 triangles.
constexpr int kQuads = 100;
constexpr float kSpacing = 4.0f;

float Height(float x, float z) {
    return 12.0f * std::sin(x * 0.02f) * std::cos(z * 0.017f) + 3.0f * std::sin(x * 0.11f + z * 0.07f);
}

void WriteInstallation(const fs::path& base) {
    const fs::path park = base / "Environments" / "Bench";
    for (const char* folder : {"Data", "Model", "Texture"})
        fs::create_directories(park / folder);
    toolModelFragment ground;
    ground.materials = {toolModelMaterial{}};
    ground.triangles.resize(1);
    ground.normals = {{0, 1, 0}};
    ground.uvs = {{0, 0}};
    for (int row = 0; row <= kQuads; ++row)
        for (int column = 0; column <= kQuads; ++column) {
            const float x = static_cast<float>(column) * kSpacing, z = static_cast<float>(row) * kSpacing;
            ground.positions.push_back({x, Height(x, z), z});
        }
    const auto at = [](int row, int column) { return static_cast<u16>(row * (kQuads + 1) + column); };
    for (int row = 0; row < kQuads; ++row)
        for (int column = 0; column < kQuads; ++column)
            for (u16 corner : {at(row, column), at(row + 1, column), at(row + 1, column + 1), at(row, column),
                               at(row + 1, column + 1), at(row, column + 1)})
                ground.triangles[0].push_back({corner, 0, 0});
    toolWriteStaticModel((park / "Model" / "terrain.mx").string(), {ground});
    toolEnvironment environment;
    environment.terrainModel = envString("terrain.mx");
    toolWriteEnvironment((park / "Data" / "1.end").string(), environment);

    // A swaying prop without cues: the state machine alone.
    const fs::path theme = base / "Themes" / "Bench";
    for (const char* folder : {"Data", "Model"})
        fs::create_directories(theme / folder);
    toolWriteIronvalePropModels((theme / "Model").string());
    toolPropEvent sway;
    sway.playCount = -1;
    sway.animation = "fountainsway.mx";
    toolPropDefinition fountain;
    fountain.model = "fountain.mhx";
    fountain.triggerDistance = 10.0f;
    fountain.idle = {sway};
    fountain.entries = {sway};
    fountain.exit = {sway};
    toolWritePropDefinition((theme / "Data" / "fountain.prd").string(), fountain);
    fs::create_directories(base / "Text" / "Bench");
}

fsLocator Locator(const fs::path& path) {
    fsLocator locator;
    fsLocatorFromNativePath(path.c_str(), locator);
    return locator;
}

// The installation, its roots and the test device with the renderer and lights started.
class Scene {
  public:
    Scene() : m_root(fs::temp_directory_path() / ("bench-parkworld-" + std::to_string(getpid()))) {
        WriteInstallation(m_root);
        plInstallServices({.time = &m_time, .d3d = &m_d3d, .fonts = &m_fonts});
        envInit();
        dbgSetLogSink([](const std::string&) {});
        fsResetRootTable();
        fsAddRootDirectory(coRootEnvironments, Locator(m_root / "Environments" / "Bench"));
        fsAddRootDirectory(coRootText, Locator(m_root / "Text"));
        g2dInitialize();
        g3dStartTestScreen(640, 480);
        g3dLightManager::Initialize();
        coGetEnvironment().Load(envString("Bench"));
        fountain.Load(Locator(m_root / "Themes" / "Bench"));
    }
    ~Scene() {
        coPropList::DeleteAll();
        fountain.Unload();
        coGetEnvironment().Clear();
        coSetParkWorld(nullptr);
        g3dLightManager::Shutdown();
        g3dStopTestScreen();
        g2dShutdown();
        dbgSetLogSink({});
        envShutdown();
        fsResetRootTable();
        plInstallServices({});
        fs::remove_all(m_root);
    }

    coPropTemplate fountain{envString("fountain"), envString("Fountain"), false};

  private:
    fs::path m_root;
    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    plFreeTypeFonts m_fonts;
};

Scene* g_scene = nullptr;

std::vector<std::pair<float, float>> Places() {
    maRandomSeed(7);
    std::vector<std::pair<float, float>> places;
    const float size = kQuads * kSpacing;
    for (int i = 0; i < 1024; ++i)
        places.emplace_back(maRandomFloat(0.0f, size), maRandomFloat(0.0f, size));
    return places;
}

// Every triangle's footprint against the point; the highest ground found.
bool ScanHeight(const std::vector<maVector3d>& corners, float x, float z, float& height) {
    bool found = false;
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
        const maVector3d &a = corners[i], &b = corners[i + 1], &c = corners[i + 2];
        const float d = (b.z - c.z) * (a.x - c.x) + (c.x - b.x) * (a.z - c.z);
        if (d == 0.0f)
            continue;
        const float u = ((b.z - c.z) * (x - c.x) + (c.x - b.x) * (z - c.z)) / d;
        const float v = ((c.z - a.z) * (x - c.x) + (a.x - c.x) * (z - c.z)) / d;
        if (u < 0.0f || v < 0.0f || u + v > 1.0f)
            continue;
        const float y = a.y * u + b.y * v + c.y * (1.0f - u - v);
        if (!found || y > height)
            height = y;
        found = true;
    }
    return found;
}

void BM_HeightAtTree(benchmark::State& state) {
    const auto places = Places();
    size_t i = 0;
    for (auto _ : state) {
        const auto& [x, z] = places[i++ % places.size()];
        float height = 0.0f;
        benchmark::DoNotOptimize(coGetParkWorld().GetHeightAt(x, z, height));
        benchmark::DoNotOptimize(height);
    }
}
BENCHMARK(BM_HeightAtTree)->Iterations(benchIterations(1024))->Unit(benchmark::kMicrosecond);

// The terrain's triangles as written, three corners each.
std::vector<maVector3d> Corners() {
    std::vector<maVector3d> corners;
    const auto at = [](int row, int column) {
        const float x = static_cast<float>(column) * kSpacing, z = static_cast<float>(row) * kSpacing;
        return maVector3d(x, Height(x, z), z);
    };
    for (int row = 0; row < kQuads; ++row)
        for (int column = 0; column < kQuads; ++column)
            corners.insert(corners.end(), {at(row, column), at(row + 1, column), at(row + 1, column + 1),
                                           at(row, column), at(row + 1, column + 1), at(row, column + 1)});
    return corners;
}

void BM_HeightAtScan(benchmark::State& state) {
    const auto places = Places();
    const std::vector<maVector3d> corners = Corners();
    state.counters["triangles"] = static_cast<double>(corners.size() / 3);
    size_t i = 0;
    for (auto _ : state) {
        const auto& [x, z] = places[i++ % places.size()];
        float height = 0.0f;
        benchmark::DoNotOptimize(ScanHeight(corners, x, z, height));
        benchmark::DoNotOptimize(height);
    }
}
BENCHMARK(BM_HeightAtScan)->Iterations(benchIterations(1024))->Unit(benchmark::kMicrosecond);

// The props stand apart on a grid, active; each frame advances a thirtieth of a second.
void BM_UpdateAll(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) {
        auto prop = std::make_unique<coProp>(g_scene->fountain);
        prop->SetPosition({static_cast<float>(i % 25) * 8.0f, 0.0f, static_cast<float>(i / 25) * 8.0f});
        prop->SetActive(true);
        coPropList::Add(std::move(prop));
    }
    // A second of frames first: every prop has started its idle animation before the timing.
    float time = 0.0f;
    for (; time < 1.0f; time += 1.0f / 30.0f)
        coPropList::UpdateAll(time);
    for (auto _ : state) {
        coPropList::UpdateAll(time);
        time += 1.0f / 30.0f;
    }
    coPropList::DeleteAll();
}
BENCHMARK(BM_UpdateAll)->Arg(50)->Arg(500)->Iterations(benchIterations(300))->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    Scene scene;
    g_scene = &scene;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* tree = report.Find("BM_HeightAtTree/iterations:1024");
        const benchReport::Figures* scan = report.Find("BM_HeightAtScan/iterations:1024");
        if (tree && scan && tree->cpuSeconds > 0.0)
            std::printf("GetHeightAt: kd-tree %.2f us / scan %.2f us = 1/%.0f (target: at most 1/20)\n",
                        tree->cpuSeconds * 1e6, scan->cpuSeconds * 1e6, scan->cpuSeconds / tree->cpuSeconds);
        const benchReport::Figures* few = report.Find("BM_UpdateAll/50/iterations:300");
        const benchReport::Figures* many = report.Find("BM_UpdateAll/500/iterations:300");
        if (few && many && few->cpuSeconds > 0.0)
            std::printf("UpdateAll: 500 props %.1f us / 50 props %.1f us = %.1f (one pass: 10)\n",
                        many->cpuSeconds * 1e6, few->cpuSeconds * 1e6, many->cpuSeconds / few->cpuSeconds);
    });
}
