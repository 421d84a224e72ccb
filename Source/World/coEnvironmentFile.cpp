#include "Source/World/coEnvironmentFile.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chChunkBody.h"
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

// Floats of an environment must be finite.
f32 Finite(chChunkBody& body) {
    const f32 value = body.Float();
    if (!std::isfinite(value))
        body.Refuse();
    return value;
}

maVector3d Vector(chChunkBody& body) {
    const f32 x = Finite(body), y = Finite(body);
    return {x, y, Finite(body)};
}

coEnvLightInfo Light(chChunkBody& body) {
    coEnvLightInfo light;
    light.red = Finite(body);
    light.green = Finite(body);
    light.blue = Finite(body);
    light.x = Finite(body);
    light.y = Finite(body);
    light.z = Finite(body);
    return light;
}

void ReadModels(chChunkBody& body, u16 version, Records& r) {
    r.sky = {};
    r.terrainModel = body.Wide();
    if (version > 1)
        r.sky.layer1Model = body.Wide();
    if (version > 2) {
        r.sky.flatSky = body.Int8() == 1;
        r.sky.layer1Rate = Finite(body);
    }
    if (version > 3) {
        r.sky.layer2Model = body.Wide();
        r.sky.layer2Rate = Finite(body);
        r.extraTerrainModel = body.Wide();
        r.sky.staticSky = body.Int8() == 1;
    }
    if (version == 3)
        r.sky.staticSky = false;
}

void ReadGrid(chChunkBody& body, coEnvGridInfo& grid) {
    grid.minX = Finite(body);
    grid.maxX = Finite(body);
    grid.minZ = Finite(body);
    grid.maxZ = Finite(body);
    grid.cellsX = body.Int16();
    grid.cellsZ = body.Int16();
}

void ReadFog(chChunkBody& body, coEnvFogInfo& fog) {
    fog.mode = body.Int8();
    fog.red = Finite(body);
    fog.green = Finite(body);
    fog.blue = Finite(body);
    fog.start = Finite(body);
    fog.end = Finite(body);
    fog.density = Finite(body);
}

void ReadLensFlare(chChunkBody& body, coEnvLensFlareInfo& flare) {
    flare.sun = Vector(body);
    const i8 count = body.Int8();
    for (i8 i = 0; i < count; ++i) {
        coEnvFlareElement element;
        element.texture = body.Wide();
        element.offset = Finite(body);
        element.scale = Finite(body);
        flare.elements.push_back(std::move(element));
    }
}

void ReadChunk(chChunkBody& body, u32 id, u16 version, Records& r) {
    switch (id) {
    case kEMOD:
        ReadModels(body, version, r);
        break;
    case kEGRD:
        ReadGrid(body, r.grid);
        break;
    case kERHT:
        r.grid.height = Finite(body);
        break;
    case kEBGC:
        r.background = Vector(body);
        break;
    case kEAMB:
        r.ambient = Vector(body);
        break;
    case kEPOL:
        r.pointLights.push_back(Light(body));
        break;
    case kEDIL:
        r.directionalLights.push_back(Light(body));
        break;
    case kECST:
        r.startPosition = Vector(body);
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
    u32 id = 0, size = 0;
    u16 version = 0;
    // The one top-level chunk is "CENV"; neither its id nor its version is looked at.
    if (reader.BeginChunk(&id, &version, &size)) {
        while (reader.BeginChunk(&id, &version, &size)) {
            // A value past its chunk's body belongs to the next chunk: refused, naming the file.
            chChunkBody body(reader, size, &reader.GetLocator());
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
