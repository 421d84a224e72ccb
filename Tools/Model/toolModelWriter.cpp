#include "Tools/Model/toolModelWriter.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chReader.h"
#include "Engine/Core/Ma/maConstants.h"
#include "Tools/Chunk/toolChunkFile.h"

#include <cmath>
#include <functional>
#include <stdexcept>

namespace {

constexpr u32 kFragment = chMakeId('G', 'F', 'R', 'G');
constexpr u32 kPositions = chMakeId('G', 'V', 'E', 'R');
constexpr u32 kNormals = chMakeId('N', 'V', 'E', 'R');
constexpr u32 kUVs = chMakeId('T', 'V', 'E', 'R');
constexpr u32 kMaterial = chMakeId('M', 'A', 'T', 'R');
constexpr u32 kMaterialBase = chMakeId('M', 'B', 'A', 'S');
constexpr u32 kPositionIndices = chMakeId('G', 'I', 'N', 'D');
constexpr u32 kNormalIndices = chMakeId('N', 'I', 'N', 'D');
constexpr u32 kUVIndices = chMakeId('T', 'I', 'N', 'D');
constexpr u32 kHierarchy = chMakeId('M', 'H', 'I', 'E');
constexpr u32 kLevel = chMakeId('H', 'L', 'E', 'V');
constexpr u32 kJoint = chMakeId('H', 'J', 'N', 'T');
constexpr u32 kJointMatrix = chMakeId('H', 'T', 'R', 'N');
constexpr u32 kJointOrientation = chMakeId('H', 'J', 'O', 'R');
constexpr u16 kUVSet = 0;
constexpr size_t kMaxCount = 65535;

// The corners of the box by bits: 1 is +x, 2 is +y, 4 is +z. Each face: its four corners and its normal.
struct Face {
    u16 corners[4];
    maVector3d normal;
};
const Face kFaces[6] = {
    {{1, 3, 7, 5}, {1, 0, 0}},  {{0, 4, 6, 2}, {-1, 0, 0}}, {{2, 6, 7, 3}, {0, 1, 0}},
    {{0, 1, 5, 4}, {0, -1, 0}}, {{4, 5, 7, 6}, {0, 0, 1}},  {{0, 2, 3, 1}, {0, 0, -1}},
};

u16 Count(size_t count, const char* what) {
    if (count > kMaxCount)
        throw std::length_error(std::string("more than 65535 ") + what);
    return static_cast<u16>(count);
}

void WriteColour(chBinWriter& writer, const std::array<float, 4>& colour) {
    for (float value : colour)
        writer.WriteFloat(value);
}

template <class Vector> void WriteList(chBinWriter& writer, u32 id, const std::vector<Vector>& values) {
    writer.BeginChunk(id, 0, true);
    writer.WriteUInt16(Count(values.size(), "values"));
    for (const Vector& value : values) {
        const float* components = &value.x;
        for (size_t i = 0; i < sizeof(Vector) / sizeof(float); ++i)
            writer.WriteFloat(components[i]);
    }
    writer.EndChunk();
}

void WriteIndices(chBinWriter& writer, u32 id, const std::vector<toolModelCorner>& corners,
                  u16 toolModelCorner::*index) {
    writer.BeginChunk(id, 0, true);
    if (id == kUVIndices)
        writer.WriteUInt16(kUVSet);
    writer.WriteUInt16(Count(corners.size() / 3, "triangles"));
    for (const toolModelCorner& corner : corners)
        writer.WriteUInt16(corner.*index);
    writer.EndChunk();
}

void WriteMaterial(chBinWriter& writer, const toolModelMaterial& material) {
    writer.BeginChunk(kMaterial, 0, true);
    writer.BeginChunk(kMaterialBase, 0, true);
    WriteColour(writer, material.diffuse);
    WriteColour(writer, material.ambient);
    WriteColour(writer, material.specular);
    WriteColour(writer, material.emissive);
    writer.WriteFloat(material.power);
    if (material.textures.size() > 255)
        throw std::length_error("more than 255 textures");
    writer.WriteUInt8(static_cast<u8>(material.textures.size()));
    for (const std::string& texture : material.textures)
        writer.WriteString(texture.c_str());
    writer.EndChunk();
    writer.EndChunk();
}

void WriteFragment(chBinWriter& writer, const toolModelFragment& fragment) {
    writer.BeginChunk(kFragment, 0, true);
    WriteList(writer, kPositions, fragment.positions);
    WriteList(writer, kNormals, fragment.normals);
    // Stored upside down: the reader turns v into 1 - v.
    std::vector<maVector2d> stored;
    for (const maVector2d& uv : fragment.uvs)
        stored.emplace_back(uv.x, 1.0f - uv.y);
    WriteList(writer, kUVs, stored);
    for (size_t k = 0; k < fragment.materials.size(); ++k) {
        WriteMaterial(writer, fragment.materials[k]);
        WriteIndices(writer, kPositionIndices, fragment.triangles.at(k), &toolModelCorner::position);
        WriteIndices(writer, kNormalIndices, fragment.triangles[k], &toolModelCorner::normal);
        WriteIndices(writer, kUVIndices, fragment.triangles[k], &toolModelCorner::uv);
    }
    writer.EndChunk();
}

} // namespace

