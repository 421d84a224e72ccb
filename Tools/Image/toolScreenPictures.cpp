#include "Tools/Image/toolScreenPictures.h"

#include "Engine/Platform/Graphics/plFontRasterizer.h"
#include "Tools/Image/toolPictogram.h"
#include "Tools/Image/toolTitleLettering.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <tuple>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kTile = 200;

struct Rgb {
    float r, g, b;
};

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

// Each menu's two sky colours, top and bottom.
std::array<Rgb, 2> Colours(const std::string& menu) {
    if (menu == "uimm")
        return {{{40, 70, 160}, {230, 140, 60}}};
    if (menu == "uilm")
        return {{{30, 110, 90}, {200, 210, 120}}};
    if (menu == "uisi")
        return {{{90, 40, 120}, {220, 120, 160}}};
    if (menu == "uicm")
        return {{{110, 30, 30}, {240, 200, 90}}};
    if (menu == "uicc")
        return {{{20, 90, 140}, {140, 220, 230}}};
    if (menu == "uicd")
        return {{{20, 20, 50}, {110, 60, 140}}};
    return {{{100, 100, 100}, {160, 160, 160}}};
}

// A flat face of one colour with a lighter top edge and a darker bottom edge, as a bevel.
toolImage Face(int width, int height, Rgb colour) {
    toolImage image{width, height, 3, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool top = y < 3 || x < 3;
            const bool bottom = y >= height - 3 || x >= width - 3;
            const float shade = top ? 1.3f : bottom ? 0.6f : 1.0f;
            image.pixels.insert(image.pixels.end(),
                                {Byte(colour.r * shade), Byte(colour.g * shade), Byte(colour.b * shade)});
        }
    return image;
}

// A face over the top `rows` rows, clear below: stacked buttons that overlap the next by their lower part
// leave its caption showing.
toolImage TopFace(int width, int height, int rows, Rgb colour) {
    const toolImage face = Face(width, rows, colour);
    toolImage image{width, height, 4, {}};
    image.pixels.reserve(static_cast<size_t>(width) * height * 4);
    for (int i = 0; i < width * height; ++i) {
        const bool shown = i < width * rows;
        for (int c = 0; c < 3; ++c)
            image.pixels.push_back(shown ? face.pixels[static_cast<size_t>(i) * 3 + c] : 0);
        image.pixels.push_back(shown ? 255 : 0);
    }
    return image;
}

toolImage Solid(int width, int height, Rgb colour) {
    toolImage image{width, height, 3, {}};
    for (int i = 0; i < width * height; ++i)
        image.pixels.insert(image.pixels.end(), {Byte(colour.r), Byte(colour.g), Byte(colour.b)});
    return image;
}

// A value that 5 bits hold, so the 16-bit textures the GUI's pictures load into keep it: the level below
// or above by a threshold in [0, 1), 0.5 rounding to the nearest.
u8 FiveBits(float value, float threshold = 0.5f) {
    const int five =
        std::min(31, static_cast<int>(std::clamp(value, 0.0f, 255.0f) * 31.0f / 255.0f + threshold));
    return static_cast<u8>((five * 255 + 15) / 31);
}

// An ordered 4 x 4 dither's threshold at a pixel: a gradient cut to 5 bits mixes its two nearest levels
// in a fine pattern instead of showing bands.
float DitherThreshold(int x, int y) {
    constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (static_cast<float>(kBayer[y % 4][x % 4]) + 0.5f) / 16.0f;
}

toolImage Cut(const toolImage& whole, int left, int top) {
    toolImage tile{kTile, kTile, 3, {}};
    for (int y = 0; y < kTile; ++y) {
        const auto row = whole.pixels.begin() + ((top + y) * whole.width + left) * 3;
        tile.pixels.insert(tile.pixels.end(), row, row + kTile * 3);
    }
    return tile;
}

