#pragma once
#include "Source/World/coProp.h"

class coCoasterPiece;

// A prop that rides on a track piece at a fraction of its length and follows the piece when the
// circuit is rebuilt. Read from a file it knows only the piece's index until it is placed.
class coTrackProp : public coProp {
  public:
    explicit coTrackProp(coPropTemplate& propTemplate) : coProp(propTemplate) {}

    coCoasterPiece* GetPiece() const { return m_piece; }
    void SetPiece(coCoasterPiece* piece) { m_piece = piece; }
    // The piece's index in the circuit: as read until placed, the piece's own once placed.
    i32 GetPieceIndex() const;
    void SetPieceIndex(i32 index) { m_pieceIndex = index; }
    f32 GetDistance() const { return m_distance; }
    // A fraction of the piece, kept within 0..1.
    void SetDistance(f32 distance);
    // Puts the prop on its piece at its distance. An index outside the circuit leaves the prop unplaced
    // and hidden, with a warning; it keeps the index to save it again.
    void PlaceOnTrack();

  private:
    coCoasterPiece* m_piece = nullptr;
    f32 m_distance = 0.0f;
    i32 m_pieceIndex = 0;
};
