#pragma once

class coCoasterPiece;

// Neighbouring pieces blend their roll and slope into each other over a zone at each joint.

// The fraction of the piece's span at each end that blends: 0 for mode 0, 0.5 for mode 2, the default
// for mode 1. The mode is capped by the class, and the circuit's first piece always blends as mode 1.
float BlendWidth(const coCoasterPiece& piece, float defaultWidth);
// The piece's roll at fraction s, blended into its neighbours' rolls the short way round. Both sides of
// a joint share one blend zone, so the roll is continuous across it.
float RollAt(const coCoasterPiece& piece, float s);
// a / (a + b): the share of a joint's blend zone lying on side a; an empty zone is shared equally.
float coBlendShare(float a, float b);
