#include "Source/SavedCoaster/coSavedCoaster.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsFileSystem.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Collision/coTrackCollision.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Ride/coTrain.h"
#include "Source/SavedCoaster/coInvalidSaveFileX.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coPlacement.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/Track/coTrackChunks.h"
#include "Source/TrackGeom/coTrackColorizer.h"
#include "Source/World/coPropList.h"

#include <cmath>
#include <typeinfo>

namespace {

constexpr int kRideMusicList = 2;
constexpr const char* kDefaultDockType = "Ironvale";

// Shows the loading screen again, its progress continuing.
void StepLoadingScreen() {
    coGetCoasterPackageHooks().ShowLoadingScreen(false);
}

// ---- Music folders: every component followed by a backslash.

std::u16string FolderToUnits(const fsLocator& folder) {
    std::u16string units;
    for (u32 i = 0; i < folder.GetComponentCount(); ++i) {
        const envString& component = folder.GetComponent(i);
        units.append(component.GetData() ? component.GetData() : u"", component.GetLength());
        units += u'\\';
    }
    return units;
}

// Every part that a backslash ends; a leading backslash gives the empty first component of an absolute path.
fsLocator FolderFromUnits(const envString& units) {
    fsLocator folder;
    envString part;
    for (u32 i = 0; i < units.GetLength(); ++i) {
        if (units[i] != u'\\') {
            part.AppendChar(units[i]);
            continue;
        }
        if (part.GetLength() > 0 || (i == 0 && folder.GetComponentCount() == 0))
            folder.AppendComponent(part);
        part.Clear();
    }
    return folder;
}

// ---- Writing.

void WriteCoasterData(chWriter& writer) {
    const coSavedCoasterServices& services = coGetSavedCoasterServices();
    maVector3d dockPosition;
    float dockHeading = 0.0f;
    std::string dockType;
    const bool hasPieces = coCircuitPieceCount() > 0;
    if (hasPieces && !services.GetDock(dockPosition, dockHeading, dockType)) {
        dockPosition = maVector3d();
        dockHeading = 0.0f;
        dockType.clear();
    }
    writer.BeginChunk(coChunkCoasterData, coCoasterDataVersion, false);
    writer.WriteFloat(dockPosition.x);
    writer.WriteFloat(dockPosition.y);
    writer.WriteFloat(dockPosition.z);
    writer.WriteFloat(dockHeading);
    writer.WriteString(coGetCoasterDefinition().GetCoasterTypeName());
    writer.WriteString(services.GetEnvironmentName());
    writer.WriteInt8(hasPieces && coCircuitIsClosed() ? 1 : 0);
    writer.WriteString(dockType);
    writer.WriteInt8(static_cast<i8>(services.GetEnvironmentIndex()));
    writer.WriteInt8(coGetTrainDragOn() ? 1 : 0);
    writer.WriteInt8(coGetCollisionChecks() ? 0 : 1);
    writer.WriteInt8(static_cast<i8>(coGetCoasterDefinition().GetNumCars()));
    writer.WriteString(coGetThemeName());
    writer.WriteInt8(static_cast<i8>(services.GetMusicTrack(kRideMusicList)));
    const std::u16string folder = FolderToUnits(services.GetMusicFolder(kRideMusicList));
    writer.WriteUInt32(static_cast<u32>(folder.size()));
    writer.WriteChars(folder.data(), static_cast<u32>(folder.size()));
    writer.WriteString(coGetRideSoundSet());
    writer.EndChunk();
}

// The circuit from its first piece along the next links to its last piece; a broken chain ends early.
std::vector<const coCoasterPiece*> PiecesInOrder() {
    std::vector<const coCoasterPiece*> pieces;
    const coCoasterPiece* last = coCircuitLastPiece();
    for (const coCoasterPiece* piece = coCircuitFirstPiece(); piece; piece = piece->GetNext()) {
        pieces.push_back(piece);
        if (piece == last || static_cast<int>(pieces.size()) >= coCircuitPieceCount())
            break;
    }
    return pieces;
}

// ---- Reading.

// A name used as one folder component: no separators, not "." or "..", and not empty unless allowed.
std::string PlainName(const std::string& name, const char* what, const std::string& fallback,
                      bool mayBeEmpty) {
    const bool plain = name.empty()
                           ? mayBeEmpty
                           : name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
    if (plain)
        return name;
    DBG_WARNING("saved coaster: %s name \"%s\" is not a plain folder name; \"%s\" used", what, name.c_str(),
                fallback.c_str());
    return fallback;
}

void CheckHeader(gfFile& file) {
    u8 version[4];
    file.ReadBinHeaderBeforeChunks(version);
    if (version[1] > 1)
        throw coInvalidSaveFileX(file.GetLocator());
}

struct LoadedCoaster {
    coCoasterData data;
    std::vector<std::unique_ptr<coCoasterPiece>> pieces;
    std::vector<std::unique_ptr<coPendingProps>> props;
    bool hasScheme = false;
    coColorScheme scheme;
};

void ReadCoaster(const fsLocator& locator, LoadedCoaster& loaded) {
    coSavedCoasterServices& services = coGetSavedCoasterServices();
    gfFile file(locator, gfFileRead, gfByteOrderData);
    CheckHeader(file);
    loaded.data.dockPosition = coGetParkWorld().GetStartPosition();
    chBinReader reader(&file);
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkPieceList) {
            StepLoadingScreen();
            coReadCoasterPieces(reader, version, size, loaded.pieces);
        } else if (id == coChunkPropList) {
            StepLoadingScreen();
            if (auto props = services.ReadProps(reader, version, size))
                loaded.props.push_back(std::move(props));
        } else if (id == coChunkCoasterData) {
            StepLoadingScreen();
            loaded.data.closed = false;
            coReadCoasterData(reader, version, size, loaded.data);
        } else if (id == coChunkColourScheme) {
            StepLoadingScreen();
            loaded.scheme = coTrackColorizer::ReadScheme(reader);
            loaded.hasScheme = true;
        }
        reader.EndChunk();
    }
}

