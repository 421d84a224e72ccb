#include "Source/World/coSpotObject.h"

#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dShapes.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"

namespace {
constexpr u32 kRenderList = 2;
} // namespace

coSpotObject::coSpotObject() : m_sphere(g3dMakeSphere(kRadius, 8, 8)) {
    m_sphere->SetMaterial(&m_material, 0);
    m_object = std::make_unique<scSimpleMovableObject>(m_sphere, kRenderList);
    m_object->SetPosition({0.0f, 50.0f, 0.0f});
    scAddToUpdateList(m_object.get());
}

coSpotObject::~coSpotObject() {
    scRemoveFromUpdateList(m_object.get());
    m_object.reset();
    g3dFragmentManager::DestroyFragment(m_sphere);
}

void coSpotObject::SetPosition(const maVector3d& position) {
    m_object->SetPosition(position);
}

const maVector3d& coSpotObject::GetPosition() const {
    return m_object->GetPosition();
}

void coSpotObject::SetColor(const g3dARGBColor& color) {
    m_material.SetDiffuse(color);
    m_material.SetAmbient(color * 0.5f);
}

bool coSpotObject::RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const {
    return geoPointNearSegment(origin, direction, GetPosition(), kRadius, t);
}

maBoundingBox coSpotObject::GetBoundingBox() const {
    const maVector3d r{kRadius, kRadius, kRadius};
    return maBoundingBox(GetPosition() - r, GetPosition() + r);
}
