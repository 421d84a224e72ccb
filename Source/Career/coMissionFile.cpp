#include "Source/Career/coMissionFile.h"

#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Ch/chBinWriter.h"
#include "Engine/App/Ch/chChunkBody.h"
#include "Engine/App/Ch/chExceptions.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Ride/coTrain.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coTrackChunks.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace {

constexpr u32 kObjectiveTextSet = 32;
constexpr u8 kVersion[4] = {gfByteOrderData, 1, 0, 0};
constexpr int kVersion0Budgets = 9;
constexpr u32 kListIds[coObjectiveLevelCount] = {coChunkWinList, coChunkBronzeList, coChunkSilverList,
                                                 coChunkGoldList};
constexpr const char* kInvalidChunk = "Invalid Chunk while reading coaster mission";

std::unique_ptr<gfTextSet> OpenObjectiveTexts() {
    fsLocator locator(coRootText);
    locator.AppendComponent("uiop.tsf");
    return std::make_unique<gfTextSet>(locator, kObjectiveTextSet, true);
}

maVector3d ReadPosition(chChunkBody& body) {
    const float x = body.Float();
    const float y = body.Float();
    const float z = body.Float();
    return maVector3d(x, y, z);
}

void WritePosition(chWriter& writer, const maVector3d& position) {
    writer.WriteFloat(position.x);
    writer.WriteFloat(position.y);
    writer.WriteFloat(position.z);
}

// The first prop standing exactly at the position; null without a mission or a match.
coProp* FindProp(const coMissionProps* mission, const maVector3d& position) {
    if (!mission)
        return nullptr;
    for (coProp* prop : mission->props) {
        const maVector3d at = coGetMissionWorld().GetPropPosition(prop);
        if (at.x == position.x && at.y == position.y && at.z == position.z)
            return prop;
    }
    return nullptr;
}

// A time from the file, or the path's default with a warning when it is not one.
float CheckedTime(float value, bool mayBeZero, float fallback, const char* what) {
    if (std::isfinite(value) && (value > 0.0f || (mayBeZero && value == 0.0f)))
        return value;
    DBG_WARNING("mission fly-through: %s of %g s; %g s used", what, static_cast<double>(value),
                static_cast<double>(fallback));
    return fallback;
}

void ReadObjective(chReader& reader, u32 id, u32 size, coMissionProps* mission, coObjectiveSet& objectives,
                   int level, const gfTextSet& texts) {
    chChunkBody body(reader, size);
    if (id == coChunkStatObjective) {
        const i8 kind = body.Int8();
        const i8 above = body.Int8();
        const float threshold = body.Float();
        if (!std::isfinite(threshold)) {
            DBG_WARNING("mission statistic objective of kind %d with threshold %g left out", kind,
                        static_cast<double>(threshold));
            return;
        }
        objectives.Add(std::make_unique<coStatObjective>(kind, above == 1, threshold, texts), level);
    } else if (id == coChunkTrackCountObjective) {
        const i8 code = body.Int8();
        const i16 count = body.Int16();
        const i8 consecutive = body.Int8();
        objectives.Add(std::make_unique<coTrackCountObjective>(code, count, consecutive == 1, texts), level);
    } else if (id == coChunkPropEventObjective) {
        const maVector3d position = ReadPosition(body);
        const float threshold = body.Float();
        const i16 event = body.Int16();
        coProp* prop = FindProp(mission, position);
        if (prop || !mission)
            objectives.Add(std::make_unique<coPropActivationEventObjective>(prop, threshold, event, texts),
                           level);
    } else if (id == coChunkPropProximityObjective) {
        const maVector3d position = ReadPosition(body);
        const float threshold = body.Float();
        coProp* prop = FindProp(mission, position);
        if (prop || !mission)
            objectives.Add(std::make_unique<coPropProximityObjective>(prop, threshold, texts), level);
    } else if (id == coChunkPropOrderObjective) {
        const maVector3d position = ReadPosition(body);
        const i8 order = body.Int8();
        coProp* prop = FindProp(mission, position);
        if (prop || !mission)
            objectives.Add(std::make_unique<coPropOrderingObjective>(prop, order, texts), level);
    } else if (id == coChunkRingList) {
        if (mission)
            if (auto rings = coGetMissionWorld().ReadRings(reader))
                mission->rings.push_back(std::move(rings));
        objectives.Add(std::make_unique<coRingObjective>(texts), 0);
    }
}

