#include "Tools/World/toolParkWorld.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Tools/Image/toolPngWriter.h"
#include "Tools/Model/toolModelWriter.h"
#include "Tools/World/toolEnvironmentWriter.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <vector>

namespace {

namespace fs = std::filesystem;

// The terrain: 64 x 64 quads, 10 units each, centred on the origin, in tiles of 16 x 16 quads.
constexpr int kQuads = 64;
constexpr int kTile = 16;
constexpr float kSpacing = 10.0f;
static_assert(kQuads % kTile == 0 && (kTile + 1) * (kTile + 1) <= 0x10000, "whole tiles of 16-bit indices");
// The hill stands between the start and the dusk sun.
const maVector3d kHill{toolHillX, 90.0f, toolHillZ};
constexpr float kHillWidth = 45.0f;
// The gorge's flat bottom either side of its line and the width of its walls; how far it takes to open out
// from the plain at its southern mouth. The slope's rounding at its top and foot, within its whole run.
constexpr float kGorgeBottom = 8.0f, kGorgeWall = 20.0f, kGorgeOpening = 50.0f;
constexpr float kSlopeRound = 30.0f, kSlopeRun = 170.0f;
const maVector3d kSun{1000.0f, 420.0f, 1000.0f};

u8 Byte(float value) {
    return static_cast<u8>(std::clamp(value, 0.0f, 255.0f));
}

toolImage MakeImage(int size, int channels, const std::function<std::array<float, 4>(float, float)>& texel) {
    toolImage image{size, size, channels, {}};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const std::array<float, 4> c = texel((static_cast<float>(x) + 0.5f) / static_cast<float>(size),
                                                 (static_cast<float>(y) + 0.5f) / static_cast<float>(size));
            for (int i = 0; i < channels; ++i)
                image.pixels.push_back(Byte(c[static_cast<size_t>(i)]));
        }
    return image;
}

// A small repeatable speckle, so that textures are not flat.
float Speckle(float u, float v) {
    const float s = std::sin(u * 12.9898f * 97.0f + v * 78.233f * 89.0f) * 43758.5453f;
    return s - std::floor(s);
}

toolModelMaterial Textured(const std::string& texture) {
    toolModelMaterial material;
    material.textures = {texture};
    return material;
}

using Texel = std::function<std::array<float, 4>(float, float)>;

// A surface of its own colour, which is what the untextured building view shows of it, with a texture
// that brings back the look: the texel over the colour, so that texture x colour is the texel given.
toolModelMaterial Coloured(const std::string& texture, const std::array<float, 3>& colour) {
    toolModelMaterial material = Textured(texture);
    material.diffuse = material.ambient = {colour[0], colour[1], colour[2], 1.0f};
    return material;
}

Texel OverColour(const Texel& texel, const std::array<float, 3>& colour) {
    return [texel, colour](float u, float v) {
        std::array<float, 4> c = texel(u, v);
        for (size_t i = 0; i < 3; ++i)
            c[i] /= colour[i];
        return c;
    };
}

// The ground's own colours: grass, the cavern's rock and its glowing stream, the station's platforms and
// its roof. Each texture over its colour stays within a byte.
constexpr std::array<float, 3> kGrass{0.42f, 0.68f, 0.32f};
constexpr std::array<float, 3> kRock{0.56f, 0.52f, 0.48f};
// The mountains' banks, dry grass where the ground falls more than kBankSteepness a unit, and their rock
// where it falls more than kCliffSteepness, so that the slope and the gorge's walls read at a glance; the
// hill stays grass.
constexpr std::array<float, 3> kBank{0.6f, 0.62f, 0.3f};
constexpr float kBankSteepness = 0.15f, kCliffSteepness = 0.8f;
constexpr std::array<float, 3> kStream{1.0f, 0.5f, 0.2f};
constexpr std::array<float, 3> kPlatform{0.76f, 0.7f, 0.64f};
constexpr std::array<float, 3> kRoof{0.75f, 0.22f, 0.18f};

// Lit only by itself: the sky keeps its colours whatever the lights.
toolModelMaterial Glowing(const std::string& texture) {
    toolModelMaterial material = Textured(texture);
    material.diffuse = {0.0f, 0.0f, 0.0f, 1.0f};
    material.ambient = {0.0f, 0.0f, 0.0f, 1.0f};
    material.emissive = {1.0f, 1.0f, 1.0f, 1.0f};
    return material;
}

