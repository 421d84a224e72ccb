#pragma once
#include "Tools/Image/toolPngWriter.h"

#include <vector>

// A pictogram's shapes, drawn at four samples a pixel each way so that its edges come out smooth at button
// size. Coordinates are in pixels of the finished picture, (0, 0) at its top-left corner.
class toolPictogram {
  public:
    struct Point {
        float x, y;
    };

    toolPictogram(int width, int height);

    // A line through the points, of the given width, with round ends and joints.
    void Stroke(const std::vector<Point>& points, float width);
    // The points of a curve: fn(t) for t in [0, 1] at the given number of steps.
    template <class Fn> static std::vector<Point> Curve(Fn fn, int steps = 48) {
        std::vector<Point> points;
        for (int i = 0; i <= steps; ++i)
            points.push_back(fn(static_cast<float>(i) / static_cast<float>(steps)));
        return points;
    }
    void Triangle(Point a, Point b, Point c);
    // A line ending in an arrowhead at its last point.
    void Arrow(const std::vector<Point>& points, float width, float head);
    void Disc(Point centre, float radius);

    // Paints the covered part of the picture (RGB or RGBA) in the colour; it must be the canvas's size.
    void PaintOnto(toolImage& image, u8 r, u8 g, u8 b) const;

  private:
    static constexpr int kSamples = 4;
    int m_width, m_height;
    std::vector<bool> m_covered; // one a sample, rows top first

    template <class Inside> void Cover(float left, float top, float right, float bottom, Inside inside);
};
