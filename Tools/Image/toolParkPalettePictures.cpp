#include "Tools/Image/toolParkPalettePictures.h"

#include "Tools/Image/toolPictogram.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>

namespace {

struct Rgb {
    float r, g, b;
};

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

// One colour with a lighter top-left edge and a darker bottom-right edge.
toolImage Face(int width, int height, Rgb colour) {
    toolImage image{width, height, 3, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool top = y < 2 || x < 2;
            const bool bottom = y >= height - 2 || x >= width - 2;
            const float shade = top ? 1.3f : bottom ? 0.6f : 1.0f;
            image.pixels.insert(image.pixels.end(),
                                {Byte(colour.r * shade), Byte(colour.g * shade), Byte(colour.b * shade)});
        }
    return image;
}

// A face over the columns [left, right) and rows [top, bottom) of a picture, clear elsewhere: a palette
// piece whose window the palette places wider or taller than the piece should look.
toolImage FaceWithin(int width, int height, int left, int top, int right, int bottom, Rgb colour) {
    const toolImage face = Face(right - left, bottom - top, colour);
    toolImage image{width, height, 4, std::vector<u8>(static_cast<size_t>(width) * height * 4, 0)};
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const size_t from = (static_cast<size_t>(y - top) * face.width + (x - left)) * 3;
            const size_t to = (static_cast<size_t>(y) * width + x) * 4;
            std::copy_n(face.pixels.begin() + static_cast<std::ptrdiff_t>(from), 3,
                        image.pixels.begin() + static_cast<std::ptrdiff_t>(to));
            image.pixels[to + 3] = 255;
        }
    return image;
}

// The props palette's preview (97 x 54, 32 in from its left and 5 up from its bottom) reaches past its
// bottom panel (which ends 121 in and 19 up): a prop's preview picture is drawn where it lies over the panel,
// 4 inside the panel's edges, and clear beyond.
toolImage PropPreview(Rgb colour) {
    return FaceWithin(128, 64, 0, 64 * 4 / 54, 128 * (121 - 4 - 32) / 97, 64 * (59 - 19 - 4) / 54, colour);
}

Rgb Shaded(Rgb colour, float shade) {
    return {colour.r * shade, colour.g * shade, colour.b * shade};
}

// The props palette's tab arrows flank the category title inside the frame's top: the frame's sides stand
// 11 columns into the left arrow's picture and 17 into the right one's, so each arrow is a triangle of 8
// columns just inside its side (12 to 19 of the left picture, 8 to 15 of the right), clear elsewhere.
toolImage Arrow(Rgb colour, bool pointsLeft) {
    toolImage image{32, 32, 4, {}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const int fromApex = pointsLeft ? x - 12 : 15 - x;
            const bool inside =
                fromApex >= 0 && fromApex < 8 && std::abs(2 * y - 31) <= 1 + 12 * fromApex / 7;
            image.pixels.insert(image.pixels.end(),
                                {Byte(colour.r), Byte(colour.g), Byte(colour.b), u8(inside ? 255 : 0)});
        }
    return image;
}

void AddArrowStates(std::vector<toolDefaultTexture>& out, const std::string& prefix, Rgb colour,
                    bool pointsLeft) {
    const std::pair<const char*, float> states[] = {{"_i", 1.0f}, {"_o", 1.25f}, {"_p", 0.8f}, {"_d", 0.5f}};
    for (const auto& [suffix, shade] : states)
        out.push_back({prefix + suffix + ".png", Arrow(Shaded(colour, shade), pointsLeft)});
}

// The tool box's pictograms: "rt" turns, "tr" moves, "sa" chooses an animation, "dl" deletes.
toolPictogram ToolGlyph(const std::string& tool) {
    toolPictogram glyph(32, 32);
    if (tool == "rt") {
        glyph.Arrow(toolPictogram::Curve([](float t) {
                        const float angle = 3.14159265f * (-0.4f + 1.6f * t);
                        return toolPictogram::Point{16 + 9 * std::cos(angle), 16 + 9 * std::sin(angle)};
                    }),
                    3, 7);
    } else if (tool == "tr") {
        for (const toolPictogram::Point& end : {toolPictogram::Point{16, 4}, {28, 16}, {16, 28}, {4, 16}})
            glyph.Arrow({{16, 16}, end}, 3, 7);
    } else if (tool == "sa") {
        glyph.Triangle({10, 7}, {25, 16}, {10, 25});
    } else if (tool == "dl") {
        glyph.Stroke({{8, 8}, {24, 24}}, 4);
        glyph.Stroke({{24, 8}, {8, 24}}, 4);
    }
    return glyph;
}