using Height = std::function<float(float, float)>;

// The tile of kTile x kTile quads from quad (row, column); its edge vertices stand again in its
// neighbours. The terrain goes in tiles so that the scene leaves those out of view undrawn. Each triangle
// takes the last of the materials whose steepness it reaches (the shape's rise over run along its edges),
// and a material no triangle takes is left out.
toolModelFragment TerrainTile(int firstRow, int firstColumn, const Height& height, const Height& shape,
                              const std::vector<std::pair<float, toolModelMaterial>>& materials) {
    toolModelFragment terrain;
    std::vector<std::vector<toolModelCorner>> triangles(materials.size());
    const float half = kQuads * kSpacing * 0.5f;
    const auto at = [&](int i) { return static_cast<float>(i) * kSpacing - half; };
    for (int row = firstRow; row <= firstRow + kTile; ++row)
        for (int column = firstColumn; column <= firstColumn + kTile; ++column) {
            const float x = at(column), z = at(row);
            terrain.positions.push_back({x, height(x, z), z});
            // The normal from the heights either side.
            const float dx = height(x + 1.0f, z) - height(x - 1.0f, z);
            const float dz = height(x, z + 1.0f) - height(x, z - 1.0f);
            maVector3d normal(-dx, 2.0f, -dz);
            terrain.normals.push_back(normal * (1.0f / std::sqrt(maDot(normal, normal))));
            terrain.uvs.push_back({x / 20.0f, z / 20.0f});
        }
    const auto index = [](int row, int column) { return static_cast<u16>(row * (kTile + 1) + column); };
    for (int row = 0; row < kTile; ++row)
        for (int column = 0; column < kTile; ++column) {
            const u16 a = index(row, column), b = index(row + 1, column), c = index(row + 1, column + 1),
                      d = index(row, column + 1);
            for (const std::array<u16, 3>& triangle : {std::array{a, b, c}, std::array{a, c, d}}) {
                float steepness = 0.0f;
                for (size_t i = 0; i < 3; ++i) {
                    const maVector3d from = terrain.positions[triangle[i]],
                                     to = terrain.positions[triangle[(i + 1) % 3]];
                    steepness = std::max(steepness, std::fabs(shape(from.x, from.z) - shape(to.x, to.z)) /
                                                        std::hypot(from.x - to.x, from.z - to.z));
                }
                size_t material = materials.size() - 1;
                while (material > 0 && steepness < materials[material].first)
                    --material;
                for (u16 corner : triangle)
                    triangles[material].push_back({corner, corner, corner});
            }
        }
    for (size_t material = 0; material < materials.size(); ++material)
        if (!triangles[material].empty()) {
            terrain.materials.push_back(materials[material].second);
            terrain.triangles.push_back(std::move(triangles[material]));
        }
    return terrain;
}

std::vector<toolModelFragment>
TerrainTiles(const Height& height, const Height& shape,
             const std::vector<std::pair<float, toolModelMaterial>>& materials) {
    std::vector<toolModelFragment> tiles;
    for (int row = 0; row < kQuads; row += kTile)
        for (int column = 0; column < kQuads; column += kTile)
            tiles.push_back(TerrainTile(row, column, height, shape, materials));
    return tiles;
}

} // namespace

float toolCavernHeight(float x, float z) {
    const float out = std::clamp((std::hypot(x, z) - 150.0f) / 150.0f, 0.0f, 1.0f);
    return out * out * 40.0f + 1.5f * std::sin(x / 23.0f) * std::sin(z / 31.0f) * out;
}

