#include "Source/Track/coCoasterPiece.h"

#include "Source/Track/coAngles.h"

#include <utility>

namespace {
int g_frozenDepth = 0;
// Counts the changes of the track; kept zones of an older generation are measured again.
u64 g_trackGeneration = 1;

void TrackChanged() {
    ++g_trackGeneration;
}

// Frame axes arrive normalised; anything much shorter (below half a unit) is a normalised zero.
bool IsAxis(const maVector3d& v) {
    return maDot(v, v) > 0.25f;
}
} // namespace

coCoasterPiece::coCoasterPiece() : m_start(0.0f, 0.0f, 0.0f) {
    static u64 made = 0;
    m_serial = ++made;
}

coCoasterPiece::~coCoasterPiece() = default;

void coCoasterPiece::SetHeading(float heading) {
    m_heading = heading;
    m_headingCos = std::cos(heading);
    m_headingSin = std::sin(heading);
}

void coCoasterPiece::SetRoll(float roll) {
    WrapAngle(roll);
    m_roll = roll;
    TrackChanged();
}

void coCoasterPiece::SetPrevious(coCoasterPiece* previous) {
    m_previous = previous;
    TrackChanged();
}

void coCoasterPiece::SetNext(coCoasterPiece* next) {
    m_next = next;
    TrackChanged();
}

void coCoasterPiece::SetRollBlend(i32 mode) {
    m_rollBlend = mode;
    TrackChanged();
}

void coCoasterPiece::SetSlope(float slope) {
    m_slope = slope;
    m_slopeTan = std::tan(slope);
    Build();
}

void coCoasterPiece::Connect(coCoasterPiece* previous) {
    if (previous)
        Place(previous->GetEnd(), previous->GetEndHeading(), previous);
    else
        Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f, nullptr);
}

void coCoasterPiece::Place(const maVector3d& start, float heading, coCoasterPiece* previous) {
    m_previous = previous;
    Place(start, heading);
}

void coCoasterPiece::Place(const maVector3d& start, float heading) {
    m_start = start;
    SetHeading(heading);
    Build();
}

void coCoasterPiece::SetRaised(bool raised) {
    m_flags = raised ? static_cast<u8>(m_flags | kRaisedFlag) : static_cast<u8>(m_flags & ~kRaisedFlag);
}

maVector3d coCoasterPiece::PointAt(float s, maVector3d* tangent) const {
    return Evaluate(ParamAt(s), tangent);
}

float coCoasterPiece::GetRoll(int) const {
    return m_roll;
}
bool coCoasterPiece::KeepsAttitude() const {
    return true;
}
float coCoasterPiece::GetSlope(int) const {
    return m_slope;
}
float coCoasterPiece::GetSlopeTan(int) const {
    return m_slopeTan;
}

void coCoasterPiece::AdjustParamB(float) {}
void coCoasterPiece::SetParamBNormalised(float) {}
float coCoasterPiece::GetParamBNormalised() const {
    return 0.0f;
}
bool coCoasterPiece::GetDragHandle(maVector3d&, float&) const {
    return false;
}
void coCoasterPiece::Drag(float) {}

void coCoasterPiece::Reverse() {
    ReverseFrom(GetEnd(), GetEndHeading());
}

void coCoasterPiece::ReverseFrom(const maVector3d& end, float endHeading) {
    SetSlope(-m_slope);
    SetRoll(-m_roll);
    Place(end, endHeading + maPiF);
    std::swap(m_previous, m_next);
    TrackChanged();
}

maMatrix4d coCoasterPiece::SideFrame(float s, float roll) const {
    maVector3d tangent;
    const maVector3d point = PointAt(s, &tangent);
    const maVector3d side = SideAt(s);
    return RolledFrame(side, coNormalised(coCross(tangent, side)), tangent, point, roll);
}

maVector3d coCoasterPiece::ForwardAt(float s) const {
    return FrameAt(s).GetZAxis();
}

maVector3d coCoasterPiece::TangentForwardAt(float s) const {
    maVector3d tangent;
    PointAt(s, &tangent);
    return IsAxis(tangent) ? tangent : coForward(m_heading);
}

maMatrix4d coCoasterPiece::RolledFrame(maVector3d side, maVector3d up, maVector3d forward,
                                       const maVector3d& point, float roll) const {
    if (!IsAxis(side) || !IsAxis(up) || !IsAxis(forward)) {
        // Up square to the forward axis and the heading's side (or, where they are parallel, its forward).
        if (!IsAxis(forward))
            forward = coForward(m_heading);
        forward.Cross(coSide(m_heading), up);
        if (!IsAxis(coNormalised(up)))
            forward.Cross(coForward(m_heading), up);
        up = coNormalised(up);
        up.Cross(forward, side);
        side = coNormalised(side);
    }
    if (roll != 0.0f) {
        // The rotation about the frame's own z axis mixes only its first two rows.
        const float c = std::cos(roll), s = std::sin(roll);
        const maVector3d rolledSide = side * c + up * s;
        up = side * -s + up * c;
        side = rolledSide;
    }
    return maMatrix4d(side.x, side.y, side.z, 0.0f, up.x, up.y, up.z, 0.0f, forward.x, forward.y, forward.z,
                      0.0f, point.x, point.y, point.z, 1.0f);
}

maMatrix4d coCoasterPiece::FrameLeaningUp(const maVector3d& point, const maVector3d& forward,
                                          const maVector3d& upHint, float roll) const {
    const maVector3d side = coNormalised(coCross(upHint, forward));
    return RolledFrame(side, coNormalised(coCross(forward, side)), forward, point, roll);
}

maMatrix4d coCoasterPiece::TurningSideFrame(float s, float turn, float roll) const {
    maVector3d forward;
    const maVector3d point = PointAt(s, &forward);
    // The turned side leans out of the plane square to a sloped track; squaring it keeps the frame a
    // rotation.
    const maVector3d up = coNormalised(coCross(forward, coSide(m_heading + s * turn)));
    return RolledFrame(coNormalised(coCross(up, forward)), up, forward, point, roll);
}

bool coCoasterPiece::ChordHandle(maVector3d& direction, float& length) const {
    const maVector3d chord = GetEnd() - GetStart();
    const float chordLength = chord.Length();
    if (!(chordLength > 0.0f))
        return false;
    direction = chord / chordLength;
    length = chordLength;
    return true;
}

maVector3d coCoasterPiece::SideAt(float) const {
    return HeadingSide();
}

float coCoasterPiece::GetSlopedSpan() const {
    return GetSpan() / std::cos(m_slope);
}

int coCoasterPiece::GetMaxRollBlendMode() const {
    return 2;
}

void coCoasterPiece::SampleCentreLine() {
    // The new shape is measured afresh, by this piece and by its neighbours.
    TrackChanged();
    maVector3d points[kSampleCount] = {};
    float t = 0.0f;
    for (maVector3d& point : points) {
        point = Evaluate(t, nullptr);
        t += kSampleStep;
    }
    m_arcTable.Build(points, kSampleCount);
}

coKeptBlendZones* coCoasterPiece::GetKeptZones() const {
    return g_frozenDepth == 0 ? nullptr : &m_keptZones;
}

u64 coTrackGeneration() {
    return g_trackGeneration;
}

coFrozenTrack::coFrozenTrack() {
    // Zones kept in an earlier scope may stem from a track that has changed since.
    if (g_frozenDepth++ == 0)
        TrackChanged();
}

coFrozenTrack::~coFrozenTrack() {
    --g_frozenDepth;
}
