#include "Source/Track/coPlacement.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPieceFitting.h"
#include "Source/Track/coTrackBuilder.h"

#include <algorithm>
#include <any>
#include <cmath>
#include <memory>
#include <vector>

namespace {
constexpr float kCloseHeadingTolerance = coDegrees(30.0f);
constexpr float kCloseVerticalTolerance = 8.0f;
constexpr float kCloseHorizontalTolerance = 10.0f;
constexpr float kHeadingFixThreshold = coDegrees(2.5f);
constexpr float kDragTolerance = 0.75f;
constexpr float kDragToleranceLoose = 0.65f;
constexpr float kDragShare = 0.3f;
// Below this length a drag search is not limited to the last pieces.
constexpr float kDragSearchLength = 0.2f;
constexpr float kFirstPieceMinLength = 30.0f;
// The pieces a search may pass before it gives up.
constexpr int kSearchDepth = 6;

void (*g_pieceReplaced)(coCoasterPiece*, coCoasterPiece*) = nullptr;

// A gap left after the fitting steps that counts as met: float residues of about 1e-6 remain
// wherever a circuit turns (cos(3 pi / 2) is not 0 in float).
constexpr float kFitTolerance = 1e-3f;

// The pieces from the last one backwards, never onto the first piece, at most one walk round.
template <class Visit> coCoasterPiece* SearchBackFromLast(Visit visit) {
    const coCoasterPiece* first = coCircuitFirstPiece();
    int steps = coCircuitPieceCount();
    for (coCoasterPiece* p = coCircuitLastPiece(); p && p != first && steps > 0;
         p = p->GetPrevious(), --steps) {
        switch (visit(p)) {
        case 1:
            return p;
        case -1:
            return nullptr;
        default:
            break;
        }
    }
    return nullptr;
}

float HorizontalDistance(const maVector3d& a, const maVector3d& b) {
    const float dx = a.x - b.x;
    const float dz = a.z - b.z;
    return std::sqrt(dx * dx + dz * dz);
}

// The horizontal length to give a Straight first piece whose start lies `ahead` beyond the end.
struct PendingLength {
    coCoasterPieceStraight* piece = nullptr;
    float ahead = 0.0f;
};

// The circuit as it stood before a close was tried, put back when the circuit does not close: the
// closing steps turn, drag, re-slope and lift pieces and may put an S-turn in the last piece's place,
// and a failure must leave the player's track as it was.
class ClosingUndo {
  public:
    ClosingUndo() {
        for (const auto& piece : coCircuitPieces())
            m_kept.push_back({piece.get(), piece->GetStart(), piece->GetHeading(), piece->GetBaseSlope(),
                              piece->IsRaised(), piece->KeepShape()});
    }

    // The last piece an S-turn took the place of; it comes back on Restore.
    std::unique_ptr<coCoasterPiece> replaced;

    void Restore() {
        coSetTerrainLiftSuspended(true);
        if (replaced) {
            coCoasterPiece* replacement = coCircuitLastPiece();
            if (g_pieceReplaced)
                g_pieceReplaced(replacement, replaced.get());
            coGetParkWorld().MoveTrackProps(replacement, replaced.get());
            coCircuitRemoveLast();
            coCircuitAppend(std::move(replaced), false);
        }
        const coCoasterPiece* first = coCircuitFirstPiece();
        const maVector3d shift =
            first && !m_kept.empty() ? first->GetStart() - m_kept.front().start : maVector3d();
        const bool startMoved = maDot(shift, shift) > 0.0f;
        for (const Kept& kept : m_kept) {
            kept.piece->PutShape(kept.shape);
            kept.piece->SetSlope(kept.slope);
            kept.piece->Place(kept.start, kept.heading);
            kept.piece->SetRaised(kept.raised);
        }
        // The blend zones reach across the joints: every piece is sampled again with its neighbours back.
        for (const Kept& kept : m_kept)
            kept.piece->Build();
        coSetTerrainLiftSuspended(false);
        if (!m_kept.empty()) {
            coGetTrackBuilder().RebuildPieceObjects(m_kept.front().piece, 2);
            if (startMoved)
                coGetParkWorld().CircuitStartMoved(*m_kept.front().piece);
        }
    }

  private:
    struct Kept {
        coCoasterPiece* piece;
        maVector3d start;
        float heading;
        float slope;
        bool raised;
        std::any shape;
    };
    std::vector<Kept> m_kept;
};
} // namespace

