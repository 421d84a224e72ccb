#include "Tools/Image/toolModelPictures.h"

#include <algorithm>
#include <cmath>

namespace {

using Colour = std::array<float, 3>;

constexpr int kChoiceWidth = 256;
constexpr int kChoiceHeight = 128;
// Seen from the front right and a little above.
constexpr float kYaw = 0.65f;
constexpr float kPitch = 0.42f;

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 255.0f) + 0.5f);
}

// A vertical blend from the top colour to the bottom one (0 to 255), opaque.
toolImage Gradient(int width, int height, Colour top, Colour bottom) {
    toolImage image{width, height, 4, {}};
    for (int y = 0; y < height; ++y) {
        const float t = static_cast<float>(y) / static_cast<float>(std::max(height - 1, 1));
        for (int x = 0; x < width; ++x)
            image.pixels.insert(image.pixels.end(), {Byte(top[0] + (bottom[0] - top[0]) * t),
                                                     Byte(top[1] + (bottom[1] - top[1]) * t),
                                                     Byte(top[2] + (bottom[2] - top[2]) * t), 255});
    }
    return image;
}

// Darkens a border of the given width, so the picture reads as a tile.
void Border(toolImage& image, int width, float shade) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            if (x >= width && y >= width && x < image.width - width && y < image.height - width)
                continue;
            u8* pixel = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
            for (int c = 0; c < 3; ++c)
                pixel[c] = Byte(pixel[c] * shade);
        }
}

// The object framed from the front right on a pale backdrop, the camera `standBack` times as far from it.
toolImage ObjectOnBackdrop(const std::vector<toolShadedTriangle>& object, int width, int height,
                           float standBack = 1.0f) {
    toolImage picture = Gradient(width, height, {205, 222, 240}, {238, 236, 222});
    const float aspect = static_cast<float>(width) / static_cast<float>(height);
    toolCamera camera = toolFramingCamera(object, kYaw, kPitch, aspect);
    camera.eye = camera.target + (camera.eye - camera.target) * standBack;
    toolCompose(picture, toolRasterise(object, camera, width, height));
    Border(picture, 1, 0.7f);
    return picture;
}

maVector3d Along(float t) {
    // A hill in the middle of a stretch that bends away from the viewer.
    const float hill = 3.6f * std::exp(-std::pow((t - 19.0f) / 4.0f, 2.0f));
    return {t, 0.6f + hill, -2.5f * std::sin(t / 26.0f * 3.14159265f)};
}

// The track's frame at t: across (to the right when looking along it), up and along.
struct Frame {
    maVector3d origin, across, up, along;

    explicit Frame(float t) : origin(Along(t)) {
        along = Along(t + 0.01f) - Along(t - 0.01f);
        along = along / along.Length();
        along.Cross({0.0f, 1.0f, 0.0f}, across);
        across = across / across.Length();
        across.Cross(along, up);
    }
    maVector3d Place(const maVector3d& local) const {
        return origin + across * local.x + up * local.y + along * local.z;
    }
};

void AddPlaced(std::vector<toolShadedTriangle>& out, const std::vector<toolShadedTriangle>& model,
               const Frame& frame, float lift) {
    for (const toolShadedTriangle& triangle : model) {
        toolShadedTriangle placed = triangle;
        for (maVector3d& corner : placed.corners)
            corner = frame.Place(corner + maVector3d(0.0f, lift, 0.0f));
        out.push_back(placed);
    }
}

float Lowest(const std::vector<toolShadedTriangle>& model) {
    float lowest = 0.0f;
    for (const toolShadedTriangle& triangle : model)
        for (const maVector3d& corner : triangle.corners)
            lowest = std::min(lowest, corner.y);
    return lowest;
}

float Length(const std::vector<toolShadedTriangle>& model) {
    float low = 0.0f, high = 0.0f;
    for (const toolShadedTriangle& triangle : model)
        for (const maVector3d& corner : triangle.corners) {
            low = std::min(low, corner.z);
            high = std::max(high, corner.z);
        }
    return high - low;
}

// Mixes the colour into the rectangle's pixels by the weight, its corners rounded.
void Plate(toolImage& image, int left, int top, int right, int bottom, Colour colour, float weight) {
    constexpr int kRound = 5;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x) {
            const int dx = std::max({left + kRound - x, x - (right - 1 - kRound), 0});
            const int dy = std::max({top + kRound - y, y - (bottom - 1 - kRound), 0});
            if (dx * dx + dy * dy > kRound * kRound)
                continue;
            u8* pixel = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
            for (int c = 0; c < 3; ++c)
                pixel[c] = Byte(pixel[c] * (1.0f - weight) + colour[c] * weight);
        }
}

