#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <map>

class coCoasterPiece;
class coProp;

// The values of the pre-simulated ride, in the order the coaster file stores them. Speeds are in track
// units per second, G in g in the lead car's axes, heights the y of the lead car.
enum coRideStatIndex : int {
    coStatLowestSpeed,
    coStatHighestSpeed,
    coStatAverageSpeed,
    coStatHighestLateralG, // a magnitude
    coStatHighestVerticalG,
    coStatHighestForwardG,
    coStatLowestLateralG, // a magnitude
    coStatLowestVerticalG,
    coStatLowestForwardG,
    coStatLowestHeight,
    coStatHighestHeight,
    coStatCircuitLength,
    coStatRideTime,
    coStatCount
};

struct coRideStats {
    float values[coStatCount] = {};

    float operator[](int index) const { return values[index]; }
    float& operator[](int index) { return values[index]; }
};

// What the run saw of one piece, written when the train left it.
struct coRidePieceStats {
    // Speed and lead-car height just before the step that left the piece.
    float speed = 0.0f;
    float height = 0.0f;
    // Per axis the acceleration of the largest magnitude seen on the piece (forward: see the run).
    maVector3d g;
    // Seconds from the start of the run to the beginning of that step.
    float time = 0.0f;
    u8 measured = 0;
};

// Simulates the whole ride once, without display, from the start position at a fixed step, and replaces
// the record, the per-piece map and (when tracking) the prop visits.
void coRideComputeStats();
const coRideStats& coGetRideStats();
// Back to no statistics (all values 0), no piece entries and no prop visits: the pieces and props they
// name are about to go.
void coRideStatsClear();
// The piece's entry, or an all-zero entry (measured 0) for a piece the run did not record.
const coRidePieceStats& coRideStatsFind(const coCoasterPiece* piece);
const std::map<const coCoasterPiece*, coRidePieceStats>& coRideStatsPieces();

// Switching prop tracking off empties the visit list.
void coRideSetPropTracking(bool on);
// The longest stay near the prop, 0 when it has no record.
float coRidePropMeasure(const coProp* prop);
// 0 when the prop has no record or was never passed; otherwise 1 + the number of other ordered props
// passed first.
int coRidePropVisitOrder(const coProp* prop);
