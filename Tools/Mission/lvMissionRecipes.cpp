#include "Tools/Mission/lvMissionRecipes.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/World/coPropListChunk.h"
#include "Source/World/coTargetRingList.h"
#include "Tools/World/toolParkWorld.h"

#include <cmath>
#include <filesystem>
#include <map>

namespace {

constexpr float kTurnRadius = 15.0f;
constexpr float kEasy = 0.9f; // the share of the solution's values that the win level asks for
constexpr float kRingRadius = 6.0f;
constexpr float kPropAside = 7.0f; // from the middle of its side, outwards, well within its trigger distance
constexpr float kPropStay = 0.5f;  // seconds the lead car must stay near the fountain

// The world a mission is written from: the mountain environment, the "Ironvale" dock at the start, and
// the mission's own ring and fountain. Its props are only records, so the handles that objectives keep
// point at those records.
class MissionWorld : public coSavedCoasterServices, public coMissionWorld {
  public:
    MissionWorld() {
        coSetSavedCoasterServices(this);
        coSetMissionWorld(this);
    }
    ~MissionWorld() override {
        coSetMissionWorld(nullptr);
        coSetSavedCoasterServices(nullptr);
    }
    MissionWorld(const MissionWorld&) = delete;
    MissionWorld& operator=(const MissionWorld&) = delete;

    std::string GetEnvironmentName() const override { return "Mountain"; }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        position = maVector3d(0.0f, 2.0f, 0.0f);
        heading = 0.0f;
        type = "Ironvale";
        return true;
    }
    void WriteProps(chWriter& writer) const override { coWritePropRecords(writer, props); }
    maVector3d GetPropPosition(const coProp* prop) const override { return Record(prop).position; }
    envString GetPropName(const coProp*) const override { return envString("Fountain"); }
    void WriteRings(chWriter& writer) const override { coWriteRingRecords(writer, rings); }

    coProp* AddProp(const coPropRecord& record) {
        props.push_back(record);
        return reinterpret_cast<coProp*>(&props.back());
    }

    std::vector<coPropRecord> props; // reserved up front: handles point into it
    std::vector<coRingRecord> rings;

  private:
    static const coPropRecord& Record(const coProp* prop) {
        return *reinterpret_cast<const coPropRecord*>(prop);
    }
};

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

// The middle of the first straight the player lays in the free side (0 or 1) of the solved circuit, with
// its direction, and the square's centre.
maVector3d FreeSideMiddle(int side, maVector3d& direction, maVector3d& centre) {
    centre = maVector3d(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < coCircuitPieceCount(); ++i)
        centre =
            centre + coCircuitPieceAt(i)->GetStart() * (1.0f / static_cast<float>(coCircuitPieceCount()));
    const int index = lvMissionStartPieces + 2 * side;
    const maVector3d start = coCircuitPieceAt(index)->GetStart(),
                     end = coCircuitPieceAt(index + 1)->GetStart();
    direction = end - start;
    return (start + end) * 0.5f;
}

// A two-way ring over the first free side, which every way of closing the square flies through.
void AddRing(MissionWorld& world, coObjectiveSet& set, const gfTextSet& texts) {
    maVector3d direction, centre;
    const maVector3d middle = FreeSideMiddle(0, direction, centre);
    coRingRecord ring;
    ring.kind = 1;
    ring.radius = kRingRadius;
    ring.position = middle + maVector3d(0.0f, 1.5f, 0.0f);
    ring.heading = std::atan2(direction.x, direction.z);
    world.rings.push_back(ring);
    set.Add(std::make_unique<coRingObjective>(texts), 0);
}

// A fountain on the ground outside the second free side; the train must stay near it for a moment.
void AddFountain(MissionWorld& world, coObjectiveSet& set, const gfTextSet& texts) {
    maVector3d direction, centre;
    const maVector3d middle = FreeSideMiddle(1, direction, centre);
    maVector3d outwards(middle.x - centre.x, 0.0f, middle.z - centre.z);
    outwards = outwards * (kPropAside / std::hypot(outwards.x, outwards.z));
    coPropRecord fountain;
    fountain.name = envString("fountain");
    fountain.position = middle + outwards;
    fountain.position.y = toolMountainHeight(fountain.position.x, fountain.position.z);
    set.Add(std::make_unique<coPropProximityObjective>(world.AddProp(fountain), kPropStay, texts), 0);
}

const char* Hint(lvMissionFeature feature) {
    switch (feature) {
    case lvMissionFeature::Ring:
        return "Lay the two missing sides of the square, each as long as the side across from it, with a "
               "left turn after each; the first must fly through the ring. More straights in a side win "
               "better medals.";
    case lvMissionFeature::Prop:
        return "Lay the two missing sides of the square, each as long as the side across from it, with a "
               "left turn after each; the second passes the fountain. More straights in a side win better "
               "medals.";
    case lvMissionFeature::None:
        break;
    }
    return "Lay the two missing sides of the square, each as long as the side across from it, with a left "
           "turn after each. More straights in a side win better medals.";
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
        // Early in the first career, so that a player soon meets a ring and a prop to pass.
        all[1].feature = lvMissionFeature::Ring;
        all[2].feature = lvMissionFeature::Prop;
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
    MissionWorld world;
    world.props.reserve(1);
    coRideComputeStats();
    coObjectiveSet objectives;
    AddObjectives(recipe, objectives, objectiveTexts);
    if (recipe.feature == lvMissionFeature::Ring)
        AddRing(world, objectives, objectiveTexts);
    if (recipe.feature == lvMissionFeature::Prop)
        AddFountain(world, objectives, objectiveTexts);
    // The start gives half the circuit; the player lays two left turns and the straights of the gold level.
    coMissionBudgets budgets;
    budgets.fill(0);
    budgets[0] = 2 * lvGoldStraightsPerSide;
    budgets[2] = 2;
    for (int element = 6; element <= 9; ++element)
        budgets[element] = -1;
    coMissionLocks locks{true, false, lvMissionStartPieces, {}};
    coFlythroughPath path;
    // With its waits, long enough for the spoken title and briefing (up to 11 s), which it would cut off.
    path.SetFlightTime(10.0f);
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
        texts[static_cast<u32>(recipe.number)] = envString(Hint(recipe.feature));
        texts[coCoasterNameOffset + static_cast<u32>(recipe.number)] = envString(recipe.title);
    }
    for (const auto& [type, texts] : sets)
        gfWriteTextSet(Rooted(coRootText, type + ".tsf"), 32, texts);
}
