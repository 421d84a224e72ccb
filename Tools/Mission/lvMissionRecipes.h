#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <array>
#include <string>
#include <vector>

class gfTextSet;

// What a mission asks beyond its square: nothing, flying through a ring over the first side the player
// lays, passing close by a fountain beside the second, passing a fountain beside each in turn, or
// passing the second's fountain set to its burst.
enum class lvMissionFeature { None, Ring, Prop, PropOrder, PropEvent };

// What the player lays before the straights of a free side, beyond the square: nothing, an S-turn, two
// S-turns in a row that end in line, a right turn with a left turn that straightens it, a loop or a
// corkscrew. Each but the pair of S-turns moves the side across; the other free side takes it up.
enum class lvMissionPiece { None, STurn, TwoSTurns, RightTurn, Loop, Corkscrew };

// Where a mission is built: the mountain park or the dark cavern, ridden with the headlight.
enum class lvMissionSite { Mountains, Cavern };

// The default career missions. Each is laid as one whole closed circuit, its solution; the mission starts
// from the first pieces of it, and its win level asks for a little less than the whole circuit gives.
struct lvMissionRecipe {
    const char* type;   // the track type's folder: "Starter", "Junior", "Senior" (career 0), "Classic",
                        // "Vintage", "Grand" (career 1) or "Final"
    int number;         // of "Mission<number>.cmi", 1 to 8
    float sideA, sideB; // the square's straights, in turn
    const char* title;
    lvMissionFeature feature = lvMissionFeature::None;
    lvMissionSite site = lvMissionSite::Mountains;
    std::array<int, 2> statKinds{}; // the two ride statistics the win level asks for (objective kinds)
    std::array<lvMissionPiece, 2> pieces{}; // laid in the first and the second free side, and asked for
};

const std::vector<lvMissionRecipe>& lvMissionRecipes();

// The pieces a mission gives at its start.
inline constexpr int lvMissionStartPieces = 4;

// The straights in each side the player lays that silver and gold ask for.
inline constexpr int lvSilverStraightsPerSide = 2;
inline constexpr int lvGoldStraightsPerSide = 3;

// Lays the recipe's whole circuit into the empty circuit and closes it, the straights of each side the
// player lays in that many pieces.
void lvLayMissionSolution(const lvMissionRecipe& recipe, int straightsPerSide = 1);

// Lays what the player lays after the mission's start pieces: per free side its piece, its straights
// and a left turn, each side's straights as long as the circuit needs to meet its start. Leaves it open.
// Throws a runtime error when a side's straights would not fit the builder's lengths.
void lvLayMissionFreePieces(const lvMissionRecipe& recipe, int straightsPerSide);

// Writes the mission and its text set from the solved circuit, then leaves the circuit empty. Throws a
// runtime error when the circuit laid as gold asks misses a statistic or count of the mission. Its world
// is its site's environment with the "Ironvale" dock at the start, its ring or fountains if it has them. The
// mission goes to "<type>/Mission<number>.cmi" of the missions root, its texts (0 title, 1 briefing, 2
// success, 3 failure) to "Missions/<type>/Mission<number>.tsf" of the text root.
void lvWriteMission(const lvMissionRecipe& recipe, const gfTextSet& objectiveTexts);

// The text sets of the track types ("<type>.tsf" of the text root): per mission d its hint at id d and its
// title, the coaster's name, at coCoasterNameOffset + d.
void lvWriteTrackTypeTexts();
