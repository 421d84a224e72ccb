#include "Source/Track/coCoasterDefinition.h"

#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Ch/chTxtReader.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coSeam.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr u32 kDefinition = chMakeId('C', 'S', 'D', 'F');
constexpr u32 kInverted = chMakeId('I', 'N', 'V', 'R');
constexpr u32 kAllowInvertPieces = chMakeId('I', 'N', 'V', 'P');
constexpr u32 kNeedsShadow = chMakeId('N', 'S', 'H', 'D');
constexpr u32 kInvertStation = chMakeId('I', 'N', 'V', 'S');
constexpr u32 kWoodSupports = chMakeId('W', 'D', 'S', 'P');
constexpr u32 kEyePosition = chMakeId('E', 'Y', 'E', 'P');
constexpr u32 kCloseEyePosition = chMakeId('C', 'E', 'Y', 'P');
constexpr u32 kTetherOffset = chMakeId('T', 'H', 'O', 'F');
constexpr u32 kExtrusion = chMakeId('E', 'X', 'T', 'R');
constexpr u32 kPickPathRadius = chMakeId('P', 'P', 'R', 'D');
constexpr u32 kInitialPosition = chMakeId('I', 'N', 'P', 'S');
constexpr u32 kNumCars = chMakeId('N', 'M', 'C', 'R');
constexpr u32 kCarSeparation = chMakeId('C', 'R', 'S', 'P');
constexpr u32 kRailHeight = chMakeId('R', 'L', 'H', 'T');
constexpr u32 kTerrainOffset = chMakeId('T', 'R', 'O', 'F');
constexpr u32 kCameraPitch = chMakeId('C', 'M', 'P', 'T');
constexpr u32 kCameraShake = chMakeId('C', 'M', 'S', 'K');
constexpr u32 kCameraSlide = chMakeId('C', 'M', 'S', 'L');
constexpr u32 kExtrusionPolygon = chMakeId('E', 'X', 'T', 'P');

const chTagMap kTags = {
    {"CoasterDefinition", kDefinition},
    {"Inverted", kInverted},
    {"AllowInvertPieces", kAllowInvertPieces},
    {"NeedsShadow", kNeedsShadow},
    {"InvertStation", kInvertStation},
    {"WoodSupports", kWoodSupports},
    {"EyePosition", kEyePosition},
    {"CloseEyePosition", kCloseEyePosition},
    {"TetherOffset", kTetherOffset},
    {"Extrusion", kExtrusion},
    {"PickPathRadius", kPickPathRadius},
    {"InitialPosition", kInitialPosition},
    {"NumCars", kNumCars},
    {"CarSeparation", kCarSeparation},
    {"RailHeight", kRailHeight},
    {"TerrainOffset", kTerrainOffset},
    {"CameraPitch", kCameraPitch},
    {"CameraShake", kCameraShake},
    {"CameraSlide", kCameraSlide},
    {"ExtrusionPolygon", kExtrusionPolygon},
};

// The factors of the degrees-to-radians step as single-precision constants, applied left to right.
constexpr float kPi = 3.1415927f;
constexpr float kOneOver180 = 0.0055555557f;

coCoasterDefinition g_store;
constinit coSeam<const coCoasterDefinition> g_installed(g_store);
coInversionListener* g_listener = nullptr;

void WarnNotFinite(const chReader& reader, const char* key) {
    std::string path;
    fsLocatorToNativePath(reader.GetLocator(), path);
    DBG_WARNING("%s: %s is not a finite number; the previous value stays", path.c_str(), key);
}

// Flags are numbers: "1" is true and any word (the writer's "TRUE" included) reads as 0, false.
bool ReadFlag(chReader& reader) {
    u8 value = 0;
    reader.ReadUInt8(&value);
    return value != 0;
}

// One float into the store through its setter, when finite.
template <class Setter> void ReadFloat(chReader& reader, const char* key, Setter set) {
    float value = 0.0f;
    if (coReadFiniteFloats(reader, key, &value, 1))
        set(value);
}

// The outline replaces the old one only once every point has been read and found finite.
void ReadPolygon(chReader& reader, coCoasterDefinition& definition) {
    i8 count = 0;
    reader.ReadInt8(&count);
    std::vector<maVector2d> points;
    bool finite = true;
    for (int i = 0; i < count; ++i) {
        float xy[2] = {};
        finite = coReadFiniteFloats(reader, "ExtrusionPolygon", xy, 2) && finite;
        points.emplace_back(xy[0], xy[1]);
    }
    if (finite)
        definition.SetExtrusionPolygon(points.data(), static_cast<int>(points.size()));
}

} // namespace

void coSetInversionListener(coInversionListener* listener) {
    g_listener = listener;
}

void coCoasterDefinition::Load(const std::string& fileName) {
    fsLocator locator(coRootTracks);
    fsAppendNativeName(locator, m_typeName);
    fsAppendNativeName(locator, fileName);
    gfFile file(locator, gfFileRead);
    chTxtReader reader(&file);
    reader.SetTagMap(&kTags);

    m_cameraPitch = 0.0f;
    m_invertStation = false;
    m_woodSupports = false;
    m_tetherOffset = maVector4d();

    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == kDefinition)
            ReadDefinition(reader);
        reader.EndChunk();
    }
}