// A medal on a clear field, drawn smooth at the size it is shown: a ribbon above a disc of the metal with
// a darker rim and a lighter star, in flat tones that the 16-bit textures keep without bands.
toolImage Medal(Rgb metal, int width, int height, toolPictogram::Point centre, float radius) {
    toolImage image{width, height, 4, std::vector<u8>(static_cast<size_t>(width) * height * 4, 0)};
    const auto paint = [&image](const toolPictogram& shape, Rgb colour, float shade) {
        shape.PaintOnto(image, Byte(colour.r * shade), Byte(colour.g * shade), Byte(colour.b * shade));
    };
    toolPictogram ribbon(width, height), rim(width, height), face(width, height), star(width, height);
    for (const float side : {-1.0f, 1.0f})
        ribbon.Stroke({{centre.x + side * radius * 0.5f, centre.y - radius * 1.45f},
                       {centre.x + side * radius * 0.15f, centre.y - radius * 0.6f}},
                      radius * 0.32f);
    rim.Disc(centre, radius);
    face.Disc(centre, radius * 0.8f);
    const auto at = [centre](float r, int k) {
        const float angle = (-0.5f + 0.2f * static_cast<float>(k)) * 3.14159265f;
        return toolPictogram::Point{centre.x + r * std::cos(angle), centre.y + r * std::sin(angle)};
    };
    for (int k = 0; k < 10; k += 2) {
        star.Triangle(at(radius * 0.6f, k), at(radius * 0.25f, k + 1), at(radius * 0.25f, k + 9));
        star.Triangle(centre, at(radius * 0.25f, k + 1), at(radius * 0.25f, k + 3));
    }
    paint(ribbon, {190, 40, 50}, 1.0f);
    paint(rim, metal, 0.7f);
    paint(face, metal, 1.0f);
    paint(star,
          {std::min(255.0f, metal.r * 1.2f + 30), std::min(255.0f, metal.g * 1.2f + 30),
           std::min(255.0f, metal.b * 1.2f + 30)},
          1.0f);
    return image;
}

// The grey of a caption that cannot be pressed, as the scripts give their disabled captions.
constexpr float kDisabledCaption = 150.0f;

bool IsDisabledLook(const std::string& file) {
    return file.ends_with("_d.png") || file.ends_with("_sd.png");
}

// The caption centred on the face (on its left `span` columns when given), blended by the glyphs'
// coverage: white, grey on a disabled look.
void Letter(toolDefaultTexture& picture, const envString& caption, plFontRasterizer& fonts, int span = 0) {
    toolImage& face = picture.image;
    const float ink = IsDisabledLook(picture.path) ? kDisabledCaption : 255.0f;
    span = span > 0 ? span : face.width;
    const std::u16string_view text(caption.GetData() ? caption.GetData() : u"", caption.GetLength());
    const plFontHandle font = fonts.CreateFont("DejaVu Sans", face.height * 2 / 3);
    u32 width = 0, height = 0;
    if (!font || !fonts.MeasureText(font, text, width, height))
        throw std::runtime_error("no font to letter the captions with");
    std::vector<u32> coverage(static_cast<size_t>(face.width) * static_cast<size_t>(face.height), 0);
    fonts.DrawText(font, text, (span - static_cast<i32>(width)) / 2,
                   (face.height - static_cast<i32>(height)) / 2, coverage.data(),
                   static_cast<u32>(face.width), static_cast<u32>(face.height));
    fonts.DeleteFont(font);
    for (size_t i = 0; i < coverage.size(); ++i) {
        const float c = static_cast<float>(coverage[i] & 0xFF) / 255.0f;
        for (size_t channel = 0; channel < 3; ++channel) {
            u8& value = face.pixels[i * 3 + channel];
            value = Byte(static_cast<float>(value) * (1.0f - c) + ink * c);
        }
    }
}

// The game's name across the main menu's backdrop, left of its buttons and between the rows of the tiles'
// centres: a light face, thickened by drawing it three times a pixel apart, over a dark shadow.
void DrawTitle(toolImage& backdrop, plFontRasterizer& fonts) {
    constexpr int kLeft = 20, kRight = 480, kTop = 140;
    toolLetterTitle(backdrop, fonts, u"Loopvane", {100, {255, 236, 190}, 3, 5, 0.55f}, kLeft, kRight, kTop,
                    [](float value) { return FiveBits(value); });
}

void AddFaces(std::vector<toolDefaultTexture>& out, const std::string& prefix, int width, int height,
              Rgb colour, int faceRows = 0) {
    const std::pair<const char*, float> states[] = {{"_i", 1.0f}, {"_o", 1.25f}, {"_p", 0.8f}, {"_d", 0.5f}};
    for (const auto& [suffix, shade] : states) {
        const Rgb shaded{colour.r * shade, colour.g * shade, colour.b * shade};
        out.push_back({prefix + suffix + ".png",
                       faceRows ? TopFace(width, height, faceRows, shaded) : Face(width, height, shaded)});
    }
}

// Idle, over, checked, checked under the pointer and disabled faces of a check box `width` x 32, the face
// over its top `faceRows` rows.
void AddCheckFaces(std::vector<toolDefaultTexture>& out, const std::string& prefix, Rgb colour,
                   int faceRows = 32, int width = 128) {
    const std::pair<const char*, Rgb> states[] = {
        {"_i", colour},
        {"_o", {colour.r * 1.25f, colour.g * 1.25f, colour.b * 1.25f}},
        {"_s", {colour.r * 0.6f, colour.g * 1.6f, colour.b * 0.6f}},
        // Checked under the pointer: the checked green, lit as the pointer lights an unchecked face.
        {"_so", {colour.r * 0.75f, colour.g * 2.0f, colour.b * 0.75f}},
        {"_d", {colour.r * 0.5f, colour.g * 0.5f, colour.b * 0.5f}},
        // Checked but disabled: a dimmed checked face, so a locked option still shows that it is on.
        {"_sd", {colour.r * 0.4f, colour.g * 1.0f, colour.b * 0.4f}}};
    for (const auto& [suffix, shade] : states)
        out.push_back({prefix + suffix + ".png",
                       faceRows < 32 ? TopFace(width, 32, faceRows, shade) : Face(width, 32, shade)});
}

