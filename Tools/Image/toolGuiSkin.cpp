#include "Tools/Image/toolGuiSkin.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <utility>

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
toolImage Bevelled(Rgb face, bool sunken, int width = kButtonWidth, int height = kButtonHeight,
                   int bevel = kBevel) {
    toolImage image{width, height, 3, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool lit = y < bevel || x < bevel;
            const bool shaded = y >= height - bevel || x >= width - bevel;
            float shade = 1.0f - 0.25f * static_cast<float>(y) / static_cast<float>(height - 1);
            if (lit != shaded)
                shade = lit != sunken ? 1.35f : 0.55f;
            Put(image, face, shade);
        }
    return image;
}

// Distance from (px, py) to the segment from (ax, ay) to (bx, by).
float SegmentDistance(float px, float py, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0f, 1.0f);
    return std::hypot(px - ax - t * dx, py - ay - t * dy);
}

constexpr int kBoxSide = 24;

// A small bevelled box; ticked, a white check mark across it.
toolImage CheckBox(Rgb face, bool sunken, bool ticked) {
    toolImage image = Bevelled(face, sunken, kBoxSide, kBoxSide, 2);
    if (!ticked)
        return image;
    for (int y = 0; y < kBoxSide; ++y)
        for (int x = 0; x < kBoxSide; ++x) {
            const float px = static_cast<float>(x), py = static_cast<float>(y);
            const float d =
                std::min(SegmentDistance(px, py, 5, 12, 10, 17), SegmentDistance(px, py, 10, 17, 19, 6));
            if (d < 1.8f) {
                const size_t at = static_cast<size_t>((y * kBoxSide + x) * 3);
                image.pixels[at] = image.pixels[at + 1] = image.pixels[at + 2] = 255;
            }
        }
    return image;
}

// A round button: a light ring around a dark well, a bright dot in it when checked; clear outside.
toolImage Radio(bool checked) {
    toolImage image{kBoxSide, kBoxSide, 4, {}};
    const float centre = (kBoxSide - 1) * 0.5f;
    for (int y = 0; y < kBoxSide; ++y)
        for (int x = 0; x < kBoxSide; ++x) {
            const float d = std::hypot(static_cast<float>(x) - centre, static_cast<float>(y) - centre);
            const float alpha = std::clamp(kBoxSide * 0.5f - d, 0.0f, 1.0f);
            if (d > 8.5f)
                Put(image, {0.75f, 0.8f, 0.9f}, 1.0f, alpha);
            else if (checked && d < 4.5f)
                Put(image, {1.0f, 0.85f, 0.3f}, 1.0f);
            else
                Put(image, {0.15f, 0.18f, 0.25f}, 1.0f);
        }
    return image;
}

enum class Pointing { Right, Left, Up, Down };

// A triangle pointing one way, clear around it.
toolImage Arrow(Pointing to) {
    constexpr int side = 16;
    const bool vertical = to == Pointing::Up || to == Pointing::Down;
    const bool forward = to == Pointing::Right || to == Pointing::Down;
    toolImage image{side, side, 4, {}};
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int a = vertical ? y : x;
            const int across = vertical ? x : y;
            const int along = forward ? a : side - 1 - a;
            const bool inside = along >= 3 && std::abs(2 * across - (side - 1)) <= 2 * (side - 3 - along);
            Put(image, {0.9f, 0.9f, 0.95f}, 1.0f, inside ? 1.0f : 0.0f);
        }
    return image;
}

// A flat bar of one colour and alpha: the list's highlight and the table's cell selection.
toolImage Bar(Rgb colour, float alpha, int width, int height) {
    toolImage image{width, height, 4, {}};
    for (int i = 0; i < width * height; ++i)
        Put(image, colour, 1.0f, alpha);
    return image;
}

// Diagonal green stripes, so a cut picture shows where it ends.
toolImage ProgressStripes() {
    toolImage image{kButtonWidth, 16, 3, {}};
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            Put(image, {0.2f, 0.75f, 0.3f}, ((x + y) / 8) % 2 ? 1.0f : 0.8f);
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

constexpr int kPointerSide = 32;

// Whether (x, y) lies inside the polygon (even-odd rule).
bool Inside(float x, float y, const std::vector<std::pair<float, float>>& polygon) {
    bool inside = false;
    for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const auto [xi, yi] = polygon[i];
        const auto [xj, yj] = polygon[j];
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
            inside = !inside;
    }
    return inside;
}