namespace {

// A dome over the origin seen from inside: rings from the horizon (v = 1) to the top (v = 0).
toolModelFragment Dome(float radius, float height, const toolModelMaterial& material) {
    constexpr int kSides = 24, kRings = 8;
    toolModelFragment dome;
    dome.materials = {material};
    dome.triangles.resize(1);
    for (int ring = 0; ring <= kRings; ++ring) {
        const float up = static_cast<float>(ring) / kRings * maPiF * 0.5f;
        for (int side = 0; side <= kSides; ++side) {
            const float around = static_cast<float>(side) / kSides * 2.0f * maPiF;
            const maVector3d out(std::cos(up) * std::cos(around), std::sin(up),
                                 std::cos(up) * std::sin(around));
            dome.positions.push_back({out.x * radius, out.y * height, out.z * radius});
            dome.normals.push_back(out * -1.0f);
            dome.uvs.push_back({static_cast<float>(side) / kSides, 1.0f - static_cast<float>(ring) / kRings});
        }
    }
    const auto index = [](int ring, int side) { return static_cast<u16>(ring * (kSides + 1) + side); };
    for (int ring = 0; ring < kRings; ++ring)
        for (int side = 0; side < kSides; ++side) {
            const u16 a = index(ring, side), b = index(ring, side + 1), c = index(ring + 1, side + 1),
                      d = index(ring + 1, side);
            for (u16 corner : {a, b, c, a, c, d})
                dome.triangles[0].push_back({corner, corner, corner});
        }
    return dome;
}

// A flat band round the origin between two radii, a little above the floor there, facing up; its texture
// repeats eight times round.
toolModelFragment Band(float inner, float outer, float y, const toolModelMaterial& material) {
    constexpr int kSides = 48;
    toolModelFragment band;
    band.materials = {material};
    band.triangles.resize(1);
    for (int side = 0; side <= kSides; ++side) {
        const float around = static_cast<float>(side) / kSides * 2.0f * maPiF;
        for (const float radius : {inner, outer}) {
            band.positions.push_back({std::cos(around) * radius, y, std::sin(around) * radius});
            band.normals.push_back({0.0f, 1.0f, 0.0f});
            band.uvs.push_back({static_cast<float>(side) / kSides * 8.0f, radius == inner ? 0.0f : 1.0f});
        }
    }
    for (int side = 0; side < kSides; ++side) {
        const auto a = static_cast<u16>(side * 2), b = static_cast<u16>(a + 1), c = static_cast<u16>(a + 3),
                   d = static_cast<u16>(a + 2);
        // Wound as the terrain's quads, so that the band faces up.
        for (u16 corner : {a, d, c, a, c, b})
            band.triangles[0].push_back({corner, corner, corner});
    }
    return band;
}

// A round element of the flare: white, its alpha a soft disc or a band near the rim.
toolImage FlareElement(bool ring, float softness) {
    return MakeImage(64, 4, [&](float u, float v) -> std::array<float, 4> {
        const float r = std::hypot(u * 2.0f - 1.0f, v * 2.0f - 1.0f);
        const float a =
            ring ? 1.0f - std::abs(r - 0.8f) * 6.0f : std::pow(std::max(0.0f, 1.0f - r), softness);
        return {255.0f, 240.0f, 210.0f, std::clamp(a, 0.0f, 1.0f) * 255.0f};
    });
}

void WriteMountainTextures(const fs::path& folder) {
    toolWritePng((folder / "grass.png").string(),
                 MakeImage(64, 3,
                           OverColour(
                               [](float u, float v) -> std::array<float, 4> {
                                   const float s = Speckle(u, v) * 40.0f;
                                   return {60.0f + s, 110.0f + s, 45.0f + s * 0.5f, 255.0f};
                               },
                               kGrass)));
    toolWritePng((folder / "bank.png").string(),
                 MakeImage(64, 3,
                           OverColour(
                               [](float u, float v) -> std::array<float, 4> {
                                   const float s = Speckle(u, v) * 40.0f;
                                   return {105.0f + s, 110.0f + s, 45.0f + s * 0.5f, 255.0f};
                               },
                               kBank)));
    // Grey rock in bands along the slope.
    toolWritePng((folder / "rock.png").string(),
                 MakeImage(64, 3,
                           OverColour(
                               [](float u, float v) -> std::array<float, 4> {
                                   const float s = Speckle(u, v) * 30.0f + 14.0f * std::sin(v * 6.0f * maPiF);
                                   return {95.0f + s, 88.0f + s, 76.0f + s, 255.0f};
                               },
                               kRock)));
    // Deep blue at the top of the dome down to a pale horizon.
    toolWritePng((folder / "sky.png").string(), MakeImage(16, 3, [](float, float v) -> std::array<float, 4> {
                     return {70.0f + 120.0f * v, 110.0f + 100.0f * v, 200.0f + 40.0f * v, 255.0f};
                 }));
    // White puffs over nothing: the alpha makes the layer transparent.
    toolWritePng((folder / "clouds.png").string(),
                 MakeImage(64, 4, [](float u, float v) -> std::array<float, 4> {
                     const float puff = std::sin(u * 6.0f * maPiF) * std::sin(v * 3.0f * maPiF) +
                                        0.5f * std::sin(u * 14.0f * maPiF + v * 9.0f);
                     return {255.0f, 255.0f, 255.0f, std::clamp(puff, 0.0f, 0.8f) * 255.0f};
                 }));
    toolWritePng((folder / "flaresun.png").string(), FlareElement(false, 2.0f));
    toolWritePng((folder / "flarering.png").string(), FlareElement(true, 1.0f));
    toolWritePng((folder / "flaredisc.png").string(), FlareElement(false, 0.5f));
}

toolEnvironment Day() {
    toolEnvironment day;
    day.terrainModel = envString("terrain.mx");
    day.sky.layer1Model = envString("sky.mx");
    day.sky.layer2Model = envString("clouds.mx");
    day.sky.layer2Rate = 0.01f;
    day.sky.staticSky = false;
    day.sky.flatSky = true;
    day.background = {0.55f, 0.7f, 0.9f};
    day.ambient = {0.35f, 0.35f, 0.4f};
    day.directionalLights = {{1.0f, 0.95f, 0.85f, -0.5f, -1.0f, -0.4f}};
    day.startPosition = {0.0f, 2.0f, 0.0f};
    day.shadowMode = 2;
    return day;
}

toolEnvironment Dusk() {
    toolEnvironment dusk = Day();
    dusk.background = {0.55f, 0.4f, 0.35f};
    dusk.ambient = {0.25f, 0.2f, 0.25f};
    dusk.directionalLights = {{0.9f, 0.6f, 0.4f, -kSun.x, -kSun.y, -kSun.z}};
    dusk.fog = {1, 0.55f, 0.4f, 0.35f, 150.0f, 900.0f, 0.0f};
    dusk.lensFlare.sun = kSun;
    dusk.lensFlare.elements = {{envString("flaresun.png"), 0.0f, 0.5f},
                               {envString("flarering.png"), 0.5f, 0.3f},
                               {envString("flaredisc.png"), 1.2f, 0.12f}};
    return dusk;
}

// The cavern: no sky, a rock vault instead, a faint glow from above, and the track's shadows on, so that
// the train's headlight lights the way.
toolEnvironment Cavern() {
    toolEnvironment cavern;
    cavern.terrainModel = envString("terrain.mx");
    // A glowing stream round the flat floor; the game slides and pulses its first material.
    cavern.extraTerrainModel = envString("glow.mx");
    cavern.sky.layer1Model = envString("vault.mx");
    cavern.sky.staticSky = true;
    cavern.background = {0.0f, 0.0f, 0.0f};
    cavern.ambient = {0.18f, 0.16f, 0.14f};
    cavern.directionalLights = {{0.2f, 0.18f, 0.15f, 0.2f, -1.0f, 0.3f}};
    cavern.fog = {1, 0.02f, 0.02f, 0.02f, 80.0f, 420.0f, 0.0f};
    cavern.startPosition = {0.0f, 2.0f, 0.0f};
    cavern.shadowMode = 2;
    return cavern;
}

// Moonlight from high in the south-west over a dark blue haze that hides the day's sky.
toolEnvironment Night() {
    toolEnvironment night = Day();
    night.background = {0.03f, 0.04f, 0.1f};
    night.ambient = {0.12f, 0.13f, 0.2f};
    night.directionalLights = {{0.35f, 0.4f, 0.6f, 0.4f, -1.0f, 0.6f}};
    night.fog = {1, 0.03f, 0.04f, 0.1f, 100.0f, 700.0f, 0.0f};
    return night;
}

} // namespace

