// The "circuit" scene: the closed R1 circuit of a coaster type from the built content, over flat ground
// with a hill under its third straight, lifted clear of it, with its supports (poles or wooden walls) and
// its shadows cast along the sun. The check: a shadow point beside the track is darker than the same
// ground in a frame drawn without shadows.
#include "Source/Settings/coPrefs.h"
#include "rdemo.h"
#include "rdemoCoaster.h"

#include <cstdio>

std::vector<u32> DrawCircuitScene(const std::string& type, bool shadows, int scheme) {
    DemoCoaster coaster(type, scheme, shadows, DemoLayR1, 4);
    const std::vector<u32> picture = coaster.Frame();
    if (coaster.Failed())
        return {};
    if (shadows) {
        // The same frame without shadows: some ground near the track must have been darker.
        coPrefs::SetBool(coPrefTrackShadows, false);
        coaster.Builder().RefreshShadows();
        const std::vector<u32> bare = coaster.Frame();
        size_t darker = 0;
        for (size_t i = 0; i < picture.size(); ++i)
            darker += DemoBrightness(picture[i]) + 60 < DemoBrightness(bare[i]) ? 1 : 0;
        std::fprintf(stderr, "rdemo: %zu pixels darker with the shadows\n", darker);
        if (darker < 500) {
            std::fprintf(stderr, "rdemo: no shadow darker than the bare ground below the track\n");
            return {};
        }
    }
    return picture;
}
