// coPaths::Init over a generated installation (300 theme, 100 coaster-type and 50 environment folders on
// the hard disc, the same tree on the disc) against a plain std::filesystem listing of those folders.
// One run each; the ratio is printed (target: at most 3).
#include "Engine/App/App/appDefaultRoots.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envEnvironment.h"
#include "Engine/Platform/Os/plIniReader.h"
#include "Engine/Platform/Os/plKeyValueStore.h"
#include "Engine/Platform/Os/plSystemFolders.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPaths.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kDiscLabel = "LOOPVANE";
const std::pair<const char*, int> kLists[] = {{"Themes", 300}, {"Tracks", 100}, {"Environments", 50}};

void MakeInstallation(const std::filesystem::path& base) {
    for (const auto& [folder, count] : kLists)
        for (int i = 0; i < count; ++i)
            std::filesystem::create_directories(base / folder / ("Folder" + std::to_string(i)));
    for (const char* folder : {"Saves", "Data/GUI", "Data/Text/Eng", "Data/Voice/Eng", "Data/Effects",
                               "Data/Missions", "Data/Video", "Data/Music", "Data/Geom"})
        std::filesystem::create_directories(base / folder);
}

void WriteBasicStrings(const std::filesystem::path& file) {
    std::ofstream(file, std::ios::binary).close();
    fsLocator locator;
    fsLocatorFromNativePath(file.c_str(), locator);
    gfTextSet set(locator, 32, false);
    const std::pair<u32, const char*> texts[] = {{0, "Loopvane"}, {1, "Loopvane"}, {2, "loopvane.ini"},
                                                 {3, "HDRoot"},   {4, "Software"}, {5, "Loopvane"},
                                                 {6, "HDRoot"},   {7, "Language"}, {28, "Language"}};
    for (const auto& [id, text] : texts)
        set.SetText(id, envString(text));
}

size_t ListPlainly(const std::filesystem::path& base) {
    size_t folders = 0;
    for (const auto& [folder, count] : kLists)
        for (const auto& entry : std::filesystem::directory_iterator(base / folder))
            folders += entry.is_directory() ? 1 : 0;
    return folders;
}

void BM_PathsInitAgainstAPlainListing(benchmark::State& state) {
    const std::filesystem::path root = std::filesystem::temp_directory_path() / "lvbench-paths";
    std::filesystem::remove_all(root);
    MakeInstallation(root / "install");
    MakeInstallation(root / "disc" / "Setup" / "Game");
    std::filesystem::create_directories(root / "user");
    WriteBasicStrings(root / "install" / "basicstr.tsf");

    plKeyValueStore store((root / "config").string());
    plIniReader ini((root / "install").string());
    plTestSystemFolders folders;
    folders.programPath = (root / "install" / "loopvane").string();
    folders.commonAppDataFolder = (root / "user").string();
    folders.volumes = {{(root / "disc").string(), kDiscLabel}};
    plServices services;
    services.keyValueStore = &store;
    services.iniReader = &ini;
    services.folders = &folders;
    plInstallServices(services);
    envInit();
    dbgSetLogSink([](const std::string&) {});

    const auto start = [] {
        fsResetRootTable();
        appInitDefaultRoots(kDiscLabel);
        coPaths::LoadBasicStrings();
    };
    start();
    coPaths::Init(); // the first start makes the user's saves folder; the runs below find it
    using Clock = std::chrono::steady_clock;
    double initSeconds = 0.0, listingSeconds = 0.0;
    size_t listed = 0;
    for (auto _ : state) {
        start();
        const auto t0 = Clock::now();
        coPaths::Init();
        const auto t1 = Clock::now();
        listed = ListPlainly(root / "install");
        const auto t2 = Clock::now();
        initSeconds = std::chrono::duration<double>(t1 - t0).count();
        listingSeconds = std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(initSeconds);
    }
    std::vector<fsLocator> themes;
    coPaths::GetRootDirectories(coRootThemes, themes);
    state.counters["folders"] = static_cast<double>(listed);
    state.counters["listed_by_init"] = static_cast<double>(themes.size());
    state.counters["init_ms"] = initSeconds * 1e3;
    state.counters["listing_ms"] = listingSeconds * 1e3;
    state.counters["ratio"] = initSeconds / listingSeconds;

    dbgSetLogSink({});
    envShutdown();
    plInstallServices({});
    fsResetRootTable();
    std::filesystem::remove_all(root);
}

} // namespace

BENCHMARK(BM_PathsInitAgainstAPlainListing)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
