#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maMatrix.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/Track/coArcLengthTable.h"
#include "Source/Track/coRollBlend.h"
#include "Source/Track/coSlopeBlend.h"

#include <any>
#include <cmath>
#include <tuple>

// The track element a piece carries; the train reacts to it.
enum coTrackElement : i32 {
    coElementNone = 0,
    coElementChainLift = 1,
    coElementBrakes = 2,
    coElementBooster = 3,
    coElementRetarder = 4,
};

// v divided by its length when that is above 0; a zero vector is returned as it is.
inline maVector3d coNormalised(const maVector3d& v) {
    const float length = v.Length();
    return length > 0.0f ? v / length : v;
}

inline maVector3d coCross(const maVector3d& a, const maVector3d& b) {
    maVector3d out;
    a.Cross(b, out);
    return out;
}

// Horizontal travel direction of a heading: heading 0 travels towards +z.
inline maVector3d coForward(float heading) {
    return maVector3d(std::sin(heading), 0.0f, std::cos(heading));
}
// Horizontal side vector of a heading, square to coForward.
inline maVector3d coSide(float heading) {
    return maVector3d(std::cos(heading), 0.0f, -std::sin(heading));
}

// Blend zones kept under a coFrozenTrack, each with the track generation it was measured in.
struct coKeptBlendZones {
    u64 rollGeneration = 0;
    coRollZones roll;
    u64 slopeGeneration = 0;
    coSlopeZones slope;
};

// The count of changes to the track; zones kept in an older one are stale.
u64 coTrackGeneration();

// Kept zones, measured again when the track changed since the generation they were measured in.
template <class Zones, class Measure>
const Zones& coKeepZones(u64& generation, Zones& zones, Measure measure) {
    if (generation != coTrackGeneration()) {
        zones = measure();
        generation = coTrackGeneration();
    }
    return zones;
}

// The base of every track piece. A piece starts at a point with a heading, a slope and a roll, keeps the
// parameters of its own shape, and answers questions about its centre line.
//
// A piece class plugs in by giving its centre line as Evaluate (a curve parameter t in [0, 1] to a point
// and, when asked, its unit direction) and a Build that recomputes its derived fields and then calls
// SampleCentreLine. PointAt and GetLength then work by arc length through the base's table; FrameAt is the
// class's own, mostly SideFrame with the roll blended into the neighbours'. Every placement, SetSlope and
// parameter change ends in Build; SetRoll and SetHeading alone do not rebuild.
class coCoasterPiece {
  public:
    coCoasterPiece();
    virtual ~coCoasterPiece();
    coCoasterPiece(const coCoasterPiece&) = delete;
    coCoasterPiece& operator=(const coCoasterPiece&) = delete;

    // Stores the heading with its cosine and sine; does not rebuild.
    void SetHeading(float heading);
    // Stores the roll wrapped into [-pi, pi] (exactly +-pi stay); does not rebuild.
    void SetRoll(float roll);
    // Stores the slope and its tangent, then rebuilds.
    void SetSlope(float slope);
    // Places the piece at the end of the previous one, or at (0, 2, 0) heading 0 without one.
    // Slope and roll are not taken over here.
    void Connect(coCoasterPiece* previous);
    void Place(const maVector3d& start, float heading, coCoasterPiece* previous);
    // The same, leaving the previous link as it is.
    void Place(const maVector3d& start, float heading);

    maVector3d GetStart() const { return m_start; }
    float GetHeading() const { return m_heading; }
    // The slope field itself; GetSlope answers what the piece's shape makes of it at either end.
    float GetBaseSlope() const { return m_slope; }
    float GetBaseSlopeTan() const { return m_slopeTan; }

    // Numbers pieces in the order they were made, never reused: an identity that does not follow addresses.
    u64 GetSerial() const { return m_serial; }

