#include "Tools/Image/toolRasteriser.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

constexpr float kNear = 0.05f;
constexpr float kAmbient = 0.35f;

maVector3d Normalised(const maVector3d& v) {
    const float length = v.Length();
    return length > 0.0f ? v / length : maVector3d(0.0f, 0.0f, 1.0f);
}

maVector3d Cross(const maVector3d& a, const maVector3d& b) {
    maVector3d out;
    a.Cross(b, out);
    return out;
}

// The camera's frame: right, up and forward, so that a point's view coordinates are its offsets along them.
struct View {
    maVector3d eye, right, up, forward;

    explicit View(const toolCamera& camera) : eye(camera.eye) {
        forward = Normalised(camera.target - camera.eye);
        right = Normalised(Cross(forward, {0.0f, 1.0f, 0.0f}));
        if (right.Length() < 0.5f || std::abs(maDot(forward, {0.0f, 1.0f, 0.0f})) > 0.999f)
            right = {1.0f, 0.0f, 0.0f};
        up = Cross(right, forward);
    }
    maVector3d ToView(const maVector3d& p) const {
        const maVector3d d = p - eye;
        return {maDot(d, right), maDot(d, up), maDot(d, forward)};
    }
};

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f);
}

// The polygon's part in front of the near plane (view coordinates, z forward): none, a triangle or a
// quadrilateral.
std::vector<maVector3d> ClipNear(const maVector3d (&corners)[3]) {
    std::vector<maVector3d> out;
    for (int i = 0; i < 3; ++i) {
        const maVector3d& a = corners[i];
        const maVector3d& b = corners[(i + 1) % 3];
        if (a.z >= kNear)
            out.push_back(a);
        if ((a.z >= kNear) != (b.z >= kNear))
            out.push_back(a + (b - a) * ((kNear - a.z) / (b.z - a.z)));
    }
    return out;
}

// Samples of the supersampled picture: colour, depth (1 / z, larger is nearer) and whether any face
// covers them.
class Canvas {
  public:
    Canvas(int width, int height)
        : m_width(width), m_height(height), m_colour(static_cast<size_t>(width) * height),
          m_depth(static_cast<size_t>(width) * height, 0.0f) {}

    // A screen-space triangle (x, y in samples, z is 1 / depth) in one colour.
    void Fill(const maVector3d& a, const maVector3d& b, const maVector3d& c,
              const std::array<float, 3>& colour) {
        const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (std::abs(area) < 1e-12f)
            return;
        const int left = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        const int right = std::min(m_width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        const int top = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        const int bottom = std::min(m_height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = top; y <= bottom; ++y)
            for (int x = left; x <= right; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                const float wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                const float wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                const float wc = 1.0f - wa - wb;
                if (wa < 0.0f || wb < 0.0f || wc < 0.0f)
                    continue;
                const float depth = wa * a.z + wb * b.z + wc * c.z;
                const size_t at = static_cast<size_t>(y) * m_width + x;
                if (depth <= m_depth[at])
                    continue;
                m_depth[at] = depth;
                m_colour[at] = colour;
            }
    }

    // Each pixel the mean of its covered samples' colours, its alpha their share.
    toolImage Reduce(int samples) const {
        const int width = m_width / samples, height = m_height / samples;
        toolImage image{width, height, 4, {}};
        image.pixels.reserve(static_cast<size_t>(width) * height * 4);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                std::array<float, 3> sum{};
                int covered = 0;
                for (int sy = 0; sy < samples; ++sy)
                    for (int sx = 0; sx < samples; ++sx) {
                        const size_t at = static_cast<size_t>(y * samples + sy) * m_width + x * samples + sx;
                        if (m_depth[at] <= 0.0f)
                            continue;
                        ++covered;
                        for (int c = 0; c < 3; ++c)
                            sum[c] += m_colour[at][c];
                    }
                const float share = static_cast<float>(covered) / static_cast<float>(samples * samples);
                for (int c = 0; c < 3; ++c)
                    image.pixels.push_back(covered ? Byte(sum[c] / static_cast<float>(covered)) : u8(0));
                image.pixels.push_back(Byte(share));
            }
        return image;
    }

  private:
    int m_width, m_height;
    std::vector<std::array<float, 3>> m_colour;
    std::vector<float> m_depth;
};

} // namespace

