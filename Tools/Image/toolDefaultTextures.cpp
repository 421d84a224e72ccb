#include "Tools/Image/toolDefaultTextures.h"

#include "Tools/Image/toolMenuPictures.h"

#include <algorithm>
#include <filesystem>

namespace {

constexpr int kSide = 64;

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// A colour that brightens across the texture (u), so the sweep direction shows, with darker bands
// every `bands` texels along it (v).
toolImage Banded(float r, float g, float b, int bands) {
    toolImage image{kSide, kSide, 3, {}};
    for (int v = 0; v < kSide; ++v) {
        for (int u = 0; u < kSide; ++u) {
            const float shade = (0.75f + 0.25f * static_cast<float>(u) / (kSide - 1)) *
                                (bands > 0 && v % bands < bands / 4 ? 0.6f : 1.0f);
            image.pixels.insert(image.pixels.end(), {Byte(r * shade), Byte(g * shade), Byte(b * shade)});
        }
    }
    return image;
}

// Dark links down the middle, a link every 16 texels, with clear texels between and beside them.
toolImage Chain() {
    toolImage image{kSide, kSide, 4, {}};
    for (int v = 0; v < kSide; ++v) {
        for (int u = 0; u < kSide; ++u) {
            const bool link = u >= 16 && u < 48 && (v % 16 < 3 || u < 20 || u >= 44) && v % 16 < 14;
            image.pixels.insert(image.pixels.end(), {60, 60, 65, link ? u8(255) : u8(0)});
        }
    }
    return image;
}

} // namespace

std::vector<toolDefaultTexture> toolDefaultTextures() {
    return {
        {"Tracks/Steel/rail.png", Banded(0.75f, 0.75f, 0.8f, 0)},
        {"Tracks/Steel/center.png", Banded(0.45f, 0.45f, 0.5f, 16)},
        {"Tracks/Steel/chain.png", Chain()},
        {"Tracks/Steel/brakes.png", Banded(0.85f, 0.7f, 0.15f, 8)},
        {"Tracks/Steel/booster.png", Banded(0.2f, 0.7f, 0.25f, 8)},
        {"Tracks/Steel/retarder.png", Banded(0.85f, 0.4f, 0.1f, 8)},
        {"Tracks/Steel/pole.png", Banded(0.5f, 0.52f, 0.58f, 16)},
        {"Tracks/Steel/tube.png", Banded(0.35f, 0.5f, 0.8f, 32)},
    };
}

void toolWriteDefaultTextures(const std::string& dataFolder) {
    std::vector<toolDefaultTexture> textures = toolMenuPictures();
    for (toolDefaultTexture& texture : toolDefaultTextures())
        textures.push_back(std::move(texture));
    for (const toolDefaultTexture& texture : textures) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / texture.path;
        std::filesystem::create_directories(path.parent_path());
        toolWritePng(path.string(), texture.image);
    }
}
