#include "Tools/Image/toolMenuPictures.h"

#include <string>

namespace {

// Width and height of the resolutions 0 to 5.
constexpr int kResolutions[6][2] = {{800, 600},  {1024, 768},  {1152, 864},
                                    {1280, 960}, {1600, 1200}, {640, 480}};

// Night blue at the top to a dusk red at the bottom, with a pale band where the bar runs.
toolImage LoadingBackground(int width, int height) {
    toolImage image{width, height, 3, {}};
    image.pixels.reserve(static_cast<size_t>(width) * height * 3);
    const int barTop = height * 540 / 600;
    const int barBottom = height * 568 / 600;
    for (int y = 0; y < height; ++y) {
        const int t = y * 255 / (height - 1);
        const bool band = y >= barTop && y < barBottom;
        const u8 r = static_cast<u8>(band ? 70 : 20 + t * 140 / 255);
        const u8 g = static_cast<u8>(band ? 70 : 30 + t * 40 / 255);
        const u8 b = static_cast<u8>(band ? 80 : 90 - t * 60 / 255);
        for (int x = 0; x < width; ++x)
            image.pixels.insert(image.pixels.end(), {r, g, b});
    }
    return image;
}

// A warm yellow bar, lighter in its upper half.
toolImage LoadingBar() {
    constexpr int kWidth = 1600 * 181 / 800;
    constexpr int kHeight = 1200 * 14 / 600;
    toolImage image{kWidth, kHeight, 3, {}};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            image.pixels.insert(image.pixels.end(), {255, static_cast<u8>(y < kHeight / 2 ? 220 : 180), 40});
    return image;
}

// A loop of track on a sky-blue square.
toolImage Icon() {
    constexpr int kSide = 32;
    toolImage image{kSide, kSide, 4, {}};
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int dx = 2 * x - (kSide - 1);
            const int dy = 2 * y - (kSide - 1);
            const int d2 = dx * dx + dy * dy;
            const bool rail = d2 >= 18 * 18 && d2 <= 24 * 24;
            image.pixels.insert(image.pixels.end(),
                                {static_cast<u8>(rail ? 220 : 90), static_cast<u8>(rail ? 40 : 160),
                                 static_cast<u8>(rail ? 40 : 230), 255});
        }
    return image;
}

} // namespace

std::vector<toolDefaultTexture> toolMenuPictures() {
    std::vector<toolDefaultTexture> pictures;
    for (int i = 0; i < 6; ++i)
        pictures.push_back({"Data/GUI/uild/uildbk_" + std::to_string(i) + ".png",
                            LoadingBackground(kResolutions[i][0], kResolutions[i][1])});
    pictures.push_back({"Data/GUI/uild/uildlb_i.png", LoadingBar()});
    pictures.push_back({"icon.png", Icon()});
    return pictures;
}