void AddStates(std::vector<toolDefaultTexture>& out, const std::string& folder, const std::string& tool,
               Rgb colour, bool disabled) {
    const toolPictogram glyph = ToolGlyph(tool);
    const std::pair<const char*, float> states[] = {{"_i", 1.0f}, {"_o", 1.25f}, {"_p", 0.8f}, {"_d", 0.5f}};
    for (const auto& [suffix, shade] : states) {
        if (suffix[1] == 'd' && !disabled)
            continue;
        toolImage face = Face(32, 32, Shaded(colour, shade));
        const u8 light = suffix[1] == 'd' ? 150 : 255;
        glyph.PaintOnto(face, light, light, light);
        out.push_back({folder + tool + suffix + ".png", std::move(face)});
    }
}

} // namespace

std::vector<toolDefaultTexture> toolParkPalettePictures() {
    constexpr Rgb kFrame{70, 90, 130};
    std::vector<toolDefaultTexture> pictures;
    const std::string uipp = "Data/GUI/uipp/uipp";
    // The props palette's top stands from 11 pixels above the palette down to where the icon grid begins,
    // 64 pixels into it: a face in its top 75 rows, so the grid shows at any height. It is 128 wide from 22
    // into the palette, whose frame ends with the right side's strip 116 columns in: clear beyond, so the
    // frame keeps its width and off the screen's edge.
    pictures.push_back({uipp + "nb_i.png", FaceWithin(128, 128, 0, 0, 116, 75, kFrame)});
    // The grid's sides: "Left" and "Right" are 32 wide but reach 12 into the grid from either side, so each
    // is a strip in the columns that flank the grid, 23 to 32 and 128 to 137 of the palette.
    pictures.push_back({uipp + "lr_i.png", FaceWithin(32, 32, 12, 0, 21, 32, Shaded(kFrame, 0.8f))});
    // The title bar starts 5 above the grid's end: clear there, so the last row of icons shows whole.
    pictures.push_back({uipp + "br_i.png", FaceWithin(128, 32, 0, 5, 128, 32, {40, 60, 110})});
    pictures.push_back({uipp + "bm_i.png", Face(128, 64, kFrame)});
    // The props palette's own bottom panel stands at its left edge, 19 left of where the dock palette's
    // does: clear over those columns, so it starts under the frame as the dock's does.
    pictures.push_back({uipp + "bp_i.png", FaceWithin(128, 64, 128 * 19 / 121, 0, 128, 64, kFrame)});
    pictures.push_back({uipp + "gd_i.png", Face(32, 32, {200, 200, 190})});
    pictures.push_back({uipp + "tp_i.png", Face(128, 16, kFrame)});
    AddArrowStates(pictures, uipp + "la", {200, 160, 60}, true);
    AddArrowStates(pictures, uipp + "ra", {200, 160, 60}, false);
    const std::string uipa = "Data/GUI/uipa/uipa";
    AddStates(pictures, uipa, "rt", {60, 140, 200}, true);
    AddStates(pictures, uipa, "tr", {60, 180, 90}, true);
    AddStates(pictures, uipa, "sa", {200, 140, 60}, false);
    AddStates(pictures, uipa, "dl", {190, 60, 60}, false);
    pictures.push_back({"Data/GUI/uisp/uigsbg_i.png", Face(128, 128, {30, 40, 70})});

    // The tab of a theme that has no picture of its own (the icon generator draws one from its props).
    constexpr Rgb kTab{150, 120, 70};
    constexpr Rgb kWhite{255, 255, 255};
    pictures.push_back({"Themes/thmtab_i.png", Face(32, 32, kTab)});
    pictures.push_back({"Themes/thmtab_s.png", Face(32, 32, Shaded(kTab, 1.4f))});
    pictures.push_back({"Themes/prpdef_i.png", Face(32, 32, {120, 120, 120})});
    pictures.push_back({"Themes/prpdefpd.png", PropPreview({120, 120, 120})});
    pictures.push_back({"Themes/dckdef_i.png", Face(32, 32, kWhite)});
    pictures.push_back({"Themes/dckdefpd.png", Face(128, 64, {120, 120, 120})});
    return pictures;
}