void coCoasterDefinition::ReadDefinition(chReader& reader) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        float v[4] = {};
        switch (id) {
        case kInverted:
            SetInverted(ReadFlag(reader));
            break;
        case kAllowInvertPieces:
            SetAllowInvertPieces(ReadFlag(reader));
            break;
        case kNeedsShadow:
            SetNeedsShadow(ReadFlag(reader));
            break;
        case kInvertStation:
            SetInvertStation(ReadFlag(reader));
            break;
        case kWoodSupports:
            SetWoodSupports(ReadFlag(reader));
            break;
        case kEyePosition:
            if (coReadFiniteFloats(reader, "EyePosition", v, 3))
                SetEyePosition({v[0], v[1], v[2]});
            break;
        case kCloseEyePosition:
            if (coReadFiniteFloats(reader, "CloseEyePosition", v, 3))
                SetCloseEyePosition({v[0], v[1], v[2]});
            break;
        case kTetherOffset:
            if (coReadFiniteFloats(reader, "TetherOffset", v, 4))
                SetTetherOffset({v[0], v[1], v[2], v[3]});
            break;
        case kCameraSlide:
            if (coReadFiniteFloats(reader, "CameraSlide", v, 4))
                SetCameraSlide({v[0], v[1], v[2], v[3]});
            break;
        case kExtrusion:
            if (coReadFiniteFloats(reader, "Extrusion", v, 4))
                SetExtrusion({v[0], v[1], v[2]}, v[3]);
            break;
        case kPickPathRadius:
            ReadFloat(reader, "PickPathRadius", [this](float v) { SetPickPathRadius(v); });
            break;
        case kInitialPosition:
            ReadFloat(reader, "InitialPosition", [this](float v) { SetInitialPosition(v); });
            break;
        case kCarSeparation:
            ReadFloat(reader, "CarSeparation", [this](float v) { SetCarSeparation(v); });
            break;
        case kRailHeight:
            ReadFloat(reader, "RailHeight", [this](float v) { SetRailHeight(v); });
            break;
        case kTerrainOffset:
            ReadFloat(reader, "TerrainOffset", [this](float v) { SetTerrainOffset(v); });
            break;
        case kCameraShake:
            ReadFloat(reader, "CameraShake", [this](float v) { SetCameraShake(v); });
            break;
        case kCameraPitch:
            // Large degrees overflow on the way to radians.
            ReadFloat(reader, "CameraPitch", [&](float degrees) {
                const float radians = degrees * kPi * kOneOver180;
                if (std::isfinite(radians))
                    SetCameraPitch(radians);
                else
                    WarnNotFinite(reader, "CameraPitch");
            });
            break;
        case kNumCars: {
            i8 cars = 0;
            reader.ReadInt8(&cars);
            SetNumCars(cars);
            break;
        }
        case kExtrusionPolygon:
            ReadPolygon(reader, *this);
            break;
        default:
            break;
        }
        reader.EndChunk();
    }
}

void coCoasterDefinition::GetExtrusion(maVector3d& offset, float& width) const {
    offset = m_extrusionOffset;
    width = m_extrusionWidth;
}

void coCoasterDefinition::SetAllowInvertPieces(bool on) {
    m_allowInvertPieces = on;
    if (g_listener)
        g_listener->SetAllowInversions(on);
}

void coCoasterDefinition::SetExtrusion(const maVector3d& offset, float width) {
    m_extrusionOffset = offset;
    m_extrusionWidth = width;
}

void coCoasterDefinition::SetExtrusionPolygon(const maVector2d* points, int count) {
    m_extrusionPolygon.assign(points, points + (count > 0 ? count : 0));
}

void coCoasterDefinition::SetNumCars(int cars) {
    if (cars < 1) {
        DBG_WARNING("a train of %d cars refused; it keeps %d", cars, m_numCars);
        return;
    }
    m_numCars = cars;
}

coCoasterDefinition& coCoasterDefinitionStore() {
    return g_store;
}

const coCoasterDefinition& coGetCoasterDefinition() {
    return g_installed.Get();
}

void coSetCoasterDefinition(const coCoasterDefinition* definition) {
    g_installed.Set(definition);
}

void coSetExtrusionPolygon(const maVector2d* points, int count) {
    g_store.SetExtrusionPolygon(points, count);
}

bool coReadFiniteFloats(chReader& reader, const char* key, float* out, int count) {
    float values[4] = {};
    bool finite = true;
    for (int i = 0; i < count; ++i) {
        reader.ReadFloat(&values[i]); // a value past the float range reads as infinite
        finite = finite && std::isfinite(values[i]);
    }
    if (!finite) {
        WarnNotFinite(reader, key);
        return false;
    }
    std::copy(values, values + count, out);
    return true;
}