// An on/off switch's face, 256 x 24: the bar in the state's colour and, right of its caption, a switch
// whose knob stands left on a dark track when off and right on a green one when on, so the state reads
// at a glance whether the pointer is over it or not.
toolImage SwitchFace(Rgb bar, bool on, float light) {
    constexpr int kSwitchWidth = 256, kSwitchHeight = 24;
    constexpr float kFrom = 214, kTo = 242, kMiddle = kSwitchHeight / 2.0f;
    toolImage image = Face(kSwitchWidth, kSwitchHeight, {bar.r * light, bar.g * light, bar.b * light});
    toolPictogram track(kSwitchWidth, kSwitchHeight), knob(kSwitchWidth, kSwitchHeight);
    track.Stroke({{kFrom, kMiddle}, {kTo, kMiddle}}, 16);
    knob.Disc({on ? kTo : kFrom, kMiddle}, 6);
    const Rgb trackColour = on ? Rgb{60, 200, 90} : Rgb{25, 25, 35};
    const float knobShade = (on ? 255 : 170) * std::min(light, 1.0f);
    track.PaintOnto(image, Byte(trackColour.r * light), Byte(trackColour.g * light),
                    Byte(trackColour.b * light));
    knob.PaintOnto(image, Byte(knobShade), Byte(knobShade), Byte(knobShade));
    return image;
}

// Off and on, each idle, under the pointer and disabled: "_i", "_o", "_d" and "_s", "_so", "_sd".
void AddSwitchFaces(std::vector<toolDefaultTexture>& out, const std::string& prefix, Rgb off, Rgb on) {
    const std::tuple<const char*, bool, float> looks[] = {{"_i", false, 1.0f}, {"_o", false, 1.3f},
                                                          {"_d", false, 0.5f}, {"_s", true, 1.0f},
                                                          {"_so", true, 1.3f}, {"_sd", true, 0.5f}};
    for (const auto& [suffix, checked, light] : looks)
        out.push_back({prefix + suffix + ".png", SwitchFace(checked ? on : off, checked, light)});
}

} // namespace

toolImage toolMenuBackdrop(const std::string& menu) {
    const auto [top, bottom] = Colours(menu);
    toolImage image{kWidth, kHeight, 3, {}};
    image.pixels.reserve(static_cast<size_t>(kWidth) * kHeight * 3);
    for (int y = 0; y < kHeight; ++y) {
        const float t = static_cast<float>(y) / (kHeight - 1);
        for (int x = 0; x < kWidth; ++x) {
            // A slow wave of light across the sky, so the tiles differ left to right too.
            const float glow = 0.85f + 0.15f * std::sin(static_cast<float>(x) / 127.0f);
            const float threshold = DitherThreshold(x, y);
            image.pixels.insert(image.pixels.end(),
                                {FiveBits((top.r + (bottom.r - top.r) * t) * glow, threshold),
                                 FiveBits((top.g + (bottom.g - top.g) * t) * glow, threshold),
                                 FiveBits((top.b + (bottom.b - top.b) * t) * glow, threshold)});
        }
    }
    return image;
}

