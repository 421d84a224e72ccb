#include "Tools/World/toolEnvironmentWriter.h"

#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"

#include <limits>
#include <stdexcept>

namespace {

constexpr u16 kModelsVersion = 4;

void WriteWide(chBinWriter& writer, const envString& text) {
    writer.WriteChars(text.GetData(), text.GetLength());
    writer.WriteUInt16(0);
}

void WriteFloats(chBinWriter& writer, std::initializer_list<f32> values) {
    for (f32 value : values)
        writer.WriteFloat(value);
}

void WriteVectorChunk(chBinWriter& writer, const char* id, const maVector3d& v) {
    writer.BeginChunk(chMakeId(id[0], id[1], id[2], id[3]), 1, true);
    WriteFloats(writer, {v.x, v.y, v.z});
    writer.EndChunk();
}

void WriteLight(chBinWriter& writer, u32 id, const coEnvLightInfo& light) {
    writer.BeginChunk(id, 1, true);
    WriteFloats(writer, {light.red, light.green, light.blue, light.x, light.y, light.z});
    writer.EndChunk();
}

i16 CellCount(i32 count) {
    if (count < std::numeric_limits<i16>::min() || count > std::numeric_limits<i16>::max())
        throw std::out_of_range("environment grid cell count out of 16 bits: " + std::to_string(count));
    return static_cast<i16>(count);
}

void WriteModels(chBinWriter& writer, const toolEnvironment& e) {
    writer.BeginChunk(chMakeId('E', 'M', 'O', 'D'), kModelsVersion, true);
    WriteWide(writer, e.terrainModel);
    WriteWide(writer, e.sky.layer1Model);
    writer.WriteInt8(e.sky.flatSky ? 1 : 0);
    writer.WriteFloat(e.sky.layer1Rate);
    WriteWide(writer, e.sky.layer2Model);
    writer.WriteFloat(e.sky.layer2Rate);
    WriteWide(writer, e.extraTerrainModel);
    writer.WriteInt8(e.sky.staticSky ? 1 : 0);
    writer.EndChunk();
}

void WriteLensFlare(chBinWriter& writer, const coEnvLensFlareInfo& flare) {
    if (flare.elements.size() > size_t(std::numeric_limits<i8>::max()))
        throw std::out_of_range("more lens-flare elements than an environment file holds");
    writer.BeginChunk(chMakeId('E', 'L', 'N', 'F'), 1, true);
    WriteFloats(writer, {flare.sun.x, flare.sun.y, flare.sun.z});
    writer.WriteInt8(static_cast<i8>(flare.elements.size()));
    for (const coEnvFlareElement& element : flare.elements) {
        WriteWide(writer, element.texture);
        WriteFloats(writer, {element.offset, element.scale});
    }
    writer.EndChunk();
}

} // namespace

void toolWriteEnvironment(const std::string& path, const toolEnvironment& e) {
    const i16 cellsX = CellCount(e.grid.cellsX), cellsZ = CellCount(e.grid.cellsZ);
    fsLocator target;
    fsLocatorFromNativePath(path.c_str(), target);
    gfWriteFileAtomically(target, gfByteOrderData, [&](gfFile& file) {
        chBinWriter writer(&file);
        writer.BeginChunk(chMakeId('C', 'E', 'N', 'V'), 1, true);
        WriteModels(writer, e);
        writer.BeginChunk(chMakeId('E', 'G', 'R', 'D'), 1, true);
        WriteFloats(writer, {e.grid.minX, e.grid.maxX, e.grid.minZ, e.grid.maxZ});
        writer.WriteInt16(cellsX);
        writer.WriteInt16(cellsZ);
        writer.EndChunk();
        writer.BeginChunk(chMakeId('E', 'R', 'H', 'T'), 1, true);
        writer.WriteFloat(e.grid.height);
        writer.EndChunk();
        WriteVectorChunk(writer, "EBGC", e.background);
        WriteVectorChunk(writer, "EAMB", e.ambient);
        for (const coEnvLightInfo& light : e.pointLights)
            WriteLight(writer, chMakeId('E', 'P', 'O', 'L'), light);
        for (const coEnvLightInfo& light : e.directionalLights)
            WriteLight(writer, chMakeId('E', 'D', 'I', 'L'), light);
        WriteVectorChunk(writer, "ECST", e.startPosition);
        writer.BeginChunk(chMakeId('E', 'F', 'O', 'G'), 1, true);
        writer.WriteInt8(static_cast<i8>(e.fog.mode));
        WriteFloats(writer, {e.fog.red, e.fog.green, e.fog.blue, e.fog.start, e.fog.end, e.fog.density});
        writer.EndChunk();
        WriteLensFlare(writer, e.lensFlare);
        writer.BeginChunk(chMakeId('E', 'S', 'H', 'D'), 1, true);
        writer.WriteInt32(e.shadowMode);
        writer.EndChunk();
        writer.EndChunk();
    });
}
