#include "Source/TrackGeom/coExtrusion.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coBezier.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/TrackGeom/coTrackDefinition.h"
#include "Source/TrackGeom/coTrackObjects.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// Vertex and index counts of a fragment are 16-bit.
constexpr double kMaxFragmentCount = 65535.0;
constexpr int kMaxCrossbars = 1000;
// The ring factors are single-precision constants; 0.9f lies just below 0.9, so 10 units give 8 rings.
constexpr float kDefaultRingsPerUnit = 0.9f;
constexpr float kCoarseRingsPerUnit = 0.5f;
constexpr float kCrossbarDetailLimit = 1.3f;
// Transparent sections are cut into chunks of about this length, so the sorting sees each on its own.
constexpr double kChunkLength = 20.0;

// Truncated towards zero; values past the 16-bit limit (and NaN) come back as the limit.
int Truncate(double x) {
    return x < kMaxFragmentCount ? static_cast<int>(x) : static_cast<int>(kMaxFragmentCount);
}

// The most rings whose vertices and indices fit a fragment.
int MaxRings(int count) {
    if (count == 1)
        return static_cast<int>(kMaxFragmentCount / 2.0) + 1;
    const int byVertices = static_cast<int>(kMaxFragmentCount) / count;
    const int byIndices = static_cast<int>(kMaxFragmentCount) / (6 * (count - 1)) + 1;
    return std::min(byVertices, byIndices);
}

struct SectionMesh {
    std::vector<maVector3d> positions;
    std::vector<maVector3d> normals;
    std::vector<maVector2d> uvs;
    std::vector<u16> indices;
};

void FillRings(const coCrossSection& section, const coCoasterPiece& piece, int rings, float repeats,
               SectionMesh& mesh) {
    const int count = section.GetVertexCount();
    std::vector<maVector2d> normals;
    computeVertexNormals(section, normals);
    const size_t total = static_cast<size_t>(rings) * static_cast<size_t>(count);
    mesh.positions.resize(total);
    mesh.normals.resize(total);
    mesh.uvs.resize(total);
    const float step = 1.0f / static_cast<float>(rings - 1);
    float t = 0.0f;
    for (int r = 0; r < rings; ++r, t += step) {
        const float s = coEaseInOut(t);
        const maMatrix4d frame = piece.FrameAt(s);
        const maVector3d side = frame.GetAxis(0);
        const maVector3d up = frame.GetAxis(1);
        const maVector3d point = frame.GetTranslation();
        for (int j = 0; j < count; ++j) {
            const size_t i = static_cast<size_t>(r) * static_cast<size_t>(count) + static_cast<size_t>(j);
            const maVector2d& vertex = section.GetVertex(j);
            const maVector2d& normal = normals[static_cast<size_t>(j)];
            mesh.positions[i] = side * vertex.x + up * vertex.y + point;
            mesh.normals[i] = side * normal.x + up * normal.y;
            const float u = count == 1 ? 0.0f : static_cast<float>(j) / static_cast<float>(count - 1);
            mesh.uvs[i] = maVector2d(u, s * repeats);
        }
    }
}

void FillIndices(int rings, int count, std::vector<u16>& indices) {
    indices.clear();
    if (count == 1) {
        for (int r = 0; r + 1 < rings; ++r) {
            indices.push_back(static_cast<u16>(r));
            indices.push_back(static_cast<u16>(r + 1));
        }
        return;
    }
    for (int r = 0; r + 1 < rings; ++r) {
        for (int k = 0; k + 1 < count; ++k) {
            const auto a = static_cast<u16>(r * count + k);
            const auto b = static_cast<u16>(a + count);
            indices.insert(indices.end(), {a, static_cast<u16>(b + 1), b, static_cast<u16>(b + 1), a,
                                           static_cast<u16>(a + 1)});
        }
    }
}

// The rings in chunks of about 20 units, neighbours sharing their boundary ring, the last taking the
// remainder; each chunk indexes from its own first vertex, so the first indices serve every chunk.
void AddTransparentChunks(const SectionMesh& mesh, int rings, int count, float length, g3dMaterial* material,
                          int group, coSceneObjectSet& set) {
    const int intervals = rings - 1;
    const int chunks = std::min(Truncate(static_cast<double>(length) / kChunkLength + 1.0), intervals);
    const int span = intervals / chunks;
    for (int c = 0; c < chunks; ++c) {
        const int first = c * span;
        const int chunkIntervals = c + 1 == chunks ? intervals - first : span;
        const size_t vertex = static_cast<size_t>(first) * static_cast<size_t>(count);
        const u32 vertexCount = static_cast<u32>((chunkIntervals + 1) * count);
        const u32 indexCount = static_cast<u32>(6 * chunkIntervals * (count - 1));
        coAddTrackFragment(set,
                           g3dFragmentManager::CreateFragmentPNT2(
                               &mesh.positions[vertex], &mesh.normals[vertex], &mesh.uvs[vertex], vertexCount,
                               mesh.indices.data(), indexCount, &material, nullptr, 1, false),
                           group, material);
    }
}

