// libFuzzer target: arbitrary bytes as an environment file (".end"). The reader ends in its exception,
// leaving every record as it was, or fills them with finite colours and positions. Seeds:
// coGameFuzzSeeds.
#include "Engine/Core/Env/envExceptionX.h"
#include "Source/World/coEnvironmentFile.h"

#include "Fuzz/fuzzLoaderInput.h"

#include <cmath>
#include <cstdlib>

namespace {

bool Finite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzLoader::Start("1.end");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fsLocator& file = fuzzLoader::Write(data, size);
    std::vector<coEnvLightInfo> points, directionals;
    maVector3d ambient, background, start;
    envString terrain(u"unread"), extra;
    coEnvSkyInfo sky;
    coEnvGridInfo grid;
    coEnvFogInfo fog;
    coEnvLensFlareInfo flare;
    i32 shadowMode = 1;
    try {
        coReadEnvironmentFile(file, points, directionals, ambient, terrain, extra, start, sky, grid,
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