// A pointer picture: white inside the outline, a black rim one pixel wide, clear outside.
toolImage Pointer(const std::vector<std::pair<float, float>>& outline) {
    toolImage image{kPointerSide, kPointerSide, 4, {}};
    for (int y = 0; y < kPointerSide; ++y)
        for (int x = 0; x < kPointerSide; ++x) {
            const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
            if (!Inside(px, py, outline)) {
                Put(image, {0.0f, 0.0f, 0.0f}, 1.0f, 0.0f);
                continue;
            }
            bool rim = false;
            for (const auto& [dx, dy] : {std::pair{-1.0f, 0.0f}, {1.0f, 0.0f}, {0.0f, -1.0f}, {0.0f, 1.0f}})
                rim = rim || !Inside(px + dx, py + dy, outline);
            Put(image, rim ? Rgb{0.0f, 0.0f, 0.0f} : Rgb{1.0f, 1.0f, 1.0f}, 1.0f);
        }
    return image;
}

// The arrow's tip is the pointer's hot spot, (2, 2).
toolImage ArrowPointer() {
    return Pointer({{2, 2}, {2, 26}, {8, 20}, {13, 30}, {17, 28}, {12, 19}, {20, 19}});
}

// An hourglass: two wedges meeting in the middle between a top and a bottom bar.
toolImage WaitPointer() {
    return Pointer(
        {{2, 2}, {22, 2}, {22, 5}, {14, 15}, {22, 26}, {22, 29}, {2, 29}, {2, 26}, {10, 15}, {2, 5}});
}

