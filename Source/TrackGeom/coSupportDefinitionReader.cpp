#include "Source/TrackGeom/coSupportDefinitionReader.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coSupportMaker.h"
#include "Source/TrackGeom/coTrackDefinitionReader.h"

namespace {

constexpr u32 kSupport = chMakeId('C', 'S', 'U', 'P');
constexpr u32 kPole = chMakeId('P', 'O', 'L', 'E');
constexpr u32 kPlane = chMakeId('P', 'L', 'N', 'E');
constexpr u32 kPoleGeometry = chMakeId('P', 'L', 'G', 'M');
constexpr u32 kJointGeometry = chMakeId('J', 'N', 'G', 'M');
constexpr u32 kHalfJoint = chMakeId('H', 'F', 'J', 'N');
constexpr u32 kGeometry = chMakeId('G', 'E', 'O', 'M');
constexpr u32 kXOffset = chMakeId('X', 'O', 'F', 'F');
constexpr u32 kYOffset = chMakeId('Y', 'O', 'F', 'F');
constexpr u32 kSupportAngle = chMakeId('S', 'A', 'N', 'G');
// From the cross-section vocabulary.
constexpr u32 kMaterial = chMakeId('M', 'A', 'T', 'R');
constexpr u32 kLOD = chMakeId('C', 'L', 'O', 'D');
constexpr u32 kTextureSpacing = chMakeId('T', 'X', 'S', 'P');
constexpr u32 kName = chMakeId('N', 'A', 'M', 'E');

std::unique_ptr<coSupportGeometry> ReadGeometry(chReader& reader) {
    auto entry = std::make_unique<coSupportGeometry>();
    coReadSupportGeometry(reader, *entry);
    return entry;
}

// A non-finite value keeps the one before, with a warning.
void ReadNumber(chReader& reader, const char* key, coSupportMaker& maker,
                void (coSupportMaker::*set)(float)) {
    float value = 0.0f;
    if (coReadFiniteFloats(reader, key, &value, 1))
        (maker.*set)(value);
}

} // namespace

void coRegisterSupportTagNames(chTagMap& tags) {
    registerCrossSectionTags(tags);
    tags["Support"] = kSupport;
    tags["Pole"] = kPole;
    tags["Plane"] = kPlane;
    tags["PoleGeom"] = kPoleGeometry;
    tags["JointGeom"] = kJointGeometry;
    tags["HalfJoint"] = kHalfJoint;
    tags["Geometry"] = kGeometry;
    tags["XOffset"] = kXOffset;
    tags["YOffset"] = kYOffset;
    tags["SupportAngle"] = kSupportAngle;
}

void loadSupportDefinitions(chReader& reader, coSupportMaker& maker) {
    coReadDefinitionChunks(reader, [&](u32 id) {
        switch (id) {
        case kPole: {
            auto pole = std::make_unique<coSupportPole>();
            readCrossSection(reader, *pole);
            maker.AddPole(std::move(pole));
            break;
        }
        case kPlane: {
            auto plane = std::make_unique<coSupportPlane>();
            coReadSupportPlane(reader, *plane);
            maker.AddPlane(std::move(plane));
            break;
        }
        case kPoleGeometry:
            maker.AddPoleGeometry(ReadGeometry(reader));
            break;
        case kJointGeometry:
            maker.AddJointGeometry(ReadGeometry(reader));
            break;
        case kHalfJoint:
            maker.AddHalfJointGeometry(ReadGeometry(reader));
            break;
        case kXOffset:
            ReadNumber(reader, "XOffset", maker, &coSupportMaker::SetXOffset);
            break;
        case kYOffset:
            ReadNumber(reader, "YOffset", maker, &coSupportMaker::SetYOffset);
            break;
        case kSupportAngle:
            ReadNumber(reader, "SupportAngle", maker, &coSupportMaker::SetSupportAngle);
            break;
        default:
            break;
        }
    });
}

void coReadSupportGeometry(chReader& reader, coSupportGeometry& entry) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        std::string text;
        if (id == kGeometry) {
            reader.ReadString(text);
            entry.model = coLoadTrackModel(text, reader);
        } else if (id == kName) {
            reader.ReadString(entry.name);
        }
        reader.EndChunk();
    }
}

void coReadSupportPlane(chReader& reader, coSupportPlane& plane) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        switch (id) {
        case kMaterial: {
            auto material = std::make_unique<g3dMaterial>();
            readCrossSectionMaterial(reader, *material);
            plane.SetMaterial(std::move(material));
            break;
        }
        case kLOD:
            reader.ReadInt32(&plane.group);
            break;
        case kTextureSpacing:
            coReadFiniteFloats(reader, "TextureSpacing", &plane.spacing, 1);
            break;
        case kName:
            reader.ReadString(plane.name);
            break;
        default:
            break;
        }
        reader.EndChunk();
    }
}

void coLoadSupportDefinition(const std::string& fileName, coSupportMaker& maker) {
    static const chTagMap tags = [] {
        chTagMap map;
        coRegisterSupportTagNames(map);
        return map;
    }();
    fsLocator locator = coTrackTypeFolder();
    fsAppendNativeName(locator, fileName);
    gfFile file(locator, gfFileRead);
    chTxtReader reader(&file);
    reader.SetTagMap(&tags);
    loadSupportDefinitions(reader, maker);
}
