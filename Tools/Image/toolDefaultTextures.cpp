#include "Tools/Image/toolDefaultTextures.h"

#include <algorithm>
#include <cmath>
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

// Black, fully dark along the middle (u = 0.5) and fading to clear at both edges: the middle row is the
// shadow's cross profile.
toolImage ShadowFade() {
    toolImage image{kSide, kSide, 4, {}};
    for (int v = 0; v < kSide; ++v) {
        for (int u = 0; u < kSide; ++u) {
            const float x = static_cast<float>(u) / (kSide - 1);
            image.pixels.insert(image.pixels.end(), {0, 0, 0, Byte(1.0f - std::abs(2.0f * x - 1.0f))});
        }
    }
    return image;
}

// Wooden beams: a horizontal beam at the top of each repeat, posts at both sides and a diagonal brace,
// with clear gaps between them, dark where a renderer draws them without blending.
toolImage BeamLattice() {
    toolImage image{kSide, kSide, 4, {}};
    constexpr int kBeam = 6;
    for (int v = 0; v < kSide; ++v) {
        for (int u = 0; u < kSide; ++u) {
            const bool beam =
                v < kBeam || u < kBeam / 2 || u >= kSide - kBeam / 2 || std::abs(u - v) < kBeam / 2;
            const float grain =
                (beam ? 0.85f : 0.2f) + 0.15f * static_cast<float>((u * 7 + v * 3) % 5) / 4.0f;
            image.pixels.insert(image.pixels.end(), {Byte(0.55f * grain), Byte(0.38f * grain),
                                                     Byte(0.22f * grain), beam ? u8(255) : u8(0)});
        }
    }
    return image;
}

} // namespace

std::vector<toolDefaultTexture> toolWoodenTextures() {
    return {
        {"lattice.png", BeamLattice()},
        {"rail.png", Banded(0.6f, 0.45f, 0.3f, 0)},
        {"deck.png", Banded(0.5f, 0.36f, 0.22f, 8)},
    };
}

std::vector<toolDefaultTexture> toolDefaultTextures() {
    return {
        {"Tracks/Steel/rail.png", Banded(0.75f, 0.75f, 0.8f, 0)},
        {"Tracks/Steel/center.png", Banded(0.45f, 0.45f, 0.5f, 16)},
        {"Tracks/Steel/chain.png", Chain()},
        {"Tracks/Steel/brakes.png", Banded(0.85f, 0.7f, 0.15f, 8)},
        {"Tracks/Steel/booster.png", Banded(0.2f, 0.7f, 0.25f, 8)},
        {"Tracks/Steel/retarder.png", Banded(0.85f, 0.4f, 0.1f, 8)},
        {"Tracks/Steel/pole.png", Banded(0.5f, 0.52f, 0.58f, 16)},
        {"Environments/shadow.png", ShadowFade()},
        {"Tracks/Steel/tube.png", Banded(0.35f, 0.5f, 0.8f, 32)},
    };
}

namespace {
void WriteAll(const std::string& folder, const std::vector<toolDefaultTexture>& textures) {
    for (const toolDefaultTexture& texture : textures) {
        const std::filesystem::path path = std::filesystem::path(folder) / texture.path;
        std::filesystem::create_directories(path.parent_path());
        toolWritePng(path.string(), texture.image);
    }
}
} // namespace

void toolWriteDefaultTextures(const std::string& dataFolder, const std::string& woodenFolder) {
    WriteAll(woodenFolder, toolWoodenTextures());
    // Written last: the build takes the Steel tube's texture to stand for all of them.
    WriteAll(dataFolder, toolDefaultTextures());
}