toolModelFragment toolMakeBox(const maVector3d& size, const maVector3d& centre,
                              const toolModelMaterial& material) {
    toolModelFragment box;
    for (int i = 0; i < 8; ++i)
        box.positions.push_back(centre + maVector3d(size.x * ((i & 1) ? 0.5f : -0.5f),
                                                    size.y * ((i & 2) ? 0.5f : -0.5f),
                                                    size.z * ((i & 4) ? 0.5f : -0.5f)));
    box.uvs = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    box.materials = {material};
    box.triangles.resize(1);
    for (u16 f = 0; f < 6; ++f) {
        box.normals.push_back(kFaces[f].normal);
        for (u16 corner : {0, 1, 2, 0, 2, 3})
            box.triangles[0].push_back({kFaces[f].corners[corner], f, corner});
    }
    return box;
}

toolModelFragment toolMakeCylinder(float radius, float height, int sides, const toolModelMaterial& material) {
    toolModelFragment cylinder;
    cylinder.materials = {material};
    cylinder.triangles.resize(1);
    for (int i = 0; i <= sides; ++i) {
        const float angle = 2.0f * maPiF * static_cast<float>(i) / static_cast<float>(sides);
        const float u = static_cast<float>(i) / static_cast<float>(sides);
        cylinder.uvs.push_back({u, 0.0f});
        cylinder.uvs.push_back({u, 1.0f});
        if (i == sides)
            break;
        const maVector3d out(std::cos(angle), 0.0f, std::sin(angle));
        cylinder.normals.push_back(out);
        cylinder.positions.push_back(out * radius);
        cylinder.positions.push_back(out * radius + maVector3d(0.0f, height, 0.0f));
    }
    // Each side turns counter-clockwise seen from outside, as the box's faces do.
    for (int i = 0; i < sides; ++i) {
        const auto j = static_cast<u16>((i + 1) % sides);
        const auto k = static_cast<u16>(i);
        const toolModelCorner bottomI{static_cast<u16>(2 * k), k, static_cast<u16>(2 * k)};
        const toolModelCorner topI{static_cast<u16>(2 * k + 1), k, static_cast<u16>(2 * k + 1)};
        const toolModelCorner bottomJ{static_cast<u16>(2 * j), j, static_cast<u16>(2 * k + 2)};
        const toolModelCorner topJ{static_cast<u16>(2 * j + 1), j, static_cast<u16>(2 * k + 3)};
        cylinder.triangles[0].insert(cylinder.triangles[0].end(),
                                     {bottomI, topI, topJ, bottomI, topJ, bottomJ});
    }
    return cylinder;
}

void toolWriteStaticModel(const std::string& path, const std::vector<toolModelFragment>& fragments) {
    toolWriteChunkFile(path, [&](chBinWriter& writer) {
        for (const toolModelFragment& fragment : fragments)
            WriteFragment(writer, fragment);
    });
}

void toolWriteHierarchyModel(const std::string& path, const toolModelFragment& base,
                             const maVector3d& jointPlace, const toolModelFragment& joint) {
    toolWriteChunkFile(path, [&](chBinWriter& writer) {
        writer.BeginChunk(kHierarchy, 0, true);
        writer.BeginChunk(kLevel, 0, true);
        WriteFragment(writer, base);
        writer.BeginChunk(kJoint, 0, true);
        writer.BeginChunk(kJointMatrix, 0, true);
        // Row vectors: the translation is the last row.
        for (float value : {1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f,
                            jointPlace.x, jointPlace.y, jointPlace.z, 1.0f})
            writer.WriteFloat(value);
        writer.EndChunk();
        writer.BeginChunk(kJointOrientation, 0, true);
        for (int axis = 0; axis < 3; ++axis)
            writer.WriteFloat(0.0f);
        writer.EndChunk();
        WriteFragment(writer, joint);
        writer.EndChunk();
        writer.EndChunk();
        writer.EndChunk();
    });
}
