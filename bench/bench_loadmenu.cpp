// Building the load menu over 200 saved coasters (copies of the 100-piece bench coaster with its props
// and thumbnail, as the game writes it) with the cache warm (every file known and unchanged)
// against none (every file opened, from the system's file cache or, as after a restart, from the disc),
// on the recording device over the built tree; unchanged files are not opened, and the target is at most
// 0.2. The list (400 cell texts, those on view drawn) and the loading screen's two frames cost the same
// either way, so the scan alone is measured too.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/GUI/Gui/guiWindowMgr.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/Screens/coLoadMenu.h"
#include "Source/Screens/coLoadingScreen.h"
#include "Source/Settings/coPaths.h"
#include "benchGuiScreen.h"
#include "benchIterations.h"
#include "benchReport.h"
#include "benchSavedCoaster.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr int kCoasters = 200;
// Each menu is timed this often and the mean taken: one menu alone varies by a fifth from run to run.
constexpr int kRuns = 15;

struct SavesFolder {
    benchGuiServices services;
    std::filesystem::path folder;

    SavesFolder() {
        char pattern[] = "/tmp/lvbench-XXXXXX";
        folder = mkdtemp(pattern);
        for (const char* installed : {"Steel", "Mountain"})
            std::filesystem::create_directories(folder / installed);
        const std::filesystem::path saves = folder / "Saves";
        std::filesystem::create_directories(saves);
        benchSetRoot(coRootGui, LV_DATA_DIR "/Data/GUI");
        benchSetRoot(coRootText, LV_DATA_DIR "/Data/Text/Eng");
        benchSetRoot(coRootSaves, saves.string());
        benchSetRoot(coRootTracks, (folder / "Steel").string());
        benchSetRoot(coRootEnvironments, (folder / "Mountain").string());
        benchStartGuiScreen();
        // The thumbnail comes from the started screen's device; the copies share the first one's bytes.
        benchWriteSavedCoaster(saves / FileName(0));
        for (int i = 1; i < kCoasters; ++i)
            std::filesystem::copy_file(saves / FileName(0), saves / FileName(i));
        std::printf("Each saved coaster: %ju bytes\n",
                    static_cast<std::uintmax_t>(std::filesystem::file_size(saves / FileName(0))));
    }
    ~SavesFolder() {
        coLoadingScreenHide();
        benchStopGuiScreen();
        std::filesystem::remove_all(folder);
    }
    static std::string FileName(int i) { return "Coaster" + std::to_string(i) + ".csa"; }
    void ForgetCache() const { std::filesystem::remove(folder / "Saves" / "LoadCach.bin"); }
    // As after a restart: the saved coasters' bytes are no longer in the system's file cache, so that
    // each one opened is read from the disc. Written out first, since only clean pages can be dropped;
    // a folder in memory (tmpfs) keeps them, and the figure is then the plain no-cache one.
    void DropFromFileCache() const {
        for (int i = 0; i < kCoasters; ++i) {
            const int file = open((folder / "Saves" / FileName(i)).c_str(), O_RDONLY);
            if (file < 0)
                continue;
            fdatasync(file);
            posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
            close(file);
        }
    }
    fsLocator Saved(int i) const {
        fsLocator file;
        fsLocatorFromNativePath((folder / "Saves" / FileName(i)).c_str(), file);
        return file;
    }
};

SavesFolder* g_saves = nullptr;
// The benchmark never deletes a coaster.
const auto kNoDelete = [](u32, const envString&) { return false; };

// The menu is built and ended each time; its end writes the cache, which the cold runs remove again.
// One menu is built first, untimed, so that the cold runs do not also pay for the process's first
// menu (the loading screen's first picture, the script, the fonts), which the warm run never would.
void BuildWithoutCache(benchmark::State& state, bool fromDisc) {
    { coLoadMenu first(kNoDelete); }
    for (auto _ : state) {
        state.PauseTiming();
        g_saves->services.ClearLog();
        g_saves->ForgetCache();
        if (fromDisc)
            g_saves->DropFromFileCache();
        state.ResumeTiming();
        coLoadMenu menu(kNoDelete);
        benchmark::DoNotOptimize(menu.GetEntries().size());
    }
}

