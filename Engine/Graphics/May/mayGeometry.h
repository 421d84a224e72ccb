#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class chBinReader;
class g3dMaterial;

// A material read from a model file with the names of its textures, loaded later by the caller.
struct mayMaterialRecord {
    std::unique_ptr<g3dMaterial> material;
    std::vector<std::string> textureNames;

    mayMaterialRecord();
    mayMaterialRecord(mayMaterialRecord&&) noexcept;
    mayMaterialRecord& operator=(mayMaterialRecord&&) noexcept;
    ~mayMaterialRecord();
};

// The geometry of a fragment chunk: one vertex per distinct (position, normal, coordinate) corner,
// 16-bit indices ordered by material, and the first triangle of every material after the first.
struct mayMesh {
    std::vector<maVector3d> positions;
    std::vector<maVector3d> normals;
    // Empty when the file gives none.
    std::vector<maVector2d> uvs;
    // Stored position index to the vertices made from it, in the order made; kept only when asked for.
    std::multimap<u16, u16> storedIndexMap;
    std::vector<u16> indices;
    std::vector<mayMaterialRecord> materials;
    std::vector<u32> rangeStarts;
};

// Reads the sub-chunks of the fragment chunk the reader is in and builds the mesh's vertices. Lists
// that run past their chunk, indices past their list, a material without its position indices or
// with shorter normal or coordinate indices, more than 65535 vertices and floats that are not finite
// throw chInvalidChunkX; the mesh is then left as it was.
void mayReadGeometry(chBinReader& reader, u16 version, u32 size, mayMesh& mesh, bool keepStoredIndexMap);
// Reads the material chunk the reader is in into the record's new material and its texture names.
void mayReadMaterial(chBinReader& reader, u16 version, u32 size, mayMaterialRecord& record);