void ApplyRideMusic(const coCoasterData& data) {
    coSavedCoasterServices& services = coGetSavedCoasterServices();
    services.SetMusicTrack(kRideMusicList, data.musicTrack);
    try {
        // The player's own track is a file; a folder of tracks is taken too.
        if (fsDirectoryExists(data.musicFolder) || fsFileExists(data.musicFolder)) {
            services.SetMusicFolder(kRideMusicList, data.musicFolder);
        } else if (data.musicFolder.GetComponentCount() > 0) {
            fsLocator inMusicRoot(coRootMusic);
            inMusicRoot.AppendComponent(data.musicFolder.GetLastComponent());
            services.SetMusicFolder(kRideMusicList, inMusicRoot);
            if (data.musicTrack == 4 && !fsRootDirectoryExists(inMusicRoot))
                services.SetMusicTrack(kRideMusicList, 5);
        }
    } catch (const fsDirectoryDoesntExistX&) {
        // A folder that went missing leaves the music as set so far.
    }
}

// Whether the name is installed under the root: one of the root's directories is so named (a root made
// of the installed folders themselves), or holds a folder of that name (the installation's one folder).
bool NamesRootDirectory(int root, const std::string& name) {
    std::vector<fsLocator> directories;
    fsGetRootDirectories(root, directories);
    const envString wanted(name.c_str());
    if (!coIsPlainFolderName(wanted))
        return false;
    for (const fsLocator& directory : directories) {
        if (directory.GetComponentCount() > 0 && directory.GetLastComponent() == wanted)
            return true;
        fsLocator inside = directory;
        inside.AppendComponent(wanted);
        if (fsDirectoryExists(inside))
            return true;
    }
    return false;
}

} // namespace