toolCamera toolFramingCamera(const std::vector<toolShadedTriangle>& triangles, float yaw, float pitch,
                             float aspect) {
    if (triangles.empty())
        throw std::invalid_argument("nothing to frame");
    maVector3d low = triangles[0].corners[0], high = low;
    for (const toolShadedTriangle& triangle : triangles)
        for (const maVector3d& p : triangle.corners)
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], p[axis]);
                high[axis] = std::max(high[axis], p[axis]);
            }
    toolCamera camera;
    camera.target = (low + high) * 0.5f;
    const maVector3d back(std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch));
    float distance = std::max((high - low).Length(), 1e-3f) * 2.0f;
    // The box's corners brought to fill nine tenths of the picture, centred: a few steps settle it.
    const float tanY = std::tan(camera.fieldOfView / 2.0f), tanX = tanY * aspect;
    for (int step = 0; step < 6; ++step) {
        camera.eye = camera.target + back * distance;
        const View view(camera);
        float left = 1e9f, right = -1e9f, bottom = 1e9f, top = -1e9f;
        for (int corner = 0; corner < 8; ++corner) {
            const maVector3d p = view.ToView(
                {corner & 1 ? high.x : low.x, corner & 2 ? high.y : low.y, corner & 4 ? high.z : low.z});
            left = std::min(left, p.x / p.z / tanX), right = std::max(right, p.x / p.z / tanX);
            bottom = std::min(bottom, p.y / p.z / tanY), top = std::max(top, p.y / p.z / tanY);
        }
        camera.target = camera.target + view.right * ((left + right) / 2.0f * tanX * distance) +
                        view.up * ((bottom + top) / 2.0f * tanY * distance);
        distance *= std::max(right - left, top - bottom) / 2.0f / 0.9f;
    }
    camera.eye = camera.target + back * distance;
    return camera;
}

toolImage toolRasterise(const std::vector<toolShadedTriangle>& triangles, const toolCamera& camera, int width,
                        int height, int samples) {
    const View view(camera);
    // Over the viewer's left shoulder, in view coordinates.
    const maVector3d light = Normalised({-0.45f, 0.75f, -0.5f});
    const float focal = static_cast<float>(height * samples) / 2.0f / std::tan(camera.fieldOfView / 2.0f);
    const float centreX = static_cast<float>(width * samples) / 2.0f;
    const float centreY = static_cast<float>(height * samples) / 2.0f;
    Canvas canvas(width * samples, height * samples);
    for (const toolShadedTriangle& triangle : triangles) {
        const maVector3d corners[3] = {view.ToView(triangle.corners[0]), view.ToView(triangle.corners[1]),
                                       view.ToView(triangle.corners[2])};
        maVector3d normal = Normalised(Cross(corners[1] - corners[0], corners[2] - corners[0]));
        // Both sides are drawn, each lit as the side that faces the viewer.
        if (maDot(normal, corners[0]) > 0.0f)
            normal = normal * -1.0f;
        const float shade = kAmbient + (1.0f - kAmbient) * std::max(0.0f, maDot(normal, light));
        const std::array<float, 3> colour{triangle.colour[0] * shade, triangle.colour[1] * shade,
                                          triangle.colour[2] * shade};
        std::vector<maVector3d> screen;
        for (const maVector3d& p : ClipNear(corners))
            screen.push_back({centreX + p.x / p.z * focal, centreY - p.y / p.z * focal, 1.0f / p.z});
        for (size_t i = 2; i < screen.size(); ++i)
            canvas.Fill(screen[0], screen[i - 1], screen[i], colour);
    }
    return canvas.Reduce(samples);
}

void toolCompose(toolImage& background, const toolImage& picture) {
    if (background.width != picture.width || background.height != picture.height || picture.channels != 4)
        throw std::invalid_argument("pictures to compose differ in size");
    const size_t pixels = static_cast<size_t>(picture.width) * picture.height;
    for (size_t i = 0; i < pixels; ++i) {
        const float alpha = picture.pixels[i * 4 + 3] / 255.0f;
        u8* under = &background.pixels[i * background.channels];
        for (int c = 0; c < 3; ++c)
            under[c] = static_cast<u8>(under[c] * (1.0f - alpha) + picture.pixels[i * 4 + c] * alpha + 0.5f);
        if (background.channels == 4)
            under[3] = std::max(under[3], picture.pixels[i * 4 + 3]);
    }
}
