#include "Source/World/coTargetRing.h"

#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"

#include <cmath>

maVector3d coRingNormal(f32 heading, f32 pitch) {
    const f32 c = std::cos(pitch);
    return maVector3d(c * std::sin(heading), -std::sin(pitch), c * std::cos(heading));
}

coTargetRing::coTargetRing(u8 kind) : m_kind(kind) {}

coTargetRing::~coTargetRing() {
    for (scSimpleMovableObject* object : {m_idleObject.get(), m_passedObject.get()})
        if (object)
            scRemoveFromUpdateList(object);
}

void coTargetRing::SetModels(g3dFragment* idle, g3dFragment* passed) {
    for (scSimpleMovableObject* object : {m_idleObject.get(), m_passedObject.get()})
        if (object)
            scRemoveFromUpdateList(object);
    m_idleObject = std::make_unique<scSimpleMovableObject>(idle, kRenderList);
    m_passedObject = std::make_unique<scSimpleMovableObject>(passed, kRenderList);
    for (scSimpleMovableObject* object : {m_idleObject.get(), m_passedObject.get()}) {
        object->SetScale({m_radius, m_radius, 1.0f});
        object->SetPositionRotation(m_position, m_rotation);
        scAddToUpdateList(object);
    }
    m_idleObject->SetVisible(!m_passed);
    m_passedObject->SetVisible(m_passed);
}

maBoundingBox coTargetRing::GetBounds() const {
    return m_idleObject ? m_idleObject->GetBoundingBox() : maBoundingBox();
}

void coTargetRing::SetVisible(bool visible) {
    if (scSimpleMovableObject* shown = m_passed ? m_passedObject.get() : m_idleObject.get())
        shown->SetVisible(visible);
}

void coTargetRing::SetPassed(bool passed) {
    if (passed == m_passed)
        return;
    scSimpleMovableObject* was = m_passed ? m_passedObject.get() : m_idleObject.get();
    scSimpleMovableObject* now = passed ? m_passedObject.get() : m_idleObject.get();
    m_passed = passed;
    if (was && now) {
        now->SetVisible(was->IsVisible());
        was->SetVisible(false);
    }
}

void coTargetRing::SetPosition(const maVector3d& position) {
    m_position = position;
    for (scSimpleMovableObject* object : {m_idleObject.get(), m_passedObject.get()})
        if (object)
            object->SetPosition(position);
}

void coTargetRing::SetRadius(f32 radius) {
    m_radius = radius;
    for (scSimpleMovableObject* object : {m_idleObject.get(), m_passedObject.get()})
        if (object)
            object->SetScale({radius, radius, 1.0f});
}

void coTargetRing::SetHeading(f32 heading) {
    m_heading = heading;
    Turn();
}

void coTargetRing::SetPitch(f32 pitch) {
    m_pitch = pitch;
    Turn();
}

// The pitch turns first, about x, then the heading about y.
void coTargetRing::Turn() {
    m_rotation = maRotation(maVector3d(0.0f, 1.0f, 0.0f), m_heading) *
                 maRotation(maVector3d(1.0f, 0.0f, 0.0f), m_pitch);
    m_normal = coRingNormal(m_heading, m_pitch);
    for (scSimpleMovableObject* object : {m_idleObject.get(), m_passedObject.get()})
        if (object)
            object->SetRotation(m_rotation);
}

bool coTargetRing::RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const {
    f32 hit = 0.0f;
    if (maDot(direction, m_normal) == 0.0f ||
        !geoIntersectLinePlane(origin, direction, m_position, m_normal, hit))
        return false;
    if (hit < 0.0f || hit > 1.0f)
        return false;
    const maVector3d d = origin + direction * hit - m_position;
    if (maDot(d, d) >= m_radius * m_radius)
        return false;
    t = hit;
    return true;
}