namespace {

float Hill(float x, float z) {
    const float d2 = (x - kHill.x) * (x - kHill.x) + (z - kHill.z) * (z - kHill.z);
    return kHill.y * std::exp(-d2 / (2.0f * kHillWidth * kHillWidth));
}

// The mountains without their hill, whose steepness chooses the ground's banks and rock; the hill stays
// grass.
float BuiltGround(float x, float z) {
    return toolMountainHeight(x, z) - Hill(x, z);
}

} // namespace

float toolMountainHeight(float x, float z) {
    const float hill = Hill(x, z);
    // The gorge: its share of the full depth across it, a flat bottom between walls that round into the
    // plain, and along it, opening out where it meets the slope.
    const float wall = std::clamp((std::fabs(x - toolGorgeX) - kGorgeBottom) / kGorgeWall, 0.0f, 1.0f);
    const float along = std::clamp((z - toolGorgeMouthZ) / kGorgeOpening, 0.0f, 1.0f);
    const float gorge = (1.0f - wall * wall * (3.0f - 2.0f * wall)) * along * along * (3.0f - 2.0f * along);
    // The slope: falling evenly southwards from the plain's edge, rounded where it starts and where it
    // levels out below.
    const float fall = std::clamp(toolSlopeTopZ - z, 0.0f, kSlopeRun), rest = kSlopeRun - fall;
    const float drop = fall < kSlopeRound   ? fall * fall / (2.0f * kSlopeRound)
                       : rest < kSlopeRound ? kSlopeRun - kSlopeRound - rest * rest / (2.0f * kSlopeRound)
                                            : fall - 0.5f * kSlopeRound;
    // Flat within 60 of the start, rolling up to 3 units from 160 out, but not in the gorge or on the slope.
    const float out = std::clamp((std::hypot(x, z) - 60.0f) / 100.0f, 0.0f, 1.0f) * (1.0f - gorge) *
                      (1.0f - std::min(fall / kSlopeRound, 1.0f));
    return hill + out * 3.0f * std::sin(x / 37.0f) * std::sin(z / 29.0f) - gorge * toolGorgeDepth -
           drop * toolSlopeGradient;
}