// Everything a mission file holds, read before any of it replaces the world.
struct LoadedMission {
    coCoasterData data;
    std::vector<std::unique_ptr<coCoasterPiece>> pieces;
    std::vector<std::unique_ptr<coPendingProps>> pendingProps;
    std::vector<coProp*> props;
    std::vector<std::unique_ptr<coPendingRings>> rings;
    coMissionBudgets budgets;
    coMissionLocks locks;
    std::vector<maVector3d> lockedPositions;
    coObjectiveSet objectives;
    coFlythroughPath path;
};

void ReadMission(chReader& reader, const gfTextSet& texts, LoadedMission& mission) {
    coMissionProps props{mission.props, mission.rings};
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkPieceList) {
            coReadCoasterPieces(reader, version, size, mission.pieces);
        } else if (id == coChunkPropList) {
            if (auto read = coGetSavedCoasterServices().ReadProps(reader, version, size)) {
                std::vector<coProp*> listed;
                coGetMissionWorld().ListProps(*read, listed);
                mission.props.insert(mission.props.end(), listed.begin(), listed.end());
                mission.pendingProps.push_back(std::move(read));
            }
        } else if (id == coChunkCoasterData) {
            mission.data.closed = false;
            coReadCoasterData(reader, version, size, mission.data);
        } else if (id == coChunkBudgets) {
            coReadMissionBudgets(reader, version, size, mission.budgets);
        } else if (id == coChunkLocks) {
            coReadMissionLocks(reader, size, mission.locks, mission.lockedPositions);
        } else if (id == coChunkFlythrough) {
            coReadFlythroughPath(reader, version, size, mission.path);
        } else {
            for (int level = 0; level < coObjectiveLevelCount; ++level)
                if (id == kListIds[level])
                    coReadObjectiveList(reader, &props, mission.objectives, level, texts);
        }
        reader.EndChunk();
    }
}

} // namespace

void coReadMissionBudgets(chReader& reader, u16 version, u32 size, coMissionBudgets& budgets) {
    chChunkBody body(reader, size);
    coMissionBudgets read{};
    const int count = version == 0 ? kVersion0Budgets : coMissionBudgetCount;
    for (int i = 0; i < count; ++i)
        read[i] = body.Int32();
    budgets = read;
}

void coWriteMissionBudgets(chWriter& writer, const coMissionBudgets& budgets) {
    writer.BeginChunk(coChunkBudgets, 1, false);
    for (i32 budget : budgets)
        writer.WriteInt32(budget);
    writer.EndChunk();
}

void coReadMissionLocks(chReader& reader, u32 size, coMissionLocks& locks,
                        std::vector<maVector3d>& lockedPositions) {
    chChunkBody body(reader, size);
    coMissionLocks read;
    read.propsFree = body.Int8() == 1;
    read.piecesFree = body.Int8() == 1;
    read.lockedPieces = body.Int16();
    const i16 count = body.Int16();
    std::vector<maVector3d> positions;
    if (count > 0) {
        body.Require(static_cast<u64>(count), 12);
        for (i16 i = 0; i < count; ++i)
            positions.push_back(ReadPosition(body));
    }
    locks = std::move(read);
    lockedPositions = std::move(positions);
}

void coWriteMissionLocks(chWriter& writer, const coMissionLocks& locks) {
    writer.BeginChunk(coChunkLocks, 0, false);
    writer.WriteInt8(locks.propsFree ? 1 : 0);
    writer.WriteInt8(locks.piecesFree ? 1 : 0);
    writer.WriteInt16(static_cast<i16>(locks.lockedPieces));
    writer.WriteInt16(static_cast<i16>(locks.lockedProps.size()));
    for (const coProp* prop : locks.lockedProps)
        WritePosition(writer, coGetMissionWorld().GetPropPosition(prop));
    writer.EndChunk();
}

