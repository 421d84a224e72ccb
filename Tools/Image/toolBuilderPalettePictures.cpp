#include "Tools/Image/toolBuilderPalettePictures.h"

#include "Tools/Image/toolPictogram.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <utility>

namespace {

struct Rgb {
    int r, g, b;
};

using Point = toolPictogram::Point;
constexpr float kPi = 3.14159265f;

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

// A pictogram drawn into a square of the picture, in units of that square: (0, 0) its top left, (1, 1) its
// bottom right.
class Square {
  public:
    Square(toolPictogram& canvas, float left, float top, float side)
        : m_canvas(canvas), m_left(left), m_top(top), m_side(side) {}

    Point At(float u, float v) const { return {m_left + u * m_side, m_top + v * m_side}; }
    void Line(std::initializer_list<Point> units, float width) {
        m_canvas.Stroke(Map(units), width * m_side);
    }
    void Curve(const std::function<Point(float)>& fn, float width) {
        m_canvas.Stroke(Map(toolPictogram::Curve(fn)), width * m_side);
    }
    void Arrow(const std::vector<Point>& units, float width = 0.09f) {
        m_canvas.Arrow(Map(units), width * m_side, 0.22f * m_side);
    }
    void CurvedArrow(const std::function<Point(float)>& fn) { Arrow(toolPictogram::Curve(fn, 24)); }
    void Rect(float left, float top, float right, float bottom) {
        Quad({left, top}, {right, top}, {right, bottom}, {left, bottom});
    }
    // A four-cornered shape, its corners in order round it.
    void Quad(Point a, Point b, Point c, Point d) {
        m_canvas.Triangle(At(a.x, a.y), At(b.x, b.y), At(c.x, c.y));
        m_canvas.Triangle(At(a.x, a.y), At(c.x, c.y), At(d.x, d.y));
    }
    void Disc(float u, float v, float radius) { m_canvas.Disc(At(u, v), radius * m_side); }
    // A track seen from above or the side: its course with a tie across it every so often.
    void Track(const std::function<Point(float)>& fn) {
        const std::vector<Point> course = toolPictogram::Curve(fn);
        Curve(fn, 0.08f);
        float along = 0;
        for (size_t i = 1; i < course.size(); ++i) {
            const float dx = course[i].x - course[i - 1].x, dy = course[i].y - course[i - 1].y;
            along += std::hypot(dx, dy);
            if (along < 0.11f)
                continue;
            along = 0;
            const float length = std::hypot(dx, dy), nx = -dy / length * 0.09f, ny = dx / length * 0.09f;
            Line({{course[i].x - nx, course[i].y - ny}, {course[i].x + nx, course[i].y + ny}}, 0.05f);
        }
    }
    // The track's cross-section: a tie with a rail on each end, turned by the angle (radians, clockwise).
    void Profile(float u, float v, float halfWidth, float angle) {
        const float dx = std::cos(angle) * halfWidth, dy = std::sin(angle) * halfWidth;
        Line({{u - dx, v - dy}, {u + dx, v + dy}}, 0.08f);
        Disc(u - dx, v - dy, 0.08f);
        Disc(u + dx, v + dy, 0.08f);
    }

