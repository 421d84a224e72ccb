#include "Engine/Graphics/Sc/scObject.h"

#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/Sc/scSceneManager.h"

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
    maVector3d corners[8];
    box.GetCorners(corners);
    maBoundingBox world;
    for (const maVector3d& corner : corners)
        world.AddPoint(matrix.TransformPoint(corner));
    return world;
}
