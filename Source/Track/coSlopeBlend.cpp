#include "Source/Track/coSlopeBlend.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coRollBlend.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kSlopeBlendWidth = 0.2f;
constexpr float kMaxFilletSlope = coDegrees(75.0f);

maVector2d Normalised(const maVector2d& v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y);
    return length > 0.0f ? v / length : v;
}

// The fillet's direction; a fillet shrunk to a point (pieces of zero span) leaves the piece's own.
maVector2d FilletTangent(const maVector2d& a, const maVector2d& b, float u, float slopeTan) {
    const maVector2d t = QuadTangent(a, b, u);
    return t.x == 0.0f && t.y == 0.0f ? maVector2d(1.0f, slopeTan) : t;
}

maVector2d QuadDerivative(const maVector2d& a, const maVector2d& b, float t) {
    return a * (-2.0f * (1.0f - t)) + b * (2.0f * t);
}

// The plain fillet's results for VerticalProfileOffset: its direction, and the rate of the offset, whose
// height is the fillet's less the end's sloped line and whose run is the span's share.
void SetProfileSlope(const coSlopeZones& z, float endTan, const maVector2d& direction, maVector2d* tangent,
                     maVector2d* rate) {
    if (tangent)
        *tangent = direction;
    if (rate) {
        const float slope = direction.x != 0.0f ? direction.y / direction.x : endTan;
        *rate = maVector2d(0.0f, z.span * (slope - endTan));
    }
}

float FilletHeightInZones(const coSlopeZones& z, float s, maVector2d* tangent) {
    const float span = z.span;
    const float slopeTan = z.baseSlopeTan;
    const float w = z.width;

    // On a line the fillet's height is the piece's own; the fraction stays inside the zone, where the
    // fillet is not clamped.
    if (z.startZone && s < w) {
        if (z.startLine && s >= 0.0f) {
            if (tangent)
                *tangent = z.startDirection;
            return span * slopeTan * s;
        }
        const float extent = z.startExtent;
        const float u =
            QuadParamAtX(z.startFrom, z.startTo, extent != 0.0f ? (z.startReach + s * span) / extent : 0.0f);
        if (tangent)
            *tangent = FilletTangent(z.startFrom, z.startTo, u, slopeTan);
        return QuadPoint(z.startFrom, z.startTo, u).y - s * span * (z.startTan - slopeTan);
    }

    if (z.endZone && s > 1.0f - w) {
        if (z.endLine && s <= 1.0f) {
            if (tangent)
                *tangent = z.endDirection;
            return span * slopeTan * s;
        }
        const float extent = z.endExtent;
        const float f = extent != 0.0f ? (s - (1.0f - w)) * span / extent : 0.0f;
        const float u = QuadParamAtX(z.endFrom, z.endTo, f);
        if (tangent)
            *tangent = FilletTangent(z.endFrom, z.endTo, u, slopeTan);
        return span * slopeTan + QuadPoint(z.endFrom, z.endTo, u).y -
               (s - 1.0f) * span * (z.endTan - slopeTan);
    }

    if (tangent)
        *tangent = maVector2d(1.0f, slopeTan);
    return span * slopeTan * s;
}

bool SlopeAllowed(const coCoasterPiece& piece, int end) {
    return piece.TakesSlopeFillet() && std::fabs(piece.GetSlope(end)) <= kMaxFilletSlope;
}

// The fallback fillet at the joint between two pieces, built from their sloped runs where the plain
// fillet is not allowed: the quadratic from a (back along the piece before) through the joint to b
// (along the piece after), and the share k of the zone on the side of a.
struct RunFillet {
    maVector2d a;
    maVector2d b;
    float k;
};

RunFillet JointRunFillet(const coCoasterPiece& before, float beforeWidth, const coCoasterPiece& after,
                         float afterWidth) {
    maVector2d into;
    maVector2d outOf;
    const float beforeRun = SlopedRunVector(before, 1, into);
    const float afterRun = SlopedRunVector(after, 0, outOf);
    return {(into * beforeWidth) * -1.0f, outOf * afterWidth,
            coBlendShare(beforeRun * beforeWidth, afterRun * afterWidth)};
}

RunFillet StartRunFillet(const coCoasterPiece& piece, const coCoasterPiece& previous, float w) {
    return JointRunFillet(previous, BlendWidth(previous, kSlopeBlendWidth), piece, w);
}

RunFillet EndRunFillet(const coCoasterPiece& piece, const coCoasterPiece& next, float w) {
    return JointRunFillet(piece, w, next, BlendWidth(next, kSlopeBlendWidth));
}

