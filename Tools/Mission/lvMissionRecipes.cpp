#include "Tools/Mission/lvMissionRecipes.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"

#include <filesystem>
#include <map>

namespace {

constexpr float kTurnRadius = 15.0f;
constexpr float kEasy = 0.9f; // the share of the solution's values that the win level asks for

fsLocator Rooted(i32 root, const std::string& relative) {
    fsLocator locator;
    fsLocatorFromNativePath(relative.c_str(), locator);
    locator.SetRoot(root);
    fsLocateInFirstRootDirectory(locator);
    fsLocator folder = locator;
    folder.RemoveLastComponent();
    std::string path;
    fsLocatorToNativePath(folder, path);
    std::filesystem::create_directories(path);
    return locator;
}

std::string MissionName(const lvMissionRecipe& recipe) {
    return "Mission" + std::to_string(recipe.number);
}

void Append(std::unique_ptr<coCoasterPiece> piece) {
    piece->SetElement(coElementChainLift);
    coCircuitAppend(std::move(piece), true);
}

// The win level: the track length and four left turns; the Classic missions also the top speed, the Final
// ones the ride time. Bronze asks for a longer ride than the solution gives, silver and gold for the free
// sides laid in more straights.
void AddObjectives(const lvMissionRecipe& recipe, coObjectiveSet& set, const gfTextSet& texts) {
    const coRideStats& stats = coGetRideStats();
    const std::string type = recipe.type;
    set.Add(std::make_unique<coStatObjective>(8, true, stats[coStatCircuitLength] * kEasy, texts), 0);
    set.Add(std::make_unique<coTrackCountObjective>(2, 4, false, texts), 0);
    if (type == "Classic")
        set.Add(std::make_unique<coStatObjective>(1, true, stats[coStatHighestSpeed] * kEasy, texts), 0);
    if (type == "Final")
        set.Add(std::make_unique<coStatObjective>(7, true, stats[coStatRideTime] * kEasy, texts), 0);
    set.Add(std::make_unique<coStatObjective>(7, true, stats[coStatRideTime], texts), 1);
    set.Add(std::make_unique<coTrackCountObjective>(0, 2 + 2 * lvSilverStraightsPerSide, false, texts), 2);
    set.Add(std::make_unique<coTrackCountObjective>(0, 2 + 2 * lvGoldStraightsPerSide, false, texts), 3);
}

} // namespace

const std::vector<lvMissionRecipe>& lvMissionRecipes() {
    static const std::vector<lvMissionRecipe> recipes = [] {
        // Three track types a career, so that completing them opens "Final" on its page. Mission d's square
        // has the sides side + grow * d.
        static const struct {
            const char* name;
            float sideA, sideB, growA, growB;
        } kTypes[] = {{"Starter", 20.0f, 20.0f, 2.0f, 2.0f}, {"Junior", 24.0f, 22.0f, 2.0f, 2.0f},
                      {"Senior", 26.0f, 28.0f, 2.0f, 2.0f},  {"Classic", 24.0f, 30.0f, 3.0f, 2.0f},
                      {"Vintage", 28.0f, 34.0f, 3.0f, 2.0f}, {"Grand", 32.0f, 36.0f, 3.0f, 2.0f}};
        static const char* const kTitles[][8] = {{"First Circuit", "Longer Sides", "Stretch", "Wide Square",
                                                  "Long Haul", "Far Corners", "Big Block",
                                                  "The Grand Square"},
                                                 {"Side Step", "Square Deal", "Corner Shop", "Two by Two",
                                                  "Even Keel", "Level Best", "Steady Run", "Full Lap"},
                                                 {"High Noon", "Long Shadow", "Tall Order", "Wide Berth",
                                                  "Far Reach", "Open Field", "Home Run", "Top Form"},
                                                 {"Old Timer", "Boardwalk", "Pier Run", "County Fair",
                                                  "Long Lines", "The Meadow", "Night Train", "Heritage"},
                                                 {"Penny Ride", "Bandstand", "Carousel Row", "Lantern Walk",
                                                  "Old Mill", "Promenade", "Pavilion", "Sunday Best"},
                                                 {"Grand Tour", "Great Lawn", "Royal Park", "Crown Green",
                                                  "Palace Gate", "Regatta", "Jubilee", "Grand Finale"}};
        std::vector<lvMissionRecipe> all;
        for (size_t t = 0; t < std::size(kTypes); ++t)
            for (int d = 1; d <= 8; ++d)
                all.push_back({kTypes[t].name, d, kTypes[t].sideA + kTypes[t].growA * static_cast<float>(d),
                               kTypes[t].sideB + kTypes[t].growB * static_cast<float>(d), kTitles[t][d - 1]});
        all.push_back({"Final", 1, 60.0f, 40.0f, "Championship"});
        all.push_back({"Final", 2, 70.0f, 50.0f, "Masterpiece"});
        return all;
    }();
    return recipes;
}

