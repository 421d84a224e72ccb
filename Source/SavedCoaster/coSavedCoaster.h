#pragma once
#include "Engine/App/Ch/chReader.h"
#include "Engine/App/Fs/fsLocator.h"
#include "Engine/Core/Ma/maVector.h"
#include "Source/World/coPropListChunk.h"

#include <memory>
#include <string>
#include <vector>

class chWriter;
class coCoasterPiece;

// The saved coaster file ".csa": one binary chunk file holding the coaster's setting (CDAT), its track
// colour scheme (CCMP), its ride statistics (CSTT), its piece list (CPLS) and its props (CPRL).

// A saved coaster's file is its name with this extension, in the first folder of the saves root.
inline constexpr const char* coSavedCoasterExtension = ".csa";

inline constexpr u32 coChunkCoasterData = chMakeId('C', 'D', 'A', 'T');
inline constexpr u32 coChunkColourScheme = chMakeId('C', 'C', 'M', 'P');
inline constexpr u32 coChunkStatistics = chMakeId('C', 'S', 'T', 'T');
inline constexpr u32 coChunkSnapshot = chMakeId('C', 'S', 'N', 'P');

inline constexpr u16 coCoasterDataVersion = 4;

// The setting of a coaster as the file stores it; the members start at the values that hold when the
// file lacks them.
struct coCoasterData {
    maVector3d dockPosition;
    float dockHeading = 0.0f;
    std::string coasterType = "Steel";
    std::string environment = "Mountain";
    bool closed = true;
    // Empty in the file of an empty circuit.
    std::string dockType = "Ironvale";
    int environmentIndex = 0;
    bool airDrag = false;
    bool propCollisionsOff = false;
    int carsPerTrain = 4;
    std::string themeName;
    int musicTrack = 5;
    fsLocator musicFolder;
    std::string rideSoundSet;
};

// Writes the coaster to the file: a temporary file beside it is written and checked, then renamed over
// the old one, so a failure anywhere leaves the old file as it was (and is thrown on).
void coSaveCoasterFile(const fsLocator& locator);
// The chunks of the file after its header, in order.
void coWriteCoasterChunks(chWriter& writer);
void coWriteCoasterStats(chWriter& writer);

// Reads the whole file into temporaries; only a file read to its end replaces the world (cleared, then
// given the coaster). A bad file throws (coInvalidSaveFileX for a newer version, chInvalidChunkX or the
// file's own exceptions otherwise, gfInvalidFileBinX for one that ends at its header) and leaves the
// current coaster as it was.
void coLoadCoasterFile(const fsLocator& locator);
// Reads a CDAT chunk body (the reader inside it). Counts and values are checked against the chunk;
// names that are not plain folder names, cars below 1 and a negative environment index take their
// defaults with a warning. Version 0 throws chInvalidChunkX.
void coReadCoasterData(chReader& reader, u16 version, u32 size, coCoasterData& data);
// Only the setting of the file's first CDAT chunk (the defaults without one).
void coReadCoasterSetting(const fsLocator& locator, std::string& coasterType, std::string& environment,
                          std::string& dockType, bool& closed);
// The display names of the file's coaster type, environment and dock; valid when the setting was read and
// names a coaster type of root 7 and an environment of root 8. A file that is no coaster file (its header
// or chunks cannot be read) throws gfInvalidFileBinX or chInvalidChunkX.
void coReadCoasterSummary(const fsLocator& locator, std::string& typeName, std::string& environmentName,
                          std::string& dockName, bool& closed, bool& valid);
// Puts a loaded coaster into the world (which the caller has cleared).
void coApplyCoasterData(std::vector<std::unique_ptr<coCoasterPiece>> pieces,
                        std::vector<std::unique_ptr<coPendingProps>> props, const coCoasterData& data);
