// Listing the prop templates of 3 themes x 24 props at start-up: without loading them (the game's way)
// against loading every one at once, one run each on the test device. The ratio is printed (target: at
// most 1/10). Each prop is a textured cylinder and box with a 128 x 128 texture of its own.
#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Graphics/G2d/g2dPackage.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/World/coPropTemplateList.h"
#include "Tools/Image/toolPngWriter.h"
#include "Tools/Model/toolModelWriter.h"
#include "Tools/World/toolPropWriter.h"
#include "benchReport.h"
#include "tests/Engine/Graphics/G3d/g3dTestScreen.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kThemes = 3;
constexpr int kProps = 24;

void MakeInstallation(const fs::path& base) {
    for (const char* folder : {"Tracks", "Environments", "Data/GUI", "Data/Text/Eng", "Data/Voice/Eng",
                               "Data/Effects", "Data/Missions", "Data/Video", "Data/Music", "Data/Geom"})
        fs::create_directories(base / folder);
    // Each prop with a texture of its own, as shipped props have.
    toolImage skin{128, 128, 3, std::vector<u8>(128 * 128 * 3, 120)};
    for (int t = 0; t < kThemes; ++t) {
        const fs::path theme = base / "Themes" / ("Theme" + std::to_string(t));
        for (const char* folder : {"Data", "Model", "Texture"})
            fs::create_directories(theme / folder);
        for (int p = 0; p < kProps; ++p) {
            const std::string name = "prop" + std::to_string(p);
            skin.pixels[0] = static_cast<u8>(t * kProps + p);
            toolWritePng((theme / "Texture" / (name + ".png")).string(), skin);
            toolModelMaterial material;
            material.textures = {name + ".png"};
            toolWriteStaticModel(
                (theme / "Model" / (name + ".mx")).string(),
                {toolMakeCylinder(0.5f, 2.0f, 24, material), toolMakeBox({1, 0.2f, 1}, {0, 2, 0}, material)});
            toolPropDefinition prop;
            prop.model = name + ".mx";
            toolWritePropDefinition((theme / "Data" / (name + ".prd")).string(), prop);
        }
    }
    std::ofstream(base / "basicstr.tsf", std::ios::binary).close();
    fsLocator locator;
    fsLocatorFromNativePath((base / "basicstr.tsf").c_str(), locator);
    gfTextSet set(locator, 32, false);
    const std::pair<u32, const char*> texts[] = {{0, "Loopvane"}, {1, "Loopvane"}, {2, "loopvane.ini"},
                                                 {3, "HDRoot"},   {4, "Software"}, {5, "Loopvane"},
                                                 {6, "HDRoot"},   {7, "Language"}, {28, "Language"}};
    for (const auto& [id, text] : texts)
        set.SetText(id, envString(text));
}

// The installation, the game's roots over it and the test device with the managers started.
class Scene {
  public:
    Scene()
        : m_root(fs::temp_directory_path() / ("bench-proptemplates-" + std::to_string(getpid()))),
          m_store((m_root / "config").string()), m_ini((m_root / "install").string()) {
        MakeInstallation(m_root / "install");
        fs::create_directories(m_root / "user");
        m_folders.programPath = (m_root / "install" / "loopvane").string();
        m_folders.commonAppDataFolder = (m_root / "user").string();
        plInstallServices({.time = &m_time,
                           .keyValueStore = &m_store,
                           .iniReader = &m_ini,
                           .folders = &m_folders,
                           .d3d = &m_d3d,
                           .fonts = &m_fonts});
        envInit();
        dbgSetLogSink([](const std::string&) {});
        fsResetRootTable();
        appInitDefaultRoots("LOOPVANE");
        coPaths::LoadBasicStrings();
        coPaths::Init();
        g2dInitialize();
        g3dStartTestScreen(640, 480);
    }
    ~Scene() {
        coPropTemplateList::DeleteAll();
        g3dStopTestScreen();
        g2dShutdown();
        dbgSetLogSink({});
        envShutdown();
        fsResetRootTable();
        plInstallServices({});
        fs::remove_all(m_root);
    }
    void ClearLog() { m_d3d.GetLog().clear(); }

  private:
    fs::path m_root;
    plTestTimeSource m_time;
    plFakeD3d m_d3d;
    plFreeTypeFonts m_fonts;
    plKeyValueStore m_store;
    plIniReader m_ini;
    plTestSystemFolders m_folders;
};

Scene* g_scene = nullptr;

void Build(benchmark::State& state, bool loadNow) {
    for (auto _ : state) {
        coPropTemplateList::Build(loadNow);
        state.PauseTiming();
        coPropTemplateList::DeleteAll();
        g_scene->ClearLog();
        state.ResumeTiming();
    }
}

void BM_BuildListing(benchmark::State& state) {
    Build(state, false);
}
BENCHMARK(BM_BuildListing)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_BuildLoadingAll(benchmark::State& state) {
    Build(state, true);
}
BENCHMARK(BM_BuildLoadingAll)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    Scene scene;
    g_scene = &scene;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const benchReport::Figures* listing = report.Find("BM_BuildListing/iterations:1");
        const benchReport::Figures* loading = report.Find("BM_BuildLoadingAll/iterations:1");
        if (listing && loading && loading->seconds > 0.0)
            std::printf(
                "Build(false) %.3f ms / Build(true) %.3f ms over %d x %d props = 1/%.1f (target: at most "
                "1/10)\n",
                listing->seconds * 1e3, loading->seconds * 1e3, kThemes, kProps,
                loading->seconds / listing->seconds);
    });
}
