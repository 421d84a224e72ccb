#include "Source/Career/coFlythroughPath.h"

namespace {

coFlythroughScene* g_scene = nullptr;
int g_lineMeshUsers = 0;

const g3dARGBColor kPositionColour(0.0f, 1.0f, 0.0f, 1.0f);
const g3dARGBColor kLookAtColour(0.0f, 0.0f, 1.0f, 1.0f);

} // namespace

coFlythroughScene* coGetFlythroughScene() {
    return g_scene;
}

void coSetFlythroughScene(coFlythroughScene* scene) {
    g_scene = scene;
}

void coFlythroughPoint::ShowHandles(bool show) {
    if (show && !m_positionHandle && g_scene) {
        m_lookAtHandle = g_scene->CreateSpot(m_lookAt, kLookAtColour);
        m_positionHandle = g_scene->CreateSpot(m_camera, kPositionColour);
        if (g_lineMeshUsers++ == 0)
            g_scene->CreateLineMesh();
        m_connector = g_scene->CreateConnector();
    }
    if (show) {
        PlaceConnector();
        return;
    }
    if (!m_positionHandle)
        return;
    m_camera = m_positionHandle->GetPosition();
    m_lookAt = m_lookAtHandle->GetPosition();
    m_positionHandle.reset();
    m_lookAtHandle.reset();
    m_connector.reset();
    if (--g_lineMeshUsers == 0 && g_scene)
        g_scene->DestroyLineMesh();
}

void coFlythroughPoint::PlaceConnector() {
    if (!m_connector)
        return;
    const maVector3d camera = GetCameraPosition();
    const maVector3d direction = GetLookAt() - camera;
    const float length = direction.Length();
    maRotation rotation;
    rotation.SetFromVectors(maVector3d(0.0f, 0.0f, 1.0f), direction);
    m_connector->Place(camera, rotation, maVector3d(length, length, length));
}

void coFlythroughPath::AddPoint(const maVector3d& camera, const maVector3d& lookAt) {
    m_points.push_back(std::make_unique<coFlythroughPoint>(camera, lookAt));
    if (m_handlesShown)
        m_points.back()->ShowHandles(true);
}

void coFlythroughPath::TakeFrom(coFlythroughPath& other) {
    m_points = std::move(other.m_points);
    other.m_points.clear();
    m_flightTime = other.m_flightTime;
    m_waitBefore = other.m_waitBefore;
    m_waitAfter = other.m_waitAfter;
    SetHandlesShown(m_handlesShown);
}

void coFlythroughPath::SetHandlesShown(bool shown) {
    m_handlesShown = shown;
    for (auto& point : m_points)
        point->ShowHandles(shown);
}
