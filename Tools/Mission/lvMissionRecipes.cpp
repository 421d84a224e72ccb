#include "Tools/Mission/lvMissionRecipes.h"

#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsResolveRoot.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterPieceCorkscrew.h"
#include "Source/Track/coCoasterPieceLoop.h"
#include "Source/Track/coCoasterPieceSTurn.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/World/coPropListChunk.h"
#include "Source/World/coTargetRingList.h"
#include "Tools/World/toolParkWorld.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <stdexcept>

namespace {

const maVector3d kDock(0.0f, 2.0f, 0.0f); // heading 0, along z
constexpr float kTurnRadius = 15.0f;      // the builder's own left turn, which closes the square
constexpr float kCorner = coDegrees(90.0f);
// A free side's own piece: the loop's and corkscrew's run and the S-turn's length, the shortest loop the
// builder lays, so that the side keeps room for three straights; the builder's S-turn slide, loop slide
// and corkscrew approach; the angle of a right turn and of the left turn that straightens it.
constexpr float kPieceRun = 20.0f;
constexpr float kSTurnSlide = 8.0f, kLoopSlide = 4.0f, kCorkscrewApproach = coDegrees(30.0f);
constexpr float kStepAngle = coDegrees(45.0f);
// How near the free sides' end must come to the start before the circuit is closed.
constexpr float kCloseGap = 0.01f;
constexpr float kWhole = 0.98f; // the share of the solution's length that bronze asks for
// How far a statistic's threshold lies beyond the solution's value: a share of it and a little more, so
// that the same coaster laid in more straights still meets it.
constexpr float kStatMargin = 0.15f, kStatSlack = 0.05f;
constexpr float kRingRadius = 6.0f;
constexpr float kPropAside = 7.0f; // from the middle of its side, outwards, well within its trigger distance
constexpr float kPropStay = 0.5f;  // seconds the lead car must stay near the fountain
constexpr int kBurst = 0, kCascade = 1; // the fountain's entry events

// The world a mission is written from: the mountain environment, the "Ironvale" dock at the start, and
// the mission's own ring and fountain. Its props are only records, so the handles that objectives keep
// point at those records.
class MissionWorld : public coSavedCoasterServices, public coMissionWorld {
  public:
    explicit MissionWorld(lvMissionSite site) : site(site) {
        coSetSavedCoasterServices(this);
        coSetMissionWorld(this);
    }
    ~MissionWorld() override {
        coSetMissionWorld(nullptr);
        coSetSavedCoasterServices(nullptr);
    }
    MissionWorld(const MissionWorld&) = delete;
    MissionWorld& operator=(const MissionWorld&) = delete;

    std::string GetEnvironmentName() const override {
        return site == lvMissionSite::Cavern ? "cavern" : "Mountain";
    }
    float GroundHeight(float x, float z) const {
        return site == lvMissionSite::Cavern ? toolCavernHeight(x, z) : toolMountainHeight(x, z);
    }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        position = kDock;
        heading = 0.0f;
        type = "Ironvale";
        return true;
    }
    void WriteProps(chWriter& writer) const override { coWritePropRecords(writer, props); }
    maVector3d GetPropPosition(const coProp* prop) const override { return Record(prop).position; }
    envString GetPropName(const coProp*) const override { return envString("Fountain"); }
    // The fountain's entry events, as its template names them.
    envString GetPropEventName(const coProp*, int event) const override {
        return envString(event == kBurst ? "Burst" : event == kCascade ? "Cascade" : "");
    }
    void WriteRings(chWriter& writer) const override { coWriteRingRecords(writer, rings); }
    // The records have no recording to switch; the game's props do.
    void SetPropOrderTracked(coProp*, bool) override {}

    coProp* AddProp(const coPropRecord& record) {
        props.push_back(record);
        handles.push_back(reinterpret_cast<coProp*>(&props.back()));
        return handles.back();
    }

