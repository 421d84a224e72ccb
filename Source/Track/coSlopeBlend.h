#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <optional>

class coCoasterPiece;

// Where consecutive pieces differ in slope, the height profile bends into a parabolic fillet over the
// blend zones at the joint. 2D vectors here are (horizontal distance along the piece, height).

// (r cos e, r sin e) with r the sloped span and e the slope at that end; returns r.
float SlopedRunVector(const coCoasterPiece& piece, int atEnd, maVector2d& out);
// The fillet at an end (0 start, 1 end) is allowed unless a climb piece or a slope steeper than
// 75 degrees meets the joint.
bool coSlopeBlendAllowed(const coCoasterPiece& piece, int end);
// Height of the filleted profile above the piece's start at fraction s of its span, and its unit tangent.
float SlopeFilletHeight(const coCoasterPiece& piece, float s, maVector2d* tangent);
// False when the fillet at that end is not allowed; else the fillet's height over the straight line.
bool SlopeBlendOffset(const coCoasterPiece& piece, int end, float s, maVector2d* tangent, maVector2d& offset);
// The offset (along the travel direction, vertical) that a piece adds to its plain sloped centre line at
// curve parameter s, taken as the fraction of its span; the profile's direction goes to tangent, and the
// offset's derivative by s to rate. (0, 0), (1, tan slope) and (0, 0) away from the joints.
maVector2d VerticalProfileOffset(const coCoasterPiece& piece, float s, maVector2d* tangent,
                                 maVector2d* rate = nullptr);
// The same offset at the joint itself (end 0 or 1), for pieces whose shape is not a sloped line.
maVector2d EndBlendOffset(const coCoasterPiece& piece, int end, maVector2d* tangent);
// For pieces whose shape is not a sloped line: the cubic from the start to the end that leaves along
// the heading and arrives along endForward (horizontal), both bent into the joints' slope blending,
// its inner control points `reach` along those directions.
void coJointCurve(const coCoasterPiece& piece, const maVector3d& endForward, float reach,
                  maVector3d curve[4]);

// A profile vector (along the travel, up) laid onto a horizontal travel direction.
inline maVector3d coAlong(const maVector2d& profile, const maVector3d& horizontal) {
    return maVector3d(profile.x * horizontal.x, profile.y, profile.x * horizontal.z);
}

// What the fillets read of a piece and its neighbours: per joint the quadratic from its control points
// `from` and `to`, the horizontal distance `reach` from the joint back to where the zone starts, the
// zone's horizontal extent, the piece's slope tangent at that end and whether the fillet is allowed there.
// Where both sides of a joint with a zone on either side have the same slope, the fillet is that sloped
// line (`line`), whose unit direction is kept.
struct coSlopeZones {
    float span = 0.0f;
    float baseSlopeTan = 0.0f;
    float width = 0.0f;
    bool startZone = false;
    bool startAllowed = false;
    maVector2d startFrom;
    maVector2d startTo;
    float startReach = 0.0f;
    float startExtent = 0.0f;
    float startTan = 0.0f;
    bool startLine = false;
    maVector2d startDirection;
    bool endZone = false;
    bool endAllowed = false;
    maVector2d endFrom;
    maVector2d endTo;
    float endExtent = 0.0f;
    float endTan = 0.0f;
    bool endLine = false;
    maVector2d endDirection;
};
// Every zone, or with a fraction only the zone that the fraction lies in.
coSlopeZones coMeasureSlopeZones(const coCoasterPiece& piece, std::optional<float> s = std::nullopt);

// The quadratic Bezier with control points a, (0, 0), b.
maVector2d QuadPoint(const maVector2d& a, const maVector2d& b, float t);
maVector2d QuadTangent(const maVector2d& a, const maVector2d& b, float t);
// The parameter at which the curve has covered fraction f (clamped to [0, 1]) of its horizontal extent,
// exactly, for control points on either side of the joint (a.x <= 0 <= b.x), where x grows with t.
float QuadParamAtX(const maVector2d& a, const maVector2d& b, float f);
