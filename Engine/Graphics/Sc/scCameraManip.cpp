#include "Engine/Graphics/Sc/scCameraManip.h"

#include "Engine/Graphics/G3d/g3dCamera.h"

#include <cmath>

void scCameraManip::Update() {
    if (m_camera)
        m_camera->Apply();
}

void scCameraManipOrbit::Attach(g3dCamera* camera, bool keepView) {
    scCameraManip::Attach(camera, keepView);
    if (!keepView) {
        PlaceCamera();
        return;
    }
    if (!camera)
        return;
    const maVector3d eye = *camera->GetPosition();
    maVector3d f;
    camera->GetViewDirection(f);
    m_centre = eye + f * m_distance;
    const maVector3d n = f.Negate();
    m_yaw = std::atan2(n.x, n.z);
    m_pitch = std::atan2(n.y, std::sqrt(n.x * n.x + n.z * n.z));
}

void scCameraManipOrbit::SetCenter(const maVector3d& centre) {
    m_centre = centre;
    PlaceCamera();
}

void scCameraManipOrbit::SetYaw(float yaw) {
    m_yaw = yaw;
    PlaceCamera();
}

void scCameraManipOrbit::SetPitch(float pitch) {
    m_pitch = pitch;
    PlaceCamera();
}

void scCameraManipOrbit::SetDistance(float distance) {
    m_distance = distance;
    PlaceCamera();
}

void scCameraManipOrbit::PlaceCamera() {
    if (!m_camera)
        return;
    const maVector3d n{std::sin(m_yaw) * std::cos(m_pitch), std::sin(m_pitch),
                       std::cos(m_yaw) * std::cos(m_pitch)};
    m_camera->LookAt(m_centre + n * m_distance, m_centre, {0.0f, 1.0f, 0.0f});
}
