#include "Source/Track/coTrackChunks.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Ch/chWriter.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceCustom.h"
#include "Source/Track/coCoasterPieceHalfLoop.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceShallowTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coCoasterPieceUp.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {
// x, y, z, slope, heading, roll, tangent scale.
constexpr u32 kControlPointBytes = 7 * 4;

// A field chunk's body. Binary chunks carry their size, and a value must not run past it into the next
// chunk; text chunks carry none, and their values are single tokens.
chChunkBody FieldBody(chReader& reader, u32 size) {
    if (dynamic_cast<const chBinReader*>(&reader))
        return chChunkBody(reader, size);
    return chChunkBody::Unsized(reader);
}

// Angles and offsets: any finite value. No shape is drawn from an infinite one.
float Finite(chChunkBody& field) {
    const float value = field.Float();
    if (!std::isfinite(value))
        field.Refuse();
    return value;
}

// Lengths, radii, heights and ratios: a piece of no size has no shape.
float Positive(chChunkBody& field) {
    const float value = Finite(field);
    if (!(value > 0.0f))
        field.Refuse();
    return value;
}

// A value the piece's setter refused is out of its range: the file holds no piece the game makes.
void Accepted(bool accepted) {
    if (!accepted)
        throw chInvalidChunkX();
}

// --- Writing

void WriteFloatField(chWriter& writer, u32 id, float value) {
    writer.BeginChunk(id, 0, false);
    writer.WriteFloat(value);
    writer.EndChunk();
}

void WritePresenceField(chWriter& writer, u32 id) {
    writer.BeginChunk(id, 0, false);
    writer.EndChunk();
}

void WriteCommonFields(chWriter& writer, const coCoasterPiece& piece) {
    static constexpr u32 kElementIds[] = {coChunkChainLift, coChunkBrakes, coChunkBooster, coChunkRetarder};
    const i32 element = piece.GetElement();
    if (element >= coElementChainLift && element <= coElementRetarder)
        WritePresenceField(writer, kElementIds[element - 1]);
    if (piece.GetTube() == 1)
        WritePresenceField(writer, coChunkTube);
    WriteFloatField(writer, coChunkRoll, piece.GetRoll(0));
    WriteFloatField(writer, coChunkSlope, piece.GetBaseSlope());
}

void WriteFields(chWriter& writer, const coCoasterPieceStraight& piece) {
    WriteFloatField(writer, coChunkLength, piece.GetRunLength());
}

void WriteFields(chWriter& writer, const coCoasterPieceTurn& piece) {
    WriteFloatField(writer, coChunkAngle, piece.GetAngle());
    WriteFloatField(writer, coChunkRadius, piece.GetRadius());
}

void WriteFields(chWriter& writer, const coCoasterPieceSTurn& piece) {
    WriteFloatField(writer, coChunkLength, piece.GetRunLength());
    WriteFloatField(writer, coChunkSlide, piece.GetSlide());
    if (piece.HasEndHeading())
        WriteFloatField(writer, coChunkEndHeading, piece.GetEndHeading());
}

void WriteFields(chWriter& writer, const coCoasterPieceLoop& piece) {
    WriteFloatField(writer, coChunkLength, piece.GetRunLength());
    WriteFloatField(writer, coChunkHeight, piece.GetHeight());
    WriteFloatField(writer, coChunkSlide, piece.GetSlide());
}

void WriteFields(chWriter& writer, const coCoasterPieceCorkscrew& piece) {
    WriteFloatField(writer, coChunkLength, piece.GetRunLength());
    WriteFloatField(writer, coChunkRadius, piece.GetRadius());
    if (piece.GetRevolutions() != 1) {
        writer.BeginChunk(coChunkRevolutions, 0, false);
        writer.WriteInt32(piece.GetRevolutions());
        writer.EndChunk();
    }
    WriteFloatField(writer, coChunkApproachAngle, piece.GetApproachAngle());
}

void WriteFields(chWriter& writer, const coCoasterPieceHalfLoop& piece) {
    WriteFloatField(writer, coChunkHeight, piece.GetHeight());
    WriteFloatField(writer, coChunkRatio, piece.GetRatio());
    if (piece.IsInverted())
        WritePresenceField(writer, coChunkInverted);
}

void WriteFields(chWriter& writer, const coCoasterPieceHalfCorkscrew& piece) {
    WriteFloatField(writer, coChunkAngle, piece.GetAngle());
    WriteFloatField(writer, coChunkRadius, piece.GetRadius());
    if (piece.IsDownward())
        WritePresenceField(writer, coChunkInverted);
}

