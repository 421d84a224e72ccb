#include "Engine/Graphics/Sc/scSimpleMovableObject.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

scSimpleMovableObject::scSimpleMovableObject(g3dFragment* fragment, u32 renderList)
    : m_fragment(fragment), m_model(g3dRenderer::AddNode(g3dHFragment(fragment), renderList)) {
    SetBoundingBox(fragment->GetBoundingBox());
}

scSimpleMovableObject::~scSimpleMovableObject() {
    g3dRenderer::RemoveModel(m_model);
}

void scSimpleMovableObject::SetVisible(bool visible) {
    scMovableObject::SetVisible(visible);
    ShowModel(m_model);
}

void scSimpleMovableObject::SetCulled(bool culled) {
    scMovableObject::SetCulled(culled);
    ShowModel(m_model);
}

void scSimpleMovableObject::SetPosition(const maVector3d& position) {
    StorePosition(position);
    UpdateTransform();
}

void scSimpleMovableObject::SetRotation(const maRotation& rotation) {
    StoreRotation(rotation);
    UpdateTransform();
}

void scSimpleMovableObject::SetPositionRotation(const maVector3d& position, const maRotation& rotation) {
    StorePositionRotation(position, rotation);
    UpdateTransform();
}

void scSimpleMovableObject::SetScale(const maVector3d& scale) {
    StoreScale(scale);
    UpdateTransform();
}

void scSimpleMovableObject::UpdateTransform() {
    const maMatrix4d placement = GetPlacementMatrix();
    m_model->GetNode()->GetLocalMatrix() = placement;
    SetBoundingBox(scWorldBox(m_fragment->GetBoundingBox(), placement));
}