  private:
    std::vector<Point> Map(const std::vector<Point>& units) const {
        std::vector<Point> points;
        for (const Point& unit : units)
            points.push_back(At(unit.x, unit.y));
        return points;
    }
    toolPictogram& m_canvas;
    float m_left, m_top, m_side;
};

// Mirrors a pictogram left for right.
std::function<Point(float)> Mirrored(std::function<Point(float)> fn, bool mirror) {
    return [fn, mirror](float t) {
        const Point p = fn(t);
        return mirror ? Point{1 - p.x, p.y} : p;
    };
}

Point OnCircle(float u, float v, float radius, float angle) {
    return {u + radius * std::cos(angle), v + radius * std::sin(angle)};
}

// The pieces' and tools' pictograms by their picture's code; a code not named draws nothing.
void DrawGlyph(const std::string& code, Square& s) {
    const bool left = code.back() == 'l';
    if (code == "ss")
        s.Track([](float t) { return Point{0.3f + 0.4f * t, 0.5f}; });
    else if (code == "ls")
        s.Track([](float t) { return Point{0.08f + 0.84f * t, 0.5f}; });
    else if (code == "cr" || code == "cl") // seen from above, from the bottom turning aside
        s.Track(Mirrored([](float t) { return OnCircle(0.85f, 0.88f, 0.62f, kPi * (1 + 0.5f * t)); }, left));
    else if (code == "st") // on, across to one side and on again, parallel to where it began
        s.Track([](float t) {
            const float across = std::clamp((t - 0.2f) / 0.6f, 0.0f, 1.0f);
            return Point{0.16f + 0.68f * (1 - std::cos(kPi * across)) / 2, 0.92f - 0.84f * t};
        });
    else if (code == "lp") // seen from the side: along, round the circle and on
        s.Curve(
            [](float t) {
                if (t < 0.3f)
                    return Point{0.08f + t * 1.4f, 0.86f};
                if (t < 0.7f)
                    return OnCircle(0.5f, 0.55f, 0.31f, kPi * (0.5f - 2 * (t - 0.3f) / 0.4f));
                return Point{0.5f + (t - 0.7f) * 1.4f, 0.86f};
            },
            0.09f);
    else if (code == "cs") // a coil along the course
        s.Curve(
            [](float t) {
                return Point{0.1f + 0.8f * t - 0.15f * std::sin(4 * kPi * t),
                             0.5f + 0.28f * std::cos(4 * kPi * t)};
            },
            0.08f);
    else if (code == "su") // climbs to the vertical
        s.Track([](float t) { return OnCircle(0.12f, 0.12f, 0.74f, kPi * 0.5f * (1 - t)); });
    else if (code == "sr" || code == "sl")
        s.Track(Mirrored([](float t) { return Point{0.3f + 0.36f * t * t, 0.92f - 0.84f * t}; }, left));
    else if (code == "hl") {
        s.Line({{0.08f, 0.85f}, {0.5f, 0.85f}}, 0.09f);
        s.CurvedArrow([](float t) {
            return t < 0.85f ? OnCircle(0.5f, 0.5f, 0.35f, kPi * (0.5f - t / 0.85f))
                             : Point{0.5f - (t - 0.85f) * 2.2f, 0.15f};
        });
    } else if (code == "zr" || code == "zl") // from above: up, over and back down beside itself
        s.CurvedArrow(Mirrored(
            [](float t) {
                if (t < 0.3f)
                    return Point{0.28f, 0.9f - t * 1.6f};
                if (t < 0.7f)
                    return OnCircle(0.5f, 0.42f, 0.22f, kPi * (1 + (t - 0.3f) / 0.4f));
                return Point{0.72f, 0.42f + (t - 0.7f) * 1.6f};
            },
            left));
    else if (code == "pu" || code == "pd") { // from the side, the piece's end raised or lowered
        const float from = code == "pu" ? 0.8f : 0.25f, to = code == "pu" ? 0.2f : 0.85f;
        s.Line({{0.1f, from}, {0.9f, from}}, 0.04f);
        s.Arrow({{0.1f, from}, {0.9f, to}});
    } else if (code == "kl" || code == "kr") {
        // Seen from behind: a car leaning with its track, low on the side it banks to, above level ground.
        const float angle = code == "kl" ? -0.5f : 0.5f;
        const float u = 0.5f, v = 0.7f;
        s.Line({{0.06f, 0.94f}, {0.94f, 0.94f}}, 0.05f);
        s.Profile(u, v, 0.38f, angle);
        const Point across{std::cos(angle), std::sin(angle)}, up{std::sin(angle), -std::cos(angle)};
        const auto corner = [&](float side, float height) {
            return Point{u + across.x * side + up.x * height, v + across.y * side + up.y * height};
        };
        s.Quad(corner(-0.25f, 0.1f), corner(0.25f, 0.1f), corner(0.21f, 0.5f), corner(-0.21f, 0.5f));
    } else if (code == "dl" || code == "dr") { // a bend sign from the road: on ahead, then bending aside
        const auto bend = [](float t) {
            if (t < 0.4f)
                return Point{0.32f, 0.94f - t};
            return OnCircle(0.74f, 0.54f, 0.42f, kPi * (1 + 0.42f * (t - 0.4f) / 0.6f));
        };
        s.Arrow(toolPictogram::Curve(Mirrored(bend, left), 24), 0.1f);
    } else if (code == "wi" || code == "na") {
        s.Line({{0.5f, 0.2f}, {0.5f, 0.8f}}, 0.07f);
        const float inner = code == "wi" ? 0.4f : 0.08f, outer = code == "wi" ? 0.08f : 0.4f;
        s.Arrow({{inner, 0.5f}, {outer, 0.5f}});
        s.Arrow({{1 - inner, 0.5f}, {1 - outer, 0.5f}});
    } else if (code == "tb") { // from the side: the track running through a tube
        const auto rim = [](float u, float from, float to) {
            return [u, from, to](float t) {
                const float a = kPi * (from + (to - from) * t);
                return Point{u + 0.09f * std::cos(a), 0.58f + 0.28f * std::sin(a)};
            };
        };
        s.Curve(rim(0.2f, 0, 2), 0.06f);
        s.Curve(rim(0.6f, -0.5f, 0.5f), 0.06f);
        s.Line({{0.2f, 0.3f}, {0.6f, 0.3f}}, 0.06f);
        s.Line({{0.2f, 0.86f}, {0.6f, 0.86f}}, 0.06f);
        s.Line({{0.02f, 0.66f}, {0.82f, 0.66f}}, 0.08f);
    } else if (code == "ac") { // pushing on
        for (float u : {0.12f, 0.38f})
            s.Line({{u, 0.3f}, {u + 0.2f, 0.58f}, {u, 0.86f}}, 0.1f);
    } else if (code == "bk") { // the brake lamp: a ring between two arcs, round a warning
        s.Curve([](float t) { return OnCircle(0.42f, 0.6f, 0.22f, 2 * kPi * t); }, 0.07f);
        for (float side : {0.0f, 1.0f})
            s.Curve(
                [side](float t) { return OnCircle(0.42f, 0.6f, 0.36f, kPi * (side + 0.3f * (t - 0.5f))); },
                0.07f);
        s.Line({{0.42f, 0.48f}, {0.42f, 0.62f}}, 0.07f);
        s.Disc(0.42f, 0.72f, 0.045f);
    } else if (code == "ch") { // links up the track
        for (int link = 0; link < 3; ++link) {
            const float u = 0.18f + 0.2f * link, v = 0.8f - 0.2f * link;
            s.Curve(
                [u, v](float t) {
                    const float a = 2 * kPi * t, x = 0.15f * std::cos(a), y = 0.07f * std::sin(a);
                    return Point{u + (x + y) * 0.7071f, v + (y - x) * 0.7071f};
                },
                0.05f);
        }
    } else if (code == "rt") { // a speed dial turned down
        s.Curve([](float t) { return OnCircle(0.42f, 0.76f, 0.36f, kPi * (1 + t)); }, 0.07f);
        for (float a : {0.25f, 0.5f, 0.75f})
            s.Line(
                {OnCircle(0.42f, 0.76f, 0.26f, kPi * (1 + a)), OnCircle(0.42f, 0.76f, 0.31f, kPi * (1 + a))},
                0.05f);
        s.Arrow({{0.42f, 0.76f}, OnCircle(0.42f, 0.76f, 0.3f, kPi * 1.15f)}, 0.07f);
        s.Disc(0.42f, 0.76f, 0.07f);
    } else if (code == "dx") {
        s.Line({{0.22f, 0.22f}, {0.78f, 0.78f}}, 0.13f);
        s.Line({{0.78f, 0.22f}, {0.22f, 0.78f}}, 0.13f);
    } else if (code == "fn") { // a chequered flag
        s.Line({{0.22f, 0.9f}, {0.22f, 0.1f}}, 0.07f);
        for (int row = 0; row < 3; ++row)
            for (int column = row % 2; column < 4; column += 2)
                s.Rect(0.25f + 0.14f * column, 0.12f + 0.14f * row, 0.39f + 0.14f * column,
                       0.26f + 0.14f * row);
    } else if (code == "px") { // more pieces above
        for (float v : {0.3f, 0.56f})
            s.Line({{0.22f, v + 0.2f}, {0.5f, v}, {0.78f, v + 0.2f}}, 0.1f);
    }
}

struct Look {
    const char* suffix;
    Rgb face, glyph, add, remove;
};
constexpr Look kLooks[] = {
    {"_i", {60, 90, 170}, {240, 240, 240}, {70, 200, 90}, {230, 80, 70}},
    {"_o", {80, 120, 220}, {255, 255, 255}, {90, 230, 110}, {255, 100, 90}},
    {"_p", {40, 60, 120}, {210, 210, 210}, {60, 170, 80}, {200, 70, 60}},
    {"_d", {50, 50, 60}, {115, 115, 125}, {90, 95, 90}, {100, 90, 90}},
};

// A script button's face: the state's colour with a lighter top-left and darker bottom-right edge.
toolImage Face(Rgb colour) {
    toolImage image{32, 32, 3, {}};
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const float shade = (x < 2 || y < 2) ? 1.25f : (x >= 30 || y >= 30) ? 0.65f : 1.0f;
            for (int c : {colour.r, colour.g, colour.b})
                image.pixels.push_back(static_cast<u8>(std::min(255.0f, static_cast<float>(c) * shade)));
        }
    return image;
}

