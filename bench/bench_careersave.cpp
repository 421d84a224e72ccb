// Loading a profile's career save of 1,000 and of 10,000 records: the ratio of the two times is printed
// at the end (the medians when run with --benchmark_repetitions). A load that grows with the records
// alone gives 10; the target is at most 12.
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Settings/coPaths.h"

#include "benchReport.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

// A saves root with the profiles "1000" and "10000", whose saves hold that many records of 40 track types.
struct Fixture {
    std::string folder;

    Fixture() {
        folder = (std::filesystem::temp_directory_path() / "lvbench-careersave").string();
        std::filesystem::remove_all(folder);
        fsLocator root;
        fsLocatorFromNativePath(folder.c_str(), root);
        fsResetRootTable();
        fsAddRootDirectory(coRootSaves, root);
        for (int records : {1000, 10000}) {
            std::filesystem::create_directories(folder + "/" + std::to_string(records));
            fsLocator path;
            fsLocatorFromNativePath((folder + "/" + std::to_string(records) + "/SaveFile.isf").c_str(), path);
            gfWriteFileAtomically(path, gfByteOrderData, [records](gfFile& file) {
                const u8 version[4] = {gfByteOrderData, 0, 1, 0};
                file.WriteBinHeader(version);
                chBinWriter writer(&file);
                for (int i = 0; i < records; ++i) {
                    const std::u16string name = u"TrackType" + std::u16string(1, char16_t(u'A' + i % 40));
                    writer.BeginChunk(i % 3 ? coChunkCoasterCareer : coChunkVantorex1Career, 0, false);
                    writer.WriteUInt32(static_cast<u32>(name.size()));
                    writer.WriteChars(name.data(), static_cast<u32>(name.size()));
                    writer.WriteInt32(i % 8);
                    writer.WriteInt32(1 + i % 4);
                    writer.EndChunk();
                }
            });
        }
    }
    ~Fixture() { std::filesystem::remove_all(folder); }
};

void BM_CareerSaveLoad(benchmark::State& state) {
    static Fixture fixture;
    const envString profile(std::to_string(state.range(0)).c_str());
    std::vector<i32> counts;
    for (auto _ : state) {
        coCareerSave::Load(profile, nullptr, counts);
        benchmark::DoNotOptimize(counts.data());
    }
}

} // namespace

BENCHMARK(BM_CareerSaveLoad)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchReport reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const benchReport::Figures* small = reporter.Find("BM_CareerSaveLoad/1000");
    const benchReport::Figures* large = reporter.Find("BM_CareerSaveLoad/10000");
    if (small && large)
        std::printf(
            "\nLoading a career save: 1,000 records %.1f us, 10,000 records %.1f us: ratio %.2f, in CPU "
            "time %.2f (target: at most 12)\n",
            small->seconds * 1e6, large->seconds * 1e6, large->seconds / small->seconds,
            large->cpuSeconds / small->cpuSeconds);
    benchmark::Shutdown();
    return 0;
}