void WriteFields(chWriter& writer, const coCoasterPieceUp& piece) {
    WriteFloatField(writer, coChunkAngle, piece.GetAngle());
    WriteFloatField(writer, coChunkLength, piece.GetRunLength());
    if (piece.IsDown())
        WritePresenceField(writer, coChunkInverted);
}

void WriteFields(chWriter& writer, const coCoasterPieceShallowTurn& piece) {
    WriteFloatField(writer, coChunkAngle, piece.GetAngle());
    WriteFloatField(writer, coChunkLength, piece.GetRunLength());
}

void WriteFields(chWriter& writer, const coCoasterPieceCustom& piece) {
    writer.BeginChunk(coChunkCurve, 0, true);
    writer.BeginChunk(coChunkControlPoints, 0, false);
    const int count = piece.GetPointCount();
    writer.WriteInt16(static_cast<i16>(count));
    for (int i = 0; i < count; ++i) {
        const coCustomPoint& point = piece.GetPoint(i);
        writer.WriteFloat(point.position.x);
        writer.WriteFloat(point.position.y);
        writer.WriteFloat(point.position.z);
        // The attributes go in the order slope, heading, roll, tangent scale.
        writer.WriteFloat(point.slope);
        writer.WriteFloat(point.heading);
        writer.WriteFloat(point.roll);
        writer.WriteFloat(point.tangentScale);
    }
    writer.EndChunk();
    writer.EndChunk();
}

template <class Piece> bool WritePieceAs(chWriter& writer, const coCoasterPiece& piece, u32 id) {
    const auto* typed = dynamic_cast<const Piece*>(&piece);
    if (!typed)
        return false;
    writer.BeginChunk(id, 0, true);
    WriteCommonFields(writer, piece);
    WriteFields(writer, *typed);
    writer.EndChunk();
    return true;
}

// --- Reading

void ReadField(chChunkBody& field, coCoasterPieceStraight& piece, u32 id) {
    if (id == coChunkLength)
        piece.SetRunLength(Positive(field));
}

void ReadField(chChunkBody& field, coCoasterPieceTurn& piece, u32 id) {
    if (id == coChunkAngle) {
        // A turn through no angle has no length.
        const float angle = Finite(field);
        if (angle == 0.0f)
            throw chInvalidChunkX();
        piece.SetAngle(angle);
    } else if (id == coChunkRadius) {
        piece.SetRadius(Positive(field));
    }
}

void ReadField(chChunkBody& field, coCoasterPieceSTurn& piece, u32 id) {
    if (id == coChunkLength)
        piece.SetRunLength(Positive(field));
    else if (id == coChunkSlide)
        piece.SetSlide(Finite(field));
    else if (id == coChunkEndHeading)
        piece.SetEndHeading(Finite(field));
}

void ReadField(chChunkBody& field, coCoasterPieceLoop& piece, u32 id) {
    if (id == coChunkLength)
        piece.SetRunLength(Positive(field));
    else if (id == coChunkHeight)
        piece.SetHeight(Positive(field));
    else if (id == coChunkSlide)
        piece.SetSlide(Finite(field));
}

void ReadField(chChunkBody& field, coCoasterPieceCorkscrew& piece, u32 id) {
    if (id == coChunkLength)
        piece.SetRunLength(Positive(field));
    else if (id == coChunkRadius)
        piece.SetRadius(Positive(field));
    else if (id == coChunkRevolutions)
        piece.SetRevolutions(field.Int32());
    else if (id == coChunkApproachAngle)
        Accepted(piece.SetApproachAngle(Finite(field)));
}

void ReadField(chChunkBody& field, coCoasterPieceHalfLoop& piece, u32 id) {
    if (id == coChunkHeight)
        piece.SetHeight(Positive(field));
    else if (id == coChunkRatio)
        piece.SetRatio(Positive(field));
    else if (id == coChunkInverted)
        piece.SetInverted(true);
}

void ReadField(chChunkBody& field, coCoasterPieceHalfCorkscrew& piece, u32 id) {
    if (id == coChunkAngle)
        Accepted(piece.SetAngle(Finite(field)));
    else if (id == coChunkRadius)
        piece.SetRadius(Positive(field));
    else if (id == coChunkInverted)
        piece.SetDownward(true);
}