// VerticalProfileOffset over the piece's zones; the piece itself serves the joints that take the
// fallback fillet.
maVector2d ProfileOffsetInZones(const coCoasterPiece& piece, const coSlopeZones& z, float s,
                                maVector2d* tangent, maVector2d* rate) {
    const float w = z.width;
    maVector2d offset(0.0f, 0.0f);
    maVector2d direction;
    if (w > 0.0f) {
        if (z.startZone && s < w) {
            if (z.startAllowed) {
                offset =
                    maVector2d(0.0f, FilletHeightInZones(z, s, &direction) - z.span * z.baseSlopeTan * s);
                SetProfileSlope(z, z.startTan, direction, tangent, rate);
                return offset;
            }
            // Measured from the joint at the piece's start: the fillet less the piece's own sloped line.
            const RunFillet fillet = StartRunFillet(piece, *piece.GetPrevious(), w);
            const float u = fillet.k + (1.0f - fillet.k) * (s / w);
            if (tangent)
                *tangent = FilletTangent(fillet.a, fillet.b, u, z.baseSlopeTan);
            if (rate)
                *rate = (QuadDerivative(fillet.a, fillet.b, u) * (1.0f - fillet.k) - fillet.b) / w;
            return QuadPoint(fillet.a, fillet.b, u) - fillet.b * (s / w);
        }
        if (z.endZone && s > 1.0f - w) {
            if (z.endAllowed) {
                offset =
                    maVector2d(0.0f, FilletHeightInZones(z, s, &direction) - z.span * z.baseSlopeTan * s);
                SetProfileSlope(z, z.endTan, direction, tangent, rate);
                return offset;
            }
            // Measured from the joint at the piece's end; fillet.a is the piece's own run reversed.
            const RunFillet fillet = EndRunFillet(piece, *piece.GetNext(), w);
            const float u = (s - (1.0f - w)) * fillet.k / w;
            if (tangent)
                *tangent = FilletTangent(fillet.a, fillet.b, u, z.baseSlopeTan);
            if (rate)
                *rate = (QuadDerivative(fillet.a, fillet.b, u) * fillet.k + fillet.a) / w;
            return QuadPoint(fillet.a, fillet.b, u) + fillet.a * (s - 1.0f) / w;
        }
    }
    if (tangent)
        *tangent = maVector2d(1.0f, z.baseSlopeTan);
    if (rate)
        *rate = offset;
    return offset;
}

} // namespace

float SlopedRunVector(const coCoasterPiece& piece, int atEnd, maVector2d& out) {
    const float run = piece.GetSlopedSpan();
    const float slope = piece.GetSlope(atEnd);
    out = maVector2d(run * std::cos(slope), run * std::sin(slope));
    return run;
}

bool coSlopeBlendAllowed(const coCoasterPiece& piece, int end) {
    if (!SlopeAllowed(piece, end))
        return false;
    if (end == 0) {
        const coCoasterPiece* previous = piece.GetPrevious();
        return !previous || SlopeAllowed(*previous, 1);
    }
    if (end == 1) {
        const coCoasterPiece* next = piece.GetNext();
        return !next || SlopeAllowed(*next, 0);
    }
    return true;
}

coSlopeZones coMeasureSlopeZones(const coCoasterPiece& piece, std::optional<float> s) {
    coSlopeZones zones;
    zones.span = piece.GetSpan();
    zones.baseSlopeTan = piece.GetBaseSlopeTan();
    zones.width = BlendWidth(piece, kSlopeBlendWidth);
    const float span = zones.span;
    const float w = zones.width;

    // The zones are read start first.
    const coCoasterPiece* previous = piece.GetPrevious();
    const bool inStart = previous && (!s || *s < w);
    if (inStart) {
        const float a = BlendWidth(*previous, kSlopeBlendWidth) * previous->GetSpan();
        const float b = w * span;
        zones.startZone = true;
        zones.startAllowed = coSlopeBlendAllowed(piece, 0);
        zones.startTan = piece.GetSlopeTan(0);
        const float previousTan = previous->GetSlopeTan(1);
        zones.startFrom = maVector2d(-a, -a * previousTan);
        zones.startTo = maVector2d(b, b * zones.startTan);
        zones.startReach = a;
        zones.startExtent = a + b;
        zones.startLine = a > 0.0f && b > 0.0f && previousTan == zones.startTan;
        zones.startDirection = Normalised(maVector2d(1.0f, zones.startTan));
    }

    const coCoasterPiece* next = piece.GetNext();
    if (next && (!s || (!inStart && *s > 1.0f - w))) {
        const float b = w * span;
        const float a = BlendWidth(*next, kSlopeBlendWidth) * next->GetSpan();
        zones.endZone = true;
        zones.endAllowed = coSlopeBlendAllowed(piece, 1);
        zones.endTan = piece.GetSlopeTan(1);
        zones.endFrom = maVector2d(-b, -b * zones.endTan);
        const float nextTan = next->GetSlopeTan(0);
        zones.endTo = maVector2d(a, a * nextTan);
        zones.endExtent = a + b;
        zones.endLine = a > 0.0f && b > 0.0f && nextTan == zones.endTan;
        zones.endDirection = Normalised(maVector2d(1.0f, zones.endTan));
    }
    return zones;
}

