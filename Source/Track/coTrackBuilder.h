#pragma once
#include <array>

class coCoasterPiece;
class coPickPathMesh;

// A box of six floats: x minimum, x maximum, y minimum, y maximum, z minimum, z maximum.
using coWorldBox = std::array<float, 6>;

// What the circuit and its rules ask of the track geometry: the scene objects of pieces (mesh,
// supports, shadow, collision path) are dropped and rebuilt through it. The track geometry installs
// its builder; until then every call does nothing.
class coTrackBuilder {
  public:
    virtual ~coTrackBuilder() = default;

    // Drops every scene object of the piece; called before the piece is deleted.
    virtual void RemovePieceObjects(coCoasterPiece*) {}
    // Mode 0 rebuilds the piece, 1 also its previous and next piece, 2 every piece from it onwards.
    virtual void RebuildPieceObjects(coCoasterPiece*, int /*mode*/) {}
    // Remakes the supports of every piece from the given one round the circuit.
    virtual void RebuildSupports(coCoasterPiece*) {}
    // Remakes the supports and collision paths of the pieces near the box.
    virtual void RebuildNearBox(const coWorldBox&) {}
    // Adds the piece to, or removes it from, the pieces whose collision path is marked.
    virtual void SetPieceFlagged(coCoasterPiece*, bool) {}
    // The piece whose collision path the mesh is, or null.
    virtual coCoasterPiece* FindPieceByCollisionPath(const coPickPathMesh*) const { return nullptr; }
    // The shadow mode: any value but 0 means shadows are on.
    virtual int GetShadowsEnabled() const { return 0; }
    // The box of the piece's track mesh; out untouched when the piece has none.
    virtual void GetPieceBounds(const coCoasterPiece*, coWorldBox& /*out*/) const {}
    // The union of every piece's mesh box; with none, the empty box (every minimum above every maximum).
    virtual void GetTrackBounds(coWorldBox& out) const;
    virtual void ShowTrackObjects(bool) {}
    // Shows each shadow exactly when its track is shown and the "Track Shadows" preference is on.
    virtual void RefreshShadows() {}
};

coTrackBuilder& coGetTrackBuilder();
// Not owned; null restores the builder that does nothing.
void coSetTrackBuilder(coTrackBuilder* builder);
