#include "Source/Track/coPieceLimits.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"

#include <algorithm>

namespace {
constexpr float kStraightLengthMin = 5.0f;
constexpr float kStraightLengthMax = 40.0f;
constexpr float kTurnAngleMin = coDegrees(15.0f);
constexpr float kTurnAngleMax = coDegrees(180.0f);
constexpr float kTurnRadiusMin = 5.0f;
constexpr float kTurnRadiusMax = 40.0f;
constexpr float kShallowTurnAngleMin = coDegrees(1.0f);
constexpr float kShallowTurnAngleMax = coDegrees(30.0f);
constexpr float kSTurnOffsetMin = -40.0f;
constexpr float kSTurnOffsetMax = 40.0f;
constexpr float kUpLengthMin = 20.0f;
constexpr float kUpLengthMax = 40.0f;
constexpr float kLoopLengthMin = 20.0f;
constexpr float kLoopLengthMax = 50.0f;
constexpr float kLoopHeightMin = 20.0f;
constexpr float kLoopHeightMax = 50.0f;
constexpr float kHalfLoopRatioMin = 0.5555556f;
constexpr float kHalfLoopRatioMax = 1.1111112f;
constexpr float kHalfLoopHeightMin = 10.0f;
constexpr float kHalfLoopHeightMax = 50.0f;
constexpr float kCorkscrewLengthMin = 20.0f;
constexpr float kCorkscrewLengthMax = 50.0f;
constexpr float kCorkscrewRadiusMin = 5.0f;
constexpr float kCorkscrewRadiusMax = 12.0f;
constexpr float kHalfCorkscrewRadiusMin = 5.0f;
constexpr float kHalfCorkscrewRadiusMax = 25.0f;
constexpr float kHalfCorkscrewAngleMin = coDegrees(0.0001f);
constexpr float kHalfCorkscrewAngleMax = coDegrees(180.0f);

constexpr float kWorldMaxHeight = 200.0f;
constexpr float kMaxSlope = coDegrees(75.0f);
constexpr float kRollingMaxSlope = coDegrees(30.0f);
constexpr float kMaxUninvertedRoll = coDegrees(54.0f);
} // namespace

float GetStraightLengthMin() {
    return kStraightLengthMin;
}
float GetStraightLengthMax() {
    return kStraightLengthMax;
}
float GetTurnAngleMin() {
    return kTurnAngleMin;
}
float GetTurnAngleMax() {
    return kTurnAngleMax;
}
float GetTurnRadiusMin() {
    return kTurnRadiusMin;
}
float GetTurnRadiusMax() {
    return kTurnRadiusMax;
}
float GetShallowTurnAngleMin() {
    return kShallowTurnAngleMin;
}
float GetShallowTurnAngleMax() {
    return kShallowTurnAngleMax;
}
float GetSTurnOffsetMin() {
    return kSTurnOffsetMin;
}
float GetSTurnOffsetMax() {
    return kSTurnOffsetMax;
}
float GetUpLengthMin() {
    return kUpLengthMin;
}
float GetUpLengthMax() {
    return kUpLengthMax;
}
float GetLoopLengthMin() {
    return kLoopLengthMin;
}
float GetLoopLengthMax() {
    return kLoopLengthMax;
}
float GetLoopHeightMin() {
    return kLoopHeightMin;
}
float GetLoopHeightMax() {
    return kLoopHeightMax;
}
float GetHalfLoopRatioMin() {
    return kHalfLoopRatioMin;
}
float GetHalfLoopRatioMax() {
    return kHalfLoopRatioMax;
}
float GetHalfLoopHeightMin() {
    return kHalfLoopHeightMin;
}
float GetHalfLoopHeightMax() {
    return kHalfLoopHeightMax;
}
float GetCorkscrewLengthMin() {
    return kCorkscrewLengthMin;
}
float GetCorkscrewLengthMax() {
    return kCorkscrewLengthMax;
}
float GetCorkscrewRadiusMin() {
    return kCorkscrewRadiusMin;
}
float GetCorkscrewRadiusMax() {
    return kCorkscrewRadiusMax;
}
float GetHalfCorkscrewRadiusMin() {
    return kHalfCorkscrewRadiusMin;
}
float GetHalfCorkscrewRadiusMax() {
    return kHalfCorkscrewRadiusMax;
}
float GetHalfCorkscrewAngleMin() {
    return kHalfCorkscrewAngleMin;
}
float GetHalfCorkscrewAngleMax() {
    return kHalfCorkscrewAngleMax;
}

float GetWorldMaxHeight() {
    return kWorldMaxHeight;
}

bool coStepWithin(float& value, float delta, float minimum, float maximum) {
    const float next = std::clamp(value + delta, minimum, maximum);
    if (next == value)
        return false;
    value = next;
    return true;
}

float coStepMagnitude(float angle, float delta, float minimum, float maximum) {
    return angle > 0.0f ? std::clamp(angle + delta, minimum, maximum)
                        : std::clamp(angle - delta, -maximum, -minimum);
}

float coFromNormalised(float t, float minimum, float maximum) {
    return minimum + (maximum - minimum) * std::clamp(t, 0.0f, 1.0f);
}

float coToNormalised(float value, float minimum, float maximum) {
    return (value - minimum) / (maximum - minimum);
}

float coSignedFromNormalised(float angle, float t, float minimum, float maximum) {
    const float magnitude = coFromNormalised(t, minimum, maximum);
    return angle <= 0.0f ? -magnitude : magnitude;
}

bool ClampDelta(float current, float minimum, float maximum, float& delta) {
    const float next = current + delta;
    if (next > maximum) {
        if (maximum - current <= 0.0f)
            return false;
        delta = maximum - current;
    } else if (next < minimum) {
        if (minimum - current >= 0.0f)
            return false;
        delta = minimum - current;
    }
    return true;
}

// Every class takes 75 degrees but the loop and corkscrew classes, held to 30.
float MaxSlopeFor(const coCoasterPiece& piece) {
    if (dynamic_cast<const coCoasterPieceLoop*>(&piece) ||
        dynamic_cast<const coCoasterPieceCorkscrew*>(&piece))
        return kRollingMaxSlope;
    return kMaxSlope;
}

bool coSlopeWithinLimits(const coCoasterPiece& piece, float& delta) {
    const float limit = MaxSlopeFor(piece);
    return ClampDelta(piece.GetBaseSlope(), -limit, limit, delta);
}

bool coRollWithinLimits(const coCoasterPiece& piece, float delta) {
    if (coGetCoasterDefinition().GetAllowInvertPieces())
        return true;
    const float roll = piece.GetRoll(0) + delta;
    return roll >= -kMaxUninvertedRoll && roll <= kMaxUninvertedRoll;
}
