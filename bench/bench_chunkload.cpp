// Loading a binary chunk file of 250,000 floats (1 MB) through gfFile and the chunk reader, against one
// fread of the same bytes and the same parsing from memory. The ratio of the two is printed at the end
// (the medians when run with --benchmark_repetitions; on a busy machine add
// --benchmark_enable_random_interleaving=true, so that both sides see the same load).
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

namespace {

constexpr u32 kValues = 250000;
constexpr u32 kChunkId = chMakeId('F', 'L', 'T', 'S');
constexpr u32 kHeaderSize = 8;
constexpr u32 kChunkHeaderSize = 10;

struct Fixture {
    std::string path;
    fsLocator locator;

    Fixture() {
        path = (std::filesystem::temp_directory_path() / "lvbench-chunkload.bin").string();
        fsLocatorFromNativePath(path.c_str(), locator);
        gfWriteFileAtomically(locator, gfByteOrderData, [](gfFile& file) {
            const u8 version[4] = {0, 1, 0, 0};
            file.WriteBinHeader(version);
            chBinWriter writer(&file);
            writer.BeginChunk(kChunkId, 1, true);
            for (u32 i = 0; i < kValues; ++i)
                writer.WriteFloat(static_cast<f32>(i) * 0.25f);
            writer.EndChunk();
        });
    }
    ~Fixture() { std::filesystem::remove(path); }
};

Fixture& GetFixture() {
    static Fixture fixture;
    return fixture;
}

// The parsing, the same for both sources: the chunk and its values one by one, as loaders read them.
[[gnu::noinline, gnu::noclone]] bool LoadValues(chReader& reader, std::vector<f32>& values) {
    u32 id, size;
    u16 version;
    if (!reader.BeginChunk(&id, &version, &size) || id != kChunkId)
        return false;
    values.resize(size / sizeof(f32));
    for (f32& value : values)
        reader.ReadFloat(&value);
    reader.EndChunk();
    return true;
}

// The binary chunk form read from bytes in memory, with the bounds checks of the file reader.
class MemoryChunkReader : public chReader {
  public:
    MemoryChunkReader(const u8* bytes, size_t size) : m_bytes(bytes), m_size(size), m_at(kHeaderSize) {}

    bool BeginChunk(u32* id, u16* version, u32* size) override {
        if (m_at + kChunkHeaderSize > m_size)
            return false;
        *id = Value<u32>();
        *size = Value<u32>();
        *version = Value<u16>();
        if (*size > m_size - m_at)
            throw chInvalidChunkX();
        m_end = m_at + *size;
        return true;
    }
    void EndChunk() override { m_at = m_end; }
    // The bench's file holds numbers only.
    void ReadChars(envString&, u32) override { throw chInvalidChunkX(); }
    void ReadString(envString&) override { throw chInvalidChunkX(); }
    void ReadChars(std::string&, u32) override { throw chInvalidChunkX(); }
    void ReadString(std::string&) override { throw chInvalidChunkX(); }
    void ReadBool(bool* value) override { *value = Value<u8>() != 0; }
    void ReadDouble(f64* value) override { *value = Value<f64>(); }
    void ReadFloat(f32* value) override { *value = Value<f32>(); }
    void ReadUInt64(u64* value) override { *value = Value<u64>(); }
    void ReadInt64(i64* value) override { *value = Value<i64>(); }
    void ReadUInt32(u32* value) override { *value = Value<u32>(); }
    void ReadInt32(i32* value) override { *value = Value<i32>(); }
    void ReadUInt16(u16* value) override { *value = Value<u16>(); }
    void ReadInt16(i16* value) override { *value = Value<i16>(); }
    void ReadUInt8(u8* value) override { *value = Value<u8>(); }
    void ReadInt8(i8* value) override { *value = Value<i8>(); }
    const fsLocator& GetLocator() const override { return m_locator; }

  private:
    template <class T> T Value() {
        if (m_size - m_at < sizeof(T))
            throw chInvalidChunkX();
        T value;
        std::memcpy(&value, m_bytes + m_at, sizeof(T));
        m_at += sizeof(T);
        return value;
    }

    const u8* m_bytes;
    size_t m_size;
    size_t m_at;
    size_t m_end = 0;
    fsLocator m_locator;
};

void BM_LoadThroughGfFile(benchmark::State& state) {
    const Fixture& fixture = GetFixture();
    std::vector<f32> values;
    for (auto _ : state) {
        gfFile file(fixture.locator, gfFileRead, gfByteOrderData);
        file.ReadBinHeader(nullptr);
        chBinReader reader(&file);
        if (!LoadValues(reader, values))
            state.SkipWithError("no chunk");
        benchmark::DoNotOptimize(values.data());
    }
}

void BM_FreadAndParse(benchmark::State& state) {
    const Fixture& fixture = GetFixture();
    std::vector<u8> bytes;
    std::vector<f32> values;
    for (auto _ : state) {
        FILE* in = std::fopen(fixture.path.c_str(), "rb");
        if (!in) {
            state.SkipWithError("no file");
            return;
        }
        bytes.resize(std::filesystem::file_size(fixture.path));
        const size_t read = std::fread(bytes.data(), 1, bytes.size(), in);
        std::fclose(in);
        MemoryChunkReader reader(bytes.data(), read);
        if (read < kHeaderSize || std::memcmp(bytes.data(), "KSFB", 4) != 0 || !LoadValues(reader, values))
            state.SkipWithError("bad file");
        benchmark::DoNotOptimize(values.data());
    }
}

BENCHMARK(BM_LoadThroughGfFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FreadAndParse)->Unit(benchmark::kMicrosecond);

// Keeps each benchmark's real and CPU time per iteration: the medians of the repetitions when there are
// several (their rows come after the repetitions'). The CPU time is steadier on a busy machine.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    struct Times {
        double real = 0.0, cpu = 0.0; // microseconds
    };
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
                times[run.run_name.function_name] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, Times> times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto file = reporter.times.find("BM_LoadThroughGfFile");
    const auto memory = reporter.times.find("BM_FreadAndParse");
    if (file != reporter.times.end() && memory != reporter.times.end()) {
        const RatioReporter::Times& a = file->second;
        const RatioReporter::Times& b = memory->second;
        std::printf(
            "\nLoading %u floats: gfFile %.1f us, fread and parse %.1f us: ratio %.2f, in CPU time %.2f "
            "(target 1.5)\n",
            kValues, a.real, b.real, a.real / b.real, a.cpu / b.cpu);
    }
    benchmark::Shutdown();
    return 0;
}
