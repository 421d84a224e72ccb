#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/Core/Env/envTypes.h"

#include <memory>
#include <vector>

class chWriter;
class coCoasterPiece;

// The track chunk format: a piece list chunk holding one chunk per piece in circuit order, each with the
// piece's bank, slope, decorations and class parameters as small field chunks. The same tree is written
// in binary and in text form.

inline constexpr u32 coChunkPieceList = chMakeId('C', 'P', 'L', 'S');
inline constexpr u32 coChunkStraight = chMakeId('C', 'P', 'S', 'R');
inline constexpr u32 coChunkTurn = chMakeId('C', 'P', 'T', 'U');
inline constexpr u32 coChunkSTurn = chMakeId('C', 'P', 'S', 'T');
inline constexpr u32 coChunkLoop = chMakeId('C', 'P', 'L', 'P');
inline constexpr u32 coChunkCorkscrew = chMakeId('C', 'P', 'C', 'O');
inline constexpr u32 coChunkHalfLoop = chMakeId('C', 'P', 'H', 'L');
inline constexpr u32 coChunkHalfCorkscrew = chMakeId('C', 'P', 'H', 'C');
inline constexpr u32 coChunkUp = chMakeId('C', 'P', 'S', 'U');
inline constexpr u32 coChunkShallowTurn = chMakeId('C', 'P', 'S', 'H');
inline constexpr u32 coChunkCustom = chMakeId('C', 'P', 'C', 'U');

inline constexpr u32 coChunkChainLift = chMakeId('C', 'H', 'A', 'I');
inline constexpr u32 coChunkBrakes = chMakeId('B', 'R', 'A', 'K');
inline constexpr u32 coChunkBooster = chMakeId('B', 'O', 'O', 'S');
inline constexpr u32 coChunkRetarder = chMakeId('R', 'T', 'R', 'D');
inline constexpr u32 coChunkTube = chMakeId('T', 'U', 'B', 'E');
inline constexpr u32 coChunkRoll = chMakeId('T', 'W', 'S', 'T');
inline constexpr u32 coChunkSlope = chMakeId('E', 'L', 'E', 'V');
inline constexpr u32 coChunkLength = chMakeId('L', 'E', 'N', 'G');
inline constexpr u32 coChunkAngle = chMakeId('A', 'N', 'G', 'L');
inline constexpr u32 coChunkRadius = chMakeId('R', 'A', 'D', 'I');
inline constexpr u32 coChunkSlide = chMakeId('S', 'L', 'I', 'D');
inline constexpr u32 coChunkEndHeading = chMakeId('E', 'N', 'D', 'R');
inline constexpr u32 coChunkHeight = chMakeId('H', 'E', 'I', 'G');
inline constexpr u32 coChunkRevolutions = chMakeId('R', 'E', 'V', 'S');
inline constexpr u32 coChunkApproachAngle = chMakeId('A', 'A', 'N', 'G');
inline constexpr u32 coChunkRatio = chMakeId('A', 'L', 'E', 'N');
inline constexpr u32 coChunkInverted = chMakeId('I', 'N', 'V', 'T');
inline constexpr u32 coChunkCurve = chMakeId('C', 'U', 'R', 'V');
inline constexpr u32 coChunkControlPoints = chMakeId('C', 'P', 'T', 'S');

// The piece list chunk with one chunk per piece, in the given order.
void coWriteCoasterPieces(chWriter& writer, const std::vector<const coCoasterPiece*>& pieces);
// The chunk of the piece's class; a piece of an unknown class writes nothing.
void coWriteCoasterPiece(chWriter& writer, const coCoasterPiece& piece);

// Reads the piece chunks of a piece list (the reader inside it) and appends one new piece per known
// piece chunk; unknown chunks are skipped. The pieces come back unlinked, the first unplaced (the others
// stand where the chain put them while it was checked). A malformed list (a value out of its piece's
// range, or a piece whose shape is not finite where the chain places it) throws chInvalidChunkX and
// appends nothing.
void coReadCoasterPieces(chReader& reader, u16 version, u32 size,
                         std::vector<std::unique_ptr<coCoasterPiece>>& pieces);
// Takes a field chunk common to every class (bank, slope, track element, tube); false for other ids.
bool coReadPieceCommonField(chReader& reader, coCoasterPiece& piece, u32 id, u32 size);
