#include "Source/World/coPropDefinition.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Gf/gfFile.h"

namespace {

constexpr u32 kModl = chMakeId('M', 'O', 'D', 'L');
constexpr u32 kTrig = chMakeId('T', 'R', 'I', 'G');
constexpr u32 kHeig = chMakeId('H', 'E', 'I', 'G');
constexpr u32 kScal = chMakeId('S', 'C', 'A', 'L');
constexpr u32 kTrpr = chMakeId('T', 'R', 'P', 'R');
constexpr u32 kEntr = chMakeId('E', 'N', 'T', 'R');
constexpr u32 kIdle = chMakeId('I', 'D', 'L', 'E');
constexpr u32 kExit = chMakeId('E', 'X', 'I', 'T');

maVector3d Vector(chChunkBody& body) {
    const f32 x = body.Float(), y = body.Float(), z = body.Float();
    return {x, y, z};
}

// A value past its chunk's body belongs to the next chunk (the binary reader lets it run on): refused,
// naming the file.
chChunkBody EnteredBody(chBinReader& reader, u32 size) {
    return chChunkBody(reader, size, &reader.GetLocator());
}

coPropParticleItem ReadParticle(chChunkBody& body, u16 version) {
    coPropParticleItem item;
    item.file = body.Wide();
    item.node = body.String();
    item.keyIndex = body.Int16();
    item.duration = body.Float();
    item.offset = Vector(body);
    if (version >= 3)
        item.direction = Vector(body);
    return item;
}

coPropSoundItem ReadSound(chChunkBody& body, u16 version) {
    coPropSoundItem item;
    item.file = body.Wide();
    item.node = body.String();
    item.keyIndex = body.Int16();
    item.loop = body.UInt8();
    item.volume = body.Float();
    item.pitch = body.Float();
    if (version >= 5) {
        item.minDistance = body.Float();
        item.maxDistance = body.Float();
    }
    return item;
}

coPropEventRecord ReadRecord(chChunkBody& body, u16 version, bool withPlayCount) {
    coPropEventRecord record;
    if (withPlayCount)
        record.playCount = body.Int32();
    record.animation = body.Wide();
    record.secondName = body.Wide();
    if (version >= 1)
        record.speed = body.Float();
    if (version >= 2)
        for (u8 n = body.UInt8(); n > 0; --n)
            record.particles.push_back(ReadParticle(body, version));
    if (version >= 4)
        for (u8 n = body.UInt8(); n > 0; --n)
            record.sounds.push_back(ReadSound(body, version));
    return record;
}

// Enters the top chunk; false when the file has none.
bool EnterTop(chBinReader& reader, u16& version) {
    u32 id = 0, size = 0;
    return reader.BeginChunk(&id, &version, &size);
}

coPropDefinition ReadDefinition(const fsLocator& file) {
    gfFile stream(file, gfFileRead, gfByteOrderData);
    chBinReader reader(&stream);
    coPropDefinition definition;
    u16 version = 0;
    // A prop is its model: a file that names none (empty, or cut before its name) is damaged.
    if (!EnterTop(reader, version))
        throw coInvalidPropFileX(file);
    u32 id = 0, size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        chChunkBody body = EnteredBody(reader, size);
        switch (id) {
        case kModl:
            definition.model = body.Wide();
            break;
        case kTrig:
            definition.triggerDistance = body.Float();
            break;
        case kHeig:
            definition.height = body.Float();
            break;
        case kScal:
            definition.scale = body.Float();
            break;
        case kEntr:
            definition.entries.push_back(ReadRecord(body, version, true));
            break;
        case kIdle:
            definition.idle = ReadRecord(body, version, false);
            break;
        case kExit:
            definition.exit = ReadRecord(body, version, true);
            break;
        default:
            break;
        }
        reader.EndChunk();
    }
    reader.EndChunk();
    if (definition.model.GetLength() == 0)
        throw coInvalidPropFileX(file);
    definition.file = file;
    return definition;
}

} // namespace

void coReadPropTrackFlag(const fsLocator& file, bool& trackProp) {
    gfFile stream(file, gfFileRead, gfByteOrderData);
    chBinReader reader(&stream);
    u16 version = 0;
    if (!EnterTop(reader, version))
        return;
    if (version > 1)
        throw coInvalidPropFileX(file);
    u32 id = 0, size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kTrpr) {
            trackProp = EnteredBody(reader, size).UInt8() != 0;
            return;
        }
        reader.EndChunk();
    }
}

coPropDefinition coLoadPropDefinition(const fsLocator& file) {
    try {
        return ReadDefinition(file);
    } catch (const fsFileDoesntExistX&) {
    } catch (const fsDirectoryDoesntExistX&) {
    }
    // A prop file may stand in the theme folder itself.
    fsLocator beside = file;
    beside.RemoveLastComponent();
    beside.RemoveLastComponent();
    beside.AppendComponent(file.GetLastComponent());
    return ReadDefinition(beside);
}