void ReadField(chChunkBody& field, coCoasterPieceUp& piece, u32 id) {
    if (id == coChunkAngle) {
        Accepted(piece.SetAngle(Finite(field)));
        piece.Build();
    } else if (id == coChunkLength) {
        piece.SetRunLength(Positive(field));
        piece.Build();
    } else if (id == coChunkInverted) {
        piece.SetDown(true);
        piece.Build();
    }
}

void ReadField(chChunkBody& field, coCoasterPieceShallowTurn& piece, u32 id) {
    if (id == coChunkAngle)
        piece.SetAngle(Finite(field));
    else if (id == coChunkLength)
        piece.SetRunLength(Positive(field));
}

// The control points of a custom piece's curve: a count, then the records.
void ReadControlPoints(chChunkBody& field, coCoasterPieceCustom& piece) {
    const i16 count = field.Int16();
    if (count < 0)
        throw chInvalidChunkX();
    field.Require(static_cast<u64>(count), kControlPointBytes);
    std::vector<maVector3d> positions(static_cast<size_t>(count));
    std::vector<float> slopes(positions.size()), headings(positions.size()), rolls(positions.size()),
        tangentScales(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        positions[i].x = Finite(field);
        positions[i].y = Finite(field);
        positions[i].z = Finite(field);
        slopes[i] = Finite(field);
        headings[i] = Finite(field);
        rolls[i] = Finite(field);
        tangentScales[i] = Finite(field);
    }
    // Fewer than two points make no curve.
    if (!piece.SetPointsFromArrays(count, positions.data(), slopes.data(), headings.data(),
                                   tangentScales.data(), rolls.data()))
        throw chInvalidChunkX();
}

template <class Piece> void ReadPieceField(chReader& reader, u32 size, Piece& piece, u32 id) {
    chChunkBody field = FieldBody(reader, size);
    ReadField(field, piece, id);
}

// The curve chunk of a custom piece holds no values: its control points are a chunk of their own.
void ReadPieceField(chReader& reader, u32, coCoasterPieceCustom& piece, u32 id) {
    if (id != coChunkCurve)
        return;
    u32 childId = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&childId, &version, &size)) {
        if (childId == coChunkControlPoints) {
            chChunkBody points = FieldBody(reader, size);
            ReadControlPoints(points, piece);
        }
        reader.EndChunk();
    }
}

template <class Piece> std::unique_ptr<coCoasterPiece> ReadPieceAs(chReader& reader) {
    auto piece = std::make_unique<Piece>();
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (!coReadPieceCommonField(reader, *piece, id, size))
            ReadPieceField(reader, size, *piece, id);
        reader.EndChunk();
    }
    return piece;
}

// A custom piece without at least two control points has no shape.
std::unique_ptr<coCoasterPiece> ReadCustomPiece(chReader& reader) {
    std::unique_ptr<coCoasterPiece> piece = ReadPieceAs<coCoasterPieceCustom>(reader);
    if (static_cast<const coCoasterPieceCustom&>(*piece).GetPointCount() < 2)
        throw chInvalidChunkX();
    return piece;
}

bool IsFinite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Finite values can still make no shape: a length near the float range, or a vast ratio or radius, ends
// at infinity or leaves the frames undefined. Such a piece is a malformed file.
void CheckShape(const coCoasterPiece& piece) {
    if (!std::isfinite(piece.GetLength()) || !IsFinite(piece.GetEnd()) ||
        !std::isfinite(piece.GetEndHeading()))
        throw chInvalidChunkX();
    for (float s : {0.0f, 0.5f, 1.0f}) {
        maVector3d tangent;
        const maMatrix4d frame = piece.FrameAt(s);
        if (!IsFinite(piece.PointAt(s, &tangent)) || !IsFinite(tangent) ||
            !std::all_of(std::begin(frame.m), std::end(frame.m), [](float e) { return std::isfinite(e); }))
            throw chInvalidChunkX();
    }
}

// Pieces that are each finite alone can still make no finite shape beside their neighbours or far along
// the chain. They are linked and placed one after the other as the circuit does (the first where it
// stands), built with all their fields and neighbours, and checked; then the links are cut again, since
// placing them is the caller's (a refused list is dropped whole, links and all).
void CheckChain(const std::vector<std::unique_ptr<coCoasterPiece>>& pieces) {
    for (size_t i = 1; i < pieces.size(); ++i) {
        pieces[i]->SetPrevious(pieces[i - 1].get());
        pieces[i - 1]->SetNext(pieces[i].get());
    }
    for (size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            pieces[i]->Connect(pieces[i - 1].get()); // which builds it
        else
            pieces[i]->Build();
    }
    for (const auto& piece : pieces)
        CheckShape(*piece);
    for (const auto& piece : pieces) {
        piece->SetPrevious(nullptr);
        piece->SetNext(nullptr);
    }
}

