#include "Source/World/coEnvironmentFile.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfFile.h"

#include <cmath>

namespace {

constexpr u32 kEMOD = chMakeId('E', 'M', 'O', 'D');
constexpr u32 kEGRD = chMakeId('E', 'G', 'R', 'D');
constexpr u32 kERHT = chMakeId('E', 'R', 'H', 'T');
constexpr u32 kEBGC = chMakeId('E', 'B', 'G', 'C');
constexpr u32 kEAMB = chMakeId('E', 'A', 'M', 'B');
constexpr u32 kEPOL = chMakeId('E', 'P', 'O', 'L');
constexpr u32 kEDIL = chMakeId('E', 'D', 'I', 'L');
constexpr u32 kECST = chMakeId('E', 'C', 'S', 'T');
constexpr u32 kEFOG = chMakeId('E', 'F', 'O', 'G');
constexpr u32 kELNF = chMakeId('E', 'L', 'N', 'F');
constexpr u32 kESHD = chMakeId('E', 'S', 'H', 'D');

// Everything a file may change, read into a copy so that a damaged file changes nothing.
struct Records {
    std::vector<coEnvLightInfo> pointLights, directionalLights;
    maVector3d ambient, startPosition, background;
    envString terrainModel, extraTerrainModel;
    coEnvSkyInfo sky;
    coEnvGridInfo grid;
    coEnvFogInfo fog;
    coEnvLensFlareInfo lensFlare;
    i32 shadowMode = 1;
};

// Values of the chunk the reader is in: one that would pass the chunk's body belongs to the next chunk,
// so it fails, as do floats that are not finite.
class Body {
  public:
    explicit Body(chBinReader& reader) : m_reader(reader) {}

    f32 Float() {
        Need(4);
        f32 value = 0.0f;
        m_reader.ReadFloat(&value);
        if (!std::isfinite(value))
            Fail();
        return value;
    }
    i32 Int32() {
        Need(4);
        i32 value = 0;
        m_reader.ReadInt32(&value);
        return value;
    }
    i16 Int16() {
        Need(2);
        i16 value = 0;
        m_reader.ReadInt16(&value);
        return value;
    }
    i8 Int8() {
        Need(1);
        i8 value = 0;
        m_reader.ReadInt8(&value);
        return value;
    }
    // UTF-16 units up to a 0 unit inside the body; the 0 is not kept.
    envString String() {
        envString text;
        for (;;) {
            Need(2);
            u16 unit = 0;
            m_reader.ReadUInt16(&unit);
            if (unit == 0)
                return text;
            text.AppendChar(static_cast<char16_t>(unit));
        }
    }
    maVector3d Vector() {
        const f32 x = Float(), y = Float();
        return {x, y, Float()};
    }
    coEnvLightInfo Light() {
        coEnvLightInfo light;
        light.red = Float();
        light.green = Float();
        light.blue = Float();
        light.x = Float();
        light.y = Float();
        light.z = Float();
        return light;
    }

  private:
    void Need(u64 bytes) {
        if (m_reader.GetChunkBytesLeft() < bytes)
            Fail();
    }
    [[noreturn]] void Fail() { throw chInvalidChunkX(m_reader.GetLocator()); }

    chBinReader& m_reader;
};

void ReadModels(Body& body, u16 version, Records& r) {
    r.sky = {};
    r.terrainModel = body.String();
    if (version > 1)
        r.sky.layer1Model = body.String();
    if (version > 2) {
        r.sky.flatSky = body.Int8() == 1;
        r.sky.layer1Rate = body.Float();
    }
    if (version > 3) {
        r.sky.layer2Model = body.String();
        r.sky.layer2Rate = body.Float();
        r.extraTerrainModel = body.String();
        r.sky.staticSky = body.Int8() == 1;
    }
    if (version == 3)
        r.sky.staticSky = false;
}

void ReadGrid(Body& body, coEnvGridInfo& grid) {
    grid.minX = body.Float();
    grid.maxX = body.Float();
    grid.minZ = body.Float();
    grid.maxZ = body.Float();
    grid.cellsX = body.Int16();
    grid.cellsZ = body.Int16();
}

void ReadFog(Body& body, coEnvFogInfo& fog) {
    fog.mode = body.Int8();
    fog.red = body.Float();
    fog.green = body.Float();
    fog.blue = body.Float();
    fog.start = body.Float();
    fog.end = body.Float();
    fog.density = body.Float();
}

void ReadLensFlare(Body& body, coEnvLensFlareInfo& flare) {
    flare.sun = body.Vector();
    const i8 count = body.Int8();
    for (i8 i = 0; i < count; ++i) {
        coEnvFlareElement element;
        element.texture = body.String();
        element.offset = body.Float();
        element.scale = body.Float();
        flare.elements.push_back(std::move(element));
    }
}

void ReadChunk(Body& body, u32 id, u16 version, Records& r) {
    switch (id) {
    case kEMOD:
        ReadModels(body, version, r);
        break;
    case kEGRD:
        ReadGrid(body, r.grid);
        break;
    case kERHT:
        r.grid.height = body.Float();
        break;
    case kEBGC:
        r.background = body.Vector();
        break;
    case kEAMB:
        r.ambient = body.Vector();
        break;
    case kEPOL:
        r.pointLights.push_back(body.Light());
        break;
    case kEDIL:
        r.directionalLights.push_back(body.Light());
        break;
    case kECST:
        r.startPosition = body.Vector();
        break;
    case kEFOG:
        ReadFog(body, r.fog);
        break;
    case kELNF:
        ReadLensFlare(body, r.lensFlare);
        break;
    case kESHD:
        r.shadowMode = body.Int32();
        break;
    default:
        break;
    }
}

} // namespace

void coReadEnvironmentFile(const fsLocator& file, std::vector<coEnvLightInfo>& pointLights,
                           std::vector<coEnvLightInfo>& directionalLights, maVector3d& ambient,
                           envString& terrainModel, envString& extraTerrainModel, maVector3d& startPosition,
                           coEnvSkyInfo& sky, coEnvGridInfo& grid, maVector3d& background, coEnvFogInfo& fog,
                           coEnvLensFlareInfo& lensFlare, i32& shadowMode) {
    // A file without "EMOD" must not keep the sky of the environment loaded before.
    Records r{pointLights,
              directionalLights,
              ambient,
              maVector3d(0.0f, 0.0f, 0.0f),
              background,
              terrainModel,
              extraTerrainModel,
              coEnvSkyInfo{},
              grid,
              fog,
              lensFlare,
              shadowMode};
    gfFile stream(file, gfFileRead, gfByteOrderData);
    chBinReader reader(&stream);
    Body body(reader);
    u32 id = 0, size = 0;
    u16 version = 0;
    // The one top-level chunk is "CENV"; neither its id nor its version is looked at.
    if (reader.BeginChunk(&id, &version, &size)) {
        while (reader.BeginChunk(&id, &version, &size)) {
            ReadChunk(body, id, version, r);
            reader.EndChunk();
        }
        reader.EndChunk();
    }
    pointLights = std::move(r.pointLights);
    directionalLights = std::move(r.directionalLights);
    ambient = r.ambient;
    terrainModel = std::move(r.terrainModel);
    extraTerrainModel = std::move(r.extraTerrainModel);
    startPosition = r.startPosition;
    sky = std::move(r.sky);
    grid = r.grid;
    background = r.background;
    fog = r.fog;
    lensFlare = std::move(r.lensFlare);
    shadowMode = r.shadowMode;
}
