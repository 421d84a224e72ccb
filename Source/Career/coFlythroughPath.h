#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <memory>
#include <vector>

// One point of a mission's fly-through: where the camera is and what it looks at.
class coFlythroughPoint {
  public:
    coFlythroughPoint(const maVector3d& camera, const maVector3d& lookAt)
        : m_camera(camera), m_lookAt(lookAt) {}

    const maVector3d& GetCameraPosition() const { return m_camera; }
    const maVector3d& GetLookAt() const { return m_lookAt; }

  private:
    maVector3d m_camera;
    maVector3d m_lookAt;
};

// The camera path that the fly-through mode flies before a mission: a wait, the flight through the points
// in the flight time, another wait.
class coFlythroughPath {
  public:
    static constexpr float kDefaultFlightTime = 3.0f;
    static constexpr float kDefaultWait = 1.0f;

    void AddPoint(const maVector3d& camera, const maVector3d& lookAt);
    void Clear() { m_points.clear(); }
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    coFlythroughPoint& GetPoint(int index) { return *m_points[index]; }
    const coFlythroughPoint& GetPoint(int index) const { return *m_points[index]; }

    float GetFlightTime() const { return m_flightTime; }
    void SetFlightTime(float seconds) { m_flightTime = seconds; }
    float GetWaitBefore() const { return m_waitBefore; }
    void SetWaitBefore(float seconds) { m_waitBefore = seconds; }
    float GetWaitAfter() const { return m_waitAfter; }
    void SetWaitAfter(float seconds) { m_waitAfter = seconds; }

  private:
    std::vector<std::unique_ptr<coFlythroughPoint>> m_points;
    float m_flightTime = kDefaultFlightTime;
    float m_waitBefore = kDefaultWait;
    float m_waitAfter = kDefaultWait;
};
