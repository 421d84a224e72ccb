#include "Tools/Model/toolCarModels.h"

#include "Engine/Core/Ma/maConstants.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

enum Part : size_t { kBody, kSeat, kBar, kBogie, kTrim, kPartCount };

// The car's outline: the floor's top, the side walls' top and the nose's length in front of the cabin.
constexpr float kHalfWidth = 0.8f, kHalfLength = 1.7f;
constexpr float kFloorBottom = 0.25f, kFloorTop = 0.45f, kWallTop = 0.95f, kTrimTop = 1.01f;
constexpr float kNoseStart = 0.6f, kNoseTipHeight = 0.55f;
// The seat rows, by the front face of each seat back: a rear row and a front row under the eye.
constexpr float kRowBacks[] = {-1.42f, -0.12f};
constexpr float kCushionDepth = 0.55f;

toolModelMaterial Paint(float r, float g, float b, float shine) {
    toolModelMaterial paint;
    paint.diffuse = {r, g, b, 1.0f};
    paint.ambient = {r * 0.8f, g * 0.8f, b * 0.8f, 1.0f};
    if (shine > 0.0f) {
        paint.specular = {shine, shine, shine, 1.0f};
        paint.power = 20.0f;
    }
    return paint;
}

u16 Index(size_t size) {
    return static_cast<u16>(size);
}

// Adds a single-material part (a box) to the car under one of the car's materials.
void Add(toolModelFragment& car, Part part, const toolModelFragment& piece) {
    const u16 p = Index(car.positions.size()), n = Index(car.normals.size()), t = Index(car.uvs.size());
    car.positions.insert(car.positions.end(), piece.positions.begin(), piece.positions.end());
    car.normals.insert(car.normals.end(), piece.normals.begin(), piece.normals.end());
    car.uvs.insert(car.uvs.end(), piece.uvs.begin(), piece.uvs.end());
    for (const toolModelCorner& c : piece.triangles[0])
        car.triangles[part].push_back({Index(c.position + p), Index(c.normal + n), Index(c.uv + t)});
}

// A box between two opposite corners, in any order.
void AddBox(toolModelFragment& car, Part part, const maVector3d& a, const maVector3d& b) {
    const maVector3d size(std::abs(b.x - a.x), std::abs(b.y - a.y), std::abs(b.z - a.z));
    Add(car, part, toolMakeBox(size, (a + b) * 0.5f, car.materials[part]));
}

// Adds a convex polygon as a fan with a normal at each corner; the corners turn counter-clockwise seen
// from the side it faces, as the box's faces do.
void AddPolygon(toolModelFragment& car, Part part, const std::vector<maVector3d>& corners,
                const std::vector<maVector3d>& normals) {
    const u16 p = Index(car.positions.size()), n = Index(car.normals.size()), uv = Index(car.uvs.size());
    car.positions.insert(car.positions.end(), corners.begin(), corners.end());
    car.normals.insert(car.normals.end(), normals.begin(), normals.end());
    car.uvs.push_back({0.0f, 0.0f});
    for (u16 k = 2; k < corners.size(); ++k)
        for (u16 corner : {u16{0}, u16(k - 1), k})
            car.triangles[part].push_back({Index(p + corner), Index(n + corner), uv});
}

// A flat polygon, its normal from its first three corners.
void AddFacet(toolModelFragment& car, Part part, const std::vector<maVector3d>& corners) {
    maVector3d normal;
    (corners[1] - corners[0]).Cross(corners[2] - corners[0], normal);
    AddPolygon(car, part, corners, std::vector<maVector3d>(corners.size(), normal / normal.Length()));
}

