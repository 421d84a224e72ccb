#pragma once
#include "Engine/Core/Env/envTypes.h"

class coCoasterPiece;
class coLoadingDock;
class coObject;
class coProp;
class coSpotObject;
class coTargetRing;

// The one thing the player works on in the editor, shared by the editor modes, their commands, the prop
// and dock tools and the focus camera. It points at what it selects and owns nothing.
enum coSelectionKind : i32 {
    coSelectionNone = 0,
    coSelectionPiece = 1,
    coSelectionProp = 2,
    coSelectionDock = 3,
    coSelectionRing = 4,
    coSelectionSpot = 5,
};

// At most the pointer of the kind is set. `object` is the pickable object the prop, dock, ring or spot
// pointer was taken from (null for a piece, and for a dock the park handed over without one).
struct coEditorSelection {
    i32 kind = coSelectionNone;
    coProp* prop = nullptr;
    coCoasterPiece* piece = nullptr;
    coLoadingDock* dock = nullptr;
    coTargetRing* ring = nullptr;
    coSpotObject* spot = nullptr;
    coObject* object = nullptr;
};

i32 coSelectionGetKind();
// The selected track piece, or null.
coCoasterPiece* coSelectionGetObject();
coProp* coSelectionGetProp();
coLoadingDock* coSelectionGetDock();
coTargetRing* coSelectionGetRing();
coSpotObject* coSelectionGetSpot();
// The selected prop, dock, ring or spot as a pickable object; never a piece.
coObject* coSelectionGetObjectBase();

void coSelectionSetPiece(coCoasterPiece* piece);
// Selects the object by what it is (the editor world tells); any other object, or null, clears.
void coSelectionSetObject(coObject* object);
void coSelectionSetDock(coLoadingDock* dock, coObject* object = nullptr);
// A prop the tools have just placed; it is its own pickable object.
void coSelectionSetProp(coProp* prop);
void coSelectionClear();

// "Select the dock": the park's dock, or the first piece of the circuit while the park has no dock (a
// cancelled new dock), so that nothing reads a dock selection without a dock; nothing on an empty circuit.
void coSelectLoadingDock();
