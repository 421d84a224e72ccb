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

} // namespace

std::vector<toolPropModel> toolEnvironmentPropModels() {
    return {Pine(), Boulder()};
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
