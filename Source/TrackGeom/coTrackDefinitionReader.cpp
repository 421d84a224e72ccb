#include "Source/TrackGeom/coTrackDefinitionReader.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Gf/gfFile.h"
#include "Source/Settings/coNamedFile.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/TrackGeom/coCrossSectionReader.h"
#include "Source/TrackGeom/coTrackDefinition.h"

namespace {

constexpr u32 kTrack = chMakeId('T', 'R', 'D', 'F');
constexpr u32 kRail = chMakeId('R', 'A', 'I', 'L');
constexpr u32 kChain = chMakeId('C', 'H', 'A', 'I');
constexpr u32 kBrakes = chMakeId('B', 'R', 'A', 'K');
constexpr u32 kBooster = chMakeId('B', 'O', 'O', 'S');
constexpr u32 kRetarder = chMakeId('R', 'T', 'R', 'D');
constexpr u32 kCross = chMakeId('C', 'R', 'S', 'B');
constexpr u32 kTube = chMakeId('T', 'U', 'B', 'E');
constexpr u32 kGeometry = chMakeId('G', 'E', 'O', 'M');
constexpr u32 kSpacing = chMakeId('C', 'S', 'P', 'A');
constexpr u32 kName = chMakeId('N', 'A', 'M', 'E');

std::unique_ptr<coTrackDefinition> g_current;

const chTagMap& Tags() {
    static const chTagMap tags = [] {
        chTagMap map;
        registerTrackDefinitionTags(map);
        return map;
    }();
    return tags;
}

// A section of the class that the chunk id names; null for other ids.
std::unique_ptr<coCrossSection> MakeSection(u32 id) {
    switch (id) {
    case kRail:
        return std::make_unique<coTrackRail>();
    case kChain:
        return std::make_unique<coTrackChain>();
    case kBrakes:
        return std::make_unique<coTrackBrakes>();
    case kBooster:
        return std::make_unique<coTrackBooster>();
    case kRetarder:
        return std::make_unique<coTrackRetarder>();
    case kTube:
        return std::make_unique<coTrackTube>();
    default:
        return nullptr;
    }
}

} // namespace

void registerTrackDefinitionTags(chTagMap& tags) {
    registerCrossSectionTags(tags);
    tags["Track"] = kTrack;
    tags["Rail"] = kRail;
    tags["Chain"] = kChain;
    tags["Brakes"] = kBrakes;
    tags["Booster"] = kBooster;
    tags["Retarder"] = kRetarder;
    tags["Cross"] = kCross;
    tags["Tube"] = kTube;
    tags["Geometry"] = kGeometry;
    tags["Spacing"] = kSpacing;
}

void coReadDefinitionChunks(chReader& reader, const std::function<void(u32 id)>& readChild) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    if (!reader.BeginChunk(&id, &version, &size))
        return;
    while (reader.BeginChunk(&id, &version, &size)) {
        readChild(id);
        reader.EndChunk();
    }
    reader.EndChunk();
}

void readTrackDefinition(chReader& reader, coTrackDefinition& definition) {
    coReadDefinitionChunks(reader, [&](u32 id) {
        // Appended once read whole: a failure inside one drops it and keeps those before.
        if (std::unique_ptr<coCrossSection> section = MakeSection(id)) {
            readCrossSection(reader, *section);
            definition.AddCrossSection(std::move(section));
        } else if (id == kCross) {
            auto crossbar = std::make_unique<coTrackCrossbar>();
            readTrackCrossbar(reader, *crossbar);
            definition.AddCrossbar(std::move(crossbar));
        }
    });
}

void readTrackCrossbar(chReader& reader, coTrackCrossbar& crossbar) {
    u32 id = 0;
    u16 version = 0;
    u32 size = 0;
    while (reader.BeginChunk(&id, &version, &size)) {
        std::string text;
        switch (id) {
        case kGeometry:
            reader.ReadString(text);
            coLoadCrossbarModel(crossbar, text, reader);
            break;
        case kName:
            reader.ReadString(crossbar.name);
            break;
        case kSpacing:
            coReadFiniteFloats(reader, "Spacing", &crossbar.spacing, 1);
            break;
        default:
            break;
        }
        reader.EndChunk();
    }
}

std::unique_ptr<coModelHolder> coLoadTrackModel(const std::string& name, const chReader& reader) {
    fsLocator named = coTrackTypeFolder();
    fsAppendNativeName(named, name);
    // The definition as the type's folder holds it, on disc or in the type's pak, so that the player is
    // told where to find it: a reader in a pak knows only its place in the pak.
    fsLocator definition = coTrackTypeFolder();
    if (reader.GetLocator().GetComponentCount() > 0)
        definition.AppendComponent(reader.GetLocator().GetLastComponent());
    return coLoadNamedFile(named, definition, [&] {
        std::unique_ptr<coModelHolder> model =
            coLoadModelHolder(coTrackTypeFile(name), coTrackTypeFolder(), false);
        model->SetPartFlag(false);
        return model;
    });
}

void coLoadCrossbarModel(coTrackCrossbar& crossbar, const std::string& name, const chReader& reader) {
    crossbar.model = coLoadTrackModel(name, reader);
}

void coLoadTrackDefinition(const std::string& fileName) {
    g_current = std::make_unique<coTrackDefinition>();
    fsLocator locator = coTrackTypeFolder();
    fsAppendNativeName(locator, fileName);
    gfFile file(locator, gfFileRead);
    chTxtReader reader(&file);
    reader.SetTagMap(&Tags());
    readTrackDefinition(reader, *g_current);
}

coTrackDefinition* coGetLoadedTrackDefinition() {
    return g_current.get();
}

void coFreeTrackDefinition() {
    g_current.reset();
}

std::unique_ptr<coTrackDefinition> coReleaseTrackDefinition() {
    return std::move(g_current);
}
