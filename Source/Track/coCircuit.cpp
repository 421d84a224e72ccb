#include "Source/Track/coCircuit.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPieceFitting.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coTrackBuilder.h"

#include <algorithm>
#include <cmath>

namespace {

// Below this the first piece's start moved by rounding only, in world units.
constexpr float kRoundingShift = 1e-3f;

struct coCircuitState {
    float totalLength = 0.0f;
    bool closed = false;
    std::string themeName;
};

coCircuitState& State() {
    static coCircuitState state;
    return state;
}

// Samples a piece's centre line again after a change within its blend zones' reach; null does nothing.
void Resample(coCoasterPiece* piece) {
    if (piece)
        piece->Build();
}

// Walks along the next links from a piece, stopping at a null link or back at the first piece. The
// walk never takes more steps than there are pieces, so broken links cannot make it run forever.
template <class Visit> void WalkFrom(coCoasterPiece* piece, Visit visit) {
    const coCoasterPiece* first = coCircuitFirstPiece();
    int steps = coCircuitPieceCount();
    for (coCoasterPiece* q = piece; q && steps > 0; --steps) {
        if (!visit(q))
            return;
        q = q->GetNext();
        if (q == first)
            return;
    }
}

// Drops what other subsystems keep of a piece that is about to be deleted.
void ForgetPiece(coCoasterPiece* piece) {
    coGetTrackBuilder().RemovePieceObjects(piece);
    coGetTrackBuilder().SetPieceFlagged(piece, false);
    coGetParkWorld().RemoveTrackPropsOnPiece(piece);
}

void EraseAt(int index) {
    auto& pieces = coCircuitPieces();
    pieces.erase(pieces.begin() + index);
}

} // namespace

void coCircuitResetFlags() {
    State().totalLength = 0.0f;
    State().closed = false;
}

void coCircuitClear() {
    auto& pieces = coCircuitPieces();
    for (auto& piece : pieces)
        coGetTrackBuilder().RemovePieceObjects(piece.get());
    pieces.clear();
    coCircuitResetFlags();
}

void coCircuitAppend(std::unique_ptr<coCoasterPiece> piece, bool match) {
    if (!piece)
        return;
    coCoasterPiece* added = piece.get();
    coCoasterPiece* last = coCircuitLastPiece();
    // The new piece comes between the last and the first: a closed circuit is open from now on.
    if (State().closed || (last && last->GetNext()))
        coCircuitOpen();
    if (last) {
        added->Connect(last);
        last->SetNext(added);
        if (match)
            coMatchToPrevious(added, last);
        coLiftClearOfTerrain(added);
        // The last piece's end zone now blends into the new piece as it finally stands.
        last->Build();
    }
    coCircuitPieces().push_back(std::move(piece));
    coGetTrackBuilder().RebuildPieceObjects(added, 2);
}

bool coCircuitInsertAfter(std::unique_ptr<coCoasterPiece> piece, coCoasterPiece* after, bool match) {
    if (!piece)
        return false;
    const int index = after ? coCircuitIndexOf(after) : -1;
    coCoasterPiece* following = after ? after->GetNext() : nullptr;
    // After the last piece (whose next is the first piece when the circuit is closed) it is an append.
    if (index < 0 || !following || after == coCircuitLastPiece()) {
        coCircuitAppend(std::move(piece), match);
        return true;
    }

    coCoasterPiece* added = piece.get();
    auto& pieces = coCircuitPieces();
    pieces.insert(pieces.begin() + index + 1, std::move(piece));
    added->Connect(after);
    after->SetNext(added);
    if (match)
        coMatchToPrevious(added, after);
    coLiftClearOfTerrain(added);
    following->Connect(added);
    added->SetNext(following);

    if (coCircuitReflowFrom(added, false)) {
        coGetTrackBuilder().RebuildPieceObjects(added, 2);
        return true;
    }
    coCircuitRemovePiece(added);
    coCircuitReflowFrom(after, true);
    return false;
}

void coCircuitRemoveLast() {
    coCircuitTakeLast();
}

