#include "Source/World/coTrackProp.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPiece.h"

#include <algorithm>

i32 coTrackProp::GetPieceIndex() const {
    const int index = m_piece ? coCircuitIndexOf(m_piece) : -1;
    return index >= 0 ? index : m_pieceIndex;
}

void coTrackProp::SetDistance(f32 distance) {
    m_distance = std::clamp(distance, 0.0f, 1.0f);
}

void coTrackProp::PlaceOnTrack() {
    if (!m_piece) {
        if (m_pieceIndex < 0 || m_pieceIndex >= coCircuitPieceCount()) {
            DBG_WARNING("track prop: piece %d is not in the circuit; the prop stays hidden", m_pieceIndex);
            SetVisible(false);
            return;
        }
        m_piece = coCircuitPieceAt(m_pieceIndex);
    }
    const maMatrix4d frame = m_piece->FrameAt(m_distance);
    SetTransform(frame);
    const maVector3d position = frame.GetTranslation();
    maMatrix4d rotation = frame;
    rotation.ReplaceTranslation(maVector3d());
    SetPose(position, rotation);
    StorePosition(position);
}
