#include "Tools/World/toolEnvironmentProps.h"

#include "Tools/Image/toolPngWriter.h"
#include "Tools/Model/toolPropModels.h"
#include "Tools/World/toolThemeProps.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

namespace fs = std::filesystem;

// Warm timber with wavy grain lines along v and a knot, so a surface covered by it reads as wood.
toolImage WoodGrain() {
    constexpr int kSide = 64;
    toolImage image{kSide, kSide, 3, {}};
    for (int v = 0; v < kSide; ++v)
        for (int u = 0; u < kSide; ++u) {
            const float du = static_cast<float>(u - 40), dv = static_cast<float>(v - 22);
            const float knot = 6.0f * std::exp(-(du * du + dv * dv) / 60.0f);
            const float wave = static_cast<float>(u) + 2.5f * std::sin(static_cast<float>(v) * 0.2f) + knot;
            const float grain = 0.5f + 0.5f * std::sin(wave * 0.9f);
            const float shade = 0.72f + 0.28f * grain * grain;
            const auto byte = [shade](float c) {
                return static_cast<u8>(std::clamp(c * shade, 0.0f, 1.0f) * 255.0f);
            };
            image.pixels.insert(image.pixels.end(), {byte(0.72f), byte(0.48f), byte(0.26f)});
        }
    return image;
}

} // namespace

void toolWriteEnvironmentProps(const std::string& dataFolder) {
    const fs::path theme = fs::path(dataFolder) / "Themes" / "Environment";
    fs::create_directories(theme / "Texture");
    toolWritePng((theme / "Texture" / "wood.png").string(), WoodGrain());
    toolWriteThemeProps(dataFolder, "Environment", toolEnvironmentPropModels());
}
