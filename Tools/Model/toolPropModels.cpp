#include "Tools/Model/toolPropModels.h"

#include "Engine/Core/Ma/maConstants.h"

#include <cmath>
#include <stdexcept>

namespace {

using Parts = std::vector<toolModelFragment>;

toolModelMaterial Paint(float r, float g, float b, float shine = 0.0f) {
    toolModelMaterial material;
    material.diffuse = material.ambient = {r, g, b, 1.0f};
    if (shine > 0.0f) {
        material.specular = {shine, shine, shine, 1.0f};
        material.power = 24.0f;
    }
    return material;
}

// A lamp's glass or fire: it shows its colour in the dark too.
toolModelMaterial Glow(float r, float g, float b) {
    toolModelMaterial material = Paint(r, g, b);
    material.emissive = {r * 0.8f, g * 0.8f, b * 0.8f, 1.0f};
    return material;
}

toolModelMaterial Textured(toolModelMaterial material, const char* texture) {
    material.textures = {texture};
    return material;
}

toolModelFragment Block(const maVector3d& size, const maVector3d& centre, const toolModelMaterial& material) {
    return toolMakeBox(size, centre, material);
}

// A solid of revolution about y from radius r0 at height y0 to r1 at y0 + height, smooth round its side;
// a radius above 0 gets a flat cap. A top radius of 0 makes a cone, few sides a pyramid.
toolModelFragment Round(float r0, float r1, float y0, float height, int sides,
                        const toolModelMaterial& material, bool caps = true) {
    toolModelFragment round;
    round.materials = {material};
    round.triangles.resize(1);
    round.uvs = {{0.0f, 0.0f}};
    const float slope = r0 - r1, across = std::sqrt(slope * slope + height * height);
    for (int i = 0; i < sides; ++i) {
        const float angle = maTwoPiF * static_cast<float>(i) / static_cast<float>(sides);
        const float c = std::cos(angle), s = std::sin(angle);
        round.positions.push_back({r0 * c, y0, r0 * s});
        round.positions.push_back({r1 * c, y0 + height, r1 * s});
        round.normals.push_back(maVector3d(c * height, slope, s * height) / across);
    }
    auto& triangles = round.triangles[0];
    // Counter-clockwise seen from outside, as the box's faces are.
    for (int i = 0; i < sides; ++i) {
        const auto a = static_cast<u16>(i), b = static_cast<u16>((i + 1) % sides);
        const toolModelCorner bottomA{u16(2 * a), a, 0}, topA{u16(2 * a + 1), a, 0};
        const toolModelCorner bottomB{u16(2 * b), b, 0}, topB{u16(2 * b + 1), b, 0};
        triangles.insert(triangles.end(), {bottomA, topA, topB, bottomA, topB, bottomB});
    }
    if (!caps)
        return round;
    const auto cap = [&](float radius, float y, u16 ring, float up) {
        if (radius <= 0.0f)
            return;
        const auto centre = static_cast<u16>(round.positions.size());
        const auto normal = static_cast<u16>(round.normals.size());
        round.positions.push_back({0.0f, y, 0.0f});
        round.normals.push_back({0.0f, up, 0.0f});
        for (int i = 0; i < sides; ++i) {
            const toolModelCorner a{u16(2 * i + ring), normal, 0},
                b{u16(2 * ((i + 1) % sides) + ring), normal, 0};
            if (up > 0.0f)
                triangles.insert(triangles.end(), {{centre, normal, 0}, b, a});
            else
                triangles.insert(triangles.end(), {{centre, normal, 0}, a, b});
        }
    };
    cap(r0, y0, 0, -1.0f);
    cap(r1, y0 + height, 1, 1.0f);
    return round;
}

// The part seen from the other side: normals reversed, triangles wound the other way.
toolModelFragment Flipped(toolModelFragment part) {
    for (maVector3d& normal : part.normals)
        normal = normal.Negate();
    for (auto& triangles : part.triangles)
        for (size_t i = 0; i + 2 < triangles.size(); i += 3)
            std::swap(triangles[i + 1], triangles[i + 2]);
    return part;
}

// A round wall between two radii from y0 up to y0 + height, open inside (a basin's rim).
Parts Ring(float outer, float inner, float y0, float height, int sides, const toolModelMaterial& material) {
    toolModelFragment top = Round(outer, inner, y0 + height, 0.0f, sides, material, false);
    for (maVector3d& normal : top.normals)
        normal = {0.0f, 1.0f, 0.0f};
    return {Round(outer, outer, y0, height, sides, material, false),
            Flipped(Round(inner, inner, y0, height, sides, material, false)), Flipped(top)};
}

// Turned by the angle (radians) about the axis (0 x, 1 y, 2 z) through the origin, then moved.
toolModelFragment Placed(toolModelFragment part, int axis, float angle, const maVector3d& offset = {}) {
    const float c = std::cos(angle), s = std::sin(angle);
    const auto turn = [&](const maVector3d& v) {
        switch (axis) {
        case 0:
            return maVector3d(v.x, v.y * c - v.z * s, v.y * s + v.z * c);
        case 1:
            return maVector3d(v.x * c + v.z * s, v.y, -v.x * s + v.z * c);
        default:
            return maVector3d(v.x * c - v.y * s, v.x * s + v.y * c, v.z);
        }
    };
    for (maVector3d& position : part.positions)
        position = turn(position) + offset;
    for (maVector3d& normal : part.normals)
        normal = turn(normal);
    return part;
}

void Add(Parts& to, Parts more) {
    to.insert(to.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
}

bool SameMaterial(const toolModelMaterial& a, const toolModelMaterial& b) {
    return a.diffuse == b.diffuse && a.ambient == b.ambient && a.specular == b.specular &&
           a.emissive == b.emissive && a.power == b.power && a.textures == b.textures;
}

// The parts as one fragment: one scene object a level, one triangle list a material.
toolModelFragment Joined(const Parts& parts) {
    toolModelFragment joined;
    for (const toolModelFragment& part : parts) {
        const auto positions = static_cast<u16>(joined.positions.size());
        const auto normals = static_cast<u16>(joined.normals.size());
        const auto uvs = static_cast<u16>(joined.uvs.size());
        joined.positions.insert(joined.positions.end(), part.positions.begin(), part.positions.end());
        joined.normals.insert(joined.normals.end(), part.normals.begin(), part.normals.end());
        joined.uvs.insert(joined.uvs.end(), part.uvs.begin(), part.uvs.end());
        if (joined.positions.size() > 65535 || joined.normals.size() > 65535 || joined.uvs.size() > 65535)
            throw std::length_error("a prop model past 65535 values");
        for (size_t k = 0; k < part.materials.size(); ++k) {
            size_t slot = 0;
            while (slot < joined.materials.size() && !SameMaterial(joined.materials[slot], part.materials[k]))
                ++slot;
            if (slot == joined.materials.size()) {
                joined.materials.push_back(part.materials[k]);
                joined.triangles.emplace_back();
            }
            for (const toolModelCorner& corner : part.triangles[k])
                joined.triangles[slot].push_back(
                    {u16(corner.position + positions), u16(corner.normal + normals), u16(corner.uv + uvs)});
        }
    }
    return joined;
}

toolPropModel Static(const std::string& prop, Parts parts) {
    return {prop, prop + ".mx", std::move(parts), {}, {}, {}, {}};
}

const toolModelMaterial kStone = Paint(0.78f, 0.74f, 0.66f);
const toolModelMaterial kPaleStone = Paint(0.9f, 0.87f, 0.8f);
const toolModelMaterial kDarkStone = Paint(0.45f, 0.43f, 0.45f);
const toolModelMaterial kWater = Paint(0.25f, 0.52f, 0.82f, 0.7f);
const toolModelMaterial kBronze = Paint(0.72f, 0.5f, 0.26f, 0.5f);
const toolModelMaterial kGold = Paint(0.95f, 0.74f, 0.2f, 0.8f);
const toolModelMaterial kIron = Paint(0.22f, 0.22f, 0.25f, 0.3f);
const toolModelMaterial kWood = Paint(0.62f, 0.44f, 0.25f);
const toolModelMaterial kDarkWood = Paint(0.4f, 0.26f, 0.14f);
const toolModelMaterial kWhite = Paint(0.92f, 0.9f, 0.85f);
const toolModelMaterial kRed = Paint(0.74f, 0.2f, 0.16f);
const toolModelMaterial kTeal = Paint(0.2f, 0.52f, 0.52f);
const toolModelMaterial kYellow = Paint(0.9f, 0.72f, 0.2f);
const toolModelMaterial kBlack = Paint(0.08f, 0.08f, 0.08f);

toolPropModel Bench() {
    const toolModelMaterial planks = Textured(kWood, "planks.png");
    return Static("bench", {Block({2.0f, 0.1f, 0.5f}, {0, 0.5f, 0}, planks),
                            Block({0.1f, 0.5f, 0.5f}, {-0.9f, 0.25f, 0}, planks),
                            Block({0.1f, 0.5f, 0.5f}, {0.9f, 0.25f, 0}, planks),
                            Block({2.0f, 0.35f, 0.06f}, {0, 0.85f, -0.22f}, planks)});
}

toolPropModel Banner() {
    return Static("banner",
                  {Block({0.2f, 4.0f, 0.2f}, {-2, 2, 0}, kIron), Block({0.2f, 4.0f, 0.2f}, {2, 2, 0}, kIron),
                   Block({4.0f, 1.0f, 0.05f}, {0, 3.4f, 0}, Textured(kRed, "cloth.png"))});
}

// A round basin of water with a column in its middle; the nozzle on top sits on the joint that sways.
toolPropModel Fountain() {
    // The nozzle sways about z over two seconds.
    toolPropModel fountain{"fountain",
                           "fountain.mhx",
                           {},
                           {0, 1.57f, 0},
                           {},
                           "fountainsway.mx",
                           {{0, 0, 0, 0}, {0, 0, 0.3f, 24}, {0, 0, 0, 48}}};
    Parts& base = fountain.base;
    base.push_back(Round(1.62f, 1.62f, 0.0f, 0.38f, 40, kWater));
    Add(base, Ring(1.85f, 1.6f, 0.0f, 0.5f, 40, kStone));
    Add(base, Ring(1.95f, 1.55f, 0.5f, 0.1f, 40, kPaleStone));
    base.push_back(Round(0.45f, 0.35f, 0.38f, 0.3f, 16, kPaleStone));
    base.push_back(Round(0.16f, 0.13f, 0.68f, 0.75f, 16, kStone));
    base.push_back(Round(0.12f, 0.5f, 1.43f, 0.14f, 24, kPaleStone));
    fountain.joint.push_back(Round(0.07f, 0.04f, 0.0f, 0.14f, 12, kBronze));
    return fountain;
}

toolPropModel Trophy() {
    return Static("trophy",
                  {Block({0.9f, 0.7f, 0.9f}, {0, 0.35f, 0}, kDarkStone),
                   Block({1.0f, 0.08f, 1.0f}, {0, 0.74f, 0}, kPaleStone),
                   Round(0.32f, 0.26f, 0.78f, 0.1f, 20, kGold), Round(0.08f, 0.06f, 0.88f, 0.35f, 12, kGold),
                   Round(0.14f, 0.14f, 1.0f, 0.06f, 12, kGold), Round(0.12f, 0.5f, 1.23f, 0.6f, 24, kGold),
                   Block({0.08f, 0.42f, 0.08f}, {-0.62f, 1.55f, 0}, kGold),
                   Block({0.08f, 0.42f, 0.08f}, {0.62f, 1.55f, 0}, kGold),
                   Block({0.24f, 0.07f, 0.07f}, {-0.52f, 1.73f, 0}, kGold),
                   Block({0.24f, 0.07f, 0.07f}, {0.52f, 1.73f, 0}, kGold),
                   Block({0.44f, 0.07f, 0.07f}, {-0.42f, 1.37f, 0}, kGold),
                   Block({0.44f, 0.07f, 0.07f}, {0.42f, 1.37f, 0}, kGold)});
}

toolPropModel Lantern() {
    toolPropModel lantern = Static(
        "lantern",
        {Round(0.22f, 0.16f, 0.0f, 0.3f, 12, kIron), Round(0.07f, 0.06f, 0.3f, 2.2f, 10, kIron),
         Round(0.14f, 0.14f, 2.5f, 0.06f, 12, kIron), Block({0.42f, 0.05f, 0.42f}, {0, 2.54f, 0}, kIron),
         Block({0.36f, 0.48f, 0.36f}, {0, 2.8f, 0}, Glow(1.0f, 0.85f, 0.45f)),
         Placed(Round(0.32f, 0.0f, 3.04f, 0.28f, 4, kIron), 1, maPiF / 4.0f),
         Round(0.05f, 0.0f, 3.32f, 0.12f, 6, kIron)});
    for (float x : {-0.18f, 0.18f})
        for (float z : {-0.18f, 0.18f})
            lantern.base.push_back(Block({0.05f, 0.5f, 0.05f}, {x, 2.8f, z}, kIron));
    return lantern;
}

// A figure with one arm raised, in green bronze on a stone plinth.
toolPropModel Statue() {
    const toolModelMaterial patina = Paint(0.36f, 0.58f, 0.48f, 0.3f);
    return Static("statue", {Block({1.2f, 1.0f, 1.2f}, {0, 0.5f, 0}, kStone),
                             Block({1.3f, 0.1f, 1.3f}, {0, 1.05f, 0}, kPaleStone),
                             Block({0.16f, 0.8f, 0.2f}, {-0.12f, 1.5f, 0}, patina),
                             Block({0.16f, 0.8f, 0.2f}, {0.12f, 1.5f, 0}, patina),
                             Block({0.5f, 0.7f, 0.28f}, {0, 2.25f, 0}, patina),
                             Block({0.14f, 0.65f, 0.16f}, {-0.33f, 2.25f, 0}, patina),
                             Block({0.14f, 0.7f, 0.16f}, {0.33f, 2.9f, 0}, patina),
                             Round(0.12f, 0.18f, 2.62f, 0.12f, 12, patina),
                             Round(0.18f, 0.18f, 2.74f, 0.14f, 12, patina),
                             Round(0.18f, 0.08f, 2.88f, 0.12f, 12, patina)});
}

toolPropModel Barrel() {
    return Static(
        "barrel",
        {Round(0.42f, 0.5f, 0.0f, 0.45f, 18, kWood), Round(0.5f, 0.42f, 0.45f, 0.45f, 18, kWood),
         Round(0.4f, 0.4f, 0.9f, 0.02f, 18, kDarkWood), Round(0.455f, 0.465f, 0.09f, 0.07f, 18, kIron),
         Round(0.515f, 0.515f, 0.41f, 0.08f, 18, kIron), Round(0.465f, 0.455f, 0.74f, 0.07f, 18, kIron)});
}

// Three arrow boards on a post, each pointing another way.
toolPropModel Signpost() {
    toolPropModel signpost =
        Static("signpost", {Block({0.4f, 0.15f, 0.4f}, {0, 0.075f, 0}, kDarkStone),
                            Block({0.14f, 2.6f, 0.14f}, {0, 1.3f, 0}, kWood),
                            Placed(Round(0.12f, 0.0f, 2.6f, 0.18f, 4, kDarkWood), 1, maPiF / 4.0f)});
    const toolModelMaterial boards[] = {Paint(0.9f, 0.84f, 0.66f), Paint(0.75f, 0.3f, 0.2f),
                                        Paint(0.3f, 0.5f, 0.7f)};
    const float heights[] = {2.25f, 1.85f, 1.45f}, headings[] = {0.0f, 2.6f, -1.0f};
    for (int i = 0; i < 3; ++i) {
        for (const toolModelFragment& part :
             {Block({1.1f, 0.26f, 0.05f}, {0.6f, 0, 0.1f}, boards[i]),
              Placed(Block({0.19f, 0.19f, 0.05f}, {}, boards[i]), 2, maPiF / 4.0f, {1.15f, 0, 0.1f}),
              Block({0.7f, 0.05f, 0.06f}, {0.55f, 0, 0.1f}, kBlack)})
            signpost.base.push_back(Placed(part, 1, headings[i], {0, heights[i], 0}));
    }
    return signpost;
}

// A wooden crate with darker edges and a brace across each side.
toolPropModel Crate() {
    const toolModelMaterial boards = Paint(0.76f, 0.58f, 0.34f);
    toolPropModel crate = Static("crate", {Block({1.0f, 1.0f, 1.0f}, {0, 0.5f, 0}, boards)});
    for (float a : {-0.47f, 0.47f}) {
        for (float y : {0.05f, 0.95f}) {
            crate.base.push_back(Block({1.04f, 0.1f, 0.1f}, {0, y, a}, kDarkWood));
            crate.base.push_back(Block({0.1f, 0.1f, 1.04f}, {a, y, 0}, kDarkWood));
        }
        for (float b : {-0.47f, 0.47f})
            crate.base.push_back(Block({0.1f, 1.0f, 0.1f}, {a, 0.5f, b}, kDarkWood));
        crate.base.push_back(
            Placed(Block({1.15f, 0.09f, 0.03f}, {}, kDarkWood), 2, maPiF / 4.0f, {0, 0.5f, a * 1.075f}));
        crate.base.push_back(
            Placed(Block({0.03f, 0.09f, 1.15f}, {}, kDarkWood), 0, maPiF / 4.0f, {a * 1.075f, 0.5f, 0}));
    }
    return crate;
}

// Three painted faces stacked on a pole, spread wings on top.
toolPropModel Totem() {
    const toolModelMaterial colours[] = {kRed, kTeal, kYellow};
    toolPropModel totem = Static("totem", {Block({0.7f, 0.2f, 0.7f}, {0, 0.1f, 0}, kDarkWood),
                                           Block({1.9f, 0.3f, 0.16f}, {0, 2.75f, 0}, kRed),
                                           Block({0.5f, 0.45f, 0.5f}, {0, 3.05f, 0}, kTeal),
                                           Block({0.12f, 0.12f, 0.3f}, {0, 3.0f, 0.35f}, kYellow)});
    for (int i = 0; i < 3; ++i) {
        const float y = 0.6f + 0.8f * static_cast<float>(i);
        totem.base.push_back(Block({0.6f, 0.8f, 0.6f}, {0, y, 0}, colours[i]));
        const toolModelMaterial& eyes = i == 2 ? kBlack : kWhite;
        for (float x : {-0.14f, 0.14f})
            totem.base.push_back(Block({0.14f, 0.1f, 0.04f}, {x, y + 0.18f, 0.31f}, eyes));
        totem.base.push_back(Block({0.3f, 0.08f, 0.04f}, {0, y - 0.18f, 0.31f}, kBlack));
    }
    return totem;
}

// Two pillars under a round arch of nine stones.
toolPropModel Arch() {
    toolPropModel arch = Static("arch", {});
    for (float x : {-1.5f, 1.5f}) {
        arch.base.push_back(Block({0.7f, 0.25f, 0.8f}, {x, 0.125f, 0}, kPaleStone));
        arch.base.push_back(Block({0.5f, 2.8f, 0.6f}, {x, 1.6f, 0}, kStone));
        arch.base.push_back(Block({0.66f, 0.15f, 0.76f}, {x, 3.0f, 0}, kPaleStone));
    }
    for (int k = 0; k < 9; ++k) {
        const float a = maPiF * (static_cast<float>(k) + 0.5f) / 9.0f;
        const maVector3d at(1.5f * std::cos(a), 3.07f + 1.5f * std::sin(a), 0.0f);
        arch.base.push_back(
            Placed(Block({0.56f, 0.5f, 0.6f}, {}, k == 4 ? kPaleStone : kStone), 2, a - maHalfPiF, at));
    }
    return arch;
}

// A tapering white tower under a pointed roof; its four sails sit on the joint and turn once about z in
// four seconds.
toolPropModel Windmill() {
    toolPropModel windmill{
        "windmill",
        "windmill.mhx",
        {Placed(Round(1.1f, 0.7f, 0.0f, 4.2f, 8, kWhite), 1, maPiF / 8.0f),
         Placed(Round(1.2f, 1.15f, 0.0f, 0.4f, 8, kDarkStone), 1, maPiF / 8.0f),
         Placed(Round(0.85f, 0.0f, 4.2f, 1.3f, 8, Paint(0.6f, 0.22f, 0.16f)), 1, maPiF / 8.0f),
         Block({0.5f, 0.9f, 0.1f}, {0, 0.85f, 0.95f}, kDarkWood),
         Block({0.3f, 0.4f, 0.1f}, {0, 2.6f, 0.79f}, kDarkWood)},
        {0, 4.05f, 0.75f},
        {Placed(Round(0.16f, 0.16f, -0.1f, 0.35f, 10, kDarkWood), 0, maHalfPiF)},
        "windmillturn.mx",
        {{0, 0, 0, 0}, {0, 0, -maTwoPiF, 96}}};
    for (int k = 0; k < 4; ++k)
        for (const toolModelFragment& part : {Block({0.08f, 2.6f, 0.06f}, {0, 1.35f, 0.2f}, kDarkWood),
                                              Block({0.55f, 2.0f, 0.03f}, {0.3f, 1.6f, 0.22f}, kWhite)})
            windmill.joint.push_back(Placed(part, 2, maHalfPiF * static_cast<float>(k) + maPiF / 4.0f));
    return windmill;
}

// A red and white tower with a glowing lamp room.
toolPropModel Beacon() {
    toolPropModel beacon = Static("beacon", {Round(0.9f, 0.9f, 0.0f, 0.3f, 12, kDarkStone),
                                             Round(0.65f, 0.65f, 3.5f, 0.1f, 12, kIron),
                                             Round(0.35f, 0.35f, 3.6f, 0.5f, 12, Glow(1.0f, 0.8f, 0.35f)),
                                             Round(0.45f, 0.0f, 4.1f, 0.45f, 12, kRed)});
    for (int i = 0; i < 4; ++i) {
        const float r0 = 0.7f - 0.0625f * static_cast<float>(i);
        beacon.base.push_back(Round(r0, r0 - 0.0625f, 0.3f + 0.8f * static_cast<float>(i), 0.8f, 12,
                                    i % 2 == 0 ? kRed : kWhite));
    }
    return beacon;
}

// An open eight-sided pavilion: posts and rails on a stone floor under a green roof; the front is open.
toolPropModel Gazebo() {
    const toolModelMaterial roof = Paint(0.3f, 0.52f, 0.36f);
    toolPropModel gazebo =
        Static("gazebo", {Placed(Round(1.9f, 1.9f, 0.0f, 0.25f, 8, kPaleStone), 1, maPiF / 8.0f),
                          Placed(Round(2.15f, 2.15f, 2.55f, 0.12f, 8, kWhite), 1, maPiF / 8.0f),
                          Placed(Round(2.15f, 0.0f, 2.67f, 1.1f, 8, roof), 1, maPiF / 8.0f),
                          Round(0.08f, 0.0f, 3.77f, 0.35f, 6, kGold)});
    for (int k = 0; k < 8; ++k) {
        const float post = maPiF / 8.0f + maPiF / 4.0f * static_cast<float>(k);
        gazebo.base.push_back(
            Block({0.14f, 2.3f, 0.14f}, {1.65f * std::cos(post), 1.4f, -1.65f * std::sin(post)}, kWhite));
        // Sides face the angles between the posts; the one facing +z is the way in.
        const float side = maPiF / 4.0f * static_cast<float>(k);
        if (k != 6)
            gazebo.base.push_back(Placed(Block({1.2f, 0.08f, 0.08f}, {}, kWhite), 1, side + maHalfPiF,
                                         {1.52f * std::cos(side), 0.9f, -1.52f * std::sin(side)}));
    }
    return gazebo;
}

// A fir: a trunk under three tiers of needles, each narrower than the one below.
toolPropModel Pine() {
    const toolModelMaterial needles = Paint(0.16f, 0.42f, 0.2f);
    return Static("pine",
                  {Round(0.22f, 0.16f, 0.0f, 1.4f, 8, kDarkWood), Round(1.5f, 0.0f, 1.1f, 2.2f, 10, needles),
                   Round(1.15f, 0.0f, 2.4f, 1.9f, 10, needles), Round(0.8f, 0.0f, 3.6f, 1.6f, 10, needles)});
}

// A weathered rock: two squat, many-sided lumps leaning on each other.
toolPropModel Boulder() {
    return Static("boulder", {Round(1.1f, 0.55f, 0.0f, 1.0f, 7, kDarkStone),
                              Placed(Round(0.7f, 0.3f, 0.0f, 0.8f, 6, kStone), 1, 0.4f, {0.9f, 0.0f, 0.3f})});
}

// Every other side of an uncapped round, from the first (parity 0) or the second (1): one colour of a
// striped canopy.
toolModelFragment Stripes(toolModelFragment round, int parity) {
    std::vector<toolModelCorner>& corners = round.triangles[0];
    std::vector<toolModelCorner> kept;
    for (size_t side = static_cast<size_t>(parity); 6 * side < corners.size(); side += 2)
        kept.insert(kept.end(), corners.begin() + static_cast<std::ptrdiff_t>(6 * side),
                    corners.begin() + static_cast<std::ptrdiff_t>(6 * side + 6));
    corners = std::move(kept);
    return round;
}

// A ball of four bands, its poles points.
toolModelFragment Ball(float radius, const maVector3d& centre, const toolModelMaterial& material) {
    constexpr int kBands = 4;
    Parts bands;
    for (int k = 0; k < kBands; ++k) {
        const float a0 = -maHalfPiF + maPiF * static_cast<float>(k) / kBands, a1 = a0 + maPiF / kBands;
        bands.push_back(Round(radius * std::cos(a0), radius * std::cos(a1), radius * std::sin(a0),
                              radius * (std::sin(a1) - std::sin(a0)), 10, material, false));
    }
    return Placed(Joined(bands), 1, 0.0f, centre);
}

// A gable along z: a triangle of the width across x and the height, from its base's middle, as long as given.
toolModelFragment Prism(float width, float height, float length, const maVector3d& base,
                        const toolModelMaterial& material) {
    toolModelFragment prism;
    prism.materials = {material};
    prism.triangles.resize(1);
    prism.uvs = {{0.0f, 0.0f}};
    const float w = width / 2.0f, l = length / 2.0f;
    for (float z : {l, -l})
        for (const maVector3d& corner : {maVector3d(-w, 0, z), maVector3d(w, 0, z), maVector3d(0, height, z)})
            prism.positions.push_back(base + corner);
    // Each face wound counter-clockwise seen from outside, as the box's faces are.
    const auto face = [&](std::initializer_list<u16> corners, const maVector3d& outwards) {
        const auto normal = static_cast<u16>(prism.normals.size());
        prism.normals.push_back(outwards / outwards.Length());
        const std::vector<u16> ring(corners);
        for (size_t i = 1; i + 1 < ring.size(); ++i) {
            u16 a = ring[0], b = ring[i], c = ring[i + 1];
            const maVector3d& p = prism.positions[a];
            maVector3d turn;
            (prism.positions[b] - p).Cross(prism.positions[c] - p, turn);
            if (maDot(turn, outwards) < 0.0f)
                std::swap(b, c);
            prism.triangles[0].insert(prism.triangles[0].end(),
                                      {{a, normal, 0}, {b, normal, 0}, {c, normal, 0}});
        }
    };
    face({0, 1, 2}, {0, 0, 1});
    face({3, 4, 5}, {0, 0, -1});
    face({1, 4, 5, 2}, {height, w, 0});
    face({0, 2, 5, 3}, {-height, w, 0});
    face({0, 3, 4, 1}, {0, -1, 0});
    return prism;
}

// The models below turn their joint through a whole turn about one axis (0 x, 1 y, 2 z) in the seconds.
std::vector<toolTurnKey> WholeTurn(int axis, float seconds) {
    toolTurnKey end{0, 0, 0, seconds * 24.0f};
    (axis == 0 ? end.x : axis == 1 ? end.y : end.z) = maTwoPiF;
    return {{0, 0, 0, 0}, end};
}

// A round deck of eight horses on gold poles under a red and white striped canopy; all but its plinth turns
// about y once in twelve seconds.
toolPropModel Carousel() {
    const toolModelMaterial horses[] = {kWhite, Paint(0.45f, 0.3f, 0.2f), Paint(0.6f, 0.6f, 0.62f), kBlack};
    toolPropModel carousel{"carousel",
                           "carousel.mhx",
                           {Round(2.5f, 2.5f, 0.0f, 0.15f, 24, kDarkStone)},
                           {0, 0.15f, 0},
                           {Round(2.35f, 2.35f, 0.0f, 0.25f, 24, kPaleStone),
                            Round(0.3f, 0.3f, 0.25f, 2.6f, 12, kGold),
                            Round(2.5f, 2.5f, 2.85f, 0.35f, 24, kRed),
                            Stripes(Round(2.6f, 0.0f, 3.2f, 1.3f, 16, kRed, false), 0),
                            Stripes(Round(2.6f, 0.0f, 3.2f, 1.3f, 16, kWhite, false), 1),
                            Round(0.1f, 0.0f, 4.5f, 0.5f, 8, kGold)},
                           "carouselturn.mx",
                           WholeTurn(1, 12.0f)};
    for (int k = 0; k < 8; ++k) {
        const float heading = maPiF / 4.0f * static_cast<float>(k);
        const maVector3d at(1.75f * std::sin(heading), 0.0f, 1.75f * std::cos(heading));
        const float rise = k % 2 == 0 ? 0.15f : -0.1f;
        carousel.joint.push_back(Placed(Round(0.04f, 0.04f, 0.25f, 2.6f, 6, kGold), 1, 0.0f, at));
        // Each horse faces along the deck's way round: body, neck and head, and legs.
        for (const toolModelFragment& part :
             {Block({0.7f, 0.3f, 0.22f}, {0, 1.2f + rise, 0}, horses[k % 4]),
              Block({0.16f, 0.45f, 0.18f}, {0.35f, 1.45f + rise, 0}, horses[k % 4]),
              Block({0.3f, 0.14f, 0.16f}, {0.46f, 1.66f + rise, 0}, horses[k % 4]),
              Block({0.6f, 0.35f, 0.14f}, {0, 0.92f + rise, 0}, horses[k % 4]),
              Block({0.3f, 0.06f, 0.24f}, {-0.05f, 1.37f + rise, 0}, kRed)})
            carousel.joint.push_back(Placed(part, 1, heading, at));
    }
    return carousel;
}

// A white wheel of sixteen rim pieces and eight spokes with coloured cabins, on two A-frames; the wheel
// turns about z once in sixteen seconds.
toolPropModel BigWheel() {
    constexpr float kHub = 3.0f, kRim = 2.2f;
    const toolModelMaterial cabins[] = {kRed, kYellow, kTeal, Paint(0.55f, 0.35f, 0.7f)};
    toolPropModel wheel{"bigwheel",
                        "bigwheel.mhx",
                        {Block({3.2f, 0.15f, 1.6f}, {0, 0.075f, 0}, kPaleStone),
                         Placed(Round(0.14f, 0.14f, -0.7f, 1.4f, 10, kIron), 0, maHalfPiF, {0, kHub, 0})},
                        {0, kHub, 0},
                        {},
                        "bigwheelturn.mx",
                        WholeTurn(2, 16.0f)};
    for (float z : {-0.6f, 0.6f})
        for (float side : {-1.0f, 1.0f})
            wheel.base.push_back(
                Placed(Block({0.14f, 3.27f, 0.14f}, {}, kWhite), 2, side * 0.41f, {side * 0.65f, 1.53f, z}));
    for (int k = 0; k < 16; ++k) {
        const float a = maPiF / 8.0f * static_cast<float>(k);
        for (float z : {-0.2f, 0.2f})
            wheel.joint.push_back(Placed(Block({0.88f, 0.1f, 0.1f}, {}, kWhite), 2, a + maHalfPiF,
                                         {kRim * std::cos(a), kRim * std::sin(a), z}));
        if (k % 2 != 0)
            continue;
        wheel.joint.push_back(Placed(Block({kRim, 0.06f, 0.06f}, {kRim / 2.0f, 0, 0}, kWhite), 2, a));
        wheel.joint.push_back(
            Block({0.5f, 0.45f, 0.5f}, {kRim * std::cos(a), kRim * std::sin(a), 0}, cabins[(k / 2) % 4]));
    }
    return wheel;
}

// A cream booth with a glass front over its counter, a striped awning and a red pyramid roof with a flag.
toolPropModel TicketBooth() {
    toolPropModel booth =
        Static("ticketbooth", {Block({1.4f, 2.0f, 1.2f}, {0, 1.0f, 0}, Paint(0.95f, 0.86f, 0.6f)),
                               Block({1.0f, 0.7f, 0.05f}, {0, 1.3f, 0.61f}, Paint(0.2f, 0.32f, 0.48f, 0.8f)),
                               Block({1.2f, 0.08f, 0.3f}, {0, 0.92f, 0.72f}, kDarkWood),
                               Placed(Round(1.1f, 0.0f, 2.0f, 0.7f, 4, kRed), 1, maPiF / 4.0f),
                               Round(0.03f, 0.03f, 2.7f, 0.6f, 6, kIron),
                               Block({0.05f, 0.25f, 0.4f}, {0, 3.15f, 0.2f}, kYellow)});
    for (int k = 0; k < 5; ++k)
        booth.base.push_back(Placed(Block({0.28f, 0.05f, 0.5f}, {}, k % 2 == 0 ? kRed : kWhite), 0, 0.35f,
                                    {-0.56f + 0.28f * static_cast<float>(k), 1.85f, 0.82f}));
    return booth;
}

// A teal cart on four wheels with a push bar, five balloons on strings above it.
toolPropModel BalloonCart() {
    toolPropModel cart = Static("ballooncart", {Block({1.1f, 0.6f, 0.7f}, {0, 0.75f, 0}, kTeal),
                                                Block({1.2f, 0.06f, 0.8f}, {0, 1.08f, 0}, kWhite),
                                                Block({0.45f, 0.05f, 0.05f}, {0.75f, 1.05f, 0}, kIron)});
    for (float x : {-0.4f, 0.4f})
        for (float z : {-0.37f, 0.37f})
            cart.base.push_back(
                Placed(Round(0.25f, 0.25f, -0.04f, 0.08f, 12, kBlack), 0, maHalfPiF, {x, 0.25f, z}));
    struct Balloon {
        maVector3d at;
        toolModelMaterial colour;
    };
    const Balloon balloons[] = {{{-0.3f, 2.2f, 0.1f}, kRed},
                                {{0.15f, 2.45f, -0.15f}, kYellow},
                                {{0.35f, 2.05f, 0.2f}, Paint(0.25f, 0.4f, 0.85f)},
                                {{-0.05f, 2.75f, 0.15f}, Paint(0.3f, 0.7f, 0.3f)},
                                {{-0.4f, 2.6f, -0.2f}, Paint(0.9f, 0.45f, 0.65f)}};
    for (const Balloon& balloon : balloons) {
        cart.base.push_back(Ball(0.28f, balloon.at, balloon.colour));
        const float low = 1.11f, high = balloon.at.y - 0.28f;
        cart.base.push_back(
            Block({0.02f, high - low, 0.02f}, {balloon.at.x, (low + high) / 2.0f, balloon.at.z}, kWhite));
    }
    return cart;
}

const toolModelMaterial kGrave = Paint(0.66f, 0.64f, 0.7f);
const toolModelMaterial kSlate = Paint(0.36f, 0.33f, 0.48f);
const toolModelMaterial kDoorway = Paint(0.1f, 0.08f, 0.1f);

// A grey stone tomb under a slate gable, a dark pointed door with a cross above it and violet-lit slits.
toolPropModel Crypt() {
    toolPropModel crypt = Static("crypt", {Block({2.8f, 0.2f, 3.4f}, {0, 0.1f, 0}, kDarkStone),
                                           Block({2.4f, 2.0f, 3.0f}, {0, 1.2f, 0}, kGrave),
                                           Prism(2.9f, 1.1f, 3.3f, {0, 2.2f, 0}, kSlate),
                                           Block({0.8f, 1.2f, 0.06f}, {0, 0.8f, 1.51f}, kDoorway),
                                           Prism(0.8f, 0.4f, 0.06f, {0, 1.4f, 1.51f}, kDoorway),
                                           Block({0.12f, 0.7f, 0.12f}, {0, 3.55f, 1.5f}, kPaleStone),
                                           Block({0.45f, 0.12f, 0.12f}, {0, 3.65f, 1.5f}, kPaleStone)});
    for (float x : {-1.25f, 1.25f}) {
        crypt.base.push_back(Placed(Round(0.16f, 0.16f, 0.2f, 2.0f, 8, kPaleStone), 1, 0.0f, {x, 0, 1.5f}));
        for (float z : {-0.7f, 0.7f})
            crypt.base.push_back(Block({0.06f, 0.8f, 0.2f}, {x * 0.97f, 1.4f, z}, Glow(0.6f, 0.35f, 0.9f)));
    }
    return crypt;
}

// A square stone tower with warm-lit belfry windows, pinnacles at its corners and a tall slate spire.
toolPropModel BellTower() {
    toolPropModel tower =
        Static("belltower", {Block({1.5f, 0.3f, 1.5f}, {0, 0.15f, 0}, kDarkStone),
                             Block({1.3f, 3.6f, 1.3f}, {0, 2.1f, 0}, kGrave),
                             Block({1.5f, 0.15f, 1.5f}, {0, 3.95f, 0}, kPaleStone),
                             Placed(Round(1.0f, 0.0f, 4.0f, 2.6f, 4, kSlate), 1, maPiF / 4.0f),
                             Block({0.06f, 0.5f, 0.06f}, {0, 6.8f, 0}, kGold),
                             Block({0.3f, 0.06f, 0.06f}, {0, 6.9f, 0}, kGold)});
    for (int k = 0; k < 4; ++k) {
        const float heading = maHalfPiF * static_cast<float>(k);
        tower.base.push_back(
            Placed(Block({0.4f, 0.9f, 0.06f}, {0, 3.2f, 0.65f}, Glow(1.0f, 0.75f, 0.35f)), 1, heading));
        tower.base.push_back(
            Placed(Round(0.13f, 0.0f, 4.02f, 0.7f, 4, kGrave), 1, heading,
                   {0.6f * std::cos(heading + maPiF / 4.0f), 0, 0.6f * std::sin(heading + maPiF / 4.0f)}));
    }
    return tower;
}

// A headstone with a round top and carved lines, on a mound of earth.
toolPropModel Gravestone() {
    toolPropModel stone = Static(
        "gravestone", {Block({0.9f, 0.12f, 1.7f}, {0, 0.06f, 0.3f}, Paint(0.36f, 0.28f, 0.2f)),
                       Block({0.8f, 0.9f, 0.18f}, {0, 0.5f, -0.4f}, kGrave),
                       Placed(Round(0.4f, 0.4f, -0.09f, 0.18f, 16, kGrave), 0, maHalfPiF, {0, 0.95f, -0.4f}),
                       Block({0.3f, 0.05f, 0.02f}, {0, 1.05f, -0.3f}, kDoorway),
                       Block({0.06f, 0.25f, 0.02f}, {0, 1.02f, -0.3f}, kDoorway)});
    for (float y : {0.7f, 0.55f, 0.4f})
        stone.base.push_back(Block({0.5f, 0.04f, 0.02f}, {0, y, -0.3f}, kDoorway));
    return stone;
}

// A bare grey trunk with crooked branches.
toolPropModel DeadTree() {
    const toolModelMaterial bark = Paint(0.5f, 0.44f, 0.4f);
    toolPropModel tree = Static("deadtree", {Round(0.32f, 0.16f, 0.0f, 2.8f, 7, bark)});
    const float heights[] = {1.2f, 1.6f, 2.0f, 2.3f, 2.7f}, tilts[] = {1.1f, 0.9f, 1.0f, 0.7f, 0.35f};
    for (int k = 0; k < 5; ++k) {
        const toolModelFragment branch = Placed(Round(0.13f, 0.03f, 0.0f, 1.3f, 5, bark), 2, tilts[k]);
        tree.base.push_back(Placed(branch, 1, 2.4f * static_cast<float>(k), {0, heights[k], 0}));
    }
    return tree;
}

const toolModelMaterial kLava = Glow(1.0f, 0.45f, 0.1f);

// A brown cone of rock with a glowing crater and three lava streams down its sides.
toolPropModel Volcano() {
    const toolModelMaterial rock = Paint(0.42f, 0.33f, 0.28f);
    toolPropModel volcano = Static(
        "volcano", {Round(2.7f, 0.8f, 0.0f, 2.4f, 12, rock), Round(0.62f, 0.62f, 2.3f, 0.2f, 12, kLava)});
    Add(volcano.base, Ring(0.85f, 0.6f, 2.4f, 0.15f, 12, Paint(0.3f, 0.24f, 0.21f)));
    // Along the slope, from its foot up to the rim, a little proud of it.
    const float slope = std::atan2(2.7f - 0.8f, 2.4f);
    for (int k = 0; k < 3; ++k) {
        const float heading = 0.5f + maTwoPiF / 3.0f * static_cast<float>(k);
        const toolModelFragment stream = Placed(Block({0.3f, 2.9f, 0.06f}, {}, kLava), 0, -slope);
        volcano.base.push_back(
            Placed(stream, 1, heading, {1.8f * std::sin(heading), 1.2f, 1.8f * std::cos(heading)}));
    }
    return volcano;
}

// A green sea serpent winding along the ground in three humps with red spines, its head raised.
toolPropModel SeaSerpent() {
    const toolModelMaterial scales = Paint(0.25f, 0.6f, 0.32f);
    const toolModelMaterial spines = Paint(0.75f, 0.22f, 0.16f);
    toolPropModel serpent = Static("seaserpent", {});
    // Raised a little, so that the ends of the humps rest on the ground.
    const maVector3d humps[] = {{-1.3f, 0.12f, -0.45f}, {0.0f, 0.12f, 0.3f}, {1.2f, 0.12f, -0.3f}};
    for (const maVector3d& hump : humps) {
        for (int k = 0; k < 7; ++k) {
            const float a = maPiF * (static_cast<float>(k) + 0.5f) / 7.0f;
            const maVector3d at = hump + maVector3d(0.5f * std::cos(a), 0.5f * std::sin(a), 0);
            serpent.base.push_back(Placed(Block({0.28f, 0.36f, 0.36f}, {}, scales), 2, a - maHalfPiF, at));
        }
        serpent.base.push_back(
            Placed(Round(0.1f, 0.0f, 0.0f, 0.3f, 4, spines), 1, 0.0f, hump + maVector3d(0, 0.66f, 0)));
    }
    const maVector3d neck(2.1f, 0, 0.2f);
    serpent.base.push_back(
        Placed(Block({0.34f, 1.3f, 0.34f}, {}, scales), 2, 0.3f, neck + maVector3d(0, 0.68f, 0)));
    serpent.base.push_back(Block({0.8f, 0.38f, 0.42f}, neck + maVector3d(0.05f, 1.3f, 0), scales));
    serpent.base.push_back(
        Block({0.5f, 0.1f, 0.36f}, neck + maVector3d(0.2f, 1.08f, 0), Paint(0.85f, 0.8f, 0.45f)));
    for (float z : {-0.22f, 0.22f})
        serpent.base.push_back(
            Block({0.12f, 0.12f, 0.04f}, neck + maVector3d(-0.05f, 1.4f, z), Glow(1.0f, 0.85f, 0.1f)));
    serpent.base.push_back(
        Placed(Round(0.1f, 0.0f, 0.0f, 0.35f, 4, spines), 1, 0.0f, neck + maVector3d(-0.2f, 1.48f, 0)));
    serpent.base.push_back(Placed(Block({0.6f, 0.22f, 0.22f}, {}, scales), 2, -0.5f, {-2.05f, 0.25f, -0.5f}));
    return serpent;
}

// A huge speckled egg in a nest of straw.
toolPropModel MonsterEgg() {
    const toolModelMaterial shell = Paint(0.92f, 0.88f, 0.72f);
    const toolModelMaterial straw = Paint(0.62f, 0.5f, 0.28f);
    toolPropModel egg =
        Static("monsteregg",
               {Round(0.62f, 0.62f, 0.0f, 0.1f, 10, straw), Round(0.2f, 0.5f, 0.12f, 0.25f, 14, shell),
                Round(0.5f, 0.6f, 0.37f, 0.35f, 14, shell), Round(0.6f, 0.56f, 0.72f, 0.4f, 14, shell),
                Round(0.56f, 0.36f, 1.12f, 0.45f, 14, shell), Round(0.36f, 0.0f, 1.57f, 0.3f, 14, shell)});
    Add(egg.base, Ring(0.85f, 0.6f, 0.0f, 0.32f, 10, straw));
    const toolModelMaterial spots = Paint(0.32f, 0.55f, 0.26f);
    for (int k = 0; k < 7; ++k) {
        const float heading = 0.9f * static_cast<float>(k), y = 0.6f + 0.13f * static_cast<float>(k % 4);
        egg.base.push_back(Placed(Block({0.16f, 0.16f, 0.16f}, {0, y, 0.55f}, spots), 1, heading));
    }
    return egg;
}

// A leaning palm: a ringed trunk, seven drooping fronds and three coconuts.
toolPropModel PalmTree() {
    const toolModelMaterial bark = Paint(0.55f, 0.42f, 0.28f);
    const toolModelMaterial fronds = Paint(0.22f, 0.55f, 0.22f);
    toolPropModel palm = Static("palmtree", {});
    for (int k = 0; k < 5; ++k) {
        const float y = 0.8f * static_cast<float>(k);
        palm.base.push_back(
            Placed(Round(0.2f, 0.16f, 0.0f, 0.8f, 8, bark), 1, 0.0f, {0.08f * static_cast<float>(k), y, 0}));
    }
    const maVector3d top(0.4f, 4.0f, 0);
    for (int k = 0; k < 7; ++k) {
        const toolModelFragment frond = Placed(Block({0.3f, 0.04f, 1.0f}, {0, 0, 0.5f}, fronds), 0, 0.4f);
        palm.base.push_back(Placed(frond, 1, maTwoPiF / 7.0f * static_cast<float>(k), top));
    }
    for (int k = 0; k < 3; ++k) {
        const float heading = maTwoPiF / 3.0f * static_cast<float>(k);
        palm.base.push_back(
            Ball(0.12f, top + maVector3d(0.18f * std::sin(heading), -0.15f, 0.18f * std::cos(heading)),
                 kDarkWood));
    }
    return palm;
}

} // namespace

std::vector<toolPropModel> toolEnvironmentPropModels() {
    return {Pine(), Boulder()};
}

std::vector<toolPropTheme> toolLeadingPropThemes() {
    return {{"Amusement Park", {Carousel(), BigWheel(), TicketBooth(), BalloonCart()}},
            {"Gothic", {Crypt(), BellTower(), Gravestone(), DeadTree()}},
            {"Monster Island", {Volcano(), SeaSerpent(), MonsterEgg(), PalmTree()}}};
}

std::vector<toolPropModel> toolIronvalePropModels() {
    return {Bench(),    Fountain(), Banner(), Trophy(), Lantern(),  Statue(), Barrel(),
            Signpost(), Crate(),    Totem(),  Arch(),   Windmill(), Beacon(), Gazebo()};
}

void toolWritePropModel(const std::string& folder, const toolPropModel& model) {
    const std::string path = folder + "/" + model.file;
    if (model.joint.empty())
        toolWriteStaticModel(path, {Joined(model.base)});
    else
        toolWriteHierarchyModel(path, Joined(model.base), model.jointPlace, Joined(model.joint));
    if (!model.animation.empty())
        toolWriteJointAnimation(folder, model.animation, model.jointPlace, model.turn);
}

void toolWriteIronvalePropModels(const std::string& folder) {
    for (const toolPropModel& model : toolIronvalePropModels())
        toolWritePropModel(folder, model);
}
