#include "Source/Modes/coCameraManipSpline.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Graphics/G3d/g3dCamera.h"

#include <cmath>

void coCameraManipSpline::SetCurve(std::vector<Point>& curve, const maVector3d* points, int count) {
    curve.clear();
    for (int i = 0; i < count; ++i)
        curve.push_back({points[i], 0.0f});
    ComputeParameters(curve);
}

void coCameraManipSpline::ComputeParameters(std::vector<Point>& curve) {
    if (curve.empty())
        return;
    curve[0].parameter = 0.0f;
    for (size_t i = 1; i < curve.size(); ++i)
        curve[i].parameter = curve[i - 1].parameter + (curve[i].point - curve[i - 1].point).Length();
    const float total = curve.back().parameter;
    const float last = static_cast<float>(curve.size() - 1);
    // Points that all coincide have no length to share out: they are spaced evenly instead.
    for (size_t i = 0; i < curve.size(); ++i)
        curve[i].parameter = total > 0.0f  ? curve[i].parameter / total
                             : last > 0.0f ? static_cast<float>(i) / last
                                           : 0.0f;
}

float coCameraManipSpline::EvenSpeed(const std::vector<Point>& curve, float t) {
    if (t >= 1.0f)
        return 1.0f;
    if (t < 0.0f || curve.size() < 2)
        return t < 0.0f ? 0.0f : t;
    const float step = 1.0f / static_cast<float>(curve.size() - 1);
    for (size_t i = 1; i < curve.size(); ++i) {
        const float u0 = curve[i - 1].parameter;
        const float u1 = curve[i].parameter;
        if (t < u1)
            return static_cast<float>(i - 1) * step + (t - u0) / (u1 - u0) * step;
    }
    return 1.0f;
}

bool coCameraManipSpline::Evaluate(const std::vector<Point>& curve, i32 kind, float s, maVector3d& out) {
    const int n = static_cast<int>(curve.size());
    if (n == 0)
        return false;
    if (n == 1) {
        out = curve[0].point;
        return true;
    }
    if (kind == Linear || n < 4) {
        const int segments = n - 1;
        const float x = s * static_cast<float>(segments);
        const float whole = std::floor(x);
        if (!(whole < static_cast<float>(segments)))
            out = curve.back().point;
        else if (whole < 0.0f)
            out = curve.front().point;
        else {
            const int i = static_cast<int>(whole);
            out = curve[i].point + (curve[i + 1].point - curve[i].point) * (x - whole);
        }
        return true;
    }
    const int segments = n - 3;
    const float x = s * static_cast<float>(segments);
    float whole = std::floor(x);
    float f = x - whole;
    if (!(whole < static_cast<float>(segments))) {
        whole = static_cast<float>(segments - 1);
        f = 1.0f;
    } else if (whole < 0.0f) {
        whole = 0.0f;
        f = 0.0f;
    }
    const int i = static_cast<int>(whole);
    const maVector3d& p0 = curve[i].point;
    const maVector3d& p1 = curve[i + 1].point;
    const maVector3d& p2 = curve[i + 2].point;
    const maVector3d& p3 = curve[i + 3].point;
    const float f2 = f * f;
    const float f3 = f2 * f;
    if (kind == BSpline) {
        const float g = 1.0f - f;
        out = (p0 * (g * g * g) + p1 * (3.0f * f3 - 6.0f * f2 + 4.0f) +
               p2 * (-3.0f * f3 + 3.0f * f2 + 3.0f * f + 1.0f) + p3 * f3) /
              6.0f;
    } else {
        out = (p0 * (-f3 + 2.0f * f2 - f) + p1 * (3.0f * f3 - 5.0f * f2 + 2.0f) +
               p2 * (-3.0f * f3 + 4.0f * f2 + f) + p3 * (f3 - f2)) /
              2.0f;
    }
    return true;
}

void coCameraManipSpline::Attach(g3dCamera* camera, bool keepView) {
    Evaluate(m_positions, m_curveKind, 0.0f, m_eye);
    Evaluate(m_targets, m_curveKind, 0.0f, m_lookAt);
    m_progress = 0.0f;
    scCameraManip::Attach(camera, keepView);
    Place();
}

void coCameraManipSpline::Place() {
    // Without points there is nothing to fly: the camera stays where it is.
    if (m_camera != nullptr && !m_positions.empty() && !m_targets.empty())
        m_camera->LookAt(m_eye, m_lookAt, maVector3d(0.0f, 1.0f, 0.0f));
}

void coCameraManipSpline::Update() {
    if (m_camera == nullptr)
        return;
    const float dt = appClock::GetDeltaTime();
    // A flight of no duration is over at once.
    if (!m_stopped)
        m_progress = m_duration > 0.0f ? m_progress + dt / m_duration : 1.0f;
    const float atPosition = m_evenSpeed ? EvenSpeed(m_positions, m_progress) : m_progress;
    const float atTarget = m_evenSpeed ? EvenSpeed(m_targets, m_progress) : m_progress;
    maVector3d eye = m_eye;
    maVector3d lookAt = m_lookAt;
    Evaluate(m_positions, m_curveKind, atPosition, eye);
    Evaluate(m_targets, m_curveKind, atTarget, lookAt);
    if (m_smoothing == 1) {
        const float k = 1.0f - std::pow(0.001f, dt);
        m_eye = m_eye + (eye - m_eye) * k;
        m_lookAt = m_lookAt + (lookAt - m_lookAt) * k;
    } else {
        m_eye = eye;
        m_lookAt = lookAt;
    }
    Place();
    scCameraManip::Update();
}