    std::vector<coPropRecord> props; // reserved up front: handles point into it
    std::vector<coRingRecord> rings;
    std::vector<coProp*> handles;
    lvMissionSite site;

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

// The first piece stays where it is placed: the station, whose middle is the dock's.
void AppendStraight(float length) {
    auto straight = std::make_unique<coCoasterPieceStraight>();
    straight->SetRunLength(length);
    straight->Place(kDock - maVector3d(0.0f, 0.0f, 0.5f * length), 0.0f);
    Append(std::move(straight));
}

void AppendTurn(float angle) {
    auto turn = std::make_unique<coCoasterPieceTurn>();
    turn->SetAngle(angle);
    turn->SetRadius(kTurnRadius);
    turn->Build();
    Append(std::move(turn));
}

void AppendSTurn(float length, float slide) {
    auto sTurn = std::make_unique<coCoasterPieceSTurn>();
    sTurn->SetRunLength(length);
    sTurn->SetSlide(slide);
    sTurn->Build();
    Append(std::move(sTurn));
}

// A free side's own piece, moving the side towards the inside of the circuit (inwards 1) or away from it
// (-1). A positive angle turns left, into the circuit; a positive S-turn slide moves to the right.
void AppendSidePiece(lvMissionPiece piece, float inwards) {
    switch (piece) {
    case lvMissionPiece::STurn:
        AppendSTurn(kPieceRun, -kSTurnSlide * inwards);
        break;
    case lvMissionPiece::TwoSTurns:
        AppendSTurn(0.5f * kPieceRun, kSTurnSlide);
        AppendSTurn(0.5f * kPieceRun, -kSTurnSlide);
        break;
    case lvMissionPiece::RightTurn:
        AppendTurn(kStepAngle * inwards);
        AppendTurn(-kStepAngle * inwards);
        break;
    case lvMissionPiece::Loop: {
        auto loop = std::make_unique<coCoasterPieceLoop>();
        loop->SetRunLength(kPieceRun);
        loop->SetHeight(kPieceRun);
        loop->SetSlide(kLoopSlide * inwards);
        loop->Build();
        Append(std::move(loop));
        break;
    }
    case lvMissionPiece::Corkscrew: {
        auto corkscrew = std::make_unique<coCoasterPieceCorkscrew>();
        corkscrew->SetRunLength(kPieceRun);
        corkscrew->SetApproachAngle(kCorkscrewApproach * inwards);
        Append(std::move(corkscrew));
        break;
    }
    case lvMissionPiece::None:
        break;
    }
}

// The free sides' pieces with straights of the given lengths, each side in that many straights.
void AppendFreeSides(const lvMissionRecipe& recipe, const std::array<float, 2>& lengths,
                     int straightsPerSide) {
    // The first side's piece moves it inwards, shortening the second side, unless that side has its own
    // piece: it then moves outwards, so that the second side keeps room for its straights.
    const bool secondHasPiece = recipe.pieces[1] != lvMissionPiece::None;
    for (int side = 0; side < 2; ++side) {
        AppendSidePiece(recipe.pieces[side], side == 0 && secondHasPiece ? -1.0f : 1.0f);
        for (int i = 0; i < straightsPerSide; ++i)
            AppendStraight(lengths[side] / static_cast<float>(straightsPerSide));
        AppendTurn(kCorner);
    }
}

// Whether a statistic objective of the kind asks to stay above its threshold (the speeds, the ride, the
// lowest of the G-forces and the ground clearance) or below it (the highest G-forces and height).
constexpr bool kAbove[coStatObjectiveKindCount] = {true, true, true,  false, true,  false, true,
                                                   true, true, false, false, false, true};
// The record value of each statistic objective kind.
constexpr int kStatRecord[coStatObjectiveKindCount] = {0, 1, 2, 4, 7, 10, 9, 12, 11, 3, 6, 5, 8};

std::unique_ptr<coStatObjective> StatObjective(int kind, const gfTextSet& texts) {
    const float value = coGetRideStats()[kStatRecord[kind]];
    const float beyond = kStatMargin * std::fabs(value) + kStatSlack;
    return std::make_unique<coStatObjective>(kind, kAbove[kind],
                                             kAbove[kind] ? value - beyond : value + beyond, texts);
}

// The piece kind code of a free side's piece, and how many of it the piece lays.
std::pair<int, int> PieceCount(lvMissionPiece piece) {
    switch (piece) {
    case lvMissionPiece::STurn:
        return {coPieceCodeSTurn, 1};
    case lvMissionPiece::TwoSTurns:
        return {coPieceCodeSTurn, 2};
    case lvMissionPiece::RightTurn:
        return {coPieceCodeTurnRight, 1};
    case lvMissionPiece::Loop:
        return {coPieceCodeLoop, 1};
    case lvMissionPiece::Corkscrew:
        return {coPieceCodeCorkscrew, 1};
    case lvMissionPiece::None:
        break;
    }
    return {coPieceCodeOther, 0};
}

// The win level: four left turns, the free sides' pieces (the two S-turns of a pair in a row) and the
// recipe's two statistics. Bronze asks for the whole circuit's length, silver and gold for the free
// sides laid in more straights, gold in a row.
void AddObjectives(const lvMissionRecipe& recipe, coObjectiveSet& set, const gfTextSet& texts) {
    const coRideStats& stats = coGetRideStats();
    set.Add(std::make_unique<coTrackCountObjective>(coPieceCodeTurnLeft, 4, false, texts), 0);
    std::map<int, int> counts;
    for (lvMissionPiece piece : recipe.pieces)
        if (piece != lvMissionPiece::None)
            counts[PieceCount(piece).first] += PieceCount(piece).second;
    const bool pair = std::ranges::count(recipe.pieces, lvMissionPiece::TwoSTurns) > 0;
    for (const auto& [code, count] : counts)
        set.Add(std::make_unique<coTrackCountObjective>(code, count, pair && code == coPieceCodeSTurn, texts),
                0);
    for (int kind : recipe.statKinds)
        set.Add(StatObjective(kind, texts), 0);
    set.Add(std::make_unique<coStatObjective>(8, true, stats[coStatCircuitLength] * kWhole, texts), 1);
    set.Add(std::make_unique<coTrackCountObjective>(coPieceCodeStraight, 2 + 2 * lvSilverStraightsPerSide,
                                                    false, texts),
            2);
    set.Add(std::make_unique<coTrackCountObjective>(coPieceCodeStraight, 2 + 2 * lvGoldStraightsPerSide,
                                                    false, texts),
            3);
    set.Add(std::make_unique<coTrackCountObjective>(coPieceCodeStraight, lvGoldStraightsPerSide, true, texts),
            3);
}

// The middle of the straights the player lays in the free side (0 or 1) of the solved circuit, with their
// direction, and the circuit's centre.
maVector3d FreeSideMiddle(int side, maVector3d& direction, maVector3d& centre) {
    centre = maVector3d(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < coCircuitPieceCount(); ++i)
        centre =
            centre + coCircuitPieceAt(i)->GetStart() * (1.0f / static_cast<float>(coCircuitPieceCount()));
    // The side's straights are the side-th run of them after the start.
    const auto isStraight = [](int i) {
        return i < coCircuitPieceCount() && coObjectivePieceKind(*coCircuitPieceAt(i)) == coPieceCodeStraight;
    };
    int first = lvMissionStartPieces;
    for (int run = 0;; ++run) {
        while (!isStraight(first))
            ++first;
        int last = first;
        while (isStraight(last + 1))
            ++last;
        if (run == side) {
            const maVector3d start = coCircuitPieceAt(first)->GetStart(),
                             end = coCircuitPieceAt(last)->GetEnd();
            direction = end - start;
            return (start + end) * 0.5f;
        }
        first = last + 1;
    }
}

// A two-way ring over the first free side, which every way of closing the square flies through. Returns
// where the fly-over looks.
maVector3d AddRing(MissionWorld& world, coObjectiveSet& set, const gfTextSet& texts) {
    maVector3d direction, centre;
    const maVector3d middle = FreeSideMiddle(0, direction, centre);
    coRingRecord ring;
    ring.kind = 1;
    ring.radius = kRingRadius;
    // A little before the middle, so that it stands clear of the joints of the side laid in two or three
    // straights, where a pass could fall between two path segments.
    ring.position = middle - direction * 0.1f + maVector3d(0.0f, 1.5f, 0.0f);
    ring.heading = std::atan2(direction.x, direction.z);
    world.rings.push_back(ring);
    set.Add(std::make_unique<coRingObjective>(texts), 0);
    return ring.position;
}

// A fountain on the ground outside the free side (0 or 1), playing its entry event of that number.
coProp* AddFountain(MissionWorld& world, int side, int event = kBurst) {
    maVector3d direction, centre;
    const maVector3d middle = FreeSideMiddle(side, direction, centre);
    maVector3d outwards(middle.x - centre.x, 0.0f, middle.z - centre.z);
    outwards = outwards * (kPropAside / std::hypot(outwards.x, outwards.z));
    coPropRecord fountain;
    fountain.name = envString("fountain");
    fountain.position = middle + outwards;
    fountain.position.y = world.GroundHeight(fountain.position.x, fountain.position.z);
    // Written only with its flag; without it the game starts the fountain in its first event, Burst.
    fountain.activeEvent = event;
    fountain.hasEvent = true;
    return world.AddProp(fountain);
}

// The feature's objectives and props; returns where the fly-over looks, the square's centre without one.
maVector3d AddFeature(const lvMissionRecipe& recipe, MissionWorld& world, coObjectiveSet& set,
                      const gfTextSet& texts) {
    maVector3d direction, centre;
    FreeSideMiddle(0, direction, centre);
    switch (recipe.feature) {
    case lvMissionFeature::Ring:
        return AddRing(world, set, texts);
    case lvMissionFeature::Prop: {
        // The train must stay near the fountain for a moment.
        coProp* fountain = AddFountain(world, 1);
        set.Add(std::make_unique<coPropProximityObjective>(fountain, kPropStay, texts), 0);
        return world.GetPropPosition(fountain);
    }
    case lvMissionFeature::PropEvent: {
        // It stands in its cascade; the player sets it to burst and passes it.
        coProp* fountain = AddFountain(world, 1, kCascade);
        set.Add(std::make_unique<coPropActivationEventObjective>(fountain, kPropStay, kBurst, texts), 0);
        return world.GetPropPosition(fountain);
    }
    case lvMissionFeature::PropOrder:
        // The first side's fountain first, the second's after it.
        for (int side = 0; side < 2; ++side)
            set.Add(std::make_unique<coPropOrderingObjective>(AddFountain(world, side), side + 1, texts), 0);
        return centre;
    case lvMissionFeature::None:
        break;
    }
    return centre;
}

// The circuit relaid as gold asks must meet every statistic and count of every level; the rings and props
// are the running game's, proved by the content tests. A mission that fails stops the content build.
void CheckGoldSolution(const lvMissionRecipe& recipe, const coObjectiveSet& objectives) {
    coCircuitClear();
    lvLayMissionSolution(recipe, lvGoldStraightsPerSide);
    coRideComputeStats();
    for (int level = 0; level < 4; ++level)
        for (const auto& objective : objectives.GetLevel(level))
            if ((dynamic_cast<const coStatObjective*>(objective.get()) ||
                 dynamic_cast<const coTrackCountObjective*>(objective.get())) &&
                !objective->IsMet())
                throw std::runtime_error(std::string(recipe.type) + "/" + MissionName(recipe) +
                                         ": its solution misses \"" +
                                         envStringToNarrow(objective->GetDescription()) + "\"");
}

// What the win level's statistics are called in a hint, and whether it asks for more or less.
constexpr const char* kStatWords[coStatObjectiveKindCount] = {
    "lowest speed",     "top speed",         "average speed",   "highest vertical G", "lowest vertical G",
    "highest point",    "lowest point",      "ride time",       "track length",       "highest lateral G",
    "lowest lateral G", "highest forward G", "lowest forward G"};

// What the free sides' pieces are called in a hint, one or more of them.
const char* PieceWords(lvMissionPiece piece, bool plural) {
    switch (piece) {
    case lvMissionPiece::STurn:
        return plural ? "S-turns" : "an S-turn";
    case lvMissionPiece::TwoSTurns:
        return "two S-turns in a row";
    case lvMissionPiece::RightTurn:
        return plural ? "right turns" : "a right turn";
    case lvMissionPiece::Loop:
        return plural ? "loops" : "a loop";
    case lvMissionPiece::Corkscrew:
        return plural ? "corkscrews" : "a corkscrew";
    case lvMissionPiece::None:
        break;
    }
    return "";
}

std::string Hint(const lvMissionRecipe& recipe) {
    std::string hint = "Close the square, a left turn after each side. ";
    const auto [first, second] = recipe.pieces;
    if (first == second && first != lvMissionPiece::None)
        hint = std::string("Add two ") + PieceWords(first, true) + ", then close the circuit. ";
    else if (first != lvMissionPiece::None)
        hint = std::string("Add ") + PieceWords(first, false) +
               (second == lvMissionPiece::None ? "" : std::string(" and ") + PieceWords(second, false)) +
               ", then close the circuit. ";
    switch (recipe.feature) {
    case lvMissionFeature::Ring:
        hint += "Fly through the ring. ";
        break;
    case lvMissionFeature::Prop:
        hint += "Pass the fountain. ";
        break;
    case lvMissionFeature::PropEvent:
        hint += "Set the fountain to Burst and pass it. ";
        break;
    case lvMissionFeature::PropOrder:
        hint += "Pass the fountains in order. ";
        break;
    case lvMissionFeature::None:
        break;
    }
    const auto ask = [](int kind) {
        return std::string(kAbove[kind] ? "a high " : "a low ") + kStatWords[kind];
    };
    return hint + "Aim for " + ask(recipe.statKinds[0]) + " and " + ask(recipe.statKinds[1]) +
           ". More straights win better medals.";
}

} // namespace