// The files as the system's file cache holds them after a menu has read them.
void BM_LoadMenuNoCache(benchmark::State& state) {
    BuildWithoutCache(state, false);
}
BENCHMARK(BM_LoadMenuNoCache)->Iterations(benchIterations(kRuns))->Unit(benchmark::kMillisecond);

// The player's first menu after a restart: every coaster file read from the disc.
void BM_LoadMenuFromDisc(benchmark::State& state) {
    BuildWithoutCache(state, true);
}
BENCHMARK(BM_LoadMenuFromDisc)->Iterations(benchIterations(kRuns))->Unit(benchmark::kMillisecond);

void BM_LoadMenuWarmCache(benchmark::State& state) {
    { coLoadMenu warm(kNoDelete); }
    for (auto _ : state) {
        state.PauseTiming();
        g_saves->services.ClearLog();
        state.ResumeTiming();
        coLoadMenu menu(kNoDelete);
        benchmark::DoNotOptimize(menu.GetEntries().size());
    }
}
BENCHMARK(BM_LoadMenuWarmCache)->Iterations(benchIterations(kRuns))->Unit(benchmark::kMillisecond);

// The cache's own share: reading it and bringing the 200 entries up to date, without the list's texts
// and the loading screen.
void ScanSaves() {
    coLoadCacheMap cache;
    coReadLoadCache(cache);
    for (int i = 0; i < kCoasters; ++i)
        coScanLoadCacheFile(g_saves->Saved(i), cache);
    benchmark::DoNotOptimize(cache.size());
}

void BM_ScanNoCache(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        g_saves->ForgetCache();
        state.ResumeTiming();
        ScanSaves();
    }
}
BENCHMARK(BM_ScanNoCache)->Iterations(benchIterations(kRuns))->Unit(benchmark::kMillisecond);

void BM_ScanWarmCache(benchmark::State& state) {
    { coLoadMenu warm(kNoDelete); }
    for (auto _ : state)
        ScanSaves();
}
BENCHMARK(BM_ScanWarmCache)->Iterations(benchIterations(kRuns))->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    SavesFolder saves;
    g_saves = &saves;
    return benchRunAndPrint(argc, argv, [](const benchReport& report) {
        const auto find = [&](const std::string& name) {
            return report.Find(name + "/iterations:" + std::to_string(kRuns));
        };
        const benchReport::Figures* cold = find("BM_LoadMenuNoCache");
        const benchReport::Figures* warm = find("BM_LoadMenuWarmCache");
        if (cold && warm && cold->seconds > 0.0)
            std::printf(
                "Load menu over %d coasters, warm cache / no cache: %.2f / %.2f ms = %.3f (target: at "
                "most 0.2)\n",
                kCoasters, warm->seconds * 1e3, cold->seconds * 1e3, warm->seconds / cold->seconds);
        const benchReport::Figures* disc = find("BM_LoadMenuFromDisc");
        if (disc && warm && disc->seconds > 0.0)
            std::printf("Load menu over %d coasters, warm cache / no cache and the files read from the disc: "
                        "%.2f / %.2f ms, from disc = %.3f\n",
                        kCoasters, warm->seconds * 1e3, disc->seconds * 1e3, warm->seconds / disc->seconds);
        const benchReport::Figures* coldScan = find("BM_ScanNoCache");
        const benchReport::Figures* warmScan = find("BM_ScanWarmCache");
        if (coldScan && warmScan && coldScan->seconds > 0.0)
            std::printf("Scan of %d coasters alone, warm cache / no cache: %.3f\n", kCoasters,
                        warmScan->seconds / coldScan->seconds);
    });
}
