#include "Tools/Image/toolPictogram.h"

#include <algorithm>
#include <cmath>

toolPictogram::toolPictogram(int width, int height)
    : m_width(width), m_height(height),
      m_covered(static_cast<size_t>(width * kSamples * height * kSamples), false) {}

template <class Inside>
void toolPictogram::Cover(float left, float top, float right, float bottom, Inside inside) {
    const int w = m_width * kSamples, h = m_height * kSamples;
    const int x0 = std::max(0, static_cast<int>(std::floor(left * kSamples)));
    const int y0 = std::max(0, static_cast<int>(std::floor(top * kSamples)));
    const int x1 = std::min(w - 1, static_cast<int>(std::ceil(right * kSamples)));
    const int y1 = std::min(h - 1, static_cast<int>(std::ceil(bottom * kSamples)));
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const Point p{(static_cast<float>(x) + 0.5f) / kSamples,
                          (static_cast<float>(y) + 0.5f) / kSamples};
            if (inside(p))
                m_covered[static_cast<size_t>(y * w + x)] = true;
        }
}

void toolPictogram::Stroke(const std::vector<Point>& points, float width) {
    const float r = width / 2;
    for (size_t i = 0; i + 1 < points.size(); ++i) {
        const Point a = points[i], b = points[i + 1];
        const float dx = b.x - a.x, dy = b.y - a.y, length2 = dx * dx + dy * dy;
        Cover(std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r,
              [&](Point p) {
                  const float t =
                      length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0f, 1.0f)
                                  : 0;
                  const float ex = p.x - a.x - t * dx, ey = p.y - a.y - t * dy;
                  return ex * ex + ey * ey <= r * r;
              });
    }
    if (points.size() == 1)
        Disc(points[0], r);
}

void toolPictogram::Triangle(Point a, Point b, Point c) {
    auto side = [](Point p, Point q, Point s) {
        return (q.x - p.x) * (s.y - p.y) - (q.y - p.y) * (s.x - p.x);
    };
    Cover(std::min({a.x, b.x, c.x}), std::min({a.y, b.y, c.y}), std::max({a.x, b.x, c.x}),
          std::max({a.y, b.y, c.y}), [&](Point p) {
              const float u = side(a, b, p), v = side(b, c, p), w = side(c, a, p);
              return (u >= 0 && v >= 0 && w >= 0) || (u <= 0 && v <= 0 && w <= 0);
          });
}

void toolPictogram::Arrow(const std::vector<Point>& points, float width, float head) {
    const Point tip = points.back(), from = points[points.size() - 2];
    const float dx = tip.x - from.x, dy = tip.y - from.y, length = std::hypot(dx, dy);
    const float ux = dx / length, uy = dy / length;
    // The line stops inside the head so that its round end does not show past the point.
    std::vector<Point> line = points;
    line.back() = {tip.x - ux * head * 0.8f, tip.y - uy * head * 0.8f};
    Stroke(line, width);
    const Point base{tip.x - ux * head, tip.y - uy * head};
    Triangle(tip, {base.x - uy * head * 0.7f, base.y + ux * head * 0.7f},
             {base.x + uy * head * 0.7f, base.y - ux * head * 0.7f});
}

void toolPictogram::Disc(Point centre, float radius) {
    Cover(centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius, [&](Point p) {
        const float dx = p.x - centre.x, dy = p.y - centre.y;
        return dx * dx + dy * dy <= radius * radius;
    });
}

void toolPictogram::PaintOnto(toolImage& image, u8 r, u8 g, u8 b) const {
    const int w = m_width * kSamples;
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x) {
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx)
                    covered += m_covered[static_cast<size_t>((y * kSamples + sy) * w + x * kSamples + sx)];
            if (covered == 0)
                continue;
            const float share = static_cast<float>(covered) / (kSamples * kSamples);
            u8* pixel = &image.pixels[static_cast<size_t>((y * m_width + x) * image.channels)];
            const u8 colour[3] = {r, g, b};
            for (int c = 0; c < 3; ++c)
                pixel[c] = static_cast<u8>(std::lround(pixel[c] + (colour[c] - pixel[c]) * share));
            if (image.channels == 4)
                pixel[3] = std::max(pixel[3], static_cast<u8>(std::lround(255 * share)));
        }
}