    coCoasterPiece* GetPrevious() const { return m_previous; }
    coCoasterPiece* GetNext() const { return m_next; }
    void SetPrevious(coCoasterPiece* previous);
    void SetNext(coCoasterPiece* next);

    i32 GetTube() const { return m_tube; }
    void SetTube(i32 tube) { m_tube = tube; }
    i32 GetElement() const { return m_element; }
    void SetElement(i32 element) { m_element = element; }
    // 0, 1 or 2; blending reads it capped by GetMaxRollBlendMode.
    i32 GetRollBlend() const { return m_rollBlend; }
    void SetRollBlend(i32 mode);
    // Set when the terrain-clearance step has raised the piece's end.
    bool IsRaised() const { return (m_flags & kRaisedFlag) != 0; }
    void SetRaised(bool raised);

    // The centre-line point at fraction s in [0, 1] of the piece's length, and its unit tangent there.
    maVector3d PointAt(float s, maVector3d* tangent = nullptr) const;
    // Total arc length of the sampled centre line.
    float GetLength() const { return m_arcTable.GetTotal(); }

    // The roll at the start, or (atEnd 1) at the end for pieces whose roll changes along them.
    virtual float GetRoll(int atEnd) const;
    // False for pieces whose end slope or roll differs from their start.
    virtual bool KeepsAttitude() const;
    virtual float GetSlope(int atEnd) const;
    virtual float GetSlopeTan(int atEnd) const;

    // Parameter A: add delta (clamped to the class's limits), set from a fraction of its range, read as one.
    virtual void AdjustParamA(float delta) = 0;
    virtual void SetParamANormalised(float f) = 0;
    virtual float GetParamANormalised() const = 0;
    // Parameter B, the same; classes without one keep these defaults (nothing, nothing, 0).
    virtual void AdjustParamB(float delta);
    virtual void SetParamBNormalised(float f);
    virtual float GetParamBNormalised() const;
    // True when dragging lengthens the piece: the unit horizontal direction its end moves in and the
    // current draggable amount. The defaults: false, and a Drag that does nothing.
    virtual bool GetDragHandle(maVector3d& direction, float& amount) const;
    // Adds delta to the draggable amount without clamping and rebuilds.
    virtual void Drag(float delta);
    // Turns the piece about: it then runs from its old end to its old start, links swapped.
    virtual void Reverse();

    // Rows: side, up, tangent, position; rolled about the tangent by the blended roll.
    virtual maMatrix4d FrameAt(float s) const = 0;
    // The forward axis of FrameAt (s), its third row, for callers that need no more of the frame.
    virtual maVector3d ForwardAt(float s) const;
    // The horizontal unit vector square to the heading.
    virtual maVector3d SideAt(float s) const;
    // The horizontal run over which the slope applies.
    virtual float GetSpan() const = 0;
    virtual float GetSlopedSpan() const;
    virtual float GetEndHeading() const = 0;
    virtual maVector3d GetEnd() const = 0;
    // Samples of the terrain-clearance step; frames of the collision path and extrusion.
    virtual int GetTestPointCount() const = 0;
    virtual int GetSectionCount() const = 0;
    virtual int GetMaxRollBlendMode() const;
    // False for a class whose joints never take the plain slope fillet (the climb piece), whatever its pitch.
    virtual bool TakesSlopeFillet() const { return true; }
    // Recomputes the class's cached geometry from the start, heading, slope, roll and parameters.
    virtual void Build() = 0;
    // The parameters of the class's own shape, and giving back what KeepShape of the same piece returned:
    // the Finish puts every piece back exactly when the circuit does not close. PutShape only stores; a
    // placement or Build follows.
    virtual std::any KeepShape() const = 0;
    virtual void PutShape(const std::any& shape) = 0;

    // While a coFrozenTrack lives, where the blend functions keep the zones they measured of the piece and
    // its neighbours; null otherwise.
    coKeptBlendZones* GetKeptZones() const;

