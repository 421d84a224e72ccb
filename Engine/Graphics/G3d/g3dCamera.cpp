#include "Engine/Graphics/G3d/g3dCamera.h"

#include "Engine/Core/Ma/maConstants.h"
#include "Engine/Graphics/G3d/g3dRenderer.h"

#include <cmath>

namespace {

maVector3d Normalized(const maVector3d& v) {
    const float length = v.Length();
    return length > 0.0f ? v / length : v;
}

} // namespace

g3dCamera::g3dCamera() {
    LookAt({0, 0, 0}, {0, 0, 1}, {0, 1, 0});
}

void g3dCamera::SetFieldOfView(float degrees) {
    m_fieldOfView = degrees;
    m_projectionDirty = true;
}

void g3dCamera::SetAspectRatio(float ratio) {
    m_aspectRatio = ratio;
    m_projectionDirty = true;
}

void g3dCamera::SetClipPlanes(float nearDistance, float farDistance) {
    m_near = nearDistance;
    m_far = farDistance;
    m_projectionDirty = true;
}

void g3dCamera::LookAt(const maVector3d& eye, const maVector3d& target, const maVector3d& up) {
    const maVector3d forward = Normalized(target - eye);
    maVector3d right;
    up.Cross(forward, right);
    if (maDot(right, right) == 0.0f)
        right = {1, 0, 0};
    else
        right = Normalized(right);
    maVector3d trueUp;
    forward.Cross(right, trueUp);
    trueUp = Normalized(trueUp);

    maMatrix4d rotation;
    for (int row = 0; row < 3; ++row) {
        rotation.m[row * 4 + 0] = right[row];
        rotation.m[row * 4 + 1] = trueUp[row];
        rotation.m[row * 4 + 2] = forward[row];
    }
    m_view.SetTranslation(-eye.x, -eye.y, -eye.z);
    m_view *= rotation;
    m_eye = eye;
}

void g3dCamera::SetViewMatrix(const maMatrix4d& view) {
    m_view = view;
    maMatrix4d inverse = view;
    inverse.Invert();
    m_eye = inverse.TransformPoint({0, 0, 0});
}

void g3dCamera::GetProjectionMatrix(maMatrix4d& out) {
    if (m_projectionDirty)
        RebuildProjection();
    out = m_projection;
}

maVector3d& g3dCamera::GetColumn(int column, maVector3d& out) const {
    out = {m_view.m[column], m_view.m[4 + column], m_view.m[8 + column]};
    return out;
}

void g3dCamera::Apply() {
    maMatrix4d projection;
    GetProjectionMatrix(projection);
    g3dRenderer::SetViewMatrix(m_view);
    g3dRenderer::SetProjectionMatrix(projection);
}

maVector3d g3dCamera::ScreenToWorld(float x, float y) {
    maMatrix4d inverse;
    GetProjectionMatrix(inverse);
    inverse.Invert();
    const maVector3d eyeSpace = inverse.TransformPoint({-x, y, m_near});
    inverse = m_view;
    inverse.Invert();
    return inverse.TransformPoint(eyeSpace);
}

void g3dCamera::RebuildProjection() {
    const float scale = 1.0f / std::tan(m_fieldOfView * maRadiansPerDegreeF * 0.5f);
    const float q = m_far / (m_far - m_near);
    m_projection.SetIdentity();
    m_projection.m[0] = scale;
    m_projection.m[5] = scale * m_aspectRatio;
    m_projection.m[10] = q;
    m_projection.m[14] = -q * m_near;
    m_projection.m[11] = 1.0f;
    m_projection.m[15] = 0.0f;
    m_projectionDirty = false;
}