// Frames the picture in gold, `width` pixels wide, its outermost ring a little darker: the chosen look.
void GoldFrame(toolImage& image, int width) {
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const int edge = std::min({x, y, image.width - 1 - x, image.height - 1 - y});
            if (edge >= width)
                continue;
            u8* pixel = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
            const float glow = edge == 0 ? 0.8f : 1.0f;
            pixel[0] = Byte(255 * glow), pixel[1] = Byte(215 * glow), pixel[2] = Byte(70 * glow);
        }
}

toolImage Scaled(const toolImage& image, float factor) {
    toolImage out = image;
    for (size_t i = 0; i < out.pixels.size(); ++i)
        if (image.channels != 4 || i % 4 != 3)
            out.pixels[i] = Byte(image.pixels[i] * factor);
    return out;
}

} // namespace

std::vector<toolShadedTriangle> toolShadeModel(const toolModelTriangles& model,
                                               const toolTextureColour& texture, const maVector3d& offset) {
    std::vector<Colour> colours;
    for (const toolModelMaterial& material : model.materials) {
        const Colour seen =
            material.textures.empty() ? Colour{1.0f, 1.0f, 1.0f} : texture(material.textures[0]);
        colours.push_back(
            {material.diffuse[0] * seen[0], material.diffuse[1] * seen[1], material.diffuse[2] * seen[2]});
    }
    std::vector<toolShadedTriangle> shaded;
    for (const toolModelTriangles::Triangle& triangle : model.triangles)
        shaded.push_back(
            {{triangle.corners[0] + offset, triangle.corners[1] + offset, triangle.corners[2] + offset},
             colours.at(triangle.material)});
    return shaded;
}

toolImage toolObjectIcon(const std::vector<toolShadedTriangle>& object) {
    return ObjectOnBackdrop(object, 32, 32);
}

toolImage toolPropPreview(const std::vector<toolShadedTriangle>& object) {
    // The part over the panel: 4 in from its edges, the panel ending 121 in and 19 up of a preview
    // 97 x 54 that stands 32 in and 5 up.
    constexpr int kRight = 128 * (121 - 4 - 32) / 97, kTop = 64 * 4 / 54, kBottom = 64 * (59 - 19 - 4) / 54;
    const toolImage face = ObjectOnBackdrop(object, kRight, kBottom - kTop);
    toolImage image{128, 64, 4, std::vector<u8>(128 * 64 * 4, 0)};
    for (int y = 0; y < face.height; ++y)
        std::copy_n(face.pixels.begin() + static_cast<std::ptrdiff_t>(y) * face.width * 4, face.width * 4,
                    image.pixels.begin() + (static_cast<std::ptrdiff_t>(y + kTop) * 128) * 4);
    return image;
}

toolImage toolDockPreview(const std::vector<toolShadedTriangle>& object) {
    return ObjectOnBackdrop(object, 128, 64);
}

std::vector<toolShadedTriangle> toolTrackStretch(const std::vector<toolTrackSection>& sections,
                                                 const std::vector<toolShadedTriangle>& crossbar,
                                                 float crossbarSpacing,
                                                 const std::vector<toolShadedTriangle>& leadCar,
                                                 const std::vector<toolShadedTriangle>& follower) {
    constexpr float kLength = 26.0f, kStep = 0.25f;
    std::vector<toolShadedTriangle> stretch;
    for (float t = 0.0f; t < kLength; t += kStep) {
        const Frame from(t), to(t + kStep);
        for (const toolTrackSection& section : sections)
            for (size_t i = 0; i + 1 < section.outline.size(); ++i) {
                const maVector2d& a = section.outline[i];
                const maVector2d& b = section.outline[i + 1];
                const maVector3d a0 = from.Place({a.x, a.y, 0}), b0 = from.Place({b.x, b.y, 0});
                const maVector3d a1 = to.Place({a.x, a.y, 0}), b1 = to.Place({b.x, b.y, 0});
                stretch.push_back({{a0, b0, b1}, section.colour});
                stretch.push_back({{a0, b1, a1}, section.colour});
            }
    }
    for (float t = 0.5f; crossbarSpacing > 0.0f && t < kLength; t += crossbarSpacing)
        AddPlaced(stretch, crossbar, Frame(t), 0.0f);
    // The train tops the hill right of the caption, the lead car in front.
    const float carLength = std::max(Length(leadCar), 1.0f) + 0.3f;
    float at = 21.5f;
    for (const auto* car : {&leadCar, &follower, &follower}) {
        AddPlaced(stretch, *car, Frame(at), 0.1f - Lowest(*car));
        at -= carLength;
    }
    return stretch;
}

