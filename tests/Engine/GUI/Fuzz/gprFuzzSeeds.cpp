// Writes the seed corpora of the script fuzz targets: the sample scripts as they are (gprGstFuzz) and
// compiled (gprGsfFuzz), with the container parser of the tests registered.
// Usage: gprFuzzSeeds <samples folder> <seeds folder>
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/GUI/Gpr/gprPackage.h"
#include "Engine/GUI/Gpr/gprScript.h"
#include "Engine/GUI/Gpr/gprTestWidgets.h"

#include <cstdio>
#include <filesystem>

namespace {

fsLocator Locator(const std::filesystem::path& path) {
    fsLocator locator;
    fsLocatorFromNativePath(path.string().c_str(), locator);
    return locator;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <samples folder> <seeds folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path samples = argv[1], seeds = argv[2];
    std::filesystem::create_directories(seeds / "gprGstFuzz");
    std::filesystem::create_directories(seeds / "gprGsfFuzz");
    dbgSetLogSink([](const std::string&) {});
    gprInit();
    gprInstallTestWidgets();
    for (const auto& entry : std::filesystem::directory_iterator(samples)) {
        if (entry.path().extension() != ".gst")
            continue;
        std::filesystem::copy_file(entry.path(), seeds / "gprGstFuzz" / entry.path().filename(),
                                   std::filesystem::copy_options::overwrite_existing);
        const std::filesystem::path binary =
            seeds / "gprGsfFuzz" / entry.path().filename().replace_extension(".gsf");
        gprParserUtil::CompileScript(Locator(entry.path()), Locator(binary));
    }
    gprRemoveTestWidgets();
    gprShutdown();
    return 0;
}
