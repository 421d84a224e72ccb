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

float RollInZones(const coRollZones& z, float s) {
    const float w = z.width;
    if (w <= 0.0f)
        return z.roll;
    if (z.startZone && s < w)
        return z.startBlends ? z.startFrom + (z.startShare + (s / w) * (1.0f - z.startShare)) * z.startTurn
                             : z.roll;
    if (z.endZone && s > 1.0f - w && z.endBlends) {
        const float k = z.endShare * (s - (1.0f - w)) / w;
        return z.roll + k * z.endTurn;
    }
    return z.roll;
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

coRollZones coMeasureRollZones(const coCoasterPiece& piece, std::optional<float> s) {
    coRollZones zones;
    zones.roll = piece.GetRoll(0);
    zones.width = BlendWidth(piece, kRollBlendWidth);
    const float w = zones.width;
    if (w <= 0.0f)
        return zones;

    // RollInZones reads the start zone before the end zone.
    const coCoasterPiece* previous = piece.GetPrevious();
    const bool inStart = previous && (!s || *s < w);
    if (inStart) {
        zones.startZone = true;
        const float a = previous->GetRoll(1);
        const float b = zones.roll;
        zones.startBlends = a != b;
        if (zones.startBlends) {
            const float previousWidth = BlendWidth(*previous, kRollBlendWidth);
            zones.startFrom = a;
            zones.startShare =
                ZoneShare(previousWidth * previous->GetSpan(), w * piece.GetSpan(), previousWidth, w);
            zones.startTurn = b - a;
            WrapAngle(zones.startTurn);
        }
    }

    const coCoasterPiece* next = piece.GetNext();
    if (next && (!s || (!inStart && *s > 1.0f - w))) {
        zones.endZone = true;
        const float a = next->GetRoll(0);
        const float b = piece.GetRoll(1);
        zones.endBlends = a != b;
        if (zones.endBlends) {
            const float nextWidth = BlendWidth(*next, kRollBlendWidth);
            zones.endShare = ZoneShare(w * piece.GetSpan(), nextWidth * next->GetSpan(), w, nextWidth);
            zones.endTurn = a - b;
            WrapAngle(zones.endTurn);
        }
    }
    return zones;
}

float RollAt(const coCoasterPiece& piece, float s) {
    coKeptBlendZones* kept = piece.GetKeptZones();
    if (!kept)
        return RollInZones(coMeasureRollZones(piece, s), s);
    return RollInZones(
        coKeepZones(kept->rollGeneration, kept->roll, [&] { return coMeasureRollZones(piece); }), s);
}
