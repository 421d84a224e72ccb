#include "Source/Track/coPieceFitting.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coTrackBuilder.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kTerrainStep = 1.0f;
constexpr float kInvertedRoll = coDegrees(145.0f);
constexpr float kInvertedMaxSlope = coDegrees(80.0f);

bool g_liftSuspended = false;

// Whether the piece, tilted so that its end lies at height h, keeps clear of the terrain.
bool ClearsTerrainAt(const coCoasterPiece& piece, float h, const maVector3d& start, const maVector3d& end,
                     float offset) {
    const coParkWorld& world = coGetParkWorld();
    const int n = piece.GetTestPointCount();
    maVector3d q = start;
    for (int i = 1; i < n; ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(n - 1);
        maVector3d p = piece.PointAt(t);
        p.y += (h - end.y) * t;
        float ground = 0.0f;
        if (i < n - 1 && world.GetHeightAt(p.x, p.z, ground) && ground + offset > p.y)
            return false;
        maVector3d hit;
        if (world.IntersectSegment(q, p, hit))
            return false;
        q = p;
    }
    return true;
}
} // namespace

int coPieceKindCode(const coCoasterPiece& piece) {
    if (dynamic_cast<const coCoasterPieceStraight*>(&piece))
        return 0;
    if (const auto* turn = dynamic_cast<const coCoasterPieceTurn*>(&piece))
        return turn->GetAngle() > 0.0f ? 2 : 1;
    if (dynamic_cast<const coCoasterPieceHalfCorkscrew*>(&piece) ||
        dynamic_cast<const coCoasterPieceHalfLoop*>(&piece))
        return 4;
    if (dynamic_cast<const coCoasterPieceUp*>(&piece))
        return 5;
    return 3;
}

bool coMatchToPrevious(coCoasterPiece* piece, coCoasterPiece* previous) {
    if (!piece || !previous || previous == coCircuitFirstPiece())
        return false;
    const int previousKind = coPieceKindCode(*previous);
    const int kind = coPieceKindCode(*piece);
    bool matched = false;
    if (kind == 5) {
        if (previous->GetSlope(1) < 0.0f)
            coFlipPiece(piece);
        if (previousKind == 5)
            piece->SetRoll(previous->GetRoll(0));
    } else if (kind == previousKind && kind != 4) {
        piece->SetRoll(previous->GetRoll(0));
        if (!previous->IsRaised())
            piece->SetSlope(previous->GetBaseSlope());
        matched = true;
    } else if (coEndsInverted(*previous)) {
        piece->SetRoll(piece->GetRoll(0) + maPiF);
        coFlipPiece(piece);
    }

    if (auto* corkscrew = dynamic_cast<coCoasterPieceCorkscrew*>(piece)) {
        if (const auto* previousCorkscrew = dynamic_cast<const coCoasterPieceCorkscrew*>(previous))
            coCopyCorkscrewShape(*corkscrew, *previousCorkscrew);
        else if (previous->GetRoll(0) < 0.0f)
            corkscrew->SetApproachAngle(-corkscrew->GetApproachAngle());
        matched = true;
    }
    auto* loop = dynamic_cast<coCoasterPieceLoop*>(piece);
    if (const auto* previousLoop = dynamic_cast<const coCoasterPieceLoop*>(previous); loop && previousLoop)
        coCopyLoopShape(*loop, *previousLoop);
    auto* turn = dynamic_cast<coCoasterPieceTurn*>(piece);
    if (const auto* previousTurn = dynamic_cast<const coCoasterPieceTurn*>(previous); turn && previousTurn)
        coCopyTurnShape(*turn, *previousTurn);
    return matched;
}

bool coEndsInverted(const coCoasterPiece& piece) {
    float roll = piece.GetRoll(1);
    if (roll > maPiF)
        roll -= maTwoPiF;
    else if (roll < -maPiF)
        roll += maTwoPiF;
    return std::fabs(piece.GetSlope(1)) <= kInvertedMaxSlope && std::fabs(roll) > kInvertedRoll;
}

bool coFlipPiece(coCoasterPiece* piece) {
    if (auto* halfCorkscrew = dynamic_cast<coCoasterPieceHalfCorkscrew*>(piece))
        halfCorkscrew->SetDownward(!halfCorkscrew->IsDownward());
    else if (auto* halfLoop = dynamic_cast<coCoasterPieceHalfLoop*>(piece))
        halfLoop->SetInverted(!halfLoop->IsInverted());
    else if (auto* up = dynamic_cast<coCoasterPieceUp*>(piece))
        up->SetDown(!up->IsDown());
    else
        return false;
    piece->Build();
    return true;
}

void coCopyTurnShape(coCoasterPieceTurn& piece, const coCoasterPieceTurn& previous) {
    piece.SetRadius(previous.GetRadius());
    piece.Build();
}

void coCopyLoopShape(coCoasterPieceLoop& piece, const coCoasterPieceLoop& previous) {
    piece.SetRunLength(previous.GetRunLength());
    piece.Build();
    piece.SetHeight(previous.GetHeight());
    piece.Build();
}

void coCopyCorkscrewShape(coCoasterPieceCorkscrew& piece, const coCoasterPieceCorkscrew& previous) {
    piece.SetApproachAngle(previous.GetApproachAngle());
    piece.SetRunLength(previous.GetRunLength());
    piece.SetRadius(previous.GetRadius());
}

bool coLiftClearOfTerrain(coCoasterPiece* piece) {
    if (g_liftSuspended || !piece || !piece->KeepsAttitude())
        return false;
    coGetTrackBuilder().SetPieceFlagged(piece, false);
    piece->SetRaised(false);

    const maVector3d end = piece->GetEnd();
    const maVector3d start = piece->GetStart();
    const float offset = coGetCoasterDefinition().GetTerrainOffset();
    float ground = 0.0f;
    if (!coGetParkWorld().GetHeightAt(end.x, end.z, ground))
        return false;
    float h = std::max(ground + offset, end.y);
    if (!(h < GetWorldMaxHeight()))
        return false;
    while (!ClearsTerrainAt(*piece, h, start, end, offset)) {
        const float raised = h + kTerrainStep;
        // A height so far below that a step no longer changes it would never reach the ceiling.
        if (!(raised < GetWorldMaxHeight()) || raised == h)
            return false;
        h = raised;
    }
    if (h == end.y)
        return false;
    if (coSetEndHeight(piece, h))
        piece->SetRaised(true);
    return true;
}

bool coSetEndHeight(coCoasterPiece* piece, float y) {
    const maVector3d start = piece->GetStart();
    const float run = piece->GetSpan();
    if (!(run > 0.0f))
        return false;
    const float slope = std::atan((y - start.y) / run);
    if (!(std::fabs(slope) < MaxSlopeFor(*piece)))
        return false;
    piece->SetSlope(slope);
    return true;
}

void coSetTerrainLiftSuspended(bool suspended) {
    g_liftSuspended = suspended;
}