const std::vector<lvMissionRecipe>& lvMissionRecipes() {
    static const std::vector<lvMissionRecipe> recipes = [] {
        // Three track types a career, so that completing them opens "Final" on its page. Mission d's square
        // has the sides side + grow * d, folded below the longest straight.
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
        // Each track type opens with the plain square and the length and top speed to beat; every other
        // mission asks for its own pair of statistics (the kinds a step apart, then two, three and four
        // apart) and a ring, a fountain, fountains in order or a fountain in its burst, in turn. The lowest
        // speed (the train starts at rest) and the lowest lateral G (0 on any straight) are never asked:
        // no coaster could miss them. Every fifth mission is in the cavern.
        constexpr lvMissionFeature kFeatures[] = {lvMissionFeature::Ring, lvMissionFeature::Prop,
                                                  lvMissionFeature::PropOrder, lvMissionFeature::PropEvent};
        constexpr int kAsked[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12};
        constexpr int kAskedCount = static_cast<int>(std::size(kAsked));
        // Missions 3, 5 and 7 of each track type and the Final's ask for pieces beyond the square, more
        // of them and harder ones from one track type to the next.
        using P = lvMissionPiece;
        static const std::map<std::pair<std::string, int>, std::array<P, 2>> kPieces = {
            {{"Starter", 3}, {P::STurn, P::None}},          {{"Starter", 5}, {P::RightTurn, P::None}},
            {{"Starter", 7}, {P::Loop, P::None}},           {{"Junior", 3}, {P::TwoSTurns, P::None}},
            {{"Junior", 5}, {P::Corkscrew, P::None}},       {{"Junior", 7}, {P::Loop, P::RightTurn}},
            {{"Senior", 3}, {P::RightTurn, P::RightTurn}},  {{"Senior", 5}, {P::STurn, P::Loop}},
            {{"Senior", 7}, {P::Corkscrew, P::Loop}},       {{"Classic", 3}, {P::STurn, P::STurn}},
            {{"Classic", 5}, {P::Loop, P::None}},           {{"Classic", 7}, {P::RightTurn, P::Corkscrew}},
            {{"Vintage", 3}, {P::Corkscrew, P::None}},      {{"Vintage", 5}, {P::Loop, P::Loop}},
            {{"Vintage", 7}, {P::Corkscrew, P::Corkscrew}}, {{"Grand", 3}, {P::Loop, P::STurn}},
            {{"Grand", 5}, {P::Loop, P::Corkscrew}},        {{"Grand", 7}, {P::TwoSTurns, P::Loop}},
            {{"Final", 1}, {P::Loop, P::Corkscrew}},        {{"Final", 2}, {P::Corkscrew, P::Loop}}};
        size_t next = 0;
        int asked = 0;
        for (size_t i = 0; i < all.size(); ++i) {
            const bool opening = all[i].number == 1 && all[i].type != std::string("Final");
            const int first = asked % kAskedCount, apart = 1 + asked / kAskedCount;
            all[i].statKinds =
                opening ? std::array{8, 1} : std::array{kAsked[first], kAsked[(first + apart) % kAskedCount]};
            asked += opening ? 0 : 1;
            all[i].feature = opening ? lvMissionFeature::None : kFeatures[next++ % std::size(kFeatures)];
            all[i].site = i % 5 == 2 ? lvMissionSite::Cavern : lvMissionSite::Mountains;
            // A locked side is one straight, which the game would cut to the longest it allows; a side
            // with its own piece needs the longest for room.
            const auto pieces = kPieces.find({all[i].type, all[i].number});
            if (pieces != kPieces.end()) {
                all[i].pieces = pieces->second;
                all[i].sideA = all[i].sideB = GetStraightLengthMax();
            }
            // Sides beyond the longest straight fold back below it, so the later squares differ in shape
            // rather than all standing at the limit.
            const auto fold = [](float side) { return std::min(side, 2.0f * GetStraightLengthMax() - side); };
            all[i].sideA = fold(all[i].sideA);
            all[i].sideB = fold(all[i].sideB);
        }
        return all;
    }();
    return recipes;
}

