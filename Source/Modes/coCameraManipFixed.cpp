#include "Source/Modes/coCameraManipFixed.h"

#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Ride/coRide.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coParkWorld.h"
#include "Source/World/coPropList.h"

#include <vector>

namespace {
constexpr float kPostSpacing = 60.0f;

const maVector3d kUpright[3] = {{6.0f, 4.0f, -6.0f}, {-6.0f, 5.0f, -6.0f}, {5.0f, 6.0f, -6.0f}};
const maVector3d kInverted[3] = {{6.0f, -1.0f, -6.0f}, {-6.0f, -1.0f, -6.0f}, {5.0f, 1.0f, -6.0f}};

const maVector3d* Offsets() {
    return coGetCoasterDefinition().GetInverted() ? kInverted : kUpright;
}

bool IsInversion(const coCoasterPiece* piece) {
    return dynamic_cast<const coCoasterPieceLoop*>(piece) != nullptr ||
           dynamic_cast<const coCoasterPieceCorkscrew*>(piece) != nullptr;
}
} // namespace

maVector3d coCameraManipFixed::ChoosePost(const coCoasterPiece& piece) {
    const maVector3d* offsets = Offsets();
    const maVector3d first = piece.FrameAt(1.0f).TransformPoint(offsets[0]);
    std::vector<maVector3d> accepted;
    std::vector<coProp*> props;
    for (float at : {1.0f, 0.75f, 0.5f}) {
        const maMatrix4d frame = piece.FrameAt(at);
        for (int i = 0; i < 3; ++i) {
            maVector3d candidate = frame.TransformPoint(offsets[i]);
            float ground = 0.0f;
            if (coGetParkWorld().GetHeightAt(candidate.x, candidate.z, ground) &&
                candidate.y < ground + 10.0f)
                candidate.y = ground + 10.0f;
            const maVector3d half(5.0f, 5.0f, 5.0f);
            coPropList::FindInBox(maBoundingBox(candidate - half, candidate + half), props);
            if (props.empty())
                accepted.push_back(candidate);
            props.clear();
        }
    }
    if (accepted.empty())
        return first;
    return accepted[maRandomInt() % accepted.size()];
}

void coCameraManipFixed::SetPost(const coCoasterPiece* piece, const maVector3d& post) {
    m_hasCamera[piece] = true;
    m_posts[piece] = post;
}

void coCameraManipFixed::BuildPosts() {
    m_hasCamera.clear();
    m_posts.clear();
    const coCoasterPiece* last = coCircuitLastPiece();
    if (last == nullptr)
        return;
    maVector3d lastPost = ChoosePost(*last);
    SetPost(last, lastPost);
    // However the links run, no piece is visited twice.
    int steps = coCircuitPieceCount();
    for (const coCoasterPiece* piece = last->GetPrevious(); piece != nullptr && piece != last && steps-- > 0;
         piece = piece->GetPrevious()) {
        const maVector3d candidate = ChoosePost(*piece);
        if ((IsInversion(piece) && !IsInversion(piece->GetPrevious())) ||
            (candidate - lastPost).Length() > kPostSpacing) {
            SetPost(piece, candidate);
            lastPost = candidate;
        } else {
            m_hasCamera[piece] = false;
        }
    }
}

bool coCameraManipFixed::HasPost(const coCoasterPiece* piece) const {
    const auto found = m_hasCamera.find(piece);
    return found != m_hasCamera.end() && found->second;
}

void coCameraManipFixed::Attach(g3dCamera* camera, bool keepView) {
    BuildPosts();
    scCameraManip::Attach(camera, keepView);
}

void coCameraManipFixed::Update() {
    if (m_camera == nullptr)
        return;
    maMatrix4d car;
    if (coGetTrainCarMatrix(true, car)) {
        const bool inverted = coGetCoasterDefinition().GetInverted();
        m_target = car.TransformPoint(maVector3d(0.0f, inverted ? -2.0f : 1.0f, 0.0f));
        const coCoasterPiece* under = coRideGetTrainPiece(0);
        const coCoasterPiece* piece =
            under != nullptr && under->GetPrevious() != nullptr ? under->GetPrevious() : under;
        for (int steps = coCircuitPieceCount(); piece != nullptr && steps-- > 0; piece = piece->GetNext()) {
            if (!HasPost(piece))
                continue;
            const auto post = m_posts.find(piece);
            m_position =
                post != m_posts.end() ? post->second : piece->FrameAt(1.0f).TransformPoint(Offsets()[0]);
            break;
        }
        m_camera->LookAt(m_position, m_target, maVector3d(0.0f, 1.0f, 0.0f));
    }
    scCameraManip::Update();
}
