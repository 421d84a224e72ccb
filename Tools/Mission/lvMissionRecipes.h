#pragma once
#include "Engine/App/Fs/fsLocator.h"

#include <string>
#include <vector>

class gfTextSet;

// The default career missions. Each is laid as one whole closed circuit, its solution; the mission starts
// from the first pieces of it, and its win level asks for a little less than the whole circuit gives.
struct lvMissionRecipe {
    const char* type;   // the track type's folder: "Starter" (career 0), "Classic" (career 1) or "Final"
    int number;         // of "Mission<number>.cmi", 1 to 8
    float sideA, sideB; // the square's straights, in turn
    const char* title;
};

const std::vector<lvMissionRecipe>& lvMissionRecipes();

// The pieces a mission gives at its start.
inline constexpr int lvMissionStartPieces = 4;

// Lays the recipe's whole circuit into the empty circuit and closes it.
void lvLayMissionSolution(const lvMissionRecipe& recipe);

// Writes the mission and its text set from the solved circuit, then leaves the circuit empty. The mission
// goes to "<type>/Mission<number>.cmi" of the missions root, its texts (0 title, 1 briefing, 2 success,
// 3 failure) to "Missions/<type>/Mission<number>.tsf" of the text root.
void lvWriteMission(const lvMissionRecipe& recipe, const gfTextSet& objectiveTexts);

// The text sets of the track types ("<type>.tsf" of the text root): per mission d its title at id d and a
// line about it at 32 + d.
void lvWriteTrackTypeTexts();
