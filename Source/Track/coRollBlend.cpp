#include "Source/Track/coRollBlend.h"

#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuitPieceList.h"
#include "Source/Track/coCoasterPiece.h"

#include <algorithm>

namespace {
constexpr float kRollBlendWidth = 0.3f;

// The share of a joint's roll zone on side a. Between pieces of zero span the widths decide, so that a
// side that does not blend takes no share and the roll stays continuous.
float ZoneShare(float zoneA, float zoneB, float widthA, float widthB) {
    return zoneA + zoneB != 0.0f ? zoneA / (zoneA + zoneB) : coBlendShare(widthA, widthB);
}
} // namespace

float coBlendShare(float a, float b) {
    const float sum = a + b;
    return sum != 0.0f ? a / sum : 0.5f;
}

float BlendWidth(const coCoasterPiece& piece, float defaultWidth) {
    int mode = std::min(piece.GetRollBlend(), piece.GetMaxRollBlendMode());
    if (&piece == coCircuitFirstPiece())
        mode = 1;
    if (mode == 0)
        return 0.0f;
    if (mode == 2)
        return 0.5f;
    return defaultWidth;
}

float RollAt(const coCoasterPiece& piece, float s) {
    const float roll = piece.GetRoll(0);
    const float w = BlendWidth(piece, kRollBlendWidth);
    if (w <= 0.0f)
        return roll;

    if (const coCoasterPiece* previous = piece.GetPrevious(); previous && s < w) {
        const float a = previous->GetRoll(1);
        const float b = piece.GetRoll(0);
        if (a == b)
            return roll;
        const float previousWidth = BlendWidth(*previous, kRollBlendWidth);
        const float k = ZoneShare(previousWidth * previous->GetSpan(), w * piece.GetSpan(), previousWidth, w);
        float d = b - a;
        WrapAngle(d);
        return a + (k + (s / w) * (1.0f - k)) * d;
    }

    if (const coCoasterPiece* next = piece.GetNext(); next && s > 1.0f - w) {
        const float a = next->GetRoll(0);
        const float b = piece.GetRoll(1);
        if (a != b) {
            const float nextWidth = BlendWidth(*next, kRollBlendWidth);
            const float share = ZoneShare(w * piece.GetSpan(), nextWidth * next->GetSpan(), w, nextWidth);
            const float k = share * (s - (1.0f - w)) / w;
            float d = a - b;
            WrapAngle(d);
            return roll + k * d;
        }
    }
    return roll;
}