void coReadFlythroughPath(chReader& reader, u16 version, u32 size, coFlythroughPath& path) {
    chChunkBody body(reader, size);
    coFlythroughPath read;
    read.SetWaitBefore(path.GetWaitBefore());
    read.SetWaitAfter(path.GetWaitAfter());
    read.SetFlightTime(
        CheckedTime(body.Float(), false, coFlythroughPath::kDefaultFlightTime, "a flight time"));
    const i16 count = body.Int16();
    if (count > 0) {
        body.Require(static_cast<u64>(count), 24);
        for (i16 i = 0; i < count; ++i) {
            const maVector3d camera = ReadPosition(body);
            const maVector3d lookAt = ReadPosition(body);
            read.AddPoint(camera, lookAt);
        }
    }
    if (version >= 1) {
        read.SetWaitBefore(CheckedTime(body.Float(), true, coFlythroughPath::kDefaultWait, "a wait before"));
        read.SetWaitAfter(CheckedTime(body.Float(), true, coFlythroughPath::kDefaultWait, "a wait after"));
    }
    path.TakeFrom(read);
}

void coWriteFlythroughPath(chWriter& writer, const coFlythroughPath& path) {
    writer.BeginChunk(coChunkFlythrough, 1, false);
    writer.WriteFloat(path.GetFlightTime());
    writer.WriteInt16(static_cast<i16>(path.GetPointCount()));
    for (int i = 0; i < path.GetPointCount(); ++i) {
        WritePosition(writer, path.GetPoint(i).GetCameraPosition());
        WritePosition(writer, path.GetPoint(i).GetLookAt());
    }
    writer.WriteFloat(path.GetWaitBefore());
    writer.WriteFloat(path.GetWaitAfter());
    writer.EndChunk();
}

void coReadObjectiveList(chReader& reader, coMissionProps* mission, coObjectiveSet& objectives, int level,
                         const gfTextSet& texts) {
    try {
        u32 id, size;
        u16 version;
        while (reader.BeginChunk(&id, &version, &size)) {
            ReadObjective(reader, id, size, mission, objectives, level, texts);
            reader.EndChunk();
        }
    } catch (const chInvalidChunkX&) {
        DBG_WARNING("%s", kInvalidChunk);
        throw;
    }
}

void coWriteObjectiveList(chWriter& writer, const coObjectiveSet& objectives, int level, bool& ringsWritten) {
    const coMissionWorld& world = coGetMissionWorld();
    writer.BeginChunk(kListIds[level], 0, true);
    for (const auto& objective : objectives.GetLevel(level)) {
        if (const auto* stat = dynamic_cast<const coStatObjective*>(objective.get())) {
            writer.BeginChunk(coChunkStatObjective, 0, false);
            writer.WriteInt8(static_cast<i8>(stat->GetKind()));
            writer.WriteInt8(stat->IsAbove() ? 1 : 0);
            writer.WriteFloat(stat->GetThreshold());
        } else if (const auto* count = dynamic_cast<const coTrackCountObjective*>(objective.get())) {
            writer.BeginChunk(coChunkTrackCountObjective, 0, false);
            writer.WriteInt8(static_cast<i8>(count->GetCode()));
            writer.WriteInt16(static_cast<i16>(count->GetCount()));
            writer.WriteInt8(count->IsConsecutive() ? 1 : 0);
        } else if (const auto* event = dynamic_cast<const coPropActivationEventObjective*>(objective.get())) {
            writer.BeginChunk(coChunkPropEventObjective, 0, false);
            WritePosition(writer, world.GetPropPosition(event->GetProp()));
            writer.WriteFloat(event->GetThreshold());
            writer.WriteInt16(static_cast<i16>(event->GetEvent()));
        } else if (const auto* near = dynamic_cast<const coPropProximityObjective*>(objective.get())) {
            writer.BeginChunk(coChunkPropProximityObjective, 0, false);
            WritePosition(writer, world.GetPropPosition(near->GetProp()));
            writer.WriteFloat(near->GetThreshold());
        } else if (const auto* order = dynamic_cast<const coPropOrderingObjective*>(objective.get())) {
            writer.BeginChunk(coChunkPropOrderObjective, 0, false);
            WritePosition(writer, world.GetPropPosition(order->GetProp()));
            writer.WriteInt8(static_cast<i8>(order->GetOrder()));
        } else if (!ringsWritten) {
            ringsWritten = true;
            world.WriteRings(writer);
            continue;
        } else {
            writer.BeginChunk(coChunkRingList, 0, true);
        }
        writer.EndChunk();
    }
    writer.EndChunk();
}