std::unique_ptr<coCoasterPiece> coCircuitTakeLast() {
    coCoasterPiece* last = coCircuitLastPiece();
    if (!last)
        return nullptr;
    coCoasterPiece* first = last->GetNext();
    if (first) {
        first->SetPrevious(nullptr);
        State().closed = false;
    }
    ForgetPiece(last);
    std::unique_ptr<coCoasterPiece> taken = std::move(coCircuitPieces().back());
    coCircuitPieces().pop_back();
    taken->SetPrevious(nullptr);
    taken->SetNext(nullptr);
    // Both pieces that met the removed one have lost a neighbour.
    coCoasterPiece* newLast = coCircuitLastPiece();
    if (newLast) {
        newLast->SetNext(nullptr);
        newLast->Build();
        coGetTrackBuilder().RebuildPieceObjects(newLast, 0);
    }
    if (first && first != newLast) {
        first->Build();
        coGetTrackBuilder().RebuildPieceObjects(first, 0);
    }
    return taken;
}

void coCircuitRemovePiece(coCoasterPiece* piece) {
    const int index = coCircuitIndexOf(piece);
    if (index < 0)
        return;
    if (piece == coCircuitLastPiece()) {
        coCircuitRemoveLast();
        return;
    }

    coCoasterPiece* following = piece->GetNext();
    if (index == 0) {
        // Nothing comes before the first piece to close up to: its successor becomes first where it
        // is, and the circuit is open.
        coCircuitOpen();
        ForgetPiece(piece);
        EraseAt(0);
        if (following) {
            following->Place(following->GetStart(), following->GetHeading(), nullptr);
            // The new first piece blends over a narrower zone, which reaches into its successor.
            Resample(following->GetNext());
            coGetTrackBuilder().RebuildPieceObjects(following, 2);
        }
        return;
    }

    coCoasterPiece* previous = piece->GetPrevious();
    ForgetPiece(piece);
    EraseAt(index);
    if (previous)
        previous->SetNext(following);
    if (following) {
        following->Connect(previous);
        State().closed = false;
        coCircuitReflowFrom(following, false);
        coGetTrackBuilder().RebuildPieceObjects(following, 2);
    }
}

void coCircuitClose() {
    coCoasterPiece* first = coCircuitFirstPiece();
    coCoasterPiece* last = coCircuitLastPiece();
    if (!first || !last || first == last)
        return;
    // Re-closing: the reflow below would otherwise see the flag and cut the new links again.
    if (State().closed)
        coCircuitOpen();

    const maVector3d oldStart = first->GetStart();
    first->Connect(last);
    last->SetNext(first);
    coCircuitReflowFrom(first, true);

    // A circuit that closed already but for rounding (a saved one loaded again) leaves the dock where it
    // is; following such a shift would move it a little further at every load.
    const maVector3d shift = first->GetStart() - oldStart;
    if (maDot(shift, shift) > kRoundingShift * kRoundingShift)
        coGetParkWorld().CircuitStartMoved(*first);

    const maVector3d gap = last->GetEnd() - first->GetStart();
    if (maDot(gap, gap) < 1.0f)
        State().closed = true;
    else
        coCircuitOpen();
}

coCoasterPiece* coCircuitOpen() {
    coCoasterPiece* first = coCircuitFirstPiece();
    coCoasterPiece* last = coCircuitLastPiece();
    if (first && last) {
        const bool linked = first->GetPrevious() || last->GetNext();
        first->SetPrevious(nullptr);
        last->SetNext(nullptr);
        // The joint between them is gone, and with it the blending across it: their shapes and meshes change.
        if (linked) {
            first->Build();
            coGetTrackBuilder().RebuildPieceObjects(first, 0);
            if (last != first) {
                last->Build();
                coGetTrackBuilder().RebuildPieceObjects(last, 0);
            }
        }
    }
    State().closed = false;
    return first;
}

bool coCircuitIsClosed() {
    return State().closed;
}

bool coCircuitReflowFrom(coCoasterPiece* piece, bool rebuild) {
    if (!piece)
        return false;
    if (State().closed)
        coCircuitOpen();

    // The piece may have been edited: its blend zones reach into both neighbours.
    coCircuitRebuildAround(piece);
    maVector3d position = piece->GetEnd();
    float heading = piece->GetEndHeading();
    bool outside = false;
    if (coCoasterPiece* next = piece->GetNext(); next && next != coCircuitFirstPiece()) {
        WalkFrom(next, [&](coCoasterPiece* q) {
            if (coPointOutsideWorld(position))
                outside = true;
            q->Place(position, heading);
            if (coLiftClearOfTerrain(q)) {
                // A new slope reaches into the piece placed before, and into the first piece when
                // the walk ends there.
                Resample(q->GetPrevious());
                if (q->GetNext() == coCircuitFirstPiece())
                    Resample(q->GetNext());
            }
            position = q->GetEnd();
            heading = q->GetEndHeading();
            return true;
        });
    }
    if (rebuild)
        coGetTrackBuilder().RebuildPieceObjects(piece, 2);
    return !outside;
}

