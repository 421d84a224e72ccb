#include "Tools/Model/toolAnimatedModels.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chReader.h"
#include "Tools/Chunk/toolChunkFile.h"

#include <array>
#include <cmath>
#include <functional>
#include <vector>

namespace {

struct Point {
    float x, y, z;
};

// Positions with a normal and a texture coordinate each, and triangles on them.
struct Mesh {
    std::vector<Point> positions, normals;
    std::vector<std::pair<float, float>> uvs;
    std::vector<unsigned> triangles;
};

class Chunk {
  public:
    Chunk(chBinWriter& w, const char* id) : m_w(w) {
        w.BeginChunk(chMakeId(id[0], id[1], id[2], id[3]), 1, true);
    }
    ~Chunk() { m_w.EndChunk(); }

  private:
    chBinWriter& m_w;
};

void WriteFloats(chBinWriter& w, std::initializer_list<float> values) {
    for (float v : values)
        w.WriteFloat(v);
}

void WritePoints(chBinWriter& w, const char* id, const std::vector<Point>& points) {
    Chunk chunk(w, id);
    w.WriteUInt16(static_cast<u16>(points.size()));
    for (const Point& p : points)
        WriteFloats(w, {p.x, p.y, p.z});
}

void WriteIndices(chBinWriter& w, const char* id, const Mesh& mesh, bool set) {
    Chunk chunk(w, id);
    if (set)
        w.WriteUInt16(0);
    w.WriteUInt16(static_cast<u16>(mesh.triangles.size() / 3));
    for (unsigned index : mesh.triangles)
        w.WriteUInt16(static_cast<u16>(index));
}

constexpr std::array<float, 3> kGrey{0.7f, 0.7f, 0.7f};

// One material of the colour; every corner takes the normal and coordinate of its position.
void WriteFragment(chBinWriter& w, const Mesh& mesh, const std::array<float, 3>& colour = kGrey) {
    Chunk fragment(w, "GFRG");
    WritePoints(w, "GVER", mesh.positions);
    WritePoints(w, "NVER", mesh.normals);
    {
        Chunk uvs(w, "TVER");
        w.WriteUInt16(static_cast<u16>(mesh.uvs.size()));
        for (auto [u, v] : mesh.uvs)
            WriteFloats(w, {u, v});
    }
    {
        Chunk material(w, "MATR");
        Chunk base(w, "MBAS");
        const float r = colour[0], g = colour[1], b = colour[2];
        WriteFloats(w, {r, g, b, 1, r * 0.43f, g * 0.43f, b * 0.43f, 1, 0.2f, 0.2f, 0.2f, 1, 0, 0, 0, 1, 8});
        w.WriteUInt8(0);
    }
    WriteIndices(w, "GIND", mesh, false);
    WriteIndices(w, "NIND", mesh, false);
    WriteIndices(w, "TIND", mesh, true);
}

// An open tube around y from 0 to length, as rings of segments.
Mesh Tube(float radius, float length, unsigned rings, unsigned segments) {
    Mesh mesh;
    for (unsigned r = 0; r < rings; ++r)
        for (unsigned s = 0; s < segments; ++s) {
            const float angle = 6.2831853f * static_cast<float>(s) / static_cast<float>(segments);
            const float c = std::cos(angle), n = std::sin(angle);
            mesh.positions.push_back({radius * c, length * static_cast<float>(r) / (rings - 1), radius * n});
            mesh.normals.push_back({c, 0, n});
            mesh.uvs.push_back({static_cast<float>(s) / segments, static_cast<float>(r) / (rings - 1)});
        }
    for (unsigned r = 0; r + 1 < rings; ++r)
        for (unsigned s = 0; s < segments; ++s) {
            const unsigned a = r * segments + s, b = r * segments + (s + 1) % segments;
            // Clockwise seen from outside, as the renderer's front faces are.
            mesh.triangles.insert(mesh.triangles.end(), {a, b, a + segments, b, b + segments, a + segments});
        }
    return mesh;
}

void WriteFile(const std::string& folder, const char* name, const std::function<void(chBinWriter&)>& body) {
    toolWriteChunkFile(folder + "/" + name, body);
}

// A joint at height y whose bind pose is that translation, moving each ring by its weight.
void WriteJoint(chBinWriter& w, const char* name, float y, const Mesh& tube,
                const std::function<float(float)>& weight, const std::function<void()>& children) {
    Chunk joint(w, "JOIN");
    {
        Chunk chunk(w, "NNAM");
        w.WriteChars(name, static_cast<u32>(std::char_traits<char>::length(name)) + 1);
    }
    {
        Chunk data(w, "JODA");
        WriteFloats(w, {0, y, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
        WriteFloats(w, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, y, 0, 1});
        w.WriteUInt16(static_cast<u16>(tube.positions.size()));
        for (size_t i = 0; i < tube.positions.size(); ++i) {
            w.WriteUInt16(static_cast<u16>(i));
            w.WriteFloat(weight(tube.positions[i].y));
        }
    }
    children();
}

// A skin of two joints on a tube standing from 0 to length: "base" at its foot and "tip" half way up, which
// bends it; each ring follows the tip by its height over the length and the base by the rest.
void WriteSkinTube(const std::string& folder, const char* name, float radius, float length, unsigned rings,
                   const std::array<float, 3>& colour) {
    const Mesh tube = Tube(radius, length, rings, 12);
    WriteFile(folder, name, [&](chBinWriter& w) {
        Chunk skin(w, "MSSK");
        WriteJoint(
            w, "base", 0, tube, [&](float y) { return 1 - y / length; },
            [&] {
                WriteJoint(
                    w, "tip", length / 2, tube, [&](float y) { return y / length; }, [] {});
            });
        WriteFragment(w, tube, colour);
    });
}

// An animation of such a skin: its base stays, its tip turns through the keys.
void WriteTipAnimation(const std::string& folder, const char* name, const std::vector<toolTurnKey>& keys) {
    WriteFile(folder, name, [&](chBinWriter& w) {
        Chunk animation(w, "ANIH");
        Chunk base(w, "ANLV");
        Chunk tip(w, "ANLV");
        Chunk rotations(w, "ARKY");
        w.WriteUInt16(static_cast<u16>(keys.size()));
        for (const toolTurnKey& key : keys)
            WriteFloats(w, {key.x, key.y, key.z, key.frame});
    });
}

} // namespace

void toolWriteTubeDancer(const std::string& folder) {
    WriteSkinTube(folder, "tubedancer.msk", 0.3f, 3.0f, 13, {0.95f, 0.4f, 0.1f});
    // Over and back both ways, leaning a little towards the viewer, in a second and a third.
    WriteTipAnimation(
        folder, "tubedancersway.mx",
        {{0, 0, 0, 0}, {0.3f, 0, 0.9f, 8}, {0, 0, 0, 16}, {-0.3f, 0, -0.9f, 24}, {0, 0, 0, 32}});
}

void toolWriteAnimatedModels(const std::string& folder) {
    WriteSkinTube(folder, "skintube.mx", 0.2f, 2.0f, 9, kGrey);
    // The tip turns up to 1.2 radians about z over one second of 24 frames and back.
    WriteTipAnimation(folder, "skintubebend.mx", {{0, 0, 0, 0}, {0, 0, 1.2f, 24}, {0, 0, 0, 48}});
    const Mesh part = Tube(0.15f, 1.0f, 2, 6);
    WriteFile(folder, "arm.mhx", [&](chBinWriter& w) {
        Chunk model(w, "MHIE");
        Chunk upper(w, "HLEV");
        WriteFragment(w, part);
        Chunk lower(w, "HJNT");
        {
            Chunk matrix(w, "HTRN");
            WriteFloats(w, {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 1, 0, 1});
        }
        {
            Chunk orientation(w, "HJOR");
            WriteFloats(w, {0, 0, 0.6f});
        }
        WriteFragment(w, part);
    });
}

void toolWriteJointAnimation(const std::string& folder, const std::string& name, const maVector3d& place,
                             const std::vector<toolTurnKey>& keys) {
    WriteFile(folder, name.c_str(), [&](chBinWriter& w) {
        Chunk animation(w, "ANIH");
        Chunk base(w, "ANLV");
        Chunk joint(w, "ANLV");
        {
            Chunk positions(w, "APKY");
            w.WriteUInt16(static_cast<u16>(keys.size()));
            for (const toolTurnKey& key : keys)
                WriteFloats(w, {place.x, place.y, place.z, key.frame});
        }
        Chunk rotations(w, "ARKY");
        w.WriteUInt16(static_cast<u16>(keys.size()));
        for (const toolTurnKey& key : keys)
            WriteFloats(w, {key.x, key.y, key.z, key.frame});
    });
}