coCoasterPiece* coFindAttitudeAnchor(coCoasterPiece* piece) {
    const coCoasterPiece* first = coCircuitFirstPiece();
    int steps = coCircuitPieceCount();
    for (coCoasterPiece* p = piece; p && p != first && steps > 0; p = p->GetPrevious(), --steps) {
        if (p->KeepsAttitude())
            return p;
    }
    return nullptr;
}

float coAngleToTarget(float targetHeading, const coCoasterPiece& piece) {
    float angle = targetHeading - piece.GetEndHeading();
    WrapAngle(angle);
    return angle;
}

bool coFixTurnAngle(float delta) {
    const bool limited = std::fabs(delta) >= kHeadingFixThreshold;
    int passed = 0;
    coCoasterPiece* found = SearchBackFromLast([&](coCoasterPiece* p) {
        if (dynamic_cast<coCoasterPieceTurn*>(p))
            return 1;
        return limited && ++passed > kSearchDepth ? -1 : 0;
    });
    auto* turn = static_cast<coCoasterPieceTurn*>(found);
    if (!turn)
        return false;
    // A Turn is never changed by more than half its angle.
    const float angle = turn->GetAngle();
    if (!(std::fabs(delta / angle) <= 0.5f))
        return false;
    turn->SetAngle(angle + delta);
    turn->Build();
    coCircuitReflowFrom(turn, true);
    return true;
}

bool coFixByDrag(const maVector3d& offset, float tolerance) {
    const float length = offset.Length();
    if (length == 0.0f)
        return true;
    const maVector3d direction = offset / length;
    const bool limited = length >= kDragSearchLength;
    int passed = 0;
    maVector3d handle;
    float amount = 0.0f;
    coCoasterPiece* piece = SearchBackFromLast([&](coCoasterPiece* p) {
        if (p->GetDragHandle(handle, amount) && std::fabs(maDot(direction, handle)) > tolerance)
            return 1;
        return limited && ++passed > kSearchDepth ? -1 : 0;
    });
    if (!piece)
        return false;

    const float drag = length / maDot(direction, handle);
    const float most = kDragShare * amount;
    if (std::fabs(drag) <= most) {
        piece->Drag(drag);
        coCircuitReflowFrom(piece, true);
        return true;
    }
    // Partly done: the caller tries again.
    piece->Drag(std::copysign(most, drag));
    coCircuitReflowFrom(piece, true);
    return false;
}

bool coFitEndToPiece(coCoasterPiece* last, coCoasterPiece* target) {
    const float targetHeading = target->GetHeading();
    if (auto* sTurn = dynamic_cast<coCoasterPieceSTurn*>(last)) {
        if (sTurn->FitToPoint(target->GetStart())) {
            sTurn->SetEndHeading(targetHeading);
            return true;
        }
    }

    const float turn = coAngleToTarget(targetHeading, *last);
    if (turn != 0.0f && !coFixTurnAngle(turn))
        return false;

    const maVector3d forward = coForward(targetHeading);
    const maVector3d start = target->GetStart();
    // Sideways: the horizontal part of the gap square to the target's heading. The vertical gap is
    // the anchor's below; left in, it would tilt the drag direction and overshoot the drag.
    const maVector3d gap = start - last->GetEnd();
    const float along = forward.x * gap.x + forward.z * gap.z;
    const maVector3d side(gap.x - forward.x * along, 0.0f, gap.z - forward.z * along);
    if (side.Length() >= kFitTolerance && !coFixByDrag(side, kDragTolerance) &&
        !coFixByDrag(side, kDragToleranceLoose))
        return false;

    // Forward: the last piece grows, or the first piece reaches back (committed once the height fits).
    PendingLength pending;
    const maVector3d remaining = start - last->GetEnd();
    const float ahead = forward.x * remaining.x + forward.z * remaining.z;
    if (std::fabs(ahead) >= kFitTolerance) {
        if (dynamic_cast<coCoasterPieceStraight*>(last)) {
            last->Drag(ahead);
        } else {
            auto* first = dynamic_cast<coCoasterPieceStraight*>(target);
            if (!first)
                return false;
            if (target == coCircuitFirstPiece() && first->GetRunLength() + ahead < kFirstPieceMinLength) {
                coFixByDrag(forward * ahead, kDragTolerance);
                if (HorizontalDistance(last->GetEnd(), start) >= kFitTolerance)
                    return false;
            } else {
                pending = {first, ahead};
            }
        }
    }

    coCoasterPiece* anchor = coFindAttitudeAnchor(last);
    if (!anchor)
        return false;
    if (!coSetEndHeight(anchor, anchor->GetEnd().y + (start.y - last->GetEnd().y)))
        return false;
    // Closing places the first piece at the last piece's end: the longer piece reaches back to it
    // while its own end stays where it was.
    if (pending.piece)
        pending.piece->Drag(pending.ahead);
    return true;
}

