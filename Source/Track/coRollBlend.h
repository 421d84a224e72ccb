#pragma once

#include <optional>

class coCoasterPiece;

// Neighbouring pieces blend their roll and slope into each other over a zone at each joint.

// The fraction of the piece's span at each end that blends: 0 for mode 0, 0.5 for mode 2, the default
// for mode 1. The mode is capped by the class, and the circuit's first piece always blends as mode 1.
float BlendWidth(const coCoasterPiece& piece, float defaultWidth);
// The piece's roll at fraction s, blended into its neighbours' rolls the short way round. Both sides of
// a joint share one blend zone, so the roll is continuous across it.
float RollAt(const coCoasterPiece& piece, float s);

// What RollAt reads of a piece and its neighbours, reduced to the blend of each zone.
struct coRollZones {
    float roll = 0.0f;
    float width = 0.0f;
    // A previous piece: its zone is the start, where the roll runs from startFrom by startTurn, and
    // startShare of the zone lies on the previous piece.
    bool startZone = false;
    bool startBlends = false;
    float startFrom = 0.0f;
    float startShare = 0.0f;
    float startTurn = 0.0f;
    // A next piece, whose zone turns the roll by endTurn, endShare of the zone lying on this piece.
    bool endZone = false;
    bool endBlends = false;
    float endShare = 0.0f;
    float endTurn = 0.0f;
};
// Every zone, or with a fraction only the zone that the fraction lies in.
coRollZones coMeasureRollZones(const coCoasterPiece& piece, std::optional<float> s = std::nullopt);
// a / (a + b): the share of a joint's blend zone lying on side a; an empty zone is shared equally.
float coBlendShare(float a, float b);
