#pragma once
#include "Source/Collision/coPickPathMesh.h"

class coCoasterPiece;

// The pick-path mesh of a placed piece: its frames at section count + 1 even fractions of its length
// as the centre points, and in each frame a closed square of the pick radius (across and up) as one grid
// row of 5 points. The pick points repeat the centre points when the definition sets a pick-path radius.
// The track geometry's extrusion takes this over once it exists.
coPickPathMesh coBuildPickPathMesh(const coCoasterPiece& piece);