void lvLayMissionSolution(const lvMissionRecipe& recipe, int straightsPerSide) {
    // The start: the locked sides, each one straight.
    for (float side : {recipe.sideA, recipe.sideB}) {
        AppendStraight(side);
        AppendTurn(kCorner);
    }
    lvLayMissionFreePieces(recipe, straightsPerSide);
    coCircuitClose();
}

void lvLayMissionFreePieces(const lvMissionRecipe& recipe, int straightsPerSide) {
    // Laid with the locked sides' lengths first, then again with the straights grown or shrunk by what
    // the end misses the start by along each side: the straights run square to each other.
    const std::string name = std::string(recipe.type) + "/" + MissionName(recipe);
    std::array<float, 2> lengths{recipe.sideA, recipe.sideB};
    for (int attempt = 0; attempt < 3; ++attempt) {
        while (coCircuitPieceCount() > lvMissionStartPieces)
            coCircuitRemoveLast();
        AppendFreeSides(recipe, lengths, straightsPerSide);
        const maVector3d gap = coCircuitFirstPiece()->GetStart() - coCircuitLastPiece()->GetEnd();
        if (maDot(gap, gap) < kCloseGap * kCloseGap) {
            // A side that comes out at the longest straight may miss it by a rounding.
            for (float length : lengths)
                if (length < GetStraightLengthMin() * static_cast<float>(straightsPerSide) ||
                    length > GetStraightLengthMax() + kCloseGap)
                    throw std::runtime_error(name + ": a free side needs straights " +
                                             std::to_string(length) + " long");
            return;
        }
        for (int side = 0; side < 2; ++side) {
            maVector3d direction, centre;
            FreeSideMiddle(side, direction, centre);
            lengths[side] += maDot(gap, direction * (1.0f / direction.Length()));
        }
    }
    throw std::runtime_error(name + ": its free sides do not meet its start");
}

