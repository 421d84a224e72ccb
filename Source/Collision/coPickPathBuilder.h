#pragma once
#include "Source/Collision/coPickPathMesh.h"

class coCoasterPiece;

// The pick-path mesh of a placed piece, from the current coaster definition: at the piece's section
// count of frames, evenly spread over its length from start to end, the centre point (the extrusion
// offset in the frame), a ring of the extrusion polygon's points (a grid row, when the polygon has at
// least two) and, when the pick-path radius is above 0, the frame's origin as a pick point.
coPickPathMesh coBuildPickPathMesh(const coCoasterPiece& piece);