void coCircuitRebuildAround(coCoasterPiece* piece) {
    if (!piece)
        return;
    Resample(piece->GetPrevious());
    piece->Build();
    if (piece->GetNext() != piece->GetPrevious())
        Resample(piece->GetNext());
}

bool coCircuitInsideWorld() {
    bool inside = true;
    WalkFrom(coCircuitFirstPiece(), [&](coCoasterPiece* q) {
        if (q->GetNext() && coPointOutsideWorld(q->GetEnd()))
            inside = false;
        return inside;
    });
    return inside;
}

bool coPointOutsideWorld(const maVector3d& point) {
    const coParkWorld& world = coGetParkWorld();
    return point.x < world.GetGridMinX() || point.x > world.GetGridMaxX() || point.z < world.GetGridMinZ() ||
           point.z > world.GetGridMaxZ() || point.y > GetWorldMaxHeight();
}

void coCircuitRebuildSupports() {
    if (coCoasterPiece* first = coCircuitFirstPiece())
        coGetTrackBuilder().RebuildSupports(first);
}

float coCircuitTotalLength() {
    float total = 0.0f;
    for (const auto& piece : coCircuitPieces())
        total += piece->GetLength();
    State().totalLength = total;
    return total;
}

coCoasterPiece* coCircuitPieceAtDistance(float distance) {
    const float total = State().totalLength;
    if (!(total > 0.0f) || !std::isfinite(total))
        return coCircuitLastPiece();
    // One exact remainder instead of stepping by whole laps, which never ends for a zero total and
    // takes millions of steps for a far distance.
    float d = std::fmod(distance, total);
    if (d < 0.0f)
        d += total;
    if (!(d < total))
        d = 0.0f;
    for (const auto& piece : coCircuitPieces()) {
        const float length = piece->GetLength();
        if (length > d)
            return piece.get();
        d -= length;
    }
    return coCircuitLastPiece();
}

bool coCircuitFindJoinPoint(float minimum, float maximum, maVector3d& point) {
    const coCoasterPiece* first = coCircuitFirstPiece();
    const coCoasterPiece* last = coCircuitLastPiece();
    if (!first || !last)
        return false;
    const maVector3d start = first->GetStart();
    if (!coCircuitJoinFits(start, first->GetHeading(), last->GetEnd(), last->GetEndHeading(), minimum,
                           maximum))
        return false;
    point = start;
    return true;
}

bool coCircuitJoinFits(const maVector3d& target, float targetHeading, const maVector3d& end, float endHeading,
                       float minimum, float maximum) {
    float turn = targetHeading - endHeading;
    WrapAngle(turn);
    if (!(std::fabs(turn) <= maPiF / 4.0f))
        return false;
    const maVector3d forward = coForward(endHeading);
    maVector3d toTarget = target - end;
    const float ahead = maDot(forward, toTarget);
    if (!(ahead >= minimum && ahead <= maximum))
        return false;
    const float length = toTarget.Length();
    if (length > 0.0f)
        toTarget = toTarget / length;
    // Within about 29.5 degrees of straight ahead.
    return maDot(forward, toTarget) >= 0.87f;
}

void coCircuitRebuildFromList(std::vector<std::unique_ptr<coCoasterPiece>> pieces) {
    coCircuitClear();
    auto& list = coCircuitPieces();
    for (auto& piece : pieces)
        if (piece)
            list.push_back(std::move(piece));
    // Each piece is linked to both neighbours before it is placed, so that it is sampled once with the
    // blending at both its joints.
    for (size_t i = 0; i < list.size(); ++i) {
        coCoasterPiece* q = list[i].get();
        q->SetNext(i + 1 < list.size() ? list[i + 1].get() : nullptr);
        if (i > 0) {
            q->Connect(list[i - 1].get());
            continue;
        }
        // Nothing comes before the first piece of the loaded chain.
        const maVector3d start = q->GetStart();
        if (start.x == 0.0f && start.y == 0.0f && start.z == 0.0f)
            q->Place(coGetParkWorld().GetStartPosition(), 0.0f, nullptr);
        else
            q->Place(start, q->GetHeading(), nullptr);
    }
}

void coSetThemeName(const std::string& name) {
    State().themeName = name;
}

const std::string& coGetThemeName() {
    return State().themeName;
}
