// Reading every entry of a 2,000-entry pak of small files against reading the same files from disc,
// both through gfFile and root resolution, as the game reads its data.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfPakFile.h"
#include "Engine/App/Gf/gfPakSearcher.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace {

constexpr int kEntries = 2000;
constexpr i32 kDiscRoot = 5;
constexpr i32 kPakRoot = 6;

class BenchPakLocator : public gfPakSearcher::PakLocator {
  public:
    gfPakFile* Locate(i32 root, const fsLocator&, fsLocator&) override {
        return root == kPakRoot ? pak.get() : nullptr;
    }
    std::unique_ptr<gfPakFile> pak;
};

struct Fixture {
    std::string folder;
    std::vector<fsLocator> names; // relative to a root: Data/fNNNN.bin
    BenchPakLocator locator;
    bool ready = false;

    Fixture() {
        folder = (std::filesystem::temp_directory_path() / "lvbench-pak").string();
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder + "/Data");
        std::string data;
        for (int i = 0; i < kEntries; ++i) {
            char name[32];
            std::snprintf(name, sizeof(name), "f%04d.bin", i);
            data.assign(64 + (i * 37) % 960, static_cast<char>('a' + i % 26)); // 64 to 1023 bytes
            std::ofstream(folder + "/Data/" + name, std::ios::binary).write(data.data(), data.size());
            fsLocator entry;
            entry.AppendComponent("Data");
            entry.AppendComponent(name);
            names.push_back(entry);
        }
        const std::string command = "cd " + folder + " && zip -q -0 -r game.pak Data";
        if (std::system(command.c_str()) != 0)
            return;
        fsLocator root, pak;
        fsLocatorFromNativePath(folder.c_str(), root);
        fsLocatorFromNativePath((folder + "/game.pak").c_str(), pak);
        fsAddRootDirectory(kDiscRoot, root);
        fsAddRootDirectory(kPakRoot, root);
        locator.pak = std::make_unique<gfPakFile>(pak);
        gfPakSearcher::SetPakLocator(&locator);
        ready = true;
    }
    ~Fixture() {
        gfPakSearcher::SetPakLocator(nullptr);
        locator.pak.reset();
        std::filesystem::remove_all(folder);
    }
};

Fixture& GetFixture() {
    static Fixture fixture;
    return fixture;
}

void ReadEverything(benchmark::State& state, i32 root) {
    Fixture& fixture = GetFixture();
    if (!fixture.ready) {
        state.SkipWithError("could not build the pak (is zip installed?)");
        return;
    }
    std::vector<char> buffer(1024);
    for (auto _ : state) {
        u64 total = 0;
        for (fsLocator name : fixture.names) {
            name.SetRoot(root);
            gfFile file(name, gfFileRead, gfByteOrderData);
            total += file.Read(file.GetSize(), buffer.data());
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}

void BM_ReadAllFromPak(benchmark::State& state) {
    ReadEverything(state, kPakRoot);
}
void BM_ReadAllFromDisc(benchmark::State& state) {
    ReadEverything(state, kDiscRoot);
}

void BM_OpenPak(benchmark::State& state) {
    Fixture& fixture = GetFixture();
    if (!fixture.ready) {
        state.SkipWithError("no pak");
        return;
    }
    for (auto _ : state) {
        gfPakFile pak(fixture.locator.pak->GetLocator());
        benchmark::DoNotOptimize(pak.GetEntryCount());
    }
}

BENCHMARK(BM_ReadAllFromPak)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAllFromDisc)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenPak)->Unit(benchmark::kMicrosecond);

// Keeps each run's time per iteration so that the ratio can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (!run.error_occurred)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto pak = reporter.times.find("BM_ReadAllFromPak");
    const auto disc = reporter.times.find("BM_ReadAllFromDisc");
    if (pak != reporter.times.end() && disc != reporter.times.end()) {
        std::printf("\nReading all %d entries: pak %.3f ms, disc %.3f ms, disc/pak ratio %.2f\n", kEntries,
                    pak->second, disc->second, disc->second / pak->second);
    }
    benchmark::Shutdown();
    return 0;
}
