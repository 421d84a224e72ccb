#include "Tools/Image/toolGuiSkin.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {

constexpr int kButtonWidth = 128;
constexpr int kButtonHeight = 32;
constexpr int kBevel = 3;

struct Rgb {
    float r, g, b;
};

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

void Put(toolImage& image, Rgb c, float shade, float alpha = 1.0f) {
    image.pixels.insert(image.pixels.end(), {Byte(c.r * shade), Byte(c.g * shade), Byte(c.b * shade)});
    if (image.channels == 4)
        image.pixels.push_back(Byte(alpha));
}

// A face that darkens downwards, its top and left edges lit and its bottom and right edges shaded;
// sunken swaps the two, as a pressed key looks.
toolImage Bevelled(Rgb face, bool sunken) {
    toolImage image{kButtonWidth, kButtonHeight, 3, {}};
    for (int y = 0; y < kButtonHeight; ++y)
        for (int x = 0; x < kButtonWidth; ++x) {
            const bool lit = y < kBevel || x < kBevel;
            const bool shaded = y >= kButtonHeight - kBevel || x >= kButtonWidth - kBevel;
            float shade = 1.0f - 0.25f * static_cast<float>(y) / (kButtonHeight - 1);
            if (lit != shaded)
                shade = lit != sunken ? 1.35f : 0.55f;
            Put(image, face, shade);
        }
    return image;
}

// A dark border of the bevel's width around a clear middle.
toolImage Frame() {
    constexpr int side = 64;
    toolImage image{side, side, 4, {}};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const bool border = x < kBevel || y < kBevel || x >= side - kBevel || y >= side - kBevel;
            Put(image, {0.2f, 0.25f, 0.35f}, 1.0f, border ? 1.0f : 0.0f);
        }
    return image;
}

// A warm glow, brightest in the middle row, fading to clear at the top and bottom.
toolImage Highlight() {
    toolImage image{kButtonWidth, kButtonHeight, 4, {}};
    for (int y = 0; y < kButtonHeight; ++y)
        for (int x = 0; x < kButtonWidth; ++x) {
            const float t =
                std::abs(static_cast<float>(y) - (kButtonHeight - 1) * 0.5f) / (kButtonHeight * 0.5f);
            Put(image, {1.0f, 0.85f, 0.3f}, 1.0f, 0.6f * (1.0f - t));
        }
    return image;
}

// A round badge: opaque inside, its alpha falling to 0 over the last quarter of the radius.
toolImage Badge() {
    constexpr int side = 64;
    toolImage image{side, side, 4, {}};
    const float centre = (side - 1) * 0.5f;
    const float radius = side * 0.5f;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const float d =
                std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre) / radius;
            const float alpha = std::clamp((1.0f - d) * 4.0f, 0.0f, 1.0f);
            Put(image, {0.9f, 0.2f, 0.3f}, 1.1f - 0.4f * d, alpha);
        }
    return image;
}

} // namespace

std::vector<toolDefaultTexture> toolGuiSkin() {
    return {
        {"Data/GUI/button_i.png", Bevelled({0.35f, 0.45f, 0.65f}, false)},
        {"Data/GUI/button_o.png", Bevelled({0.45f, 0.6f, 0.85f}, false)},
        {"Data/GUI/button_p.png", Bevelled({0.3f, 0.4f, 0.6f}, true)},
        {"Data/GUI/button_d.png", Bevelled({0.45f, 0.45f, 0.45f}, false)},
        {"Data/GUI/frame.png", Frame()},
        {"Data/GUI/highlight.png", Highlight()},
        {"Data/GUI/badge.png", Badge()},
    };
}

void toolWriteGuiSkin(const std::string& dataFolder) {
    for (const toolDefaultTexture& texture : toolGuiSkin()) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / texture.path;
        std::filesystem::create_directories(path.parent_path());
        toolWritePng(path.string(), texture.image);
    }
}