void lvWriteMission(const lvMissionRecipe& recipe, const gfTextSet& objectiveTexts) {
    MissionWorld world(recipe.site);
    world.props.reserve(2);
    coRideComputeStats();
    coObjectiveSet objectives;
    AddObjectives(recipe, objectives, objectiveTexts);
    const maVector3d feature = AddFeature(recipe, world, objectives, objectiveTexts);
    maVector3d direction, centre; // of the solution, before the check relays it
    FreeSideMiddle(0, direction, centre);
    centre.y = 0.0f;
    CheckGoldSolution(recipe, objectives);
    // The start gives half the circuit; the player lays the free pieces of the gold level, which the check
    // left in the circuit.
    coMissionBudgets budgets;
    budgets.fill(0);
    for (int i = lvMissionStartPieces; i < coCircuitPieceCount(); ++i)
        ++budgets.at(static_cast<size_t>(coObjectivePieceKind(*coCircuitPieceAt(i))));
    for (int element = 6; element <= 9; ++element)
        budgets[element] = -1;
    // The fountains stay where they stand; one whose event the player must choose is left free.
    coMissionLocks locks{false, false, lvMissionStartPieces, world.handles};
    if (recipe.feature == lvMissionFeature::PropEvent)
        locks.lockedProps.clear();
    coFlythroughPath path;
    // With its waits, long enough for the spoken title and briefing, which it would cut off. It passes over
    // the square and looks at what the mission points at on the way.
    path.SetFlightTime(12.0f);
    const float half = 0.5f * (recipe.sideA + recipe.sideB) + kTurnRadius;
    path.AddPoint(centre + maVector3d(-half - 40.0f, 30.0f, -half - 40.0f), centre);
    path.AddPoint(centre + maVector3d(0.0f, 40.0f, -half - 60.0f), feature);
    path.AddPoint(centre + maVector3d(half + 40.0f, 25.0f, 0.0f), centre);
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
        texts[static_cast<u32>(recipe.number)] = envString(Hint(recipe).c_str());
        texts[coCoasterNameOffset + static_cast<u32>(recipe.number)] = envString(recipe.title);
    }
    for (const auto& [type, texts] : sets)
        gfWriteTextSet(Rooted(coRootText, type + ".tsf"), 32, texts);
}
