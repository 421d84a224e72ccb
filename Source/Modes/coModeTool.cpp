#include "Source/Modes/coModeTool.h"

#include "Engine/App/App/appClock.h"
#include "Engine/App/In/inDeviceManager.h"
#include "Engine/Core/Geo/geoIntersection.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Collision/coPickPathMesh.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/World/coPlacementGrid.h"
#include "Source/World/coPropList.h"

#include <algorithm>

namespace {
// Below this the projected point sits at the eye or behind it.
constexpr float kMinClipW = 1e-6f;
} // namespace

coPickRay coCastPickRay(g3dCamera& camera, float x, float y, i32 width, i32 height) {
    const float sx = 2.0f * x / static_cast<float>(width) - 1.0f;
    const float sy = 1.0f - 2.0f * y / static_cast<float>(height);
    const maVector3d eye = *camera.GetPosition();
    return {eye, eye + (camera.ScreenToWorld(sx, sy) - eye) * 1000.0f};
}

bool coProjectToScreen(g3dCamera& camera, const maVector3d& point, i32 width, i32 height, float& x,
                       float& y) {
    maMatrix4d view;
    maMatrix4d projection;
    camera.GetViewMatrix(view);
    camera.GetProjectionMatrix(projection);
    const maVector4d clip =
        projection.TransformVector4d(view.TransformVector4d(maVector4d(point.x, point.y, point.z, 1.0f)));
    if (!(clip.w > kMinClipW))
        return false;
    x = (1.0f - clip.x / clip.w) * static_cast<float>(width) / 2.0f;
    y = (1.0f - clip.y / clip.w) * static_cast<float>(height) / 2.0f;
    return true;
}

bool coPickTestSegment(const maVector3d& S, const maVector3d& R, const maVector3d& P, const maVector3d& D,
                       float r, float& s, float& u) {
    float ts = 0.0f;
    float tu = 0.0f;
    if (!geoClosestPointsOfLines(S, R, P, D, ts, tu) || tu < 0.0f || tu > 1.0f)
        return false;
    ts = std::clamp(ts, 0.0f, 1.0f);
    const maVector3d gap = (S + R * ts) - (P + D * tu);
    if (!(maDot(gap, gap) < r * r))
        return false;
    s = ts;
    u = tu;
    return true;
}

float coPathFraction(int pointCount, int i, float u) {
    return (static_cast<float>(i - 1) + u) / static_cast<float>(pointCount - 1);
}

coCoasterPiece* coPickTrackPosition(const maVector3d& start, const maVector3d& end, float& fraction) {
    float hit = 1.01f;
    const coPickPathMesh* path = coCollisionPickPiece(start, end, hit);
    if (path == nullptr)
        return nullptr;
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    float radius = definition.GetPickPathRadius();
    if (radius <= 0.0f)
        radius = definition.GetExtrusionScale();
    const std::vector<maVector3d>& points = coPathPoints(*path);
    const int n = static_cast<int>(points.size());
    const maVector3d ray = end - start;
    float best = 1.0f;
    for (int i = 1; i < n; ++i) {
        const maVector3d& from = points[static_cast<size_t>(i - 1)];
        float s = 0.0f;
        float u = 0.0f;
        if (coPickTestSegment(start, ray, from, points[static_cast<size_t>(i)] - from, radius, s, u) &&
            s < best) {
            best = s;
            fraction = coPathFraction(n, i, u);
        }
    }
    return coGetTrackBuilder().FindPieceByCollisionPath(path);
}

i32 coToolClicksToFinish() {
    return coPrefs::GetBool(coPrefDragOrClick) ? 1 : 2;
}

coPickRay coModeTool::PointerRay() const {
    const coEditorInput* input = coGetEditorInput();
    i32 x = 0;
    i32 y = 0;
    i32 width = 800;
    i32 height = 600;
    if (input != nullptr) {
        input->GetPointer(x, y);
        input->GetScreenSize(width, height);
    }
    return coCastPickRay(*m_camera, static_cast<float>(x) + m_grabX, static_cast<float>(y) + m_grabY, width,
                         height);
}

bool coModeTool::HitTerrain(const coPickRay& ray, maVector3d& hit) {
    return coGetParkWorld().IntersectSegment(ray.start, ray.end, hit);
}

void coModeTool::GrabPoint(const maVector3d& point) {
    m_grabX = m_grabY = 0.0f;
    const coEditorInput* input = coGetEditorInput();
    if (input == nullptr || m_camera == nullptr)
        return;
    i32 x = 0;
    i32 y = 0;
    i32 width = 0;
    i32 height = 0;
    input->GetPointer(x, y);
    input->GetScreenSize(width, height);
    float sx = 0.0f;
    float sy = 0.0f;
    if (!coProjectToScreen(*m_camera, point, width, height, sx, sy))
        return;
    m_grabX = sx - static_cast<float>(x);
    m_grabY = sy - static_cast<float>(y);
}

bool coModeTool::Released(i32 action) {
    const coEditorInput* input = coGetEditorInput();
    return input != nullptr && input->WasReleased(action);
}

float coModeTool::HorizontalMotion() {
    const coEditorInput* input = coGetEditorInput();
    i32 x = 0;
    i32 y = 0;
    if (input != nullptr)
        input->GetMotion(x, y);
    return static_cast<float>(x);
}

void coModeTool::Feedback(u32 message) {
    coGetEditorHost().ShowMessage(message, 5.0f);
}

void coModeTool::BeginToolFrame() {
    BeginFrame();
    inDeviceManager::PollAll();
    coGetModeHost().UpdateGui();
}

void coModeTool::EndToolFrame(const maBoundingBox& box, bool placeable) {
    const float time = appClock::GetTime();
    coPropList::UpdateAll(time);
    coPlacementGrid& grid = coGetPlacementGrid();
    grid.SetCursorBox(box, placeable);
    grid.UpdateOverlay(time);
    if (m_camera != nullptr)
        coGetModeHost().UpdateScene(*m_camera, time);
    RenderFrame(m_camera);
}
