#include "Engine/Graphics/Sc/scObject.h"

#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/Sc/scSceneManager.h"

#include <algorithm>

scObject::~scObject() {
    scForgetObject(this);
}

void scObject::ShowModel(g3dModel* model) const {
    if (model)
        model->SetVisible(m_visible && !m_culled);
}

maMatrix4d scMovableObject::GetPlacementMatrix() const {
    return scPlacementMatrix(m_position, m_rotation, m_scale);
}

maMatrix4d scPlacementMatrix(const maVector3d& position, const maRotation& rotation,
                             const maVector3d& scale) {
    maMatrix4d matrix;
    matrix.SetScale(scale.x, scale.y, scale.z);
    matrix *= rotation.GetMatrix();
    matrix.Translate(position.x, position.y, position.z);
    return matrix;
}

maBoundingBox scWorldBox(const maBoundingBox& box, const maMatrix4d& matrix) {
    if (box.minX > box.maxX || box.minY > box.maxY || box.minZ > box.maxZ)
        return maBoundingBox();
    // Per axis the smallest and largest of each term: the same sums, in the same order, as those of the
    // extreme corners, without transforming all eight.
    const float low[3] = {box.minX, box.minY, box.minZ};
    const float high[3] = {box.maxX, box.maxY, box.maxZ};
    float worldLow[3], worldHigh[3];
    for (int axis = 0; axis < 3; ++axis) {
        float least = 0.0f, most = 0.0f;
        for (int term = 0; term < 3; ++term) {
            const float a = low[term] * matrix.m[term * 4 + axis];
            const float b = high[term] * matrix.m[term * 4 + axis];
            least = term == 0 ? std::min(a, b) : least + std::min(a, b);
            most = term == 0 ? std::max(a, b) : most + std::max(a, b);
        }
        worldLow[axis] = least + matrix.m[12 + axis];
        worldHigh[axis] = most + matrix.m[12 + axis];
    }
    return maBoundingBox({worldLow[0], worldLow[1], worldLow[2]}, {worldHigh[0], worldHigh[1], worldHigh[2]});
}