// A new piece for a piece chunk; null for a chunk that is not one.
std::unique_ptr<coCoasterPiece> ReadPiece(chReader& reader, u32 id) {
    switch (id) {
    case coChunkStraight:
        return ReadPieceAs<coCoasterPieceStraight>(reader);
    case coChunkTurn:
        return ReadPieceAs<coCoasterPieceTurn>(reader);
    case coChunkSTurn:
        return ReadPieceAs<coCoasterPieceSTurn>(reader);
    case coChunkLoop:
        return ReadPieceAs<coCoasterPieceLoop>(reader);
    case coChunkCorkscrew:
        return ReadPieceAs<coCoasterPieceCorkscrew>(reader);
    case coChunkHalfLoop:
        return ReadPieceAs<coCoasterPieceHalfLoop>(reader);
    case coChunkHalfCorkscrew:
        return ReadPieceAs<coCoasterPieceHalfCorkscrew>(reader);
    case coChunkUp:
        return ReadPieceAs<coCoasterPieceUp>(reader);
    case coChunkShallowTurn:
        return ReadPieceAs<coCoasterPieceShallowTurn>(reader);
    case coChunkCustom:
        return ReadCustomPiece(reader);
    default:
        return nullptr;
    }
}
} // namespace

void coWriteCoasterPieces(chWriter& writer, const std::vector<const coCoasterPiece*>& pieces) {
    writer.BeginChunk(coChunkPieceList, 0, true);
    for (const coCoasterPiece* piece : pieces)
        coWriteCoasterPiece(writer, *piece);
    writer.EndChunk();
}

void coWriteCoasterPiece(chWriter& writer, const coCoasterPiece& piece) {
    WritePieceAs<coCoasterPieceStraight>(writer, piece, coChunkStraight) ||
        WritePieceAs<coCoasterPieceTurn>(writer, piece, coChunkTurn) ||
        WritePieceAs<coCoasterPieceSTurn>(writer, piece, coChunkSTurn) ||
        WritePieceAs<coCoasterPieceLoop>(writer, piece, coChunkLoop) ||
        WritePieceAs<coCoasterPieceCorkscrew>(writer, piece, coChunkCorkscrew) ||
        WritePieceAs<coCoasterPieceHalfLoop>(writer, piece, coChunkHalfLoop) ||
        WritePieceAs<coCoasterPieceHalfCorkscrew>(writer, piece, coChunkHalfCorkscrew) ||
        WritePieceAs<coCoasterPieceUp>(writer, piece, coChunkUp) ||
        WritePieceAs<coCoasterPieceShallowTurn>(writer, piece, coChunkShallowTurn) ||
        WritePieceAs<coCoasterPieceCustom>(writer, piece, coChunkCustom);
}

void coReadCoasterPieces(chReader& reader, u16, u32, std::vector<std::unique_ptr<coCoasterPiece>>& pieces) {
    // The pieces stay owned here until the whole list has been read.
    std::vector<std::unique_ptr<coCoasterPiece>> read;
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        std::unique_ptr<coCoasterPiece> piece = ReadPiece(reader, id);
        reader.EndChunk();
        if (piece)
            read.push_back(std::move(piece));
    }
    CheckChain(read);
    for (auto& piece : read)
        pieces.push_back(std::move(piece));
}

bool coReadPieceCommonField(chReader& reader, coCoasterPiece& piece, u32 id, u32 size) {
    chChunkBody field = FieldBody(reader, size);
    switch (id) {
    case coChunkRoll:
        piece.SetRoll(Finite(field));
        return true;
    case coChunkSlope:
        piece.SetSlope(Finite(field));
        return true;
    case coChunkChainLift:
        piece.SetElement(coElementChainLift);
        return true;
    case coChunkBrakes:
        piece.SetElement(coElementBrakes);
        return true;
    case coChunkBooster:
        piece.SetElement(coElementBooster);
        return true;
    case coChunkRetarder:
        piece.SetElement(coElementRetarder);
        return true;
    case coChunkTube:
        piece.SetTube(1);
        return true;
    default:
        return false;
    }
}
