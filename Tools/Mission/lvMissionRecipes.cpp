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
#include <optional>
#include <set>
#include <span>
#include <stdexcept>

namespace {

constexpr float kStationAbove = 2.0f; // the station over the ground at the dock, as the builder lays it
constexpr float kClearance = 3.0f;    // the track over the ground anywhere, beyond the game's own lift
// How far from the middle a circuit reaches: the placement grid ends at 200.
constexpr float kGridReach = 185.0f;
// How high a circuit may stand over the ground at its dock beyond the station's own height.
constexpr float kMaxLift = 6.0f;
constexpr float kTurnRadius = 15.0f; // the builder's own turn, the openers' corners and the side steps
constexpr float kCorner = coDegrees(90.0f);
// A free side's own piece: the loop's and corkscrew's run and the S-turn's length, the shortest loop the
// builder lays, so that the side keeps room for three straights; the builder's S-turn slide, loop slide
// and corkscrew approach; the angle of a turn against the circuit's hand and of the one that straightens it.
constexpr float kPieceRun = 20.0f;
constexpr float kSTurnSlide = 8.0f, kLoopSlide = 4.0f, kCorkscrewApproach = coDegrees(30.0f);
constexpr float kStepAngle = coDegrees(45.0f);
// How near the free sides' end must come to the start before the circuit is closed.
constexpr float kCloseGap = 0.01f;
constexpr float kWhole = 0.98f; // the share of the solution's length that bronze asks for
// How far an opener's statistic threshold lies beyond the solution's value: a share of it and a little
// more, so that the same coaster laid in more straights still meets it; a medal's statistic lies nearer.
constexpr float kStatMargin = 0.15f, kStatSlack = 0.05f, kMedalMargin = 0.05f;
// How far the solution must beat the plain closing in a statistic for the win level to ask it, as a share
// of the plain closing's value and a little more; the threshold lies half way between them.
constexpr float kBeyondPlain = 0.1f;
// The same for a medal's higher speed over the laying of the medal below.
constexpr float kBeyondMedal = 0.05f;
constexpr float kRingRadius = 5.0f;
constexpr float kFlightTime = 12.0f, kSpeechPerLetter = 0.072f; // seconds
// How wide a square across the gorge is at least, so that its far side, moved in by its piece, and the
// fountain beyond it stand on the other rim.
constexpr float kGorgeSpan = 68.0f;
// A fountain stands between these distances beyond the straights of a side its piece moves across by at
// least the detour, where only that side passes within its trigger distance, by the margin either way.
constexpr float kPropAside = 7.0f; // beside a side that does not move: outwards from its middle
constexpr float kMinAside = 2.0f, kMinDetour = 6.0f;
constexpr float kFountainTrigger = 12.0f, kTriggerMargin = 2.0f, kFountainHeight = 2.0f;
constexpr float kPropStay = 0.5f;       // seconds the lead car must stay near the fountain
constexpr int kBurst = 0, kCascade = 1; // the fountain's entry events

// The ground of a site at (x, z).
float GroundHeight(lvMissionSite site, float x, float z) {
    return site == lvMissionSite::Cavern ? toolCavernHeight(x, z) : toolMountainHeight(x, z);
}

// +1 for a circuit whose corners turn left, -1 for one whose corners turn right.
float Hand(const lvMissionRecipe& recipe) {
    return recipe.square.rightHanded ? -1.0f : 1.0f;
}

// A laying of a mission's free sides: its ride's statistics, the middles and directions of its free sides'
// straights, its centre, and points along its centre line.
struct Laying {
    coRideStats stats;
    std::array<maVector3d, 2> middles, directions;
    maVector3d centre;
    std::vector<maVector3d> points;
};

// The world a mission is written from: the mountain environment, the "Ironvale" dock at the start, and
// the mission's own ring and fountain. Its props are only records, so the handles that objectives keep
// point at those records.
class MissionWorld : public coSavedCoasterServices, public coMissionWorld {
  public:
    explicit MissionWorld(const lvMissionRecipe& recipe) : recipe(recipe) {
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
        return recipe.site == lvMissionSite::Cavern ? "cavern" : "Mountain";
    }
    int GetEnvironmentIndex() const override { return recipe.environmentIndex; }
    float GroundHeight(float x, float z) const { return ::GroundHeight(recipe.site, x, z); }
    // The dock stands over the station, the circuit's first piece.
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        const coCoasterPiece& station = *coCircuitFirstPiece();
        position = station.GetStart() + coForward(station.GetHeading()) * (0.5f * station.GetSpan());
        heading = station.GetHeading();
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
    const lvMissionRecipe& recipe;
    // The plain closing and the bronze solution, which the ring and fountains tell apart.
    Laying plain, solution;

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

void Append(std::unique_ptr<coCoasterPiece> piece, coTrackElement element = coElementChainLift) {
    piece->SetElement(element);
    coCircuitAppend(std::move(piece), true);
}

void AppendStraight(float length, coTrackElement element = coElementChainLift) {
    auto straight = std::make_unique<coCoasterPieceStraight>();
    straight->SetRunLength(length);
    straight->Build();
    Append(std::move(straight), element);
}

// The element of a free side's straight (0 or 1 from the start, 0 first) in the laying of that many
// straights a side: an accelerator on as many of the last straights as the mission's medals ask; the chain
// on the others, as on every other piece. A speed mission's laying in n straights a side accelerates its
// last n (n + 1) / 2, the second side's at bronze and up to all of them at gold; a faster one's the second
// side's last n - 1, which leaves the first side and a fountain beside it at the chain's speed.
coTrackElement StraightElement(const lvMissionRecipe& recipe, int straightsPerSide, int side, int straight) {
    const int fromTheEnd = (1 - side) * straightsPerSide + straightsPerSide - 1 - straight;
    const int accelerated = recipe.medal == lvMissionMedal::Speed
                                ? straightsPerSide * (straightsPerSide + 1) / 2
                            : recipe.medal == lvMissionMedal::Faster ? straightsPerSide - 1
                                                                     : 0;
    return fromTheEnd < accelerated ? coElementBooster : coElementChainLift;
}

// The first piece stays where it is placed: the station, its middle at the dock.
void AppendStation(float length, const maVector3d& dock, float heading) {
    auto straight = std::make_unique<coCoasterPieceStraight>();
    straight->SetRunLength(length);
    straight->Place(dock - coForward(heading) * (0.5f * length), heading);
    Append(std::move(straight));
}

void AppendTurn(float angle, float radius = kTurnRadius) {
    auto owned = std::make_unique<coCoasterPieceTurn>();
    coCoasterPieceTurn* turn = owned.get();
    turn->SetAngle(angle);
    turn->SetRadius(radius);
    turn->Build();
    Append(std::move(owned));
    // Laid after a turn it takes that one's radius, as in the builder; the player sets it back.
    turn->SetRadius(radius);
    turn->Build();
    turn->GetPrevious()->Build(); // its end zone blends into the turn as it now stands
}

void AppendSTurn(float length, float slide) {
    auto sTurn = std::make_unique<coCoasterPieceSTurn>();
    sTurn->SetRunLength(length);
    sTurn->SetSlide(slide);
    sTurn->Build();
    Append(std::move(sTurn));
}

// A free side's own piece, moving the side towards the inside of a left-handed circuit (inwards 1) or away
// from it (-1). A positive angle turns left; a positive S-turn slide moves to the right.
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

// The station's heading: a left-handed square lies to the station's left, coSide of its heading; a
// right-handed one to its right.
float Heading(const lvMissionRecipe& recipe) {
    const lvMissionPlace& place = recipe.place;
    return (recipe.square.rightHanded ? std::atan2(place.inwardZ, -place.inwardX)
                                      : std::atan2(-place.inwardZ, place.inwardX)) +
           0.0f;
}

// The locked sides, each one straight with its corner, the station's middle at the dock.
void AppendStart(const lvMissionRecipe& recipe, const maVector3d& dock) {
    AppendStation(recipe.square.sideA, dock, Heading(recipe));
    AppendTurn(kCorner * Hand(recipe), recipe.square.cornerRadius);
    AppendStraight(recipe.square.sideB);
    AppendTurn(kCorner * Hand(recipe), recipe.square.cornerRadius);
}

// The free sides' pieces with straights of the given lengths, each side in that many straights.
void AppendFreeSides(const lvMissionRecipe& recipe, const std::array<float, 2>& lengths,
                     int straightsPerSide) {
    // The first side's piece moves it inwards, shortening the second side, unless that side has its own
    // piece: it then moves outwards, so that the second side keeps room for its straights.
    const bool secondHasPiece = recipe.pieces[1] != lvMissionPiece::None;
    for (int side = 0; side < 2; ++side) {
        AppendSidePiece(recipe.pieces[side], (side == 0 && secondHasPiece ? -1.0f : 1.0f) * Hand(recipe));
        for (int i = 0; i < straightsPerSide; ++i)
            AppendStraight(lengths[side] / static_cast<float>(straightsPerSide),
                           StraightElement(recipe, straightsPerSide, side, i));
        AppendTurn(kCorner * Hand(recipe), recipe.square.cornerRadius);
    }
}

// Points along the whole circuit's centre line, a unit or so apart.
std::vector<maVector3d> CircuitPoints() {
    std::vector<maVector3d> points;
    for (int i = 0; i < coCircuitPieceCount(); ++i) {
        const coCoasterPiece& piece = *coCircuitPieceAt(i);
        const int steps = 1 + static_cast<int>(piece.GetLength());
        for (int step = 0; step <= steps; ++step)
            points.push_back(piece.PointAt(static_cast<float>(step) / static_cast<float>(steps)));
    }
    return points;
}

maVector3d PlaceDock(const lvMissionRecipe& recipe, maVector3d dock);

// Where the recipe's station stands: its middle, moved so that the circuit laid plainly or as gold asks
// stays in the placement grid, and lifted so that it clears the site's ground everywhere. The station stands
// on its ground, the circuit running level or down from it: a circuit that would lift it higher, where the
// ground rises beyond the station, is refused. Lays circuits: the circuit must be empty, and is left so.
maVector3d MissionDock(const lvMissionRecipe& recipe) {
    static std::map<std::pair<std::string, int>, maVector3d> docks;
    const auto key = std::pair(std::string(recipe.type), recipe.number);
    if (const auto found = docks.find(key); found != docks.end())
        return found->second;
    const maVector3d dock = PlaceDock(recipe, maVector3d(recipe.place.x, 0.0f, recipe.place.z));
    const float lift = dock.y - GroundHeight(recipe.site, dock.x, dock.z) - kStationAbove;
    if (lift > kMaxLift)
        throw std::runtime_error(std::string(recipe.type) + "/Mission" + std::to_string(recipe.number) +
                                 ": its station would stand " + std::to_string(lift) + " over its ground");
    return docks.emplace(key, dock).first->second;
}

// The station's middle asked at (x, z) of the dock, moved into the grid and lifted over the ground.
maVector3d PlaceDock(const lvMissionRecipe& recipe, maVector3d dock) {
    std::vector<maVector3d> points;
    for (const auto& [laid, perSide] :
         {std::pair{lvPlainClosing(recipe), 1}, {recipe, lvGoldStraightsPerSide}}) {
        AppendStart(laid, dock);
        lvLayMissionFreePieces(laid, perSide);
        const std::vector<maVector3d> more = CircuitPoints();
        points.insert(points.end(), more.begin(), more.end());
        coCircuitClear();
    }
    // Along each axis, the shift that brings the circuit's extent within the grid's reach.
    const auto shift = [&](float maVector3d::*axis) {
        const auto [low, high] = std::ranges::minmax(points, {}, axis);
        if (high.*axis - low.*axis > 2.0f * kGridReach)
            throw std::runtime_error(std::string(recipe.type) + "/Mission" + std::to_string(recipe.number) +
                                     ": its circuit does not fit the placement grid");
        return std::clamp(0.0f, -kGridReach - low.*axis, kGridReach - high.*axis);
    };
    const maVector3d move(shift(&maVector3d::x), 0.0f, shift(&maVector3d::z));
    dock = dock + move;
    float lift = GroundHeight(recipe.site, dock.x, dock.z) + kStationAbove;
    for (const maVector3d& point : points)
        lift = std::max(lift,
                        GroundHeight(recipe.site, point.x + move.x, point.z + move.z) + kClearance - point.y);
    dock.y = lift;
    return dock;
}

// What the win level's statistics are called in a hint, and whether it asks for more or less.
constexpr const char* kStatWords[coStatObjectiveKindCount] = {
    "lowest speed",     "top speed",         "average speed",   "highest vertical G", "lowest vertical G",
    "highest point",    "lowest point",      "ride time",       "track length",       "highest lateral G",
    "lowest lateral G", "highest forward G", "lowest forward G"};

std::string StatWords(int kind) {
    return kStatWords[kind];
}

// A statistic a mission asks: its kind, whether the value must stay above the threshold, the threshold.
struct StatAsk {
    int kind;
    bool above;
    float threshold;
};

// An opener's statistic: the solution's value with a margin.
StatAsk OpenerAsk(const lvStatAim& aim, const coRideStats& solution) {
    const float value = solution[coStatKindRecord(aim.kind)];
    const float beyond = kStatMargin * std::fabs(value) + kStatSlack;
    return {aim.kind, aim.above, aim.above ? value - beyond : value + beyond};
}

// The solution laid for bronze, silver and gold: in one, two and three straights a side, each with the
// accelerators its medal asks.
using Layings = std::array<Laying, 3>;

// The statistic of the kind in the direction given when each of the layings beats the laying below it by
// a clear margin, a share of that one's value and a little more: half way between it and the nearest.
std::optional<StatAsk> Beyond(int kind, bool above, const Laying& below, std::span<const Laying> layings,
                              float share) {
    const int record = coStatKindRecord(kind);
    const float value = below.stats[record];
    float nearest = above ? maMaxFloat : -maMaxFloat;
    for (const Laying& laying : layings)
        nearest = above ? std::min(nearest, laying.stats[record]) : std::max(nearest, laying.stats[record]);
    if ((nearest > value) != above || std::fabs(nearest - value) <= share * std::fabs(value) + kStatSlack)
        return std::nullopt;
    return StatAsk{kind, above, 0.5f * (value + nearest)};
}

// A medal's statistic of the kind in the direction given: what the layings give, a little short of it.
StatAsk MedalAsk(int kind, bool above, std::span<const Laying> layings) {
    const int record = coStatKindRecord(kind);
    float value = above ? maMaxFloat : -maMaxFloat;
    for (const Laying& laying : layings)
        value = above ? std::min(value, laying.stats[record]) : std::max(value, laying.stats[record]);
    const float beyond = kMedalMargin * std::fabs(value) + kStatSlack;
    return {kind, above, above ? value - beyond : value + beyond};
}

std::unique_ptr<coStatObjective> StatObjective(const StatAsk& ask, const gfTextSet& texts) {
    return std::make_unique<coStatObjective>(ask.kind, ask.above, ask.threshold, texts);
}

// The corners' piece code, and the code of a turn against the circuit's hand.
int CornerCode(const lvMissionRecipe& recipe) {
    return recipe.square.rightHanded ? coPieceCodeTurnRight : coPieceCodeTurnLeft;
}
int AgainstCode(const lvMissionRecipe& recipe) {
    return recipe.square.rightHanded ? coPieceCodeTurnLeft : coPieceCodeTurnRight;
}

// The piece kind code of a free side's piece, and how many of it the piece lays.
std::pair<int, int> PieceCount(const lvMissionRecipe& recipe, lvMissionPiece piece) {
    switch (piece) {
    case lvMissionPiece::STurn:
        return {coPieceCodeSTurn, 1};
    case lvMissionPiece::TwoSTurns:
        return {coPieceCodeSTurn, 2};
    case lvMissionPiece::RightTurn:
        return {AgainstCode(recipe), 1};
    case lvMissionPiece::Loop:
        return {coPieceCodeLoop, 1};
    case lvMissionPiece::Corkscrew:
        return {coPieceCodeCorkscrew, 1};
    case lvMissionPiece::None:
        break;
    }
    return {coPieceCodeOther, 0};
}

bool IsOpener(const lvMissionRecipe& recipe) {
    return recipe.number == 1 && recipe.type != std::string("Final");
}

[[noreturn]] void Refuse(const lvMissionRecipe& recipe, const std::string& why);

// The statistic a medal's more speed asks, or -1 for more straights.
int MedalSpeedKind(lvMedalMore more) {
    return more == lvMedalMore::TopSpeed       ? coStatKindTopSpeed
           : more == lvMedalMore::AverageSpeed ? coStatKindAverageSpeed
                                               : -1;
}

// The win level's statistics: an opener's with a margin beyond what its solution gives; another mission's
// half way between the plain closing and the solution, which must beat it clearly in each.
std::vector<StatAsk> WinStats(const lvMissionRecipe& recipe, const Laying& plain, const Layings& layings) {
    std::vector<StatAsk> asks;
    for (const lvStatAim& aim : recipe.win) {
        if (IsOpener(recipe)) {
            asks.push_back(OpenerAsk(aim, layings[0].stats));
        } else if (const auto ask = Beyond(aim.kind, aim.above, plain, layings, kBeyondPlain)) {
            asks.push_back(*ask);
        } else {
            Refuse(recipe, std::string("its solution does not beat the plain closing clearly in ") +
                               (aim.above ? "a high " : "a low ") + StatWords(aim.kind));
        }
    }
    return asks;
}

// The win level: the four corners, the free sides' pieces (the two S-turns of a pair in a row) and the
// win statistics. Bronze asks for the whole circuit's length. Silver and gold each ask what the laying of
// the medal below does not give: the free sides in more straights (in all, or in a row), or the higher top
// or average speed of more accelerators; beside it a statistic that fits the mission, of what its layings
// give: a longer ride, a limit on a G-force or a lowest vertical G kept up. The openers' silver and gold ask
// only for straights.
void AddObjectives(const lvMissionRecipe& recipe, coObjectiveSet& set, const gfTextSet& texts,
                   const std::vector<StatAsk>& win, const Layings& layings) {
    set.Add(std::make_unique<coTrackCountObjective>(CornerCode(recipe), 4, false, texts), 0);
    std::map<int, int> counts;
    for (lvMissionPiece piece : recipe.pieces)
        if (piece != lvMissionPiece::None)
            counts[PieceCount(recipe, piece).first] += PieceCount(recipe, piece).second;
    // A pair of S-turns is asked in a row; more S-turns beside it in all.
    const bool pair = std::ranges::count(recipe.pieces, lvMissionPiece::TwoSTurns) > 0;
    if (pair)
        set.Add(std::make_unique<coTrackCountObjective>(coPieceCodeSTurn, 2, true, texts), 0);
    for (const auto& [code, count] : counts)
        if (!pair || code != coPieceCodeSTurn || count > 2)
            set.Add(std::make_unique<coTrackCountObjective>(code, count, false, texts), 0);
    for (const StatAsk& ask : win)
        set.Add(StatObjective(ask, texts), 0);
    set.Add(std::make_unique<coStatObjective>(coStatKindTrackLength, true,
                                              layings[0].stats[coStatCircuitLength] * kWhole, texts),
            1);
    const auto straights = [&](int perSide, bool inARow, int level) {
        set.Add(std::make_unique<coTrackCountObjective>(coPieceCodeStraight,
                                                        inARow ? perSide : 2 + 2 * perSide, inARow, texts),
                level);
    };
    if (IsOpener(recipe)) {
        straights(lvSilverStraightsPerSide, false, 2);
        straights(lvGoldStraightsPerSide, false, 3);
        straights(lvGoldStraightsPerSide, true, 3);
        return;
    }
    for (int level = 2; level <= 3; ++level) {
        const lvMedalAim& aim = recipe.medals[size_t(level - 2)];
        const std::span<const Laying> from = std::span(layings).subspan(static_cast<size_t>(level - 1));
        if (const int speed = MedalSpeedKind(aim.more); speed < 0) {
            straights(level == 2 ? lvSilverStraightsPerSide : lvGoldStraightsPerSide,
                      aim.more == lvMedalMore::StraightsInARow, level);
        } else if (const auto faster = Beyond(speed, true, layings[size_t(level - 2)], from, kBeyondMedal)) {
            set.Add(StatObjective(*faster, texts), level);
        } else {
            Refuse(recipe, "its medals' accelerators give no higher " + StatWords(speed));
        }
        set.Add(StatObjective(MedalAsk(aim.beside.kind, aim.beside.above, from), texts), level);
    }
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

// Relays the free sides of the circuit, closes it and rides it.
Laying Relay(const lvMissionRecipe& recipe, int straightsPerSide) {
    while (coCircuitPieceCount() > lvMissionStartPieces)
        coCircuitRemoveLast();
    lvLayMissionFreePieces(recipe, straightsPerSide);
    coCircuitClose();
    coRideComputeStats();
    Laying laying;
    laying.stats = coGetRideStats();
    for (int side = 0; side < 2; ++side)
        laying.middles[size_t(side)] = FreeSideMiddle(side, laying.directions[size_t(side)], laying.centre);
    laying.points = CircuitPoints();
    return laying;
}

// How far the solution's straights of the free side stand across from the plain closing's, horizontally.
maVector3d Across(const MissionWorld& world, int side) {
    maVector3d along = world.solution.directions[size_t(side)];
    along.y = 0.0f;
    along = along * (1.0f / along.Length());
    maVector3d across = world.solution.middles[size_t(side)] - world.plain.middles[size_t(side)];
    across.y = 0.0f;
    return across - along * maDot(across, along);
}

// The first free side whose piece moves it across far enough for a detour, or -1.
int DetourSide(const MissionWorld& world) {
    for (int side = 0; side < 2; ++side)
        if (Across(world, side).Length() >= kMinDetour)
            return side;
    return -1;
}

[[noreturn]] void Refuse(const lvMissionRecipe& recipe, const std::string& why) {
    throw std::runtime_error(std::string(recipe.type) + "/" + MissionName(recipe) + ": " + why);
}

// The nearest a laying's centre line comes to a point.
float Nearest(const Laying& laying, const maVector3d& point, float height = 0.0f) {
    float nearest = maMaxFloat;
    for (const maVector3d& p : laying.points) {
        // To the segment from the point up through the height.
        const float up = std::clamp(p.y - point.y, 0.0f, height);
        const maVector3d to = p - point - maVector3d(0.0f, up, 0.0f);
        nearest = std::min(nearest, to.Length());
    }
    return nearest;
}

// A two-way ring the solution flies through and the plain closing misses: at the top of the loop for a
// LoopRing, else over the straights of a side its piece moves across. Returns where the fly-over looks.
maVector3d AddRing(MissionWorld& world, coObjectiveSet& set, const gfTextSet& texts) {
    coRingRecord ring;
    ring.kind = 1;
    ring.radius = kRingRadius;
    const int side = DetourSide(world);
    const coCoasterPiece* loop = nullptr;
    for (int i = lvMissionStartPieces; i < coCircuitPieceCount(); ++i)
        if (coObjectivePieceKind(*coCircuitPieceAt(i)) == coPieceCodeLoop)
            loop = coCircuitPieceAt(i);
    if (world.recipe.feature == lvMissionFeature::LoopRing) {
        if (!loop)
            Refuse(world.recipe, "its ring has no loop to stand at");
        // Raised: where the loop's centre line is highest, facing along it.
        maVector3d along;
        for (float s = 0.0f; s <= loop->GetLength(); s += 0.25f) {
            maVector3d tangent;
            const maVector3d point = loop->PointAt(s, &tangent);
            if (s == 0.0f || point.y > ring.position.y) {
                ring.position = point;
                along = tangent;
            }
        }
        ring.heading = std::atan2(along.x, along.z);
    } else if (side >= 0) {
        // Off to the side: a little before the middle of the moved straights, so that it stands clear of
        // the joints of the side laid in two or three straights, where a pass could fall between two path
        // segments.
        const maVector3d direction = world.solution.directions[size_t(side)];
        ring.position =
            world.solution.middles[size_t(side)] - direction * 0.1f + maVector3d(0.0f, 1.5f, 0.0f);
        ring.heading = std::atan2(direction.x, direction.z);
    } else {
        Refuse(world.recipe, "its ring has no side moved across to stand at");
    }
    if (Nearest(world.plain, ring.position) < kRingRadius + kTriggerMargin)
        Refuse(world.recipe, "the plain closing passes its ring");
    world.rings.push_back(ring);
    set.Add(std::make_unique<coRingObjective>(texts), 0);
    return ring.position;
}

// A fountain on the ground beside the free side (0 or 1), playing its entry event of that number: beyond
// its straights when its piece moves them across, as far as keeps it well within the solution's reach and
// well beyond the plain closing's; outwards from the side's middle otherwise.
coProp* AddFountain(MissionWorld& world, int side, int event = kBurst) {
    const maVector3d middle = world.solution.middles[size_t(side)];
    maVector3d across = Across(world, side);
    const bool detour = across.Length() >= kMinDetour;
    if (!detour) {
        across = middle - world.solution.centre;
        across.y = 0.0f;
    }
    across = across * (1.0f / across.Length());
    coPropRecord fountain;
    fountain.name = envString("fountain");
    // How far within the solution's reach and beyond the plain closing's it stands, the lesser.
    const auto margin = [&](const maVector3d& at) {
        const float within = kFountainTrigger - Nearest(world.solution, at, kFountainHeight);
        return detour ? std::min(within, Nearest(world.plain, at, kFountainHeight) - kFountainTrigger)
                      : within;
    };
    // Along the side's straights from their middle, and out from them.
    const maVector3d along = world.solution.directions[size_t(side)] * 0.5f;
    float best = -maMaxFloat;
    for (float forth = -0.8f; forth <= 0.81f; forth += 0.1f)
        for (float aside = detour ? kMinAside : kPropAside; aside <= kPropAside + 0.01f; aside += 0.5f) {
            maVector3d at = middle + along * forth + across * aside;
            at.y = world.GroundHeight(at.x, at.z);
            if (margin(at) > best + 0.01f) {
                best = margin(at);
                fountain.position = at;
            }
        }
    if (best < kTriggerMargin)
        Refuse(world.recipe, "a fountain stands within " + std::to_string(best) +
                                 " of where the solution or the plain closing would pass it");
    // Written only with its flag; without it the game starts the fountain in its first event, Burst.
    fountain.activeEvent = event;
    fountain.hasEvent = true;
    return world.AddProp(fountain);
}

// The feature's objectives and props; returns where the fly-over looks, the square's centre without one.
maVector3d AddFeature(const lvMissionRecipe& recipe, MissionWorld& world, coObjectiveSet& set,
                      const gfTextSet& texts) {
    const int side = std::max(DetourSide(world), 0);
    switch (recipe.feature) {
    case lvMissionFeature::Ring:
    case lvMissionFeature::LoopRing:
        return AddRing(world, set, texts);
    case lvMissionFeature::Prop: {
        // The train must stay near the fountain for a moment.
        coProp* fountain = AddFountain(world, side);
        set.Add(std::make_unique<coPropProximityObjective>(fountain, kPropStay, texts), 0);
        return world.GetPropPosition(fountain);
    }
    case lvMissionFeature::PropEvent: {
        // It stands in its cascade; the player sets it to burst and passes it.
        coProp* fountain = AddFountain(world, side, kCascade);
        set.Add(std::make_unique<coPropActivationEventObjective>(fountain, kPropStay, kBurst, texts), 0);
        return world.GetPropPosition(fountain);
    }
    case lvMissionFeature::PropOrder:
        // The first side's fountain first, the second's after it.
        for (int each = 0; each < 2; ++each)
            set.Add(std::make_unique<coPropOrderingObjective>(AddFountain(world, each), each + 1, texts), 0);
        if (DetourSide(world) < 0)
            Refuse(recipe, "neither of its fountains needs a detour");
        return world.solution.centre;
    case lvMissionFeature::None:
        break;
    }
    return world.solution.centre;
}

// The circuit relaid as gold asks must meet every statistic and count of every level; the rings and props
// are the running game's, proved by the content tests. A mission that fails stops the content build.
void CheckGoldSolution(const lvMissionRecipe& recipe, const coObjectiveSet& objectives) {
    Relay(recipe, lvGoldStraightsPerSide);
    for (int level = 0; level < 4; ++level)
        for (const auto& objective : objectives.GetLevel(level))
            if ((dynamic_cast<const coStatObjective*>(objective.get()) ||
                 dynamic_cast<const coTrackCountObjective*>(objective.get())) &&
                !objective->IsMet())
                Refuse(recipe,
                       "its solution misses \"" + envStringToNarrow(objective->GetDescription()) + "\"");
}

// What a free side's piece is called in a hint; the turn against the hand of the circuit by its side,
// with the turn that straightens it.
std::string PieceWords(const lvMissionRecipe& recipe, lvMissionPiece piece) {
    switch (piece) {
    case lvMissionPiece::STurn:
        return "an S-turn";
    case lvMissionPiece::TwoSTurns:
        return "two S-turns in a row";
    case lvMissionPiece::RightTurn:
        return recipe.square.rightHanded ? "a left turn and a right one back"
                                         : "a right turn and a left one back";
    case lvMissionPiece::Loop:
        return "a loop";
    case lvMissionPiece::Corkscrew:
        return "a corkscrew";
    case lvMissionPiece::None:
        break;
    }
    return "";
}

// How a hint names a statistic the win level asks: above its threshold, then below it.
constexpr const char* kAimWords[coStatObjectiveKindCount][2] = {
    {"a lowest speed that stays up", "a slow moment"},
    {"a high top speed", "a low top speed"},
    {"a high average speed", "a low average speed"},
    {"strong vertical G", "vertical G that stays gentle"},
    {"vertical G that never falls low", "a floating moment"},
    {"a tall ride", "a ride that keeps low"},
    {"track that stays high", "track that dips low"},
    {"a long ride", "a short ride"},
    {"a long track", "a short track"},
    {"strong sideways G", "sideways G that stays gentle"},
    {"sideways G that never lets up", "a moment free of sideways G"},
    {"a strong forward push", "a forward push that stays gentle"},
    {"braking that stays gentle", "a hard braking moment"}};

std::string Hint(const lvMissionRecipe& recipe, const std::vector<StatAsk>& win) {
    std::string hint = std::string("Close the square, a ") + (recipe.square.rightHanded ? "right" : "left") +
                       " turn after each side. ";
    const auto [first, second] = recipe.pieces;
    constexpr auto kNone = lvMissionPiece::None;
    if (first == second && first != kNone)
        hint = "Add " + PieceWords(recipe, first) + " on each side you lay, then close the circuit. ";
    else if (first != kNone && second != kNone)
        hint = "Add " + PieceWords(recipe, first) + ", and " + PieceWords(recipe, second) +
               " on the next side, then close the circuit. ";
    else if (first != kNone || second != kNone)
        hint = "Add " + PieceWords(recipe, first == kNone ? second : first) + ", then close the circuit. ";
    // The builder lays a turn of 90 degrees, and Narrow takes 5 off it.
    if (std::ranges::count(recipe.pieces, lvMissionPiece::RightTurn) > 0)
        hint += "Narrow those turns to 45 degrees: nine presses each. ";
    switch (recipe.feature) {
    case lvMissionFeature::Ring:
    case lvMissionFeature::LoopRing:
        hint += "Fly through the ring. ";
        break;
    case lvMissionFeature::Prop:
        hint += "Reach the fountain. ";
        break;
    case lvMissionFeature::PropEvent:
        hint += "Set the fountain to Burst and reach it. ";
        break;
    case lvMissionFeature::PropOrder:
        hint += "Pass the fountains in order. ";
        break;
    case lvMissionFeature::None:
        break;
    }
    // The builder lays bare pieces; a loop is climbed at the chain's speed only.
    if (std::ranges::count(recipe.pieces, lvMissionPiece::Loop) > 0)
        hint += "Put a chain lift on the loop to climb it. ";
    std::string aim;
    for (const StatAsk& ask : win)
        aim += std::string(aim.empty() ? "Aim for " : " and ") + kAimWords[ask.kind][ask.above ? 0 : 1];
    if (recipe.medal == lvMissionMedal::Speed)
        return hint + aim + ". Accelerators on straights give speed; more win better medals.";
    return hint + (aim.empty() ? "" : aim + ". ") +
           (IsOpener(recipe)                         ? "More straights win better medals."
            : recipe.medal == lvMissionMedal::Faster ? "Accelerators on straights win better medals."
                                                     : "Medals ask for more.");
}

} // namespace

void lvCheckMissionRecipe(const lvMissionRecipe& recipe) {
    const lvMissionSquare& square = recipe.square;
    if (std::max(square.sideA, square.sideB) > GetStraightLengthMax())
        Refuse(recipe, "a locked side is longer than the longest straight");
    const auto& all = lvMissionRecipes();
    if (recipe.number < 1 || recipe.number > 8 ||
        std::ranges::count_if(all, [&](const lvMissionRecipe& other) {
            return other.number == recipe.number && other.type == std::string(recipe.type);
        }) > 1)
        Refuse(recipe, "its number is not its own from 1 to 8");
    if (recipe.place.ground == lvMissionGround::Gorge &&
        square.cornerRadius < 0.5f * (kGorgeSpan - square.sideB))
        Refuse(recipe, "its square is too narrow to reach across the gorge");
    if (IsOpener(recipe) && recipe.win.size() != 2)
        Refuse(recipe, "an opener asks two statistics");
    for (const lvMedalAim& aim : recipe.medals)
        if (!IsOpener(recipe) &&
            (MedalSpeedKind(aim.more) < 0) != (recipe.medal == lvMissionMedal::Straights))
            Refuse(recipe, "its medals ask for straights only when it is a Straights mission");
}

void lvLayMissionSolution(const lvMissionRecipe& recipe, int straightsPerSide) {
    AppendStart(recipe, MissionDock(recipe));
    lvLayMissionFreePieces(recipe, straightsPerSide);
    coCircuitClose();
}

lvMissionRecipe lvPlainClosing(const lvMissionRecipe& recipe) {
    lvMissionRecipe plain = recipe;
    plain.pieces = {};
    plain.medal = lvMissionMedal::Straights;
    return plain;
}

void lvLayMissionFreePieces(const lvMissionRecipe& recipe, int straightsPerSide) {
    // Laid with the locked sides' lengths first, then again with the straights grown or shrunk by what
    // the end misses the start by along each side: the straights run square to each other.
    const std::string name = std::string(recipe.type) + "/" + MissionName(recipe);
    std::array<float, 2> lengths{recipe.square.sideA, recipe.square.sideB};
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

std::string lvWriteMission(const lvMissionRecipe& recipe, const gfTextSet& objectiveTexts) {
    MissionWorld world(recipe);
    world.props.reserve(2);
    world.plain = Relay(lvPlainClosing(recipe), 1);
    // Bronze's laying last: the feature stands at the pieces it leaves in the circuit.
    constexpr int kStraightsPerSide[] = {1, lvSilverStraightsPerSide, lvGoldStraightsPerSide};
    Layings layings;
    for (const size_t medal : {2u, 1u, 0u})
        layings[medal] = Relay(recipe, kStraightsPerSide[medal]);
    world.solution = layings[0];
    const std::vector<StatAsk> win = WinStats(recipe, world.plain, layings);
    coObjectiveSet objectives;
    AddObjectives(recipe, objectives, objectiveTexts, win, layings);
    const maVector3d feature = AddFeature(recipe, world, objectives, objectiveTexts);
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
    const std::string hint = Hint(recipe, win);
    coFlythroughPath path;
    // With its waits, long enough for the spoken title and briefing, which it would cut off: speech takes
    // up to a fourteenth of a second a letter. It passes over the square and looks at what the mission
    // points at on the way, never lower than over the ground.
    const float spoken = static_cast<float>(std::string_view(recipe.title).size() + 2 + hint.size());
    path.SetFlightTime(std::max(kFlightTime, std::ceil(spoken * kSpeechPerLetter) - path.GetWaitBefore() -
                                                 path.GetWaitAfter()));
    maVector3d centre = world.solution.centre;
    centre.y = world.GroundHeight(centre.x, centre.z);
    const float half = 0.5f * (recipe.square.sideA + recipe.square.sideB) + recipe.square.cornerRadius;
    for (const auto& [offset, look] : {std::pair{maVector3d(-half - 40.0f, 30.0f, -half - 40.0f), centre},
                                       {maVector3d(0.0f, 40.0f, -half - 60.0f), feature},
                                       {maVector3d(half + 40.0f, 25.0f, 0.0f), centre}}) {
        maVector3d camera = centre + offset;
        camera.y = std::max(camera.y, world.GroundHeight(camera.x, camera.z) + offset.y);
        path.AddPoint(camera, look);
    }
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
    return hint;
}

void lvWriteTrackTypeTexts(const std::vector<std::string>& hints) {
    std::map<std::string, std::map<u32, envString>> sets;
    for (size_t i = 0; i < lvMissionRecipes().size() && i < hints.size(); ++i) {
        const lvMissionRecipe& recipe = lvMissionRecipes()[i];
        auto& texts = sets[recipe.type];
        texts[static_cast<u32>(recipe.number)] = envString(hints[i].c_str());
        texts[coCoasterNameOffset + static_cast<u32>(recipe.number)] = envString(recipe.title);
    }
    for (const auto& [type, texts] : sets)
        gfWriteTextSet(Rooted(coRootText, type + ".tsf"), 32, texts);
}