  protected:
    // The class's centre line at curve parameter t; the unit direction is written when asked for.
    virtual maVector3d Evaluate(float t, maVector3d* direction) const = 0;
    // The steps of Reverse after the old end and end heading are taken: slope and roll negated, placed at
    // the old end turned by pi, links swapped. Classes that change their shape first take the end before.
    void ReverseFrom(const maVector3d& end, float endHeading);
    // Samples Evaluate at 20 parameters (t from 0 in steps of the float 1/19) into the arc-length table.
    void SampleCentreLine();
    float ParamAt(float s) const { return m_arcTable.ParamAt(s); }
    // coForward and coSide of the heading, from the kept cosine and sine.
    maVector3d HeadingForward() const { return maVector3d(m_headingSin, 0.0f, m_headingCos); }
    maVector3d HeadingSide() const { return maVector3d(m_headingCos, 0.0f, -m_headingSin); }
    // The chord from start to end as a drag handle: its direction and length; false for a chord of 0.
    bool ChordHandle(maVector3d& direction, float& length) const;
    // KeepShape and PutShape of a class whose shape is a few fields: their values kept as a tuple.
    template <class... Fields> static std::any KeepFields(const Fields&... fields) {
        return std::tuple<Fields...>(fields...);
    }
    template <class... Fields> static void PutFields(const std::any& shape, Fields&... fields) {
        std::tie(fields...) = std::any_cast<const std::tuple<Fields...>&>(shape);
    }
    // The frame with rows side, up, forward and point, turned about its forward axis by roll. Shapes that
    // only files make (a curve climbing along its own up, control points on top of each other) can leave
    // an axis zero; the heading's axes then stand in, so that the frame is always a rotation.
    maMatrix4d RolledFrame(maVector3d side, maVector3d up, maVector3d forward, const maVector3d& point,
                           float roll) const;
    // The rolled frame at a point whose up leans towards upHint, squared to the forward axis.
    maMatrix4d FrameLeaningUp(const maVector3d& point, const maVector3d& forward, const maVector3d& upHint,
                              float roll) const;
    // The frame at fraction s with SideAt (s) for its side, turned about its forward axis by roll.
    maMatrix4d SideFrame(float s, float roll) const;
    // The frame at fraction s whose side is the heading's turned by s x turn, squared to the track.
    maMatrix4d TurningSideFrame(float s, float turn, float roll) const;
    // ForwardAt of the frames above (RolledFrame over the centre line's tangent), which keep the tangent
    // as their forward axis whatever the side, up and roll.
    maVector3d TangentForwardAt(float s) const;

    static constexpr u8 kRaisedFlag = 1;
    // Samples taken along every centre line for its arc-length table, a parameter step apart.
    static constexpr int kSampleCount = 20;
    static constexpr float kSampleStep = 0.05263158f; // 1/19

    maVector3d m_start;
    float m_heading = 0.0f;
    float m_headingCos = 1.0f;
    float m_headingSin = 0.0f;
    float m_roll = 0.0f;
    float m_slope = 0.0f;
    float m_slopeTan = 0.0f;
    coCoasterPiece* m_previous = nullptr;
    coCoasterPiece* m_next = nullptr;
    u64 m_serial;
    i32 m_tube = 0;
    i32 m_element = coElementNone;
    i32 m_rollBlend = 2;
    u8 m_flags = 0;
    coArcLengthTable m_arcTable;

  private:
    mutable coKeptBlendZones m_keptZones;
};

// While one lives, no piece of the track changes unless it is rebuilt, so the pieces can keep the blend
// zones they read of themselves and their neighbours, which a ride reads several times a car and step.
// Every rebuild, roll, link and blend-mode change inside makes the pieces measure again. Scopes nest.
class coFrozenTrack {
  public:
    coFrozenTrack();
    ~coFrozenTrack();
    coFrozenTrack(const coFrozenTrack&) = delete;
    coFrozenTrack& operator=(const coFrozenTrack&) = delete;
};
