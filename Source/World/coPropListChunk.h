#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/Core/Env/envString.h"
#include "Engine/Core/Ma/maVector.h"

#include <vector>

class chWriter;

// The prop-list chunk and its children.
inline constexpr u32 coChunkPropList = chMakeId('C', 'P', 'R', 'L');
inline constexpr u32 coChunkPlacedProp = chMakeId('C', 'P', 'R', 'P');
inline constexpr u32 coChunkPlacedTrackProp = chMakeId('C', 'P', 'R', 'T');
inline constexpr u32 coChunkPropName = chMakeId('C', 'P', 'N', 'M');
inline constexpr u32 coChunkPropPose = chMakeId('C', 'P', 'P', 'O');
inline constexpr u32 coChunkTrackPropPlace = chMakeId('C', 'T', 'P', 'P');
inline constexpr u32 coChunkPropEvent = chMakeId('C', 'P', 'A', 'N');

// Props read from a file section and not placed yet; the prop list knows what it holds.
class coPendingProps {
  public:
    virtual ~coPendingProps() = default;
};

// One placed prop as its file section holds it: a plain prop stands at a position with a heading, a
// track prop at a fraction of a circuit piece. The prop list makes props of these once the world is
// cleared, so a file that fails half-way leaves the standing props as they were.
struct coPropRecord {
    envString name;
    bool track = false;
    maVector3d position;
    f32 heading = 0.0f;
    i32 pieceIndex = 0;
    f32 distance = 0.0f;
    i32 activeEvent = 0;
    bool hasEvent = false;
};

// The children of a prop-list chunk (the reader inside it), in file order. A prop whose pose or place is
// not finite is dropped with a warning; a value that runs past its chunk throws chInvalidChunkX.
void coReadPropRecords(chReader& reader, std::vector<coPropRecord>& out);
// One prop-list chunk; the event is written only for records that have one.
void coWritePropRecords(chWriter& writer, const std::vector<coPropRecord>& records);
