#include "Engine/Graphics/May/mayGeometry.h"
#include "Engine/Graphics/May/mayChunkValues.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"

#include <cmath>
#include <optional>
#include <unordered_map>

namespace {

constexpr u32 kGVER = chMakeId('G', 'V', 'E', 'R');
constexpr u32 kNVER = chMakeId('N', 'V', 'E', 'R');
constexpr u32 kTVER = chMakeId('T', 'V', 'E', 'R');
constexpr u32 kMATR = chMakeId('M', 'A', 'T', 'R');
constexpr u32 kGIND = chMakeId('G', 'I', 'N', 'D');
constexpr u32 kNIND = chMakeId('N', 'I', 'N', 'D');
constexpr u32 kTIND = chMakeId('T', 'I', 'N', 'D');
constexpr u32 kMBAS = chMakeId('M', 'B', 'A', 'S');

std::vector<maVector3d> ReadVectors3(chBinReader& reader) {
    std::vector<maVector3d> list(mayReadCount(reader, 12));
    for (maVector3d& v : list) {
        const f32 x = mayReadInChunk<f32>(reader), y = mayReadInChunk<f32>(reader),
                  z = mayReadInChunk<f32>(reader);
        v = maVector3d(x, y, z);
    }
    return list;
}

// Three indices a triangle.
std::vector<u16> ReadTriangles(chBinReader& reader) {
    std::vector<u16> list(mayReadCount(reader, 6) * 3);
    for (u16& index : list)
        index = mayReadInChunk<u16>(reader);
    return list;
}

g3dARGBColor ReadColor(chBinReader& reader) {
    const f32 r = mayReadInChunk<f32>(reader), g = mayReadInChunk<f32>(reader),
              b = mayReadInChunk<f32>(reader);
    return {r, g, b, mayReadInChunk<f32>(reader)};
}

// The index lists of one material, in file order of their kind.
struct IndexLists {
    std::vector<std::vector<u16>> positions, normals, uvs;
};

void CheckIndices(const std::vector<u16>& indices, size_t listSize) {
    for (u16 index : indices)
        if (index >= listSize)
            throw chInvalidChunkX();
}

// A vertex per distinct (normal, coordinate, position) corner, in order of first use, shared by all
// materials.
void BuildVertices(const std::vector<maVector3d>& positions, const std::vector<maVector3d>& normals,
                   const std::vector<maVector2d>& uvs, const IndexLists& lists, bool useUvs, bool keepMap,
                   mayMesh& mesh) {
    std::unordered_map<u64, u16> made;
    for (size_t k = 0; k < mesh.materials.size(); ++k) {
        if (k >= lists.positions.size())
            throw chInvalidChunkX();
        const std::vector<u16>& corners = lists.positions[k];
        const std::vector<u16>* normalCorners = k < lists.normals.size() ? &lists.normals[k] : nullptr;
        const std::vector<u16>* uvCorners = k < lists.uvs.size() ? &lists.uvs[k] : nullptr;
        if (!corners.empty() && (!normalCorners || normalCorners->size() < corners.size() ||
                                 (useUvs && (!uvCorners || uvCorners->size() < corners.size()))))
            throw chInvalidChunkX();
        CheckIndices(corners, positions.size());
        if (normalCorners)
            CheckIndices(*normalCorners, normals.size());
        if (useUvs && uvCorners)
            CheckIndices(*uvCorners, uvs.size());
        if (k > 0)
            mesh.rangeStarts.push_back(static_cast<u32>(mesh.indices.size() / 3));
        for (size_t j = 0; j < corners.size(); ++j) {
            const u16 position = corners[j];
            const u16 normal = (*normalCorners)[j];
            const u32 uv = useUvs ? (*uvCorners)[j] + 1u : 0u; // 0: no coordinate
            const u64 key = u64{normal} << 34 | u64{uv} << 17 | position;
            auto [found, isNew] = made.try_emplace(key, static_cast<u16>(mesh.positions.size()));
            if (isNew) {
                // 16-bit indices reach 65535 vertices at most.
                if (mesh.positions.size() >= 0xFFFF)
                    throw chInvalidChunkX();
                mesh.positions.push_back(positions[position]);
                mesh.normals.push_back(normals[normal]);
                if (useUvs)
                    mesh.uvs.push_back(uvs[uv - 1]);
                if (keepMap)
                    mesh.storedIndexMap.emplace(position, found->second);
            }
            mesh.indices.push_back(found->second);
        }
    }
}

} // namespace

mayMaterialRecord::mayMaterialRecord() = default;
mayMaterialRecord::mayMaterialRecord(mayMaterialRecord&&) noexcept = default;
mayMaterialRecord& mayMaterialRecord::operator=(mayMaterialRecord&&) noexcept = default;
mayMaterialRecord::~mayMaterialRecord() = default;

void mayReadMaterial(chBinReader& reader, u16, u32, mayMaterialRecord& record) {
    auto material = std::make_unique<g3dMaterial>();
    std::vector<std::string> names;
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kMBAS) {
            material->SetDiffuse(ReadColor(reader));
            material->SetAmbient(ReadColor(reader));
            material->SetSpecular(ReadColor(reader));
            material->SetEmissive(ReadColor(reader));
            const f32 power = mayReadInChunk<f32>(reader);
            material->SetSpecularEnable(power != 0.0f);
            if (power != 0.0f)
                material->SetSpecularPower(power);
            for (u32 count = mayReadInChunk<u8>(reader); count > 0; --count)
                names.push_back(mayReadName(reader));
        }
        reader.EndChunk();
    }
    record.material = std::move(material);
    record.textureNames.insert(record.textureNames.end(), names.begin(), names.end());
}

void mayReadGeometry(chBinReader& reader, u16, u32, mayMesh& mesh, bool keepStoredIndexMap) {
    std::vector<maVector3d> positions, normals;
    std::vector<maVector2d> uvs;
    IndexLists lists;
    mayMesh built;
    bool uvIndicesRead = false;
    u32 id = 0, size = 0;
    u16 version = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        switch (id) {
        case kGVER:
            positions = ReadVectors3(reader);
            break;
        case kNVER:
            normals = ReadVectors3(reader);
            for (maVector3d& n : normals)
                if (const f32 length = n.Length(); length > 0.0f)
                    n = maVector3d(n.x / length, n.y / length, n.z / length);
            break;
        case kTVER:
            uvs.resize(mayReadCount(reader, 8));
            for (maVector2d& uv : uvs) {
                const f32 u = mayReadInChunk<f32>(reader);
                uv = maVector2d(u, 1.0f - mayReadInChunk<f32>(reader));
            }
            break;
        case kMATR:
            mayReadMaterial(reader, version, size, built.materials.emplace_back());
            break;
        case kGIND:
            lists.positions.push_back(ReadTriangles(reader));
            break;
        case kNIND:
            lists.normals.push_back(ReadTriangles(reader));
            break;
        case kTIND:
            if (mayReadInChunk<u16>(reader) == 0) {
                lists.uvs.push_back(ReadTriangles(reader));
                uvIndicesRead = true;
            }
            break;
        default:
            break;
        }
        reader.EndChunk();
    }
    const bool useUvs = uvIndicesRead && !uvs.empty();
    BuildVertices(positions, normals, uvs, lists, useUvs, keepStoredIndexMap, built);
    mesh = std::move(built);
}
