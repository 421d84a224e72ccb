#include "Source/Collision/coPickPathBuilder.h"

#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include <vector>

namespace {
// Across and up, round the square and back to its first corner so that the strips close.
const maVector2d kSquare[5] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}, {1, 1}};
} // namespace

coPickPathMesh coBuildPickPathMesh(const coCoasterPiece& piece) {
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    const float pickRadius = definition.GetPickPathRadius();
    const float r = pickRadius > 0.0f ? pickRadius : definition.GetExtrusionScale();
    const int sections = piece.GetSectionCount();
    std::vector<maVector3d> centre, grid;
    for (int i = 0; i <= sections; ++i) {
        const maMatrix4d frame = piece.FrameAt(static_cast<float>(i) / static_cast<float>(sections));
        const maVector3d side = frame.GetXAxis();
        const maVector3d up = frame.GetYAxis();
        const maVector3d point = frame.GetTranslation();
        centre.push_back(point);
        for (const maVector2d& corner : kSquare)
            grid.push_back(point + side * (corner.x * r) + up * (corner.y * r));
    }
    coPickPathMesh mesh;
    mesh.SetPoints(centre.data(), static_cast<int>(centre.size()));
    if (pickRadius > 0.0f)
        mesh.SetDetailPoints(centre.data(), static_cast<int>(centre.size()));
    mesh.SetGrid(grid.data(), static_cast<int>(grid.size()), 5);
    return mesh;
}