void coWriteCoasterStats(chWriter& writer) {
    const std::vector<const coCoasterPiece*> pieces = PiecesInOrder();
    i16 loops = 0, corkscrews = 0;
    for (const coCoasterPiece* piece : pieces) {
        loops += typeid(*piece) == typeid(coCoasterPieceLoop);
        corkscrews += typeid(*piece) == typeid(coCoasterPieceCorkscrew);
    }
    // The order of the file, which differs from the record's.
    static const int kOrder[coStatCount] = {
        coStatHighestLateralG, coStatHighestVerticalG, coStatHighestForwardG, coStatLowestLateralG,
        coStatLowestVerticalG, coStatLowestForwardG,   coStatHighestSpeed,    coStatLowestSpeed,
        coStatAverageSpeed,    coStatHighestHeight,    coStatLowestHeight,    coStatRideTime,
        coStatCircuitLength};
    const coRideStats& stats = coGetRideStats();
    writer.BeginChunk(coChunkStatistics, 0, false);
    writer.WriteInt16(static_cast<i16>(coCircuitPieceCount()));
    writer.WriteInt16(loops);
    writer.WriteInt16(corkscrews);
    for (int index : kOrder)
        writer.WriteFloat(stats[index]);
    writer.EndChunk();
}

void coWriteCoasterChunks(chWriter& writer) {
    const coSavedCoasterServices& services = coGetSavedCoasterServices();
    const bool hasPieces = coCircuitPieceCount() > 0;
    WriteCoasterData(writer);
    if (hasPieces) {
        writer.BeginChunk(coChunkColourScheme, 1, true);
        coTrackColorizer::WriteScheme(writer);
        writer.EndChunk();
        coWriteCoasterStats(writer);
    }
    coWriteCoasterPieces(writer, PiecesInOrder());
    services.WriteProps(writer);
    // A picture has no text form.
    if (hasPieces && dynamic_cast<chBinWriter*>(&writer))
        services.WriteThumbnail(writer);
}

void coSaveCoasterFile(const fsLocator& locator) {
    fsLocator target = locator;
    fsResolveRoot(target);
    if (target.GetComponentCount() == 0)
        throw fsInvalidLocatorX(locator);
    gfWriteFileAtomically(target, gfByteOrderData, [](gfFile& file) {
        const u8 version[4] = {2, 1, 0, 0};
        file.WriteBinHeader(version);
        chBinWriter writer(&file);
        coWriteCoasterChunks(writer);
    });
}

void coReadCoasterData(chReader& reader, u16 version, u32 size, coCoasterData& data) {
    if (version < 1)
        throw chInvalidChunkX();
    chChunkBody body(reader, size);
    coCoasterData read;
    read.dockPosition.x = body.Float();
    read.dockPosition.y = body.Float();
    read.dockPosition.z = body.Float();
    read.dockHeading = body.Float();
    read.coasterType = body.String();
    read.environment = body.String();
    read.closed = body.Int8() != 0;
    read.dockType = body.String();
    if (version > 1)
        read.environmentIndex = body.Int8();
    if (version > 2)
        read.airDrag = body.Int8() == 1;
    if (version > 3) {
        read.propCollisionsOff = body.Int8() != 0;
        read.carsPerTrain = body.Int8();
        read.themeName = body.String();
        read.musicTrack = body.Int8();
        read.musicFolder = FolderFromUnits(body.Units(body.UInt32()));
        read.rideSoundSet = body.String();
    }

    const coCoasterData defaults;
    const maVector3d& p = read.dockPosition;
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) ||
        !std::isfinite(read.dockHeading)) {
        DBG_WARNING("saved coaster: the dock pose is not finite; the environment's start is used");
        read.dockPosition = data.dockPosition;
        read.dockHeading = defaults.dockHeading;
    }
    read.coasterType = PlainName(read.coasterType, "coaster type", defaults.coasterType, false);
    read.environment = PlainName(read.environment, "environment", defaults.environment, false);
    read.dockType = PlainName(read.dockType, "dock type", defaults.dockType, true);
    read.themeName = PlainName(read.themeName, "theme", defaults.themeName, true);
    read.rideSoundSet = PlainName(read.rideSoundSet, "ride sound set", defaults.rideSoundSet, true);
    if (read.carsPerTrain <= 0) {
        DBG_WARNING("saved coaster: %d cars per train; %d used", read.carsPerTrain, defaults.carsPerTrain);
        read.carsPerTrain = defaults.carsPerTrain;
    }
    if (read.environmentIndex < 0) {
        DBG_WARNING("saved coaster: environment index %d; %d used", read.environmentIndex,
                    defaults.environmentIndex);
        read.environmentIndex = defaults.environmentIndex;
    }
    data = std::move(read);
}

