#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/Career/coMissionWorld.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class chWriter;
class coFlythroughPath;
class coMissionObjective;
class coObjectiveSet;
class coPendingRings;
class coProp;
class gfTextSet;

// A career mission, "Mission<d>.cmi": the chunks of a saved coaster (its pieces, props and setting), then
// the piece budgets, the locks on the starting content, the fly-through path and the objective lists of
// the four levels. Props are named in the file by their exact position.

inline constexpr u32 coChunkBudgets = chMakeId('C', 'C', 'O', 'N');
inline constexpr u32 coChunkLocks = chMakeId('C', 'O', 'R', 'G');
inline constexpr u32 coChunkFlythrough = chMakeId('C', 'F', 'L', 'Y');
inline constexpr u32 coChunkWinList = chMakeId('C', 'W', 'I', 'N');
inline constexpr u32 coChunkBronzeList = chMakeId('C', 'B', 'R', 'O');
inline constexpr u32 coChunkSilverList = chMakeId('C', 'S', 'I', 'L');
inline constexpr u32 coChunkGoldList = chMakeId('C', 'G', 'O', 'L');
inline constexpr u32 coChunkStatObjective = chMakeId('C', 'S', 'O', 'B');
inline constexpr u32 coChunkTrackCountObjective = chMakeId('C', 'T', 'C', 'O');
inline constexpr u32 coChunkPropEventObjective = chMakeId('C', 'P', 'A', 'E');
inline constexpr u32 coChunkPropProximityObjective = chMakeId('C', 'P', 'P', 'O');
inline constexpr u32 coChunkPropOrderObjective = chMakeId('C', 'P', 'O', 'O');

// A track type's text set ("<type>.tsf"): mission d's hint at id d, its coaster's name at
// coCoasterNameOffset + d.
inline constexpr u32 coCoasterNameOffset = 32;

// Per piece kind code (and, at 6 to 9, per track element) the pieces the player may add; negative: no limit.
inline constexpr int coMissionBudgetCount = 16;
using coMissionBudgets = std::array<i32, coMissionBudgetCount>;

// What of the starting coaster the player may not change: the first `lockedPieces` pieces (fewer than 1:
// none) unless pieces are free, and the locked props unless props are free.
struct coMissionLocks {
    bool propsFree = false;
    bool piecesFree = false;
    i32 lockedPieces = 0;
    std::vector<coProp*> lockedProps;
};

// The number of a mission file named "Mission<n>.cmi" (n from 1 to 8); 0 for any other name.
i32 coMissionNumber(const std::string& fileName);

// Loads the mission into the game world. The whole file is read first: a bad file throws (chInvalidChunkX,
// gfInvalidFileBinX, also for one that ends at its header, or the file system's exceptions) and leaves the
// world and every output as they were.
void coLoadMission(const fsLocator& locator, coMissionBudgets& budgets, coObjectiveSet& objectives,
                   coMissionLocks& locks, coFlythroughPath& path);
// The win level's objectives only, without props or rings, for the career menu.
void coReadMissionObjectives(const fsLocator& locator, std::vector<std::unique_ptr<coMissionObjective>>& out);
// Writes the mission from the current world; the file is replaced in one step or left as it was.
void coWriteMissionFile(const fsLocator& locator, const coMissionBudgets& budgets,
                        const coObjectiveSet& objectives, const coMissionLocks& locks,
                        const coFlythroughPath& path);

// What a full load resolves while reading a list: the mission's props, found by position, and the rings
// of ring objectives, gathered here. Without it prop objectives have no prop and rings are not read.
struct coMissionProps {
    const std::vector<coProp*>& props;
    std::vector<std::unique_ptr<coPendingRings>>& rings;
};
// One objective list chunk (the reader inside it) into the set at the level. A ring objective lands in the
// win level whatever the list's.
void coReadObjectiveList(chReader& reader, coMissionProps* mission, coObjectiveSet& objectives, int level,
                         const gfTextSet& texts);
// One list chunk. Only the first ring objective of a mission writes the rings (`ringsWritten` tells); later
// ones write an empty ring list, so that a load adds them once.
void coWriteObjectiveList(chWriter& writer, const coObjectiveSet& objectives, int level, bool& ringsWritten);

void coReadMissionBudgets(chReader& reader, u16 version, u32 size, coMissionBudgets& budgets);
void coWriteMissionBudgets(chWriter& writer, const coMissionBudgets& budgets);
// The positions of the locked props go to `lockedPositions`; the flags and piece count to `locks`.
void coReadMissionLocks(chReader& reader, u32 size, coMissionLocks& locks,
                        std::vector<maVector3d>& lockedPositions);
void coWriteMissionLocks(chWriter& writer, const coMissionLocks& locks);
void coReadFlythroughPath(chReader& reader, u16 version, u32 size, coFlythroughPath& path);
void coWriteFlythroughPath(chWriter& writer, const coFlythroughPath& path);
