#include "Engine/Graphics/Sc/scStaticObject.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"

scStaticObject::scStaticObject(g3dFragment* fragment, u32 renderList)
    : m_model(g3dRenderer::AddStaticModel(fragment, renderList)) {
    SetBoundingBox(fragment->GetBoundingBox());
}

scStaticObject::scStaticObject(const maVector3d& position, const maRotation& rotation,
                               const maVector3d& scale, g3dFragment* fragment, u32 renderList)
    : m_position(position), m_rotation(rotation), m_scale(scale), m_model(nullptr) {
    const maMatrix4d placement = scPlacementMatrix(position, rotation, scale);
    m_model = g3dRenderer::AddPlacedStaticModel(fragment, placement, renderList);
    SetBoundingBox(scWorldBox(fragment->GetBoundingBox(), placement));
}

scStaticObject::~scStaticObject() {
    g3dRenderer::RemoveModel(m_model);
}

void scStaticObject::SetVisible(bool visible) {
    scObject::SetVisible(visible);
    ShowModel(m_model);
}

void scStaticObject::SetCulled(bool culled) {
    scObject::SetCulled(culled);
    ShowModel(m_model);
}