void lvLayMissionSolution(const lvMissionRecipe& recipe, int straightsPerSide) {
    for (int side = 0; side < 4; ++side) {
        // The free sides in equal straights.
        const int straights = side < 2 ? 1 : straightsPerSide;
        const float length = side % 2 ? recipe.sideB : recipe.sideA;
        for (int i = 0; i < straights; ++i) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(length / static_cast<float>(straights));
            straight->Place(maVector3d(0.0f, 2.0f, 0.0f), 0.0f);
            Append(std::move(straight));
        }
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(coDegrees(90.0f));
        turn->SetRadius(kTurnRadius);
        Append(std::move(turn));
    }
    coCircuitClose();
}

void lvWriteMission(const lvMissionRecipe& recipe, const gfTextSet& objectiveTexts) {
    coRideComputeStats();
    coObjectiveSet objectives;
    AddObjectives(recipe, objectives, objectiveTexts);
    // The start gives half the circuit; the player lays two left turns and the straights of the gold level.
    coMissionBudgets budgets;
    budgets.fill(0);
    budgets[0] = 2 * lvGoldStraightsPerSide;
    budgets[2] = 2;
    for (int element = 6; element <= 9; ++element)
        budgets[element] = -1;
    coMissionLocks locks{true, false, lvMissionStartPieces, {}};
    coFlythroughPath path;
    path.SetFlightTime(6.0f);
    const float half = 0.5f * (recipe.sideA + recipe.sideB) + kTurnRadius;
    path.AddPoint(maVector3d(-40.0f, 30.0f, -40.0f), maVector3d(half, 0.0f, half));
    path.AddPoint(maVector3d(half, 40.0f, -60.0f), maVector3d(half, 0.0f, half));
    path.AddPoint(maVector3d(2 * half + 40.0f, 25.0f, half), maVector3d(half, 0.0f, half));
    while (coCircuitPieceCount() > lvMissionStartPieces)
        coCircuitRemoveLast();

    const std::string name = MissionName(recipe);
    coWriteMissionFile(Rooted(coRootMissions, std::string(recipe.type) + "/" + name + ".cmi"), budgets,
                       objectives, locks, path);
    const std::string title = recipe.title;
    // What the medal question says: completed, bronze, silver, gold.
    gfWriteTextSet(Rooted(coRootText, "Missions/" + std::string(recipe.type) + "/" + name + ".tsf"), 32,
                   {{0, envString((title + " is complete. Ride it?").c_str())},
                    {1, envString((title + " wins bronze! Ride it?").c_str())},
                    {2, envString((title + " wins silver! Ride it?").c_str())},
                    {3, envString((title + " wins gold! Ride it?").c_str())}});
    coCircuitClear();
}

void lvWriteTrackTypeTexts() {
    std::map<std::string, std::map<u32, envString>> sets;
    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        auto& texts = sets[recipe.type];
        texts[static_cast<u32>(recipe.number)] =
            envString("Lay the two missing sides of the square, each as long as the side across from it, "
                      "with a left turn after each. More straights in a side win better medals.");
        texts[32u + static_cast<u32>(recipe.number)] = envString(recipe.title);
    }
    for (const auto& [type, texts] : sets)
        gfWriteTextSet(Rooted(coRootText, type + ".tsf"), 32, texts);
}
