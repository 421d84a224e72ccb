#include "Source/World/coProp.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coTrain.h"
#include "Source/World/coPropTemplate.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {

std::map<const coPropTemplate*, int>& Users() {
    static std::map<const coPropTemplate*, int> users;
    return users;
}

} // namespace

coProp::coProp(coPropTemplate& propTemplate)
    : m_template(propTemplate), m_triggerDistance(propTemplate.GetTriggerDistance()) {
    const f32 s = propTemplate.GetScale();
    for (const g3dFragment* fragment : propTemplate.GetModelParts().fragments) {
        const maBoundingBox box = fragment->GetBoundingBox();
        if (box.minX <= box.maxX) {
            m_localBounds.AddPoint(box.GetMin() * s);
            m_localBounds.AddPoint(box.GetMax() * s);
        }
    }
    // A model without geometry still stands somewhere: a point at its position.
    if (m_localBounds.minX > m_localBounds.maxX)
        m_localBounds.AddPoint(maVector3d());
    m_worldBounds = m_localBounds;
    ++Users()[&propTemplate];
}

coProp::~coProp() {
    if (--Users()[&m_template] == 0)
        Users().erase(&m_template);
}

int coProp::CountUsing(const coPropTemplate& propTemplate) {
    const auto it = Users().find(&propTemplate);
    return it == Users().end() ? 0 : it->second;
}

void coProp::SetPosition(const maVector3d& position) {
    m_position = position;
    UpdateWorld();
}

void coProp::SetAngle(f32 heading) {
    m_heading = heading;
    UpdateWorld();
}

void coProp::SetPose(const maVector3d& position, const maMatrix4d& rotation) {
    maMatrix4d pose = rotation;
    pose.ReplaceTranslation(position);
    PlaceBounds(pose);
}

void coProp::UpdateWorld() {
    m_transform.SetRotationY(m_heading);
    m_transform.ReplaceTranslation(m_position);
    PlaceBounds(m_transform);
}

void coProp::PlaceBounds(const maMatrix4d& pose) {
    maVector3d corners[8];
    m_localBounds.GetCorners(corners);
    m_worldBounds = maBoundingBox();
    for (const maVector3d& corner : corners)
        m_worldBounds.AddPoint(pose.TransformPoint(corner));
}

bool coProp::RayTest(const maVector3d& origin, const maVector3d& direction, f32& t) const {
    // Slabs: the segment from origin to origin + direction against the world box.
    f32 enter = 0.0f, leave = 1.0f;
    const f32 o[3] = {origin.x, origin.y, origin.z};
    const f32 d[3] = {direction.x, direction.y, direction.z};
    const f32 lo[3] = {m_worldBounds.minX, m_worldBounds.minY, m_worldBounds.minZ};
    const f32 hi[3] = {m_worldBounds.maxX, m_worldBounds.maxY, m_worldBounds.maxZ};
    for (int i = 0; i < 3; ++i) {
        if (d[i] == 0.0f) {
            if (o[i] < lo[i] || o[i] > hi[i])
                return false;
            continue;
        }
        f32 a = (lo[i] - o[i]) / d[i], b = (hi[i] - o[i]) / d[i];
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        leave = std::min(leave, b);
        if (enter > leave)
            return false;
    }
    t = enter;
    return true;
}

bool coProp::IsTrainInside() const {
    try {
        const maVector3d car = coRideGetLeadCar(0).frame.GetTranslation();
        return coPropTriggerInside(m_worldBounds, car, m_triggerDistance);
    } catch (const std::out_of_range&) {
        return false;
    }
}

bool coPropTriggerInside(const maBoundingBox& box, const maVector3d& car, f32 triggerDistance) {
    const maVector3d centre = box.GetCenter();
    const maVector3d d = car - maVector3d(centre.x, centre.y, std::clamp(car.z, box.minZ, box.maxZ));
    return maDot(d, d) < triggerDistance * triggerDistance;
}

bool coPropPhase(f32 elapsed, f32 duration, bool looping, f32 lastCueTime, f32& phase, f32& from) {
    if (!(duration > 0.0f) || (!looping && elapsed > duration))
        return false;
    phase = elapsed - std::trunc(elapsed / duration) * duration;
    from = phase < lastCueTime ? lastCueTime - duration : lastCueTime;
    return true;
}
