// libFuzzer target: arbitrary bytes as an environment file (".end"). The reader ends in its exception,
// leaving every record as it was, or fills them with finite colours and positions. Seeds:
// coGameFuzzSeeds.
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/World/coEnvironmentFile.h"

#include "Fuzz/fuzzInputFile.h"

#include <cmath>
#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<fuzzInputFile> g_input;
fsLocator g_locator;

bool Finite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    g_input = std::make_unique<fuzzInputFile>("1.end");
    fsLocatorFromNativePath(g_input->GetPath().c_str(), g_locator);
    dbgSetLogSink([](const std::string&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    g_input->Write(data, size);
    std::vector<coEnvLightInfo> points, directionals;
    maVector3d ambient, background, start;
    envString terrain(u"unread"), extra;
    coEnvSkyInfo sky;
    coEnvGridInfo grid;
    coEnvFogInfo fog;
    coEnvLensFlareInfo flare;
    i32 shadowMode = 1;
    try {
        coReadEnvironmentFile(g_locator, points, directionals, ambient, terrain, extra, start, sky, grid,
                              background, fog, flare, shadowMode);
    } catch (const envExceptionX&) {
        if (!points.empty() || !directionals.empty() || !(terrain == envString(u"unread")) ||
            !flare.elements.empty() || shadowMode != 1)
            std::abort();
        return 0;
    }
    if (!Finite(ambient) || !Finite(background) || !Finite(start))
        std::abort();
    return 0;
}