std::vector<toolDefaultTexture> toolScreenPictures(const envString& okCaption, plFontRasterizer& fonts) {
    std::vector<toolDefaultTexture> pictures;
    for (const std::string menu : {"uimm", "uilm", "uisi", "uicm", "uicc", "uicd"}) {
        toolImage whole = toolMenuBackdrop(menu);
        if (menu == "uimm")
            DrawTitle(whole, fonts);
        for (int i = 0; i < 12; ++i)
            pictures.push_back({"Data/GUI/" + menu + "/" + menu + "_" + std::to_string(i) + ".png",
                                Cut(whole, kTile * (i % 4), kTile * (i / 4))});
    }
    // The medal question lays its medal picture over its middle, so the medal stands in the upper right,
    // clear of the question's column on the left and of the buttons below; the career menu shows the
    // small ones beside its medal counts.
    const std::pair<const char*, Rgb> metals[] = {
        {"br", {205, 127, 50}}, {"sl", {200, 200, 210}}, {"gd", {250, 200, 40}}};
    for (const auto& [metal, colour] : metals) {
        pictures.push_back(
            {std::string("Data/GUI/uicm/uicm") + metal + "bi.png", Medal(colour, 256, 128, {200, 58}, 38)});
        pictures.push_back(
            {std::string("Data/GUI/uicm/uicm") + metal + "sm.png", Medal(colour, 32, 32, {16, 19}, 12)});
    }
    AddFaces(pictures, "Data/GUI/uimm/uimmbn", 256, 64, {60, 90, 170});
    AddFaces(pictures, "Data/GUI/uiqd/uiqdbn", 128, 32, {70, 120, 70});
    pictures.push_back({"Data/GUI/uiqd/uiqdbk_i.png", Face(512, 256, {40, 40, 70})});
    AddFaces(pictures, "Data/GUI/uicd/uicdbn", 128, 32, {70, 70, 120});
    for (size_t i = pictures.size() - 4; i < pictures.size(); ++i)
        Letter(pictures[i], okCaption, fonts);
    AddFaces(pictures, "Data/GUI/uilm/uilmhd", 128, 32, {90, 60, 110});
    // The career menu's check faces: track types, and missions lettered with their numbers. A mission's
    // button is 200 wide and its "Done" stands over the right 72 pixels, so the caption keeps to the left.
    AddCheckFaces(pictures, "Data/GUI/uicm/uicmtt", {60, 90, 170});
    for (int mission = 1; mission <= 8; ++mission) {
        const size_t first = pictures.size();
        AddCheckFaces(pictures, "Data/GUI/uicm/uicmm" + std::to_string(mission), {70, 110, 90}, 32, 200);
        for (size_t i = first; i < pictures.size(); ++i)
            Letter(pictures[i], envString(("Mission " + std::to_string(mission)).c_str()), fonts, 128);
    }
    // The file browser's and the name keyboard's panels, buttons and keys.
    pictures.push_back({"Data/GUI/uibd/uibdbk_i.png", Face(512, 512, {40, 40, 70})});
    AddFaces(pictures, "Data/GUI/uibd/uibdbn", 128, 32, {70, 120, 70});
    AddFaces(pictures, "Data/GUI/uibd/uibdup", 32, 32, {90, 90, 140});
    pictures.push_back({"Data/GUI/uikd/uikdbk_i.png", Face(512, 256, {40, 40, 70})});
    AddFaces(pictures, "Data/GUI/uikd/uikdbn", 128, 32, {70, 120, 70});
    AddFaces(pictures, "Data/GUI/uikd/uikdky", 32, 32, {90, 90, 140});
    pictures.push_back({"Data/GUI/uikd/uikdky_c.png", Face(32, 32, {150, 150, 60})});
    pictures.push_back({"Data/GUI/uikd/uikdky_cd.png", Face(32, 32, {75, 75, 30})});
    // The colour picker's panel and buttons, its parts, the chosen one lit green as the game's other checked
    // faces, and its swatch, white so that the set colour shows as it is.
    pictures.push_back({"Data/GUI/uitc/uitcbk_i.png", Face(512, 512, {40, 40, 70})});
    AddFaces(pictures, "Data/GUI/uitc/uitcbn", 128, 32, {70, 120, 70});
    AddCheckFaces(pictures, "Data/GUI/uitc/uitcpt", {70, 120, 70});
    pictures.push_back({"Data/GUI/uitc/uitcsw_i.png", Solid(64, 64, {255, 255, 255})});
    // The ride pause dialog's column buttons, check boxes, panel options and the lists' backdrop.
    // The ride pause column's buttons are 38 high and stacked every 28: the face fills the top 28.
    AddFaces(pictures, "Data/GUI/uirp/uirpbn", 256, 64, {60, 90, 170}, 64 * 28 / 38);
    // Its check boxes are 32 high and stacked every 22.
    AddCheckFaces(pictures, "Data/GUI/uirp/uirpck", {70, 110, 90}, 22);
    AddCheckFaces(pictures, "Data/GUI/uirp/uirpop", {50, 60, 100});
    // The lists' backdrop stands 290 high over a list of 160: the face fills the top 175 of them, its rows
    // rounded up so that it reaches the next button with no line of the scene between.
    pictures.push_back(
        {"Data/GUI/uirp/uirplb_i.png", TopFace(256, 256, (256 * 175 + 289) / 290, {30, 30, 60})});
    // The options dialog's panel, buttons, category tabs and check boxes.
    pictures.push_back({"Data/GUI/uiod/uiodbk_i.png", Face(512, 512, {40, 40, 70})});
    AddFaces(pictures, "Data/GUI/uiod/uiodbn", 128, 32, {70, 120, 70});
    AddCheckFaces(pictures, "Data/GUI/uiod/uiodtb", {60, 90, 170});
    AddSwitchFaces(pictures, "Data/GUI/uiod/uiodck", {50, 60, 100}, {30, 96, 60});
    return pictures;
}