toolImage toolTrackTypeView(const std::vector<toolShadedTriangle>& stretch) {
    toolImage view = Gradient(kChoiceWidth, kChoiceHeight, {110, 160, 225}, {205, 225, 240});
    toolCamera camera;
    camera.target = {12.0f, 3.0f, -1.0f};
    camera.eye = {9.0f, 5.5f, 16.0f};
    camera.fieldOfView = 0.7f;
    std::vector<toolShadedTriangle> scene = stretch;
    // A lawn under the track, to the horizon.
    const Colour lawn{0.38f, 0.62f, 0.3f};
    scene.push_back({{{-200, 0, -200}, {200, 0, -200}, {200, 0, 200}}, lawn});
    scene.push_back({{{-200, 0, -200}, {200, 0, 200}, {-200, 0, 200}}, lawn});
    toolCompose(view, toolRasterise(scene, camera, kChoiceWidth, kChoiceHeight));
    return view;
}

toolImage toolEnvironmentView(const std::vector<toolShadedTriangle>& ground,
                              const std::vector<toolShadedTriangle>& scenery, const Colour& sky) {
    maVector3d low = ground.at(0).corners[0], high = low;
    for (const toolShadedTriangle& triangle : ground)
        for (const maVector3d& p : triangle.corners)
            for (int axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], p[axis]);
                high[axis] = std::max(high[axis], p[axis]);
            }
    const maVector3d size = high - low;
    const maVector3d centre = (low + high) * 0.5f;
    maVector3d peak = centre;
    for (const toolShadedTriangle& triangle : ground)
        for (const maVector3d& p : triangle.corners)
            peak = p.y > peak.y ? p : peak;
    // From the far side of the middle, looking over the ground at its highest point.
    toolCamera camera;
    camera.fieldOfView = 0.9f;
    camera.eye = centre + (centre - peak) * 0.5f;
    camera.eye.y = low.y + size.y * 0.3f;
    camera.target = {peak.x, low.y + size.y * 0.35f, peak.z};
    toolImage view =
        Gradient(kChoiceWidth, kChoiceHeight, {sky[0] * 200.0f, sky[1] * 200.0f, sky[2] * 200.0f},
                 {sky[0] * 255.0f, sky[1] * 255.0f, sky[2] * 255.0f});
    std::vector<toolShadedTriangle> scene = ground;
    scene.insert(scene.end(), scenery.begin(), scenery.end());
    toolCompose(view, toolRasterise(scene, camera, kChoiceWidth, kChoiceHeight));
    return view;
}

std::vector<toolImage> toolChoiceLooks(const toolImage& view) {
    // The caption stands 33 in and 62 down, one line of 16-point text; the plate keeps 7 pixels clear of
    // it on the left and of the widest caption, "Wooden Coaster", on the right.
    constexpr int kLeft = 26, kTop = 58, kRight = 159, kBottom = 83;
    toolImage idle = Scaled(view, 0.8f);
    Plate(idle, kLeft, kTop, kRight, kBottom, {240, 240, 230}, 0.75f);
    Border(idle, 2, 0.6f);
    toolImage over = Scaled(view, 1.0f);
    Plate(over, kLeft, kTop, kRight, kBottom, {250, 250, 240}, 0.8f);
    Border(over, 2, 1.3f);
    toolImage chosen = Scaled(view, 1.12f);
    Plate(chosen, kLeft, kTop, kRight, kBottom, {20, 30, 25}, 0.7f);
    GoldFrame(chosen, 4);
    return {idle, over, chosen};
}

std::vector<toolImage> toolThemeTabLooks(const std::vector<std::vector<toolShadedTriangle>>& props,
                                         int width) {
    // Side by side across the view, each brought to one width, so that a small prop shows beside a big one.
    const maVector3d across(std::cos(kYaw), 0.0f, -std::sin(kYaw));
    std::vector<toolShadedTriangle> row;
    float next = 0.0f;
    for (const std::vector<toolShadedTriangle>& prop : props) {
        float low = 1e9f, high = -1e9f;
        for (const toolShadedTriangle& triangle : prop)
            for (const maVector3d& corner : triangle.corners) {
                low = std::min(low, maDot(corner, across));
                high = std::max(high, maDot(corner, across));
            }
        const float scale = 1.0f / std::max(high - low, 1e-3f);
        for (toolShadedTriangle triangle : prop) {
            for (maVector3d& corner : triangle.corners)
                corner = corner * scale + across * (next - low * scale);
            row.push_back(triangle);
        }
        next += 1.1f;
    }
    // Stood back, so the row keeps clear of the chosen look's frame.
    const toolImage view = ObjectOnBackdrop(row, width, 32, 1.2f);
    toolImage idle = Scaled(view, 0.85f);
    Border(idle, 1, 0.6f);
    toolImage chosen = Scaled(view, 1.05f);
    GoldFrame(chosen, 2);
    return {idle, chosen};
}