constexpr int kKeySide = 28;

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
        {"Data/GUI/checkbox_i.png", CheckBox({0.35f, 0.45f, 0.65f}, false, false)},
        {"Data/GUI/checkbox_o.png", CheckBox({0.45f, 0.6f, 0.85f}, false, false)},
        {"Data/GUI/checkbox_p.png", CheckBox({0.3f, 0.4f, 0.6f}, true, false)},
        {"Data/GUI/checkbox_d.png", CheckBox({0.45f, 0.45f, 0.45f}, false, false)},
        {"Data/GUI/checkbox_c_i.png", CheckBox({0.35f, 0.45f, 0.65f}, false, true)},
        {"Data/GUI/checkbox_c_o.png", CheckBox({0.45f, 0.6f, 0.85f}, false, true)},
        {"Data/GUI/checkbox_c_p.png", CheckBox({0.3f, 0.4f, 0.6f}, true, true)},
        {"Data/GUI/checkbox_c_d.png", CheckBox({0.45f, 0.45f, 0.45f}, false, true)},
        {"Data/GUI/radio.png", Radio(false)},
        {"Data/GUI/radio_c.png", Radio(true)},
        {"Data/GUI/slider_track.png", Bevelled({0.2f, 0.22f, 0.28f}, true, kButtonWidth, 8, 2)},
        {"Data/GUI/slider_thumb.png", Bevelled({0.7f, 0.72f, 0.8f}, false, 12, 24, 2)},
        {"Data/GUI/increase.png", Arrow(Pointing::Right)},
        {"Data/GUI/decrease.png", Arrow(Pointing::Left)},
        {"Data/GUI/progress.png", ProgressStripes()},
        {"Data/GUI/progress_bg.png", Bevelled({0.15f, 0.15f, 0.2f}, true, kButtonWidth, 16, 2)},
        {"Data/GUI/editfield.png", Bevelled({0.12f, 0.12f, 0.16f}, true, kButtonWidth, 28, 2)},
        {"Data/GUI/caret.png", Bevelled({0.95f, 0.95f, 1.0f}, false, 2, 20, 0)},
        {"Data/GUI/dialog_bg.png", Bevelled({0.2f, 0.23f, 0.3f}, false, 256, 128)},
        {"Data/GUI/ok_i.png", Bevelled({0.3f, 0.55f, 0.35f}, false)},
        {"Data/GUI/ok_o.png", Bevelled({0.4f, 0.7f, 0.45f}, false)},
        {"Data/GUI/ok_p.png", Bevelled({0.25f, 0.5f, 0.3f}, true)},
        {"Data/GUI/ok_d.png", Bevelled({0.4f, 0.45f, 0.4f}, false)},
        {"Data/GUI/cancel_i.png", Bevelled({0.6f, 0.3f, 0.3f}, false)},
        {"Data/GUI/cancel_o.png", Bevelled({0.75f, 0.4f, 0.4f}, false)},
        {"Data/GUI/cancel_p.png", Bevelled({0.55f, 0.25f, 0.25f}, true)},
        {"Data/GUI/cancel_d.png", Bevelled({0.45f, 0.4f, 0.4f}, false)},
        // Tabs: states 0-5 plain, 6-11 the active tab, brighter.
        {"Data/GUI/tab_i.png", Bevelled({0.3f, 0.35f, 0.45f}, false, 96, 24)},
        {"Data/GUI/tab_o.png", Bevelled({0.4f, 0.45f, 0.6f}, false, 96, 24)},
        {"Data/GUI/tab_p.png", Bevelled({0.25f, 0.3f, 0.4f}, true, 96, 24)},
        {"Data/GUI/tab_d.png", Bevelled({0.4f, 0.4f, 0.4f}, false, 96, 24)},
        {"Data/GUI/tab_a_i.png", Bevelled({0.5f, 0.6f, 0.8f}, false, 96, 24)},
        {"Data/GUI/tab_a_o.png", Bevelled({0.6f, 0.7f, 0.95f}, false, 96, 24)},
        {"Data/GUI/tab_a_p.png", Bevelled({0.45f, 0.55f, 0.75f}, true, 96, 24)},
        {"Data/GUI/tab_a_d.png", Bevelled({0.5f, 0.5f, 0.55f}, false, 96, 24)},
        // List rows by the button rule, flat with a thin bevel; the highlight and the table's selection.
        {"Data/GUI/listrow_i.png", Bevelled({0.16f, 0.18f, 0.24f}, false, kButtonWidth, 20, 1)},
        {"Data/GUI/listrow_o.png", Bevelled({0.24f, 0.28f, 0.38f}, false, kButtonWidth, 20, 1)},
        {"Data/GUI/listrow_p.png", Bevelled({0.14f, 0.16f, 0.22f}, true, kButtonWidth, 20, 1)},
        {"Data/GUI/listrow_d.png", Bevelled({0.25f, 0.25f, 0.25f}, false, kButtonWidth, 20, 1)},
        {"Data/GUI/list_highlight.png", Bar({0.3f, 0.55f, 1.0f}, 0.55f, kButtonWidth, 20)},
        {"Data/GUI/table_select.png", Bar({0.35f, 0.6f, 1.0f}, 1.0f, 32, 32)},
        {"Data/GUI/dropdown.png", Arrow(Pointing::Down)},
        {"Data/GUI/uparrow.png", Arrow(Pointing::Up)},
        {"Data/GUI/browser_bg.png", Bevelled({0.18f, 0.2f, 0.26f}, false, 256, 192)},
        {"Data/GUI/Cursor.png", ArrowPointer()},
        {"Data/GUI/CursorWait.png", WaitPointer()},
        // On-screen keyboard keys by the button rule; "key_c" is a toggle key that is checked.
        {"Data/GUI/key_i.png", Bevelled({0.8f, 0.8f, 0.85f}, false, kKeySide, kKeySide, 2)},
        {"Data/GUI/key_o.png", Bevelled({0.9f, 0.9f, 1.0f}, false, kKeySide, kKeySide, 2)},
        {"Data/GUI/key_p.png", Bevelled({0.65f, 0.65f, 0.7f}, true, kKeySide, kKeySide, 2)},
        {"Data/GUI/key_d.png", Bevelled({0.5f, 0.5f, 0.5f}, false, kKeySide, kKeySide, 2)},
        {"Data/GUI/key_c.png", Bevelled({0.95f, 0.75f, 0.3f}, true, kKeySide, kKeySide, 2)},
    };
}

void toolWriteGuiSkin(const std::string& dataFolder) {
    for (const toolDefaultTexture& texture : toolGuiSkin()) {
        const std::filesystem::path path = std::filesystem::path(dataFolder) / texture.path;
        std::filesystem::create_directories(path.parent_path());
        toolWritePng(path.string(), texture.image);
    }
}
