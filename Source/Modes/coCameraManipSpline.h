#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scCameraManip.h"

#include <vector>

// A camera that flies along one curve of positions while looking along another curve of aim points,
// over a set duration: the fly-through's camera.
class coCameraManipSpline : public scCameraManip {
  public:
    enum CurveKind : i32 { CatmullRom = 0, BSpline = 1, Linear = 2 };

    // A curve point and its chord-length parameter in [0, 1].
    struct Point {
        maVector3d point;
        float parameter = 0.0f;
    };

    // Replace a curve's points and recompute its parameters.
    void SetPositions(const maVector3d* points, int count) { SetCurve(m_positions, points, count); }
    void SetTargets(const maVector3d* points, int count) { SetCurve(m_targets, points, count); }
    void SetCurveKind(i32 kind) { m_curveKind = kind; }
    void SetEvenSpeed(bool even) { m_evenSpeed = even; }
    void SetDuration(float seconds) { m_duration = seconds; }
    void SetSmoothing(i32 smoothing) { m_smoothing = smoothing; }
    void Restart() {
        m_progress = 0.0f;
        m_stopped = 0;
    }
    void Stop() { m_stopped = 1; }
    bool IsFinished() const { return m_progress >= 1.0f; }
    float GetProgress() const { return m_progress; }
    const maVector3d& GetEye() const { return m_eye; }
    const maVector3d& GetLookAt() const { return m_lookAt; }

    // Eye and aim at the curves' start, progress 0.
    void Attach(g3dCamera* camera, bool keepView) override;
    void Update() override;

    // The chord-length parameters: uniform when the points have no length between them.
    static void ComputeParameters(std::vector<Point>& curve);
    // The curve parameter at which a progress t has covered that share of the curve's length.
    static float EvenSpeed(const std::vector<Point>& curve, float t);
    // The curve at s; false (out untouched) for a curve without points.
    static bool Evaluate(const std::vector<Point>& curve, i32 kind, float s, maVector3d& out);

  private:
    static void SetCurve(std::vector<Point>& curve, const maVector3d* points, int count);
    void Place();

    std::vector<Point> m_positions;
    std::vector<Point> m_targets;
    maVector3d m_eye;
    maVector3d m_lookAt;
    i32 m_curveKind = CatmullRom;
    i32 m_smoothing = 0;
    u8 m_evenSpeed = 1;
    float m_duration = 10.0f;
    float m_progress = 0.0f;
    u8 m_stopped = 0;
};