void toolWriteMountain(const std::string& dataFolder) {
    const fs::path mountain = fs::path(dataFolder) / "Environments" / "Mountain";
    for (const char* folder : {"Data", "Model", "Texture"})
        fs::create_directories(mountain / folder);
    WriteMountainTextures(mountain / "Texture");
    const std::string models = (mountain / "Model").string();
    toolWriteStaticModel(models + "/terrain.mx",
                         TerrainTiles(toolMountainHeight, BuiltGround,
                                      {{0.0f, Coloured("grass.png", kGrass)},
                                       {kBankSteepness, Coloured("bank.png", kBank)},
                                       {kCliffSteepness, Coloured("rock.png", kRock)}}));
    toolWriteStaticModel(models + "/sky.mx", {Dome(1500.0f, 600.0f, Glowing("sky.png"))});
    toolWriteStaticModel(models + "/clouds.mx", {Dome(1200.0f, 350.0f, Glowing("clouds.png"))});
    toolWriteEnvironment((mountain / "Data" / "1.end").string(), Day());
    toolWriteEnvironment((mountain / "Data" / "2.end").string(), Dusk());
    toolWriteEnvironment((mountain / "Data" / "3.end").string(), Night());
}

void toolWriteCavern(const std::string& dataFolder) {
    const fs::path cavern = fs::path(dataFolder) / "Environments" / "cavern";
    for (const char* folder : {"Data", "Model", "Texture"})
        fs::create_directories(cavern / folder);
    const auto rock = [](float base) {
        return [base](float u, float v) -> std::array<float, 4> {
            const float s =
                Speckle(u, v) * 30.0f + 12.0f * std::sin(u * 9.0f * maPiF) * std::sin(v * 7.0f * maPiF);
            return {base + s, base * 0.9f + s, base * 0.8f + s, 255.0f};
        };
    };
    toolWritePng((cavern / "Texture" / "cavefloor.png").string(),
                 MakeImage(64, 3, OverColour(rock(95.0f), kRock)));
    toolWritePng((cavern / "Texture" / "caveroof.png").string(), MakeImage(64, 3, rock(60.0f)));
    const std::string models = (cavern / "Model").string();
    toolWriteStaticModel(models + "/terrain.mx", TerrainTiles(toolCavernHeight, toolCavernHeight,
                                                              {{0.0f, Coloured("cavefloor.png", kRock)}}));
    toolModelMaterial roof = Textured("caveroof.png");
    roof.ambient = {0.5f, 0.5f, 0.5f, 1.0f};
    toolWriteStaticModel(models + "/vault.mx", {Dome(330.0f, 140.0f, roof)});
    toolWritePng((cavern / "Texture" / "glow.png").string(),
                 MakeImage(64, 3,
                           OverColour(
                               [](float u, float v) -> std::array<float, 4> {
                                   const float s = Speckle(u, v) * 40.0f + 50.0f * std::sin(v * maPiF);
                                   return {std::min(170.0f + s, 255.0f), 60.0f + s * 0.6f, 20.0f, 255.0f};
                               },
                               kStream)));
    toolModelMaterial glow = Coloured("glow.png", kStream);
    glow.emissive = {0.5f, 0.22f, 0.06f, 1.0f};
    toolWriteStaticModel(models + "/glow.mx", {Band(128.0f, 140.0f, 0.15f, glow)});
    toolWriteEnvironment((cavern / "Data" / "1.end").string(), Cavern());
}