void Paint(toolImage& image, const toolPictogram& canvas, Rgb colour) {
    canvas.PaintOnto(image, static_cast<u8>(colour.r), static_cast<u8>(colour.g), static_cast<u8>(colour.b));
}

// A script button's pictogram, drawn once for all its looks.
toolPictogram ButtonGlyph(const std::string& code) {
    toolPictogram glyph(32, 32);
    Square square(glyph, 3, 3, 26);
    DrawGlyph(code, square);
    return glyph;
}

// A script button's picture: its pictogram, and for an element's pair a plus or minus badge at the top right.
toolImage ButtonPicture(const toolPictogram& glyph, Rgb glyphColour, char badge, const Look& look) {
    toolImage image = Face(look.face);
    Paint(image, glyph, glyphColour);
    if (badge != 0) {
        toolPictogram disc(32, 32), sign(32, 32);
        disc.Disc({25, 7}, 6.5f);
        sign.Stroke({{21.5f, 7}, {28.5f, 7}}, 2.2f);
        if (badge == '+')
            sign.Stroke({{25, 3.5f}, {25, 10.5f}}, 2.2f);
        Paint(image, disc, badge == '+' ? look.add : look.remove);
        Paint(image, sign, {255, 255, 255});
    }
    return image;
}

// A placer's picture is 64 x 64 but its window stands in a 44-pixel column over the piece buttons, so
// the piece is drawn in the top-left 40 x 40 and the rest is left clear; "nc" is blank.
constexpr int kPlacerSide = 64, kPlacerDrawn = 40, kPlacerMargin = 2;

