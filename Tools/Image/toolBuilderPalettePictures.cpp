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

// A piece's track seen from the side or above as a light band on the state's face; "nc" is blank.
toolImage Silhouette(const std::string& piece, Rgb face) {
    toolImage image = Solid(64, 64, face);
    auto plot = [&image](float x, float y) {
        for (int dy = -2; dy <= 2; ++dy) {
            const int px = static_cast<int>(x), py = static_cast<int>(y) + dy;
            if (px >= 0 && px < 64 && py >= 0 && py < 64)
                std::fill_n(image.pixels.begin() + (py * 64 + px) * 3, 3, u8(235));
        }
    };
    for (int i = 0; i < 200; ++i) {
        const float t = static_cast<float>(i) / 199.0f;
        const float angle = t * 3.14159265f;
        if (piece == "su")
            plot(8 + 48 * t, 56 - 48 * t);
        else if (piece == "sr")
            plot(8 + 48 * t, 32 + 16 * t * t);
        else if (piece == "sl")
            plot(8 + 48 * t, 32 - 16 * t * t);
        else if (piece == "hl")
            plot(32 - 20 * std::sin(angle), 56 - 40 * t);
        else if (piece == "zr")
            plot(8 + 48 * t, 32 + 16 * std::sin(angle * 2));
        else if (piece == "zl")
            plot(8 + 48 * t, 32 - 16 * std::sin(angle * 2));
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
                                         {"Data/GUI/uishbk_i.png", Solid(256, 256, {30, 30, 60})},
                                         {"Data/GUI/uiopmn_i.png", Tab({60, 90, 170})},
                                         {"Data/GUI/uiopmn_o.png", Tab({80, 120, 220})},
                                         {"Data/GUI/uiopmn_p.png", Tab({40, 60, 120})}})
        pictures.push_back(std::move(picture));
    return pictures;
}