void ExtrudeSection(const coCrossSection& section, const coCoasterPiece& piece, coSceneObjectSet& set) {
    const int count = section.GetVertexCount();
    const float length = piece.GetLength();
    const int rings = coSectionRingCount(section, length);
    if (count == 0 || rings < 2)
        return;
    const float spacing = section.GetTextureSpacing();
    const float repeats = spacing > 0.0f ? std::trunc(length / spacing + 0.5f) : 1.0f;
    g3dMaterial* material = coMaterialOrDefault(section.GetMaterial());
    const int group = section.GetLOD();

    SectionMesh mesh;
    FillRings(section, piece, rings, repeats, mesh);
    FillIndices(rings, count, mesh.indices);
    const auto indexCount = static_cast<u32>(mesh.indices.size());
    if (count == 1) {
        coAddTrackFragment(set,
                           g3dFragmentManager::CreateFragmentPN(mesh.positions.data(), mesh.normals.data(),
                                                                static_cast<u32>(rings), mesh.indices.data(),
                                                                indexCount, &material, nullptr, 1, false),
                           group, material);
    } else if (material->IsTransparent()) {
        AddTransparentChunks(mesh, rings, count, length, material, group, set);
    } else {
        coAddTrackFragment(set,
                           g3dFragmentManager::CreateFragmentPNT2(
                               mesh.positions.data(), mesh.normals.data(), mesh.uvs.data(),
                               static_cast<u32>(mesh.positions.size()), mesh.indices.data(), indexCount,
                               &material, nullptr, 1, false),
                           group, material);
    }
}

} // namespace

void coBuildPieceGeometry(const coTrackDefinition& definition, const coCoasterPiece& piece,
                          coSceneObjectSet& set) {
    coExtrudeCrossSections(definition, piece, set);
    coPlaceCrossbars(definition, piece, set);
}

void coExtrudeCrossSections(const coTrackDefinition& definition, const coCoasterPiece& piece,
                            coSceneObjectSet& set) {
    for (const auto& section : definition.GetCrossSections()) {
        if (coSectionApplies(*section, piece.GetElement(), piece.GetTube()))
            ExtrudeSection(*section, piece, set);
    }
}

void coPlaceCrossbars(const coTrackDefinition& definition, const coCoasterPiece& piece,
                      coSceneObjectSet& set) {
    const float length = piece.GetLength();
    const float detail = coPrefs::GetFloat(coPrefCrossbarDetail);
    for (const auto& crossbar : definition.GetCrossbars()) {
        if (!crossbar->model)
            continue;
        const int n = coCrossbarCount(length, crossbar->spacing, detail);
        const float step = n > 0 ? 1.0f / static_cast<float>(n) : 0.0f;
        float t = 0.0f;
        for (int k = 0; k < n; ++k, t += step) {
            const maMatrix4d frame = piece.FrameAt(t);
            coTrackObjectPlacement placement;
            placement.position = frame.GetTranslation();
            placement.rotation.SetFromMatrix3d(frame.GetRotationPart());
            for (int m = 0; m < crossbar->model->GetModelCount(); ++m)
                coAddTrackObject(set, crossbar->group, coTrackObjectKind::Placed,
                                 crossbar->model->GetModel(m), placement);
        }
    }
}

bool coSectionApplies(const coCrossSection& section, int element, int tube) {
    if (dynamic_cast<const coTrackChain*>(&section))
        return element == 1;
    if (dynamic_cast<const coTrackBrakes*>(&section))
        return element == 2;
    if (dynamic_cast<const coTrackBooster*>(&section))
        return element == 3;
    if (dynamic_cast<const coTrackRetarder*>(&section))
        return element == 4;
    if (dynamic_cast<const coTrackTube*>(&section))
        return tube == 1;
    return true;
}

int coSectionRingCount(const coCrossSection& section, float length) {
    int rings = 0;
    if (section.GetSampleSpacing() > 0.0f) {
        rings = Truncate(length / section.GetSampleSpacing() + 0.5f) + 1;
    } else {
        // The product in double keeps the single-precision factor's value: in float, 0.9f x 10 rounds to 9.
        const float factor = section.GetLOD() == 0 ? kDefaultRingsPerUnit : kCoarseRingsPerUnit;
        rings = std::max(Truncate(static_cast<double>(factor) * static_cast<double>(length)), 2);
    }
    const int count = section.GetVertexCount();
    if (count > 0 && rings > MaxRings(count)) {
        DBG_WARNING("A section of %d vertices needs %d rings along %g units; cut to %d to fit 16-bit indices",
                    count, rings, static_cast<double>(length), MaxRings(count));
        rings = MaxRings(count);
    }
    return rings;
}

int coCrossbarCount(float length, float spacing, float detail) {
    if (!(spacing > 0.0f))
        return 0;
    const float effective = (kCrossbarDetailLimit - detail) * spacing;
    if (!(effective > 0.0f))
        return 0;
    const float n = length / effective;
    if (!(n <= static_cast<float>(kMaxCrossbars))) {
        DBG_WARNING("%g crossbars asked for along %g units; %d placed", static_cast<double>(n),
                    static_cast<double>(length), kMaxCrossbars);
        return kMaxCrossbars;
    }
    return static_cast<int>(n);
}