void toolWriteIronvaleDock(const std::string& dataFolder) {
    const fs::path theme = fs::path(dataFolder) / "Themes" / "Ironvale";
    fs::create_directories(theme / "Texture");
    toolWritePng((theme / "Texture" / "dockfloor.png").string(),
                 MakeImage(32, 3,
                           OverColour(
                               [](float u, float v) -> std::array<float, 4> {
                                   const float seam = std::fmod(v * 8.0f, 1.0f) < 0.08f ? -50.0f : 0.0f;
                                   const float s = Speckle(u, v) * 25.0f + seam;
                                   return {150.0f + s, 145.0f + s, 135.0f + s, 255.0f};
                               },
                               kPlatform)));
    toolWritePng((theme / "Texture" / "dockroof.png").string(),
                 MakeImage(32, 3,
                           OverColour(
                               [](float u, float) -> std::array<float, 4> {
                                   const float rib = std::fmod(u * 6.0f, 1.0f) < 0.15f ? -40.0f : 0.0f;
                                   return {170.0f + rib, 50.0f + rib * 0.5f, 40.0f, 255.0f};
                               },
                               kRoof)));
    toolModelMaterial steel;
    steel.diffuse = {0.45f, 0.47f, 0.52f, 1.0f};
    steel.ambient = {0.4f, 0.4f, 0.45f, 1.0f};
    // The track runs along z through the origin; the platforms stand either side of it, 2 deep, on legs
    // down to the ground 15 below, where the builder stands a station over the terrain; the roof spans
    // both on six posts.
    constexpr float kLength = 30.0f, kGround = -15.0f, kPlatformBottom = -2.0f;
    std::vector<toolModelFragment> dock;
    for (float side : {-1.0f, 1.0f}) {
        dock.push_back(toolMakeBox({2.6f, 2.3f, kLength}, {side * 2.5f, -0.85f, 0.0f},
                                   Coloured("dockfloor.png", kPlatform)));
        for (float z : {-kLength * 0.45f, 0.0f, kLength * 0.45f}) {
            dock.push_back(toolMakeBox({0.25f, 4.0f, 0.25f}, {side * 3.5f, 2.3f, z}, steel));
            dock.push_back(toolMakeBox({0.5f, kPlatformBottom - kGround, 0.5f},
                                       {side * 2.5f, (kGround + kPlatformBottom) * 0.5f, z}, steel));
        }
    }
    dock.push_back(
        toolMakeBox({8.4f, 0.3f, kLength + 1.0f}, {0.0f, 4.45f, 0.0f}, Coloured("dockroof.png", kRoof)));
    // Both coaster types start from it: a type without a dock could not be built at all.
    for (const char* type : {"Steel", "Wooden"}) {
        const fs::path models = theme / "Tracks" / type / "Model";
        fs::create_directories(models);
        toolWriteStaticModel((models / "loaddock.mx").string(), dock);
    }
}

void toolWriteRingTextures(const std::string& dataFolder) {
    const fs::path folder = fs::path(dataFolder) / "Data" / "Effects" / "Texture";
    fs::create_directories(folder);
    const struct {
        const char* file;
        float red, green, blue;
    } rings[] = {
        {"ringgreen.png", 60, 230, 80}, {"ringred.png", 230, 60, 50}, {"ringgold.png", 255, 200, 40}};
    for (const auto& ring : rings)
        toolWritePng((folder / ring.file).string(),
                     MakeImage(64, 4, [&](float u, float v) -> std::array<float, 4> {
                         // The square spans 1.5 radii each way: the band is brightest on the radius.
                         const float r = std::hypot(u * 2.0f - 1.0f, v * 2.0f - 1.0f);
                         const float band = std::clamp(1.0f - std::abs(r - 1.0f / 1.5f) * 10.0f, 0.0f, 1.0f);
                         return {ring.red, ring.green, ring.blue, band * 255.0f};
                     }));
}