// The lead car's nose: half an ellipse in plan from the cabin's front to the car's front, its top curving
// down from the side walls' trim to the tip. Rows across the car, from the cabin forward, are its strips.
void AddNose(toolModelFragment& car) {
    constexpr int kRows = 8;
    const float reach = kHalfLength - kNoseStart, drop = kTrimTop - kNoseTipHeight;
    struct Row {
        float halfWidth, height, z;
        maVector3d up, out; // the top's normal and the right side's
    };
    const auto row = [&](int k) {
        const float angle = 0.5f * maPiF * static_cast<float>(k) / kRows;
        const float forward = std::sin(angle);
        const maVector3d up(0.0f, 1.0f, 2.0f * drop * forward / reach),
            out(std::cos(angle) / kHalfWidth, 0.0f, forward / reach);
        return Row{kHalfWidth * std::cos(angle), kTrimTop - drop * forward * forward,
                   kNoseStart + reach * forward, up / up.Length(), out / out.Length()};
    };
    const maVector3d down(0.0f, -1.0f, 0.0f);
    for (int k = 0; k < kRows; ++k) {
        const Row a = row(k), b = row(k + 1);
        const auto at = [](const Row& r, float side, float y) {
            return maVector3d(side * r.halfWidth, y, r.z);
        };
        const auto mirrored = [](const maVector3d& out) { return maVector3d(-out.x, out.y, out.z); };
        AddPolygon(car, kBody,
                   {at(a, -1, a.height), at(b, -1, b.height), at(b, 1, b.height), at(a, 1, a.height)},
                   {a.up, b.up, b.up, a.up});
        // A stripe of the trim down the middle of the top, just over it: the rider's line to the track.
        const auto stripe = [](const Row& r, float side) {
            return maVector3d(side * std::min(r.halfWidth, 0.12f), r.height + 0.01f, r.z);
        };
        AddPolygon(car, kTrim, {stripe(a, -1), stripe(b, -1), stripe(b, 1), stripe(a, 1)},
                   {a.up, b.up, b.up, a.up});
        AddPolygon(car, kBody,
                   {at(a, -1, kFloorBottom), at(a, 1, kFloorBottom), at(b, 1, kFloorBottom),
                    at(b, -1, kFloorBottom)},
                   {down, down, down, down});
        AddPolygon(car, kBody,
                   {at(a, 1, kFloorBottom), at(a, 1, a.height), at(b, 1, b.height), at(b, 1, kFloorBottom)},
                   {a.out, a.out, b.out, b.out});
        AddPolygon(
            car, kBody,
            {at(a, -1, kFloorBottom), at(b, -1, kFloorBottom), at(b, -1, b.height), at(a, -1, a.height)},
            {mirrored(a.out), mirrored(b.out), mirrored(b.out), mirrored(a.out)});
    }
    // The dashboard the front row faces.
    AddFacet(car, kBody,
             {{-kHalfWidth, kFloorBottom, kNoseStart},
              {-kHalfWidth, kTrimTop, kNoseStart},
              {kHalfWidth, kTrimTop, kNoseStart},
              {kHalfWidth, kFloorBottom, kNoseStart}});
}

} // namespace

toolModelFragment toolMakeCar(bool lead, const toolModelMaterial& trim) {
    toolModelFragment car;
    car.materials.resize(kPartCount);
    car.materials[kBody] = Paint(0.78f, 0.12f, 0.08f, 0.6f);
    car.materials[kSeat] = Paint(0.2f, 0.22f, 0.3f, 0.0f);
    car.materials[kBar] = Paint(0.95f, 0.75f, 0.1f, 0.8f);
    car.materials[kBogie] = Paint(0.22f, 0.22f, 0.25f, 0.4f);
    car.materials[kTrim] = trim;
    car.triangles.resize(kPartCount);

    const float front = lead ? kNoseStart : kHalfLength;
    const float wall = kHalfWidth - 0.14f;
    // The floor pan, the side walls with their trim, the back wall and, on a follower, the front wall.
    AddBox(car, kBody, {-kHalfWidth, kFloorBottom, -kHalfLength}, {kHalfWidth, kFloorTop, front});
    for (float x : {-1.0f, 1.0f}) {
        AddBox(car, kBody, {x * wall, kFloorTop, -kHalfLength}, {x * kHalfWidth, kWallTop, front});
        AddBox(car, kTrim, {x * (wall - 0.03f), kWallTop, -kHalfLength}, {x * kHalfWidth, kTrimTop, front});
    }
    AddBox(car, kBody, {-wall, kFloorTop, -kHalfLength}, {wall, kWallTop, -kHalfLength + 0.14f});
    if (lead)
        AddNose(car);
    else
        AddBox(car, kBody, {-wall, kFloorTop, kHalfLength - 0.14f}, {wall, kWallTop, kHalfLength});
    // Each row: a seat back and a cushion, and the lap bar on two posts just in front of the cushion.
    for (float back : kRowBacks) {
        const float knees = back + kCushionDepth;
        AddBox(car, kSeat, {-0.62f, kFloorTop, back - 0.14f}, {0.62f, 1.2f, back});
        AddBox(car, kSeat, {-0.62f, kFloorTop, back}, {0.62f, 0.6f, knees});
        AddBox(car, kBar, {-0.55f, 0.9f, knees + 0.04f}, {0.55f, 0.98f, knees + 0.12f});
        for (float x : {-0.45f, 0.45f})
            AddBox(car, kBar, {x - 0.035f, kFloorTop, knees + 0.045f}, {x + 0.035f, 0.9f, knees + 0.115f});
    }
    // The bogies wrap the rails under both ends.
    for (float z : {-1.15f, 1.15f})
        AddBox(car, kBogie, {-0.85f, -0.05f, z - 0.35f}, {0.85f, kFloorBottom, z + 0.35f});
    return car;
}