toolPictogram PlacerGlyph(const std::string& code) {
    toolPictogram glyph(kPlacerSide, kPlacerSide);
    Square square(glyph, kPlacerMargin + 4, kPlacerMargin + 4, kPlacerDrawn - 8);
    DrawGlyph(code, square);
    return glyph;
}

toolImage PlacerPicture(const toolPictogram& glyph, const Look& look) {
    toolImage image{kPlacerSide, kPlacerSide, 4, std::vector<u8>(kPlacerSide * kPlacerSide * 4, 0)};
    for (int y = kPlacerMargin; y < kPlacerMargin + kPlacerDrawn; ++y)
        for (int x = kPlacerMargin; x < kPlacerMargin + kPlacerDrawn; ++x) {
            u8* pixel = &image.pixels[static_cast<size_t>((y * kPlacerSide + x) * 4)];
            pixel[0] = static_cast<u8>(look.face.r), pixel[1] = static_cast<u8>(look.face.g);
            pixel[2] = static_cast<u8>(look.face.b), pixel[3] = 255;
        }
    Paint(image, glyph, look.glyph);
    return image;
}

// The objectives panel's backdrop: the panel holds five 32-pixel rows and the backdrop stands 8 pixels
// above them, so only its top 176 rows are drawn; the rest stays clear over the stats panel below. The
// list stands 9 pixels in from the screen's edge and the backdrop 9 left of the list, so its right 9
// columns stay clear too: the panel ends where the tab begins, and shows nothing once slid out.
toolImage ObjectivesBackdrop() {
    // Down under the objectives' list to the line about the hint key, across to the tab.
    constexpr int kSide = 256, kDrawnRows = 192, kDrawnColumns = 247;
    toolImage image{kSide, kSide, 4, std::vector<u8>(kSide * kSide * 4, 0)};
    for (int y = 0; y < kDrawnRows; ++y)
        for (int x = 0; x < kDrawnColumns; ++x) {
            u8* pixel = &image.pixels[static_cast<size_t>((y * kSide + x) * 4)];
            pixel[0] = 30, pixel[1] = 30, pixel[2] = 60, pixel[3] = 255;
        }
    return image;
}

} // namespace

