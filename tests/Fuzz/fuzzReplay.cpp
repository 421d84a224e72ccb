// Replays the seeds of one fuzz target without libFuzzer: each file of the target's seed folders (the one
// named after it and those named after it plus "-something") goes through the target once, so that a
// target that no longer builds or crashes on its own seeds fails the tests. Usage:
//   lvFuzzReplay <target> <seed folder>
#include "fuzzReplayTargets.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

#define LV_DECLARE_TARGET(name)                                                                              \
    extern "C" int name##_TestOneInput(const std::uint8_t*, std::size_t);                                    \
    extern "C" __attribute__((weak)) int name##_Initialize(int*, char***);
LV_FUZZ_TARGETS(LV_DECLARE_TARGET)

namespace {

struct Target {
    std::string_view name;
    int (*testOneInput)(const std::uint8_t*, std::size_t);
    int (*initialize)(int*, char***);
};

#define LV_TARGET_ENTRY(name) {#name, name##_TestOneInput, name##_Initialize},
const Target kTargets[] = {LV_FUZZ_TARGETS(LV_TARGET_ENTRY)};

std::vector<fs::path> SeedFiles(const fs::path& seeds, std::string_view target) {
    std::vector<fs::path> files;
    for (const auto& folder : fs::directory_iterator(seeds)) {
        const std::string name = folder.path().filename().string();
        if (!folder.is_directory() || (name != target && !name.starts_with(std::string(target) + "-")))
            continue;
        for (const auto& file : fs::recursive_directory_iterator(folder.path()))
            if (file.is_regular_file())
                files.push_back(file.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <target> <seed folder>\n", argv[0]);
        return 2;
    }
    const auto target = std::find_if(std::begin(kTargets), std::end(kTargets),
                                     [&](const Target& t) { return t.name == argv[1]; });
    if (target == std::end(kTargets)) {
        std::fprintf(stderr, "no fuzz target %s\n", argv[1]);
        return 2;
    }
    const std::vector<fs::path> files = SeedFiles(argv[2], target->name);
    if (files.empty()) {
        std::fprintf(stderr, "no seeds for %s in %s\n", argv[1], argv[2]);
        return 1;
    }
    if (target->initialize)
        target->initialize(&argc, &argv);
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        target->testOneInput(bytes.data(), bytes.size());
    }
    std::printf("%s: %zu seeds replayed\n", argv[1], files.size());
    return 0;
}
