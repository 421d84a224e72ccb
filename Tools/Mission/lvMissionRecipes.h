#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Source/Career/coMissionObjective.h"

#include <array>
#include <string>
#include <vector>

class gfTextSet;

// What a mission asks beyond its square: nothing, flying through a ring (beside the square over a free
// side its piece moves across, or at the top of its loop), passing close by a fountain, passing a fountain
// beside each free side in turn, or passing a fountain set to its burst. Each fountain stands where only
// the side its piece moves across passes near it.
enum class lvMissionFeature { None, Ring, LoopRing, Prop, PropOrder, PropEvent };

// What the player lays before the straights of a free side, beyond the square: nothing, an S-turn, two
// S-turns in a row that end in line, a turn against the circuit's hand with one that straightens it, a
// loop or a corkscrew. Each but the pair of S-turns moves the side across; the other free side takes it up.
enum class lvMissionPiece { None, STurn, TwoSTurns, RightTurn, Loop, Corkscrew };

// Where a mission is built: the mountain park or the dark cavern, ridden with the headlight.
enum class lvMissionSite { Mountains, Cavern };

// What silver and gold ask beyond bronze, and what the solution lays on its free straights for them:
// - Straights: the free sides in more straights, beside a statistic that fits the mission;
// - Speed: the win level asks a top or average speed that only accelerators give, silver and gold more
//   of it; accelerators on the free sides' last straights, more for each medal, up to all of them;
// - Faster: silver and gold ask a higher top or average speed; accelerators on the second free side's
//   last straights, one more for each medal.
enum class lvMissionMedal { Straights, Speed, Faster };

// The ground a mission's circuit stands on, which places its station: the flat middle of its site; across
// the gorge, its station on one rim and its far side on the other; on the slope, its station at the top and
// the square falling away from it, or beside it down the fall line when a fountain must stand by the far
// side; high on the hill's flank with the square below; on the cavern's floor where it rises to the walls,
// the square reaching in from there.
enum class lvMissionGround { Flat, Gorge, Slope, Hill, CavernFloor };

// A statistic a mission asks (a coStatKind), and whether the ride must stay above or below its threshold.
struct lvStatAim {
    int kind;
    bool above;
};

// What silver or gold asks beyond the medal below: the free sides in more straights, in all or in a row (a
// Straights mission), or a higher top or average speed (Speed, Faster); beside it a statistic of the ride.
enum class lvMedalMore { Straights, StraightsInARow, TopSpeed, AverageSpeed };
struct lvMedalAim {
    lvMedalMore more;
    lvStatAim beside;
};

// The square the mission starts from: its straights in turn, its corners and their hand.
struct lvMissionSquare {
    float sideA, sideB;
    float cornerRadius = 15.0f;
    bool rightHanded = false; // the corners turn right
};

// Where the station's middle is asked to stand on its ground, and the way the square lies from it; the
// writer moves the circuit into the placement grid and lifts it clear of the ground.
struct lvMissionPlace {
    lvMissionGround ground;
    float x, z;
    float inwardX, inwardZ;
};

// One default career mission. Each is laid as one whole closed circuit, its solution; the mission starts
// from the first pieces of it, and its win level asks for a little less than the whole circuit gives.
struct lvMissionRecipe {
    const char* type;  // the track type's folder: "Starter", "Junior", "Senior" (career 0), "Classic",
                       // "Vintage", "Grand" (career 1) or "Final"
    int number;        // of "Mission<number>.cmi", 1 to 8
    const char* title; // the coaster's name
    lvMissionSquare square;
    lvMissionSite site;
    int environmentIndex; // the site's variant: day, dusk or night on the mountains
    lvMissionPlace place;
    std::array<lvMissionPiece, 2> pieces; // laid in the first and the second free side, and asked for
    lvMissionFeature feature;
    std::vector<lvStatAim> win; // the win level's statistics beside the pieces and the feature
    lvMissionMedal medal = lvMissionMedal::Straights;
    std::array<lvMedalAim, 2> medals{}; // silver's and gold's; an opener's ask only for straights
};

// The fifty missions, in the order of the careers.
const std::vector<lvMissionRecipe>& lvMissionRecipes();

// The pieces a mission gives at its start.
inline constexpr int lvMissionStartPieces = 4;

// The straights in each side the player lays that silver and gold ask for.
inline constexpr int lvSilverStraightsPerSide = 2;
inline constexpr int lvGoldStraightsPerSide = 3;

// Lays the recipe's whole circuit into the empty circuit and closes it, the straights of each side the
// player lays in that many pieces.
void lvLayMissionSolution(const lvMissionRecipe& recipe, int straightsPerSide = 1);

// The recipe closed plainly: its free sides without their pieces or accelerators, as a player who only
// closes the square.
lvMissionRecipe lvPlainClosing(const lvMissionRecipe& recipe);

// Lays what the player lays after the mission's start pieces: per free side its piece, its straights
// and a corner, each side's straights as long as the circuit needs to meet its start, the accelerators
// its medals ask for that many straights a side on the last of them. Leaves it open.
// Throws a runtime error when a side's straights would not fit the builder's lengths.
void lvLayMissionFreePieces(const lvMissionRecipe& recipe, int straightsPerSide);

// Throws a runtime error when the row breaks a rule the writer does not meet by laying: a locked side
// longer than the builder's longest straight, a number outside 1 to 8 or taken twice in its track type, a
// square across the gorge too narrow to reach the other rim, an opener with other than two statistics, a
// medal that asks straights of a speed mission or a speed of a Straights one.
void lvCheckMissionRecipe(const lvMissionRecipe& recipe);

// Writes the mission and its text set from the solved circuit, then leaves the circuit empty; returns the
// mission's hint. Throws a runtime error when the circuit laid as gold asks misses a statistic or count of
// the mission, when its solution does not beat the plain closing clearly in a win statistic, when a medal's
// accelerators give no higher speed than the medal below's, or when its ring or a fountain is not where
// only the solution reaches it (a ring with no loop or moved side to stand at, fountains of which none
// needs a detour). Its world is
// its site's environment with the "Ironvale" dock at the start, its ring or fountains if it has them. The
// mission goes to "<type>/Mission<number>.cmi" of the missions root, its texts (0 title, 1 briefing, 2
// success, 3 failure) to "Missions/<type>/Mission<number>.tsf" of the text root.
std::string lvWriteMission(const lvMissionRecipe& recipe, const gfTextSet& objectiveTexts);

// The text sets of the track types ("<type>.tsf" of the text root): per mission d its hint (given in the
// order of lvMissionRecipes) at id d and its title, the coaster's name, at coCoasterNameOffset + d.
void lvWriteTrackTypeTexts(const std::vector<std::string>& hints);
