#include "Source/World/coPropDefinition.h"

#include "Engine/App/Ch/chBinReader.h"
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

// Reads inside the entered chunk only: the binary reader lets values run on into the next chunk.
class Body {
  public:
    explicit Body(chBinReader& reader) : m_reader(reader) {}

    template <typename T> T Value() {
        Need(sizeof(T));
        T value{};
        if constexpr (sizeof(T) == 1)
            m_reader.ReadUInt8(reinterpret_cast<u8*>(&value));
        else if constexpr (std::is_same_v<T, i16>)
            m_reader.ReadInt16(&value);
        else if constexpr (std::is_same_v<T, i32>)
            m_reader.ReadInt32(&value);
        else
            m_reader.ReadFloat(&value);
        return value;
    }
    maVector3d Vector() {
        const f32 x = Value<f32>(), y = Value<f32>(), z = Value<f32>();
        return {x, y, z};
    }
    // The stored 0 unit is dropped: names are compared and given extensions later.
    envString Wide() {
        envString text;
        for (char16_t unit = Unit(); unit != 0; unit = Unit())
            text.AppendChar(unit);
        return text;
    }
    std::string Narrow() {
        std::string text;
        for (char c = static_cast<char>(Value<u8>()); c != 0; c = static_cast<char>(Value<u8>()))
            text += c;
        return text;
    }

  private:
    char16_t Unit() {
        Need(2);
        u16 unit = 0;
        m_reader.ReadUInt16(&unit);
        return unit;
    }
    void Need(u64 bytes) {
        if (m_reader.GetChunkBytesLeft() < bytes)
            throw chInvalidChunkX(m_reader.GetLocator());
    }
    chBinReader& m_reader;
};

coPropParticleItem ReadParticle(Body& body, u16 version) {
    coPropParticleItem item;
    item.file = body.Wide();
    item.node = body.Narrow();
    item.keyIndex = body.Value<i16>();
    item.duration = body.Value<f32>();
    item.offset = body.Vector();
    if (version >= 3)
        item.direction = body.Vector();
    return item;
}

coPropSoundItem ReadSound(Body& body, u16 version) {
    coPropSoundItem item;
    item.file = body.Wide();
    item.node = body.Narrow();
    item.keyIndex = body.Value<i16>();
    item.loop = body.Value<u8>();
    item.volume = body.Value<f32>();
    item.pitch = body.Value<f32>();
    if (version >= 5) {
        item.minDistance = body.Value<f32>();
        item.maxDistance = body.Value<f32>();
    }
    return item;
}

coPropEventRecord ReadRecord(Body& body, u16 version, bool withPlayCount) {
    coPropEventRecord record;
    if (withPlayCount)
        record.playCount = body.Value<i32>();
    record.animation = body.Wide();
    record.secondName = body.Wide();
    if (version >= 1)
        record.speed = body.Value<f32>();
    if (version >= 2)
        for (u8 n = body.Value<u8>(); n > 0; --n)
            record.particles.push_back(ReadParticle(body, version));
    if (version >= 4)
        for (u8 n = body.Value<u8>(); n > 0; --n)
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
    Body body(reader);
    coPropDefinition definition;
    u16 version = 0;
    if (!EnterTop(reader, version))
        return definition;
    u32 id = 0, size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        switch (id) {
        case kModl:
            definition.model = body.Wide();
            break;
        case kTrig:
            definition.triggerDistance = body.Value<f32>();
            break;
        case kHeig:
            definition.height = body.Value<f32>();
            break;
        case kScal:
            definition.scale = body.Value<f32>();
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
            trackProp = Body(reader).Value<u8>() != 0;
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
