#include "Source/World/coPropListChunk.h"

#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chWriter.h"
#include "Engine/Core/Env/dbgLog.h"

#include <cmath>

namespace {

bool IsFinite(std::initializer_list<f32> values) {
    for (f32 v : values)
        if (!std::isfinite(v))
            return false;
    return true;
}

// False when the prop is to be dropped.
bool ReadRecord(chReader& reader, bool track, coPropRecord& record) {
    record.track = track;
    bool finite = true;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        chChunkBody body(reader, size);
        if (id == coChunkPropName) {
            // The name is stored with its 0 unit; it must not take part in the template lookup.
            record.name = body.Units(size / 2);
            record.name.TruncateAtNull();
        } else if (id == coChunkPropPose && !track) {
            record.position.x = body.Float();
            record.position.y = body.Float();
            record.position.z = body.Float();
            record.heading = body.Float();
            finite = IsFinite({record.position.x, record.position.y, record.position.z, record.heading});
        } else if (id == coChunkTrackPropPlace && track) {
            record.pieceIndex = body.Int16();
            record.distance = body.Float();
            finite = IsFinite({record.distance});
        } else if (id == coChunkPropEvent) {
            record.activeEvent = static_cast<u8>(body.Int8());
            record.hasEvent = true;
        }
        reader.EndChunk();
    }
    if (!finite)
        DBG_WARNING("placed props: \"%s\" has a place that is not a number; dropped",
                    envStringToNarrow(record.name).c_str());
    return finite;
}

} // namespace

void coReadPropRecords(chReader& reader, std::vector<coPropRecord>& out) {
    std::vector<coPropRecord> read;
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        coPropRecord record;
        if (ReadRecord(reader, id != coChunkPlacedProp, record))
            read.push_back(std::move(record));
        reader.EndChunk();
    }
    out.insert(out.end(), read.begin(), read.end());
}

void coWritePropRecords(chWriter& writer, const std::vector<coPropRecord>& records) {
    writer.BeginChunk(coChunkPropList, 0, true);
    for (const coPropRecord& record : records) {
        writer.BeginChunk(record.track ? coChunkPlacedTrackProp : coChunkPlacedProp, 0, false);
        writer.BeginChunk(coChunkPropName, 0, false);
        writer.WriteString(record.name);
        writer.EndChunk();
        if (record.track) {
            writer.BeginChunk(coChunkTrackPropPlace, 0, false);
            writer.WriteInt16(static_cast<i16>(record.pieceIndex));
            writer.WriteFloat(record.distance);
        } else {
            writer.BeginChunk(coChunkPropPose, 0, false);
            writer.WriteFloat(record.position.x);
            writer.WriteFloat(record.position.y);
            writer.WriteFloat(record.position.z);
            writer.WriteFloat(record.heading);
        }
        writer.EndChunk();
        if (record.hasEvent) {
            writer.BeginChunk(coChunkPropEvent, 0, false);
            writer.WriteUInt8(static_cast<u8>(record.activeEvent));
            writer.EndChunk();
        }
        writer.EndChunk();
    }
    writer.EndChunk();
}
