#include "Source/Collision/coPickPathBuilder.h"

#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include <vector>

coPickPathMesh coBuildPickPathMesh(const coCoasterPiece& piece) {
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    maVector3d offset;
    float width = 0.0f;
    definition.GetExtrusion(offset, width);
    const std::vector<maVector2d>& polygon = definition.GetExtrusionPolygon();
    const bool detail = definition.GetPickPathRadius() > 0.0f;
    // Every piece class samples at least 4 frames.
    const int n = piece.GetSectionCount();
    const float step = 1.0f / static_cast<float>(n - 1);

    std::vector<maVector3d> centre, ring, origins;
    float t = 0.0f;
    for (int i = 0; i < n; ++i, t += step) {
        const maMatrix4d frame = piece.FrameAt(t);
        centre.push_back(frame.TransformPoint(offset));
        for (const maVector2d& point : polygon)
            ring.push_back(frame.TransformPoint(maVector3d(point.x, point.y, 0.0f)));
        if (detail)
            origins.push_back(frame.GetTranslation());
    }

    coPickPathMesh mesh;
    mesh.SetPoints(centre.data(), n);
    // A one-point ring makes no strip; the grid refuses it, so it is not offered.
    if (polygon.size() >= 2)
        mesh.SetGrid(ring.data(), static_cast<int>(ring.size()), static_cast<int>(polygon.size()));
    if (detail)
        mesh.SetDetailPoints(origins.data(), n);
    return mesh;
}