void coLoadMission(const fsLocator& locator, coMissionBudgets& budgets, coObjectiveSet& objectives,
                   coMissionLocks& locks, coFlythroughPath& path) {
    LoadedMission mission;
    mission.data.dockPosition = coGetParkWorld().GetStartPosition();
    mission.budgets = budgets;
    mission.locks = locks;
    mission.locks.lockedProps.clear();
    mission.path.SetFlightTime(path.GetFlightTime());
    mission.path.SetWaitBefore(path.GetWaitBefore());
    mission.path.SetWaitAfter(path.GetWaitAfter());
    {
        gfFile file(locator, gfFileRead, gfByteOrderData);
        file.ReadBinHeaderBeforeChunks(nullptr); // the version is not compared
        chBinReader reader(&file);
        const std::unique_ptr<gfTextSet> texts = OpenObjectiveTexts();
        try {
            ReadMission(reader, *texts, mission);
        } catch (const chInvalidChunkX&) {
            DBG_WARNING("%s", kInvalidChunk);
            throw;
        }
    }

    // The file is good: from here on it replaces the world.
    coGetSavedCoasterServices().ClearScene();
    coApplyCoasterData(std::move(mission.pieces), std::move(mission.pendingProps), mission.data);
    coSetTrainDragOn(1);
    for (const maVector3d& position : mission.lockedPositions) {
        coMissionProps props{mission.props, mission.rings};
        if (coProp* prop = FindProp(&props, position))
            mission.locks.lockedProps.push_back(prop);
    }
    coMissionWorld& world = coGetMissionWorld();
    for (auto& rings : mission.rings)
        world.AddRings(*rings);
    world.PrepareRings();

    budgets = mission.budgets;
    locks = std::move(mission.locks);
    objectives = std::move(mission.objectives);
    path.TakeFrom(mission.path);
}

void coReadMissionObjectives(const fsLocator& locator,
                             std::vector<std::unique_ptr<coMissionObjective>>& out) {
    gfFile file(locator, gfFileRead, gfByteOrderData);
    file.ReadBinHeaderBeforeChunks(nullptr);
    chBinReader reader(&file);
    const std::unique_ptr<gfTextSet> texts = OpenObjectiveTexts();
    coObjectiveSet read;
    try {
        u32 id, size;
        u16 version;
        while (reader.BeginChunk(&id, &version, &size)) {
            if (id == coChunkWinList)
                coReadObjectiveList(reader, nullptr, read, 0, *texts);
            reader.EndChunk();
        }
    } catch (const chInvalidChunkX&) {
        DBG_WARNING("%s", kInvalidChunk);
        throw;
    }
    out = read.TakeLevel(0);
}

void coWriteMissionFile(const fsLocator& locator, const coMissionBudgets& budgets,
                        const coObjectiveSet& objectives, const coMissionLocks& locks,
                        const coFlythroughPath& path) {
    gfWriteFileAtomically(locator, gfByteOrderData, [&](gfFile& file) {
        file.WriteBinHeader(kVersion);
        chBinWriter writer(&file);
        coWriteCoasterChunks(writer);
        coWriteMissionBudgets(writer, budgets);
        coWriteMissionLocks(writer, locks);
        coWriteFlythroughPath(writer, path);
        bool ringsWritten = false;
        for (int level = 0; level < coObjectiveLevelCount; ++level)
            coWriteObjectiveList(writer, objectives, level, ringsWritten);
    });
}

i32 coMissionNumber(const std::string& fileName) {
    constexpr std::string_view prefix = "Mission", suffix = ".cmi";
    const std::string_view name = fileName;
    if (name.size() <= prefix.size() + suffix.size() || !name.starts_with(prefix) || !name.ends_with(suffix))
        return 0;
    const char* first = name.data() + prefix.size();
    const char* last = name.data() + name.size() - suffix.size();
    i32 number = 0;
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc() || end != last || number < 1 || number > coCareerMissionCount)
        return 0;
    return number;
}