void coSetPieceReplacedHook(void (*hook)(coCoasterPiece* old, coCoasterPiece* replacement)) {
    g_pieceReplaced = hook;
}

bool coFitOrReplaceLast(coCoasterPiece* last, coCoasterPiece* target,
                        std::unique_ptr<coCoasterPiece>& replaced) {
    if (coFitEndToPiece(last, target))
        return true;

    float length = 0.0f;
    if (const auto* straight = dynamic_cast<const coCoasterPieceStraight*>(last))
        length = straight->GetRunLength();
    else if (const auto* shallowTurn = dynamic_cast<const coCoasterPieceShallowTurn*>(last))
        length = shallowTurn->GetRunLength();
    else
        return false;

    auto sTurn = std::make_unique<coCoasterPieceSTurn>();
    sTurn->SetRunLength(length);
    sTurn->SetSlide(0.0f);
    sTurn->SetRoll(last->GetRoll(0));
    sTurn->SetSlope(last->GetBaseSlope());
    coCoasterPieceSTurn* replacement = sTurn.get();
    if (g_pieceReplaced)
        g_pieceReplaced(last, replacement);
    // The player's track props stay on the track where they were: removing the piece would delete them
    // (and a selected one under the editor's feet).
    coGetParkWorld().MoveTrackProps(last, replacement);
    replaced = coCircuitTakeLast();
    coCircuitAppend(std::move(sTurn), true);
    return coFitEndToPiece(replacement, target);
}

bool coEndNearPose(const coCoasterPiece& piece, const maVector3d& point, float heading) {
    if (coCircuitPieceCount() < 2)
        return false;
    const maVector3d end = piece.GetEnd();
    return std::fabs(coAngleToTarget(heading, piece)) <= kCloseHeadingTolerance &&
           std::fabs(point.y - end.y) <= kCloseVerticalTolerance &&
           HorizontalDistance(point, end) <= kCloseHorizontalTolerance;
}

bool coCircuitEndMeetsStart() {
    if (coCircuitPieceCount() < 2)
        return false;
    const coCoasterPiece* first = coCircuitFirstPiece();
    return coEndNearPose(*coCircuitLastPiece(), first->GetStart(), first->GetHeading());
}

bool coCircuitTryClose() {
    if (!coCircuitEndMeetsStart())
        return false;
    ClosingUndo undo;
    if (coFitOrReplaceLast(coCircuitLastPiece(), coCircuitFirstPiece(), undo.replaced)) {
        coSetTerrainLiftSuspended(true);
        coCircuitClose();
        coSetTerrainLiftSuspended(false);
        if (coCircuitIsClosed())
            return true;
    }
    undo.Restore();
    return false;
}

void coPieceChangePitch(coCoasterPiece* piece, float slope) {
    if (!piece)
        return;
    coCoasterPiece* next = piece->GetNext();
    const int index = coCircuitIndexOf(piece);
    const bool direct = next && next != coCircuitFirstPiece() && index >= 0 &&
                        index + 2 < coCircuitPieceCount() && piece->KeepsAttitude() && next->KeepsAttitude();
    if (direct) {
        // The next piece takes up the change and ends where it ended: the rest stays in place.
        const maVector3d oldEnd = next->GetEnd();
        piece->SetSlope(slope);
        coLiftClearOfTerrain(piece);
        next->Place(piece->GetEnd(), piece->GetEndHeading());
        coSetEndHeight(next, oldEnd.y);
        const maVector3d end = next->GetEnd();
        if (end.x == oldEnd.x && end.y == oldEnd.y && end.z == oldEnd.z) {
            // Both pieces took new slopes, which reach across all three of their joints.
            coCircuitRebuildAround(piece);
            coCircuitRebuildAround(next);
            coGetTrackBuilder().RebuildPieceObjects(piece, 1);
            if (coCoasterPiece* after = next->GetNext())
                coGetTrackBuilder().RebuildPieceObjects(after, 0);
        } else {
            coCircuitReflowFrom(piece, true);
        }
        return;
    }

    const float oldSlope = piece->GetBaseSlope();
    piece->SetSlope(slope);
    if (slope < oldSlope) {
        coLiftClearOfTerrain(piece);
        // Pitching down never ends steeper up than before.
        if (piece->GetBaseSlope() > oldSlope)
            piece->SetSlope(oldSlope);
    }
    coCircuitReflowFrom(piece, true);
}
