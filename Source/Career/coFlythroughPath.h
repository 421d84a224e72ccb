#pragma once
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

#include <memory>
#include <vector>

// A marker that the mission editor drags: one of the park's pickable spot objects, with its own colour.
class coFlythroughHandle {
  public:
    virtual ~coFlythroughHandle() = default;
    virtual maVector3d GetPosition() const = 0;
    virtual void SetPosition(const maVector3d& position) = 0;
};

// A scene object over the shared line mesh, on the scene's update list while it lives.
class coFlythroughConnector {
  public:
    virtual ~coFlythroughConnector() = default;
    virtual void Place(const maVector3d& position, const maRotation& rotation, const maVector3d& scale) = 0;
};

// What the handles are made of; the park's spot objects and the scene install it. Without one, handles
// are never shown.
class coFlythroughScene {
  public:
    virtual ~coFlythroughScene() = default;
    virtual std::unique_ptr<coFlythroughHandle> CreateSpot(const maVector3d& position,
                                                           const g3dARGBColor& colour) = 0;
    // The line from (0, 0, 0) to (0, 0, 1), normals (0, 1, 0), with its material of diffuse and ambient
    // (0, 1, 0, 1): made for the first connector, destroyed with the last.
    virtual void CreateLineMesh() = 0;
    virtual void DestroyLineMesh() = 0;
    virtual std::unique_ptr<coFlythroughConnector> CreateConnector() = 0;
};

coFlythroughScene* coGetFlythroughScene();
// Not owned; null when there is none. A seam for tests: the game installs none.
void coSetFlythroughScene(coFlythroughScene* scene);

// One point of a mission's fly-through: where the camera is and what it looks at. While its handles are
// shown they hold the positions, with a connector drawn between them.
class coFlythroughPoint {
  public:
    coFlythroughPoint(const maVector3d& camera, const maVector3d& lookAt)
        : m_camera(camera), m_lookAt(lookAt) {}
    ~coFlythroughPoint() { ShowHandles(false); }
    coFlythroughPoint(const coFlythroughPoint&) = delete;
    coFlythroughPoint& operator=(const coFlythroughPoint&) = delete;

    maVector3d GetCameraPosition() const {
        return m_positionHandle ? m_positionHandle->GetPosition() : m_camera;
    }
    maVector3d GetLookAt() const { return m_lookAtHandle ? m_lookAtHandle->GetPosition() : m_lookAt; }
    // Showing makes the handles when absent and places the connector; hiding reads the handles' positions
    // back and destroys handles and connector.
    void ShowHandles(bool show);
    // After a handle moved: the connector follows.
    void PlaceConnector();

  private:
    maVector3d m_camera;
    maVector3d m_lookAt;
    std::unique_ptr<coFlythroughHandle> m_positionHandle;
    std::unique_ptr<coFlythroughHandle> m_lookAtHandle;
    std::unique_ptr<coFlythroughConnector> m_connector;
};

// The camera path that the fly-through mode flies before a mission: a wait, the flight through the points
// in the flight time, another wait.
class coFlythroughPath {
  public:
    static constexpr float kDefaultFlightTime = 3.0f;
    static constexpr float kDefaultWait = 1.0f;

    // New points show handles while the path's handles are shown.
    void AddPoint(const maVector3d& camera, const maVector3d& lookAt);
    void Clear() { m_points.clear(); }
    // Takes the other path's points and times, keeping whether this path's handles are shown.
    void TakeFrom(coFlythroughPath& other);
    int GetPointCount() const { return static_cast<int>(m_points.size()); }
    coFlythroughPoint& GetPoint(int index) { return *m_points[index]; }
    const coFlythroughPoint& GetPoint(int index) const { return *m_points[index]; }
    void SetHandlesShown(bool shown);

    float GetFlightTime() const { return m_flightTime; }
    void SetFlightTime(float seconds) { m_flightTime = seconds; }
    float GetWaitBefore() const { return m_waitBefore; }
    void SetWaitBefore(float seconds) { m_waitBefore = seconds; }
    float GetWaitAfter() const { return m_waitAfter; }
    void SetWaitAfter(float seconds) { m_waitAfter = seconds; }

  private:
    std::vector<std::unique_ptr<coFlythroughPoint>> m_points;
    bool m_handlesShown = false;
    float m_flightTime = kDefaultFlightTime;
    float m_waitBefore = kDefaultWait;
    float m_waitAfter = kDefaultWait;
};