std::vector<toolDefaultTexture> toolBuilderPalettePictures() {
    std::vector<toolDefaultTexture> pictures;
    for (const Look& look : kLooks)
        pictures.push_back(
            {std::string("Data/GUI/uimp/uimpbn") + look.suffix + ".png", Solid(128, 32, look.face)});
    const std::string uitm = "Data/GUI/uitm/uitm";
    for (const char* piece : {"su", "sr", "sl", "hl", "zr", "zl", "nc"}) {
        const toolPictogram glyph = PlacerGlyph(piece);
        for (const Look& look : kLooks)
            pictures.push_back({uitm + piece + look.suffix + ".png", PlacerPicture(glyph, look)});
    }
    for (const char* code : {"ss", "ls", "cr", "cl", "st", "lp", "cs", "pu", "pd", "kl", "kr", "dl", "dr",
                             "wi", "na", "dx", "fn", "px"}) {
        const toolPictogram glyph = ButtonGlyph(code);
        for (const Look& look : kLooks) {
            const bool red = std::string(code) == "dx" && std::string(look.suffix) != "_d";
            pictures.push_back({uitm + code + look.suffix + ".png",
                                ButtonPicture(glyph, red ? Rgb{255, 120, 110} : look.glyph, 0, look)});
        }
    }
    // An element's add and remove buttons share its pictogram: "a" adds, "r" removes.
    for (const char* element : {"tb", "ac", "bk", "ch", "rt"}) {
        const toolPictogram glyph = ButtonGlyph(element);
        for (const Look& look : kLooks) {
            pictures.push_back(
                {uitm + element + "a" + look.suffix + ".png", ButtonPicture(glyph, look.glyph, '+', look)});
            pictures.push_back(
                {uitm + element + "r" + look.suffix + ".png", ButtonPicture(glyph, look.glyph, '-', look)});
        }
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
