#include "Tools/Image/toolBuilderPalettePictures.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace {

struct Rgb {
    int r, g, b;
};

toolImage Solid(int width, int height, Rgb colour) {
    toolImage image{width, height, 3, {}};
    for (int i = 0; i < width * height; ++i)
        image.pixels.insert(image.pixels.end(), {static_cast<u8>(colour.r), static_cast<u8>(colour.g),
                                                 static_cast<u8>(colour.b)});
    return image;
}

// The tab: a light arrow pointing left on a face of the state's colour.
toolImage Tab(Rgb face) {
    toolImage image = Solid(32, 32, face);
    for (int y = 8; y < 24; ++y)
        for (int x = 10 + std::abs(y - 16); x < 22; ++x)
            std::fill_n(image.pixels.begin() + (y * 32 + x) * 3, 3, u8(240));
    return image;
}

// A placer's picture is 64 x 64 but its window stands in a 44-pixel column over the piece buttons, so
// the piece is drawn in the top-left 40 x 40 and the rest is left clear.
constexpr int kPlacerSide = 64;
constexpr int kPlacerDrawn = 40;
constexpr int kPlacerMargin = 2;

// A piece's track seen from the side or above as a light band on the state's face; "nc" is blank.
toolImage Silhouette(const std::string& piece, Rgb face) {
    toolImage image{kPlacerSide, kPlacerSide, 4, std::vector<u8>(kPlacerSide * kPlacerSide * 4, 0)};
    auto put = [&image](int x, int y, Rgb colour) {
        u8* pixel = &image.pixels[static_cast<size_t>((y * kPlacerSide + x) * 4)];
        *pixel++ = static_cast<u8>(colour.r);
        *pixel++ = static_cast<u8>(colour.g);
        *pixel++ = static_cast<u8>(colour.b);
        *pixel = 255;
    };
    for (int y = kPlacerMargin; y < kPlacerMargin + kPlacerDrawn; ++y)
        for (int x = kPlacerMargin; x < kPlacerMargin + kPlacerDrawn; ++x)
            put(x, y, face);
    // The track's course in units of the drawn square: (0, 0) top left, (1, 1) bottom right.
    auto plot = [&put](float u, float v) {
        const int px = kPlacerMargin + static_cast<int>(u * (kPlacerDrawn - 1));
        for (int dy = -1; dy <= 1; ++dy) {
            const int py = kPlacerMargin + static_cast<int>(v * (kPlacerDrawn - 1)) + dy;
            if (py >= kPlacerMargin && py < kPlacerMargin + kPlacerDrawn)
                put(px, py, {235, 235, 235});
        }
    };
    for (int i = 0; i < 200; ++i) {
        const float t = static_cast<float>(i) / 199.0f;
        const float angle = t * 3.14159265f;
        const float across = 0.125f + 0.75f * t;
        if (piece == "su")
            plot(across, 0.875f - 0.75f * t);
        else if (piece == "sr")
            plot(across, 0.5f + 0.25f * t * t);
        else if (piece == "sl")
            plot(across, 0.5f - 0.25f * t * t);
        else if (piece == "hl")
            plot(0.5f - 0.3125f * std::sin(angle), 0.875f - 0.625f * t);
        else if (piece == "zr")
            plot(across, 0.5f + 0.25f * std::sin(angle * 2));
        else if (piece == "zl")
            plot(across, 0.5f - 0.25f * std::sin(angle * 2));
    }
    return image;
}

// The objectives panel's backdrop: the panel holds five 32-pixel rows and the backdrop stands 8 pixels
// above them, so only its top 176 rows are drawn; the rest stays clear over the stats panel below.
toolImage ObjectivesBackdrop() {
    constexpr int kSide = 256, kDrawn = 176;
    toolImage image{kSide, kSide, 4, std::vector<u8>(kSide * kSide * 4, 0)};
    for (int i = 0; i < kSide * kDrawn; ++i) {
        u8* pixel = &image.pixels[static_cast<size_t>(i * 4)];
        pixel[0] = 30, pixel[1] = 30, pixel[2] = 60, pixel[3] = 255;
    }
    return image;
}

} // namespace

std::vector<toolDefaultTexture> toolBuilderPalettePictures() {
    std::vector<toolDefaultTexture> pictures;
    const std::pair<const char*, Rgb> faces[] = {
        {"_i", {60, 90, 170}}, {"_o", {80, 120, 220}}, {"_p", {40, 60, 120}}, {"_d", {50, 50, 60}}};
    for (const auto& [suffix, colour] : faces)
        pictures.push_back({std::string("Data/GUI/uimp/uimpbn") + suffix + ".png", Solid(128, 32, colour)});
    for (const auto& [suffix, colour] : faces) {
        pictures.push_back({std::string("Data/GUI/uitm/uitmbn") + suffix + ".png", Solid(64, 32, colour)});
        for (const char* piece : {"su", "sr", "sl", "hl", "zr", "zl", "nc"})
            pictures.push_back(
                {std::string("Data/GUI/uitm/uitm") + piece + suffix + ".png", Silhouette(piece, colour)});
    }
    pictures.push_back({"Data/GUI/uimp/uimpnb_i.png", Solid(512, 32, {20, 20, 40})});
    pictures.push_back({"Data/GUI/uimp/uimpfb_i.png", Solid(512, 32, {120, 40, 40})});
    for (toolDefaultTexture& picture :
         std::vector<toolDefaultTexture>{{"Data/GUI/uisp/uisppbsi.png", Solid(64, 16, {40, 200, 60})},
                                         {"Data/GUI/uisp/uisppbgi.png", Solid(64, 16, {230, 140, 30})},
                                         {"Data/GUI/uishbk_i.png", ObjectivesBackdrop()},
                                         {"Data/GUI/uiopmn_i.png", Tab({60, 90, 170})},
                                         {"Data/GUI/uiopmn_o.png", Tab({80, 120, 220})},
                                         {"Data/GUI/uiopmn_p.png", Tab({40, 60, 120})}})
        pictures.push_back(std::move(picture));
    return pictures;
}
