#include "Source/Modes/coCameraManipTether.h"

#include "Engine/App/App/appClock.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Ride/coRide.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"

#include <algorithm>
#include <cmath>

namespace {
bool IsZero(const maVector4d& t) {
    return t.x == 0.0f && t.y == 0.0f && t.z == 0.0f && t.w == 0.0f;
}

// The first piece and its two neighbours: the station, where the swing is quartered.
bool NearStation(const coCoasterPiece* piece) {
    const coCoasterPiece* first = coCircuitFirstPiece();
    return piece != nullptr && first != nullptr &&
           (piece == first || piece == first->GetNext() || piece == first->GetPrevious());
}
} // namespace

void coCameraManipTether::Attach(g3dCamera* camera, bool keepView) {
    const maVector4d& t = coGetCoasterDefinition().GetTetherOffset();
    m_offset = IsZero(t) ? maVector3d(-4.0f, 4.0f, -6.0f) : maVector3d(t.x, t.y + t.w, t.z);
    maMatrix4d lead;
    if (coGetTrainCarMatrix(false, lead))
        m_position = lead.TransformPoint(m_offset);
    scCameraManip::Attach(camera, keepView);
}

void coCameraManipTether::Update() {
    if (m_camera == nullptr)
        return;
    const coCoasterDefinition& definition = coGetCoasterDefinition();
    maVector4d t = definition.GetTetherOffset();
    if (IsZero(t))
        t = definition.GetInverted() ? maVector4d(4.0f, 2.0f, -6.0f, -5.0f)
                                     : maVector4d(4.0f, 3.0f, -6.0f, 1.0f);
    const coEditorInput* input = coGetEditorInput();
    if (input != nullptr && input->HasMouse()) {
        i32 x = 0;
        i32 y = 0;
        i32 width = 0;
        i32 height = 0;
        input->GetMotion(x, y);
        input->GetScreenSize(width, height);
        if (width > 0) {
            const float swing = std::fabs(t.x);
            m_offset.x = std::clamp(m_offset.x + static_cast<float>(x) * 16.0f / static_cast<float>(width),
                                    -swing, swing);
        }
    }
    maMatrix4d car;
    if (coGetTrainCarMatrix(true, car)) {
        m_target = car.TransformPoint(maVector3d(0.0f, t.w, 0.0f));
        m_offset.y = t.y + t.w;
        maVector3d o = m_offset;
        if (NearStation(coRideGetTrainPiece(0)))
            o.x *= 0.25f;
        maVector3d desired = car.TransformPoint(o);
        if (desired.y < m_target.y)
            desired.y = 2.0f * m_target.y - desired.y;
        m_position =
            m_position + (desired - m_position) * (1.0f - std::pow(0.001f, appClock::GetDeltaTime()));
        m_camera->LookAt(m_position, m_target, maVector3d(0.0f, 1.0f, 0.0f));
    }
    scCameraManip::Update();
}