void coLoadCoasterFile(const fsLocator& locator) {
    coSavedCoasterServices& services = coGetSavedCoasterServices();
    coGetCoasterPackageHooks().ShowLoadingScreen(true);
    LoadedCoaster loaded;
    ReadCoaster(locator, loaded);

    // The file is good: from here on it replaces the world.
    services.ClearScene();
    if (loaded.hasScheme)
        coTrackColorizer::ReplaceCurrent(loaded.scheme);
    coApplyCoasterData(std::move(loaded.pieces), std::move(loaded.props), loaded.data);
}

void coReadCoasterSetting(const fsLocator& locator, std::string& coasterType, std::string& environment,
                          std::string& dockType, bool& closed) {
    gfFile file(locator, gfFileRead, gfByteOrderData);
    CheckHeader(file);
    coCoasterData data;
    chBinReader reader(&file);
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkCoasterData) {
            data.closed = false;
            coReadCoasterData(reader, version, size, data);
            break;
        }
        reader.EndChunk();
    }
    coasterType = data.coasterType;
    environment = data.environment;
    dockType = data.dockType;
    closed = data.closed;
}

void coReadCoasterSummary(const fsLocator& locator, std::string& typeName, std::string& environmentName,
                          std::string& dockName, bool& closed, bool& valid) {
    valid = true;
    std::string coasterType, environment, dockType;
    closed = false;
    try {
        coReadCoasterSetting(locator, coasterType, environment, dockType, closed);
    } catch (const gfInvalidFileBinX&) {
        throw; // no coaster file at all: the caller leaves it out
    } catch (const chInvalidChunkX&) {
        throw;
    } catch (const envExceptionX&) {
        valid = false;
    }
    if (!NamesRootDirectory(coRootTracks, coasterType) ||
        !NamesRootDirectory(coRootEnvironments, environment))
        valid = false;
    const coSavedCoasterServices& services = coGetSavedCoasterServices();
    typeName = services.GetDisplayName(coasterType);
    environmentName = services.GetDisplayName(environment);
    dockName = services.GetDisplayName(dockType);
}

void coApplyCoasterData(std::vector<std::unique_ptr<coCoasterPiece>> pieces,
                        std::vector<std::unique_ptr<coPendingProps>> props, const coCoasterData& data) {
    coSavedCoasterServices& services = coGetSavedCoasterServices();
    services.LoadCoasterDefinitions(data.environment, data.coasterType, data.environmentIndex);
    coSetTrainDragOn(data.airDrag ? 1 : 0);
    coSetCollisionChecks(!data.propCollisionsOff);
    services.SetNumCars(data.carsPerTrain);
    coSetThemeName(data.themeName);
    ApplyRideMusic(data);
    coSelectRideSoundSet(data.rideSoundSet);

    StepLoadingScreen();
    for (auto& loaded : props)
        if (loaded)
            services.PlaceProps(*loaded);

    if (!pieces.empty()) {
        std::string dockType = data.dockType;
        if (dockType.empty()) {
            DBG_WARNING("saved coaster: a track without a dock type; \"%s\" used", kDefaultDockType);
            dockType = kDefaultDockType;
        }
        services.LoadDock(dockType);
        StepLoadingScreen();
        if (data.themeName.empty())
            coSetThemeName(dockType);
        services.PlaceDock(data.dockPosition, data.dockHeading);
        coCircuitRebuildFromList(std::move(pieces));
        services.AttachTrackToDock();
        StepLoadingScreen();
        if (data.closed && coCircuitEndMeetsStart())
            coCircuitTryClose();
        StepLoadingScreen();
        coGetTrackBuilder().RebuildPieceObjects(coCircuitFirstPiece(), 2);
        StepLoadingScreen();
    }
    coPropList::PlaceAllTrackProps();
    coCircuitRebuildSupports();
    StepLoadingScreen();
    // The statistics are never read from the file: they are simulated again.
    coRideComputeStats();
}