namespace {
// The zones kept under a frozen track, measured again when the track changed since; null when unfrozen.
const coSlopeZones* KeptSlopeZones(const coCoasterPiece& piece) {
    coKeptBlendZones* kept = piece.GetKeptZones();
    if (!kept)
        return nullptr;
    return &coKeepZones(kept->slopeGeneration, kept->slope, [&] { return coMeasureSlopeZones(piece); });
}
} // namespace

float SlopeFilletHeight(const coCoasterPiece& piece, float s, maVector2d* tangent) {
    const coSlopeZones* kept = KeptSlopeZones(piece);
    return FilletHeightInZones(kept ? *kept : coMeasureSlopeZones(piece, s), s, tangent);
}

bool SlopeBlendOffset(const coCoasterPiece& piece, int end, float s, maVector2d* tangent,
                      maVector2d& offset) {
    if (!coSlopeBlendAllowed(piece, end))
        return false;
    const float height = SlopeFilletHeight(piece, s, tangent);
    offset = maVector2d(0.0f, height - piece.GetSpan() * piece.GetBaseSlopeTan() * s);
    return true;
}

maVector2d VerticalProfileOffset(const coCoasterPiece& piece, float s, maVector2d* tangent,
                                 maVector2d* rate) {
    const coSlopeZones* kept = KeptSlopeZones(piece);
    return ProfileOffsetInZones(piece, kept ? *kept : coMeasureSlopeZones(piece, s), s, tangent, rate);
}

maVector2d EndBlendOffset(const coCoasterPiece& piece, int end, maVector2d* tangent) {
    const float w = BlendWidth(piece, kSlopeBlendWidth);
    const coCoasterPiece* neighbour = end == 0 ? piece.GetPrevious() : end == 1 ? piece.GetNext() : nullptr;
    maVector2d offset;
    maVector2d direction;
    // The value the neighbour reaches at the joint: its plain fillet where allowed, else the fallback
    // point at u = k.
    if (neighbour && w > 0.0f && !SlopeBlendOffset(piece, end, end == 0 ? 0.0f : 1.0f, &direction, offset)) {
        const RunFillet fillet =
            end == 0 ? StartRunFillet(piece, *neighbour, w) : EndRunFillet(piece, *neighbour, w);
        offset = QuadPoint(fillet.a, fillet.b, fillet.k);
        direction = QuadTangent(fillet.a, fillet.b, fillet.k);
    }
    // Without a neighbour or a blend zone on this side (or where the fillet shrinks to a point) the
    // piece keeps its own direction.
    if (!neighbour || w <= 0.0f || (direction.x == 0.0f && direction.y == 0.0f)) {
        const float slope = piece.GetSlope(end);
        direction = maVector2d(std::cos(slope), std::sin(slope));
    }
    if (tangent)
        *tangent = direction;
    return offset;
}

void coJointCurve(const coCoasterPiece& piece, const maVector3d& endForward, float reach,
                  maVector3d curve[4]) {
    maVector2d startDirection;
    maVector2d endDirection;
    const maVector2d startOffset = EndBlendOffset(piece, 0, &startDirection);
    const maVector2d endOffset = EndBlendOffset(piece, 1, &endDirection);
    const maVector3d startForward = coForward(piece.GetHeading());
    curve[0] = piece.GetStart() + coAlong(startOffset, startForward);
    curve[3] = piece.GetEnd() + coAlong(endOffset, endForward);
    curve[1] = curve[0] + coAlong(startDirection, startForward) * reach;
    curve[2] = curve[3] - coAlong(endDirection, endForward) * reach;
}

maVector2d QuadPoint(const maVector2d& a, const maVector2d& b, float t) {
    const float u = 1.0f - t;
    return a * (u * u) + b * (t * t);
}

maVector2d QuadTangent(const maVector2d& a, const maVector2d& b, float t) {
    return Normalised(QuadDerivative(a, b, t));
}

float QuadParamAtX(const maVector2d& a, const maVector2d& b, float f) {
    // x(t) = a.x (1 - t)^2 + b.x t^2 has covered f of its extent where (q - p) t^2 + 2 p t = f (p + q),
    // with p = -a.x and q = b.x. The root in [0, 1] is written without q - p in a denominator, so that
    // equal widths (no t^2 term, t = f) need no case of their own.
    const float p = -a.x;
    const float q = b.x;
    const float covered = std::clamp(f, 0.0f, 1.0f);
    const float reached = covered * (p + q);
    const float root = p + std::sqrt(std::max(p * p + (q - p) * reached, 0.0f));
    // Without horizontal extent the parameter stands for the fraction.
    return root > 0.0f ? reached / root : covered;
}
