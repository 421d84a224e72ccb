#include "Tools/Mission/lvMissionRecipes.h"

#include "Source/Track/coAngles.h"
#include "Tools/World/toolParkWorld.h"

#include <cmath>

namespace {

using P = lvMissionPiece;
using F = lvMissionFeature;
using M = lvMissionMedal;
constexpr bool kLeft = false, kRight = true;
constexpr auto Mountains = lvMissionSite::Mountains, Cavern = lvMissionSite::Cavern;
constexpr int kDay = 0, kDusk = 1, kNight = 2;
constexpr float kWest = -1.0f, kEast = 1.0f;
constexpr int TopSpeed = coStatKindTopSpeed, AverageSpeed = coStatKindAverageSpeed,
              HighestVerticalG = coStatKindHighestVerticalG, LowestVerticalG = coStatKindLowestVerticalG,
              HighestPoint = coStatKindHighestPoint, RideTime = coStatKindRideTime,
              TrackLength = coStatKindTrackLength, HighestLateralG = coStatKindHighestLateralG,
              HighestForwardG = coStatKindHighestForwardG, LowestForwardG = coStatKindLowestForwardG;

lvStatAim High(int kind) {
    return {kind, true};
}
lvStatAim Low(int kind) {
    return {kind, false};
}

// A medal's ask: more straights in all or in a row, or a higher top or average speed, beside the aim.
lvMedalAim InAll(lvStatAim beside) {
    return {lvMedalMore::Straights, beside};
}
lvMedalAim InARow(lvStatAim beside) {
    return {lvMedalMore::StraightsInARow, beside};
}
lvMedalAim Top(lvStatAim beside) {
    return {lvMedalMore::TopSpeed, beside};
}
lvMedalAim Average(lvStatAim beside) {
    return {lvMedalMore::AverageSpeed, beside};
}

// How far from the gorge's line a station stands, on the rim; where a square down the slope's fall line has
// its station, below the slope's top; how far down the hill's flank a station stands from its top.
constexpr float kGorgeRim = 28.0f, kSlopeBeside = 24.0f, kHillFlank = 62.0f;

// The station at (x, z), the square lying from it the way given, turned by tilt degrees about the station.
lvMissionPlace Placed(lvMissionGround ground, float x, float z, float inwardX, float inwardZ, float tilt) {
    const float turn = coDegrees(tilt);
    return {ground, x, z, inwardX * std::cos(turn) - inwardZ * std::sin(turn),
            inwardX * std::sin(turn) + inwardZ * std::cos(turn)};
}

// On the flat: a left-handed square with no tilt heads along +z from the station, the square towards +x.
lvMissionPlace Flat(float x, float z, float tilt) {
    return Placed(lvMissionGround::Flat, x, z, 1.0f, 0.0f, tilt);
}

// On the rim (kWest or kEast) of the gorge, this far along it, the square reaching over the other rim.
lvMissionPlace Gorge(float along, float rim, float tilt) {
    return Placed(lvMissionGround::Gorge, toolGorgeX + rim * kGorgeRim, along, -rim, 0.0f, tilt);
}

// At the slope's top, this far across, the square falling away southwards.
lvMissionPlace SlopeTop(float across, float tilt) {
    return Placed(lvMissionGround::Slope, across, toolSlopeTopZ - 2.0f, 0.0f, -1.0f, tilt);
}

// Beside the station, which heads down the fall line from near the plain, the square lying west or east:
// the far side's fountain stands as near the track as the station's ground, the last side's on the plain.
lvMissionPlace SlopeSide(float across, float lies, float tilt) {
    return Placed(lvMissionGround::Slope, across, toolSlopeTopZ - kSlopeBeside, lies, 0.0f, tilt);
}

// On the hill's flank, this many degrees round from +x, the square lying below.
lvMissionPlace Hill(float around, float tilt) {
    const float angle = coDegrees(around);
    const float inwardX = -std::cos(angle), inwardZ = -std::sin(angle);
    return Placed(lvMissionGround::Hill, toolHillX + inwardX * kHillFlank, toolHillZ + inwardZ * kHillFlank,
                  inwardX, inwardZ, tilt);
}

// On the cavern's floor, this many degrees round and this far out from its middle, where the floor rises
// towards the walls, the square reaching in.
lvMissionPlace CavernFloor(float around, float out, float tilt) {
    const float angle = coDegrees(around);
    const float outX = std::cos(angle), outZ = std::sin(angle);
    return Placed(lvMissionGround::CavernFloor, outX * out, outZ * out, -outX, -outZ, tilt);
}

} // namespace

// One row a mission: track type, number and title; the starting square (its straights, corner radius and
// hand); the site, its variant and the station's place on its ground; the pieces the free sides ask for;
// the ring or fountains; the win level's statistics; what the medals ask (silver's and gold's: more
// straights or a higher speed, and a statistic beside it). The openers ask only for straights.
// Each track type opens with the plain square on the flat; every fifth mission is in the cavern.
const std::vector<lvMissionRecipe>& lvMissionRecipes() {
    // clang-format off
    static const std::vector<lvMissionRecipe> recipes = {
    {"Starter", 1, "First Circuit", {22, 22, 15, kLeft}, Mountains, kDay, Flat(0, 0, 0),
     {P::None, P::None}, F::None, {High(TrackLength), High(RideTime)}},
    {"Starter", 2, "Longer Sides", {38, 27, 18, kRight}, Mountains, kDay, Hill(45, 0),
     {P::RightTurn, P::None}, F::Ring, {}, M::Faster,
     {Top(Low(HighestLateralG)), Top(High(LowestForwardG))}},
    {"Starter", 3, "Stretch", {39, 28, 10, kLeft}, Cavern, 0, CavernFloor(45, 205, 0),
     {P::STurn, P::None}, F::Prop, {High(HighestLateralG)}, M::Straights,
     {InARow(High(RideTime)), InAll(Low(HighestLateralG))}},
    {"Starter", 4, "Wide Square", {40, 28, 21, kLeft}, Mountains, kNight, SlopeSide(0, kWest, 0),
     {P::RightTurn, P::None}, F::PropOrder, {High(AverageSpeed)}, M::Speed,
     {Average(Low(HighestLateralG)), Top(High(LowestForwardG))}},
    {"Starter", 5, "Long Haul", {37, 30, 19, kRight}, Mountains, kDay, Gorge(40, kWest, 0),
     {P::RightTurn, P::None}, F::PropEvent, {High(HighestLateralG)}, M::Straights,
     {InAll(High(RideTime)), InARow(Low(HighestLateralG))}},
    {"Starter", 6, "Far Corners", {38, 32, 24, kLeft}, Mountains, kDay, SlopeTop(-40, 12),
     {P::RightTurn, P::None}, F::Ring, {High(TopSpeed), Low(LowestForwardG)}, M::Speed,
     {Top(High(LowestForwardG)), Average(Low(HighestVerticalG))}},
    {"Starter", 7, "Big Block", {39, 40, 14, kLeft}, Mountains, kDusk, SlopeSide(60, kWest, -12),
     {P::STurn, P::Loop}, F::Prop, {High(HighestVerticalG)}, M::Straights,
     {InARow(Low(HighestLateralG)), InAll(High(LowestVerticalG))}},
    {"Starter", 8, "The Grand Square", {40, 36, 12, kRight}, Cavern, 0, CavernFloor(135, 205, 12),
     {P::RightTurn, P::None}, F::PropOrder, {}, M::Faster,
     {Average(High(LowestForwardG)), Top(Low(HighestVerticalG))}},
    {"Junior", 1, "Side Step", {26, 24, 15, kLeft}, Mountains, kDay, Flat(-40, 30, 90),
     {P::None, P::None}, F::None, {High(TrackLength), High(RideTime)}},
    {"Junior", 2, "Square Deal", {38, 26, 21, kLeft}, Mountains, kDay, Gorge(100, kEast, 12),
     {P::RightTurn, P::None}, F::PropEvent, {High(HighestLateralG)}, M::Straights,
     {InAll(Low(HighestLateralG)), InARow(High(LowestVerticalG))}},
    {"Junior", 3, "Corner Shop", {39, 38, 21, kRight}, Mountains, kDusk, Gorge(70, kWest, -12),
     {P::STurn, P::TwoSTurns}, F::Ring, {High(HighestForwardG), High(HighestLateralG)}, M::Faster,
     {Top(Low(HighestVerticalG)), Top(High(LowestVerticalG))}},
    {"Junior", 4, "Two by Two", {40, 30, 15, kLeft}, Mountains, kNight, SlopeSide(100, kWest, 6),
     {P::RightTurn, P::None}, F::Prop, {}, M::Straights,
     {InARow(High(LowestVerticalG)), InAll(Low(HighestVerticalG))}},
    {"Junior", 5, "Even Keel", {37, 39, 24, kLeft}, Cavern, 0, CavernFloor(225, 205, -12),
     {P::STurn, P::Corkscrew}, F::PropOrder, {High(AverageSpeed)}, M::Speed,
     {Average(Low(HighestVerticalG)), Top(High(LowestVerticalG))}},
    {"Junior", 6, "Level Best", {38, 34, 17, kRight}, Mountains, kDay, Gorge(20, kEast, 6),
     {P::RightTurn, P::None}, F::PropEvent, {}, M::Straights,
     {InAll(High(LowestVerticalG)), InARow(Low(HighestVerticalG))}},
    {"Junior", 7, "Steady Run", {39, 40, 12, kLeft}, Mountains, kDusk, Hill(32, 12),
     {P::Loop, P::RightTurn}, F::LoopRing, {High(TopSpeed), High(HighestVerticalG)}, M::Speed,
     {Top(High(LowestVerticalG)), Top(Low(HighestForwardG))}},
    {"Junior", 8, "Full Lap", {40, 38, 18, kLeft}, Mountains, kNight, SlopeSide(40, kWest, -18),
     {P::RightTurn, P::None}, F::Prop, {}, M::Straights,
     {InARow(Low(HighestVerticalG)), InAll(Low(HighestForwardG))}},
    {"Senior", 1, "High Noon", {28, 30, 15, kLeft}, Mountains, kDay, Flat(20, 40, -90),
     {P::None, P::None}, F::None, {High(TrackLength), High(RideTime)}},
    {"Senior", 2, "Long Shadow", {38, 32, 21, kLeft}, Cavern, 0, CavernFloor(315, 205, 6),
     {P::RightTurn, P::None}, F::PropOrder, {High(HighestLateralG)}, M::Faster,
     {Average(High(LowestVerticalG)), Top(Low(HighestForwardG))}},
    {"Senior", 3, "Tall Order", {39, 38, 15, kLeft}, Mountains, kDusk, Gorge(130, kWest, -18),
     {P::RightTurn, P::RightTurn}, F::PropEvent, {}, M::Straights,
     {InAll(Low(HighestVerticalG)), InARow(Low(HighestForwardG))}},
    {"Senior", 4, "Wide Berth", {40, 36, 24, kRight}, Mountains, kNight, SlopeTop(120, 18),
     {P::RightTurn, P::None}, F::Ring, {High(HighestLateralG)}, M::Faster,
     {Top(Low(HighestForwardG)), Top(Low(HighestLateralG))}},
    {"Senior", 5, "Far Reach", {37, 39, 14, kLeft}, Mountains, kDay, SlopeSide(80, kWest, -6),
     {P::STurn, P::Loop}, F::Prop, {High(HighestPoint), High(HighestLateralG)}, M::Straights,
     {InARow(Low(HighestForwardG)), InAll(High(RideTime))}},
    {"Senior", 6, "Open Field", {38, 40, 12, kLeft}, Mountains, kDay, SlopeSide(120, kWest, 3),
     {P::RightTurn, P::None}, F::PropOrder, {High(AverageSpeed)}, M::Speed,
     {Average(Low(HighestForwardG)), Top(Low(HighestLateralG))}},
    {"Senior", 7, "Home Run", {40, 40, 18, kRight}, Cavern, 0, CavernFloor(411, 205, -18),
     {P::STurn, P::Corkscrew}, F::PropEvent, {High(HighestVerticalG), Low(LowestVerticalG)}, M::Straights,
     {InAll(Low(HighestForwardG)), InARow(High(RideTime))}},
    {"Senior", 8, "Top Form", {40, 36, 16, kLeft}, Mountains, kNight, Gorge(55, kEast, 18),
     {P::RightTurn, P::None}, F::Ring, {High(TopSpeed), High(HighestLateralG)}, M::Speed,
     {Top(Low(HighestLateralG)), Average(High(LowestForwardG))}},
    {"Classic", 1, "Old Timer", {27, 32, 15, kLeft}, Mountains, kDay, Flat(30, -10, 45),
     {P::None, P::None}, F::None, {High(TrackLength), High(RideTime)}},
    {"Classic", 2, "Boardwalk", {38, 34, 17, kRight}, Mountains, kDay, Gorge(85, kWest, -6),
     {P::RightTurn, P::None}, F::Prop, {}, M::Straights,
     {InARow(High(RideTime)), InAll(Low(HighestLateralG))}},
    {"Classic", 3, "Pier Run", {39, 38, 24, kLeft}, Mountains, kDusk, SlopeSide(20, kWest, -9),
     {P::STurn, P::STurn}, F::PropOrder, {High(HighestLateralG)}, M::Faster,
     {Average(Low(HighestLateralG)), Top(High(LowestForwardG))}},
    {"Classic", 4, "County Fair", {40, 38, 14, kLeft}, Cavern, 0, CavernFloor(501, 205, 18),
     {P::RightTurn, P::None}, F::PropEvent, {}, M::Straights,
     {InAll(High(RideTime)), InARow(Low(HighestLateralG))}},
    {"Classic", 5, "Long Lines", {39, 40, 12, kRight}, Mountains, kDay, Hill(58, -24),
     {P::Loop, P::None}, F::LoopRing, {High(HighestPoint), High(HighestLateralG)}, M::Faster,
     {Top(High(LowestForwardG)), Top(Low(HighestVerticalG))}},
    {"Classic", 6, "The Meadow", {38, 38, 18, kLeft}, Mountains, kDay, SlopeSide(140, kWest, 15),
     {P::RightTurn, P::None}, F::Prop, {}, M::Straights,
     {InARow(Low(HighestLateralG)), InAll(High(LowestVerticalG))}},
    {"Classic", 7, "Night Train", {39, 40, 10, kLeft}, Mountains, kDusk, SlopeSide(10, kWest, 0),
     {P::RightTurn, P::Corkscrew}, F::PropOrder, {High(AverageSpeed)}, M::Speed,
     {Average(High(LowestForwardG)), Top(Low(HighestVerticalG))}},
    {"Classic", 8, "Heritage", {40, 34, 21, kRight}, Mountains, kNight, Gorge(115, kEast, 3),
     {P::RightTurn, P::None}, F::PropEvent, {High(HighestLateralG)}, M::Straights,
     {InAll(Low(HighestLateralG)), InARow(High(LowestVerticalG))}},
    {"Vintage", 1, "Penny Ride", {31, 36, 15, kLeft}, Cavern, 0, Flat(0, 0, 0),
     {P::None, P::None}, F::None, {High(TrackLength), High(RideTime)}},
    {"Vintage", 2, "Bandstand", {38, 38, 24, kLeft}, Mountains, kDay, SlopeTop(40, 12),
     {P::Loop, P::None}, F::LoopRing, {High(TopSpeed)}, M::Speed,
     {Top(Low(HighestVerticalG)), Top(High(LowestVerticalG))}},
    {"Vintage", 3, "Carousel Row", {39, 40, 14, kRight}, Mountains, kDusk, SlopeSide(-20, kEast, -12),
     {P::STurn, P::Corkscrew}, F::Prop, {High(HighestForwardG), Low(LowestForwardG)}, M::Straights,
     {InARow(High(LowestVerticalG)), InAll(Low(HighestVerticalG))}},
    {"Vintage", 4, "Lantern Walk", {40, 38, 12, kLeft}, Mountains, kNight, SlopeSide(160, kWest, 6),
     {P::RightTurn, P::None}, F::PropOrder, {}, M::Faster,
     {Average(Low(HighestVerticalG)), Top(High(LowestVerticalG))}},
    {"Vintage", 5, "Old Mill", {37, 39, 18, kLeft}, Mountains, kDay, Gorge(100, kWest, -9),
     {P::STurn, P::Loop}, F::PropEvent, {High(HighestPoint)}, M::Straights,
     {InAll(High(LowestVerticalG)), InARow(Low(HighestVerticalG))}},
    {"Vintage", 6, "Promenade", {38, 34, 10, kRight}, Cavern, 0, CavernFloor(591, 240, -6),
     {P::RightTurn, P::None}, F::Ring, {}, M::Faster,
     {Top(High(LowestVerticalG)), Top(Low(HighestForwardG))}},
    {"Vintage", 7, "Pavilion", {39, 40, 21, kLeft}, Mountains, kDusk, SlopeSide(50, kWest, -18),
     {P::STurn, P::Corkscrew}, F::Prop, {High(HighestVerticalG), Low(LowestVerticalG)}, M::Straights,
     {InARow(Low(HighestVerticalG)), InAll(Low(HighestForwardG))}},
    {"Vintage", 8, "Sunday Best", {40, 30, 15, kLeft}, Mountains, kNight, SlopeSide(70, kWest, 18),
     {P::RightTurn, P::None}, F::PropOrder, {High(AverageSpeed)}, M::Speed,
     {Average(High(LowestVerticalG)), Top(Low(HighestForwardG))}},
    {"Grand", 1, "Grand Tour", {35, 38, 15, kLeft}, Mountains, kDay, Flat(-20, 0, -45),
     {P::None, P::None}, F::None, {High(TrackLength), High(RideTime)}},
    {"Grand", 2, "Great Lawn", {38, 40, 14, kLeft}, Mountains, kDay, Gorge(70, kEast, 15),
     {P::RightTurn, P::None}, F::PropEvent, {}, M::Straights,
     {InAll(Low(HighestVerticalG)), InARow(Low(HighestForwardG))}},
    {"Grand", 3, "Royal Park", {39, 38, 12, kLeft}, Cavern, 0, CavernFloor(681, 240, 3),
     {P::Loop, P::STurn}, F::LoopRing, {High(TopSpeed)}, M::Speed,
     {Top(Low(HighestForwardG)), Top(Low(HighestLateralG))}},
    {"Grand", 4, "Crown Green", {40, 36, 18, kRight}, Mountains, kNight, SlopeSide(-40, kEast, -6),
     {P::RightTurn, P::None}, F::Prop, {}, M::Straights,
     {InARow(Low(HighestForwardG)), InAll(High(RideTime))}},
    {"Grand", 5, "Palace Gate", {37, 39, 10, kLeft}, Mountains, kDay, SlopeSide(90, kWest, 3),
     {P::STurn, P::Loop}, F::PropOrder, {High(HighestPoint), High(HighestLateralG)}, M::Faster,
     {Top(Low(HighestForwardG)), Top(Low(HighestLateralG))}},
    {"Grand", 6, "Regatta", {38, 32, 21, kLeft}, Mountains, kDay, Gorge(115, kWest, 0),
     {P::RightTurn, P::None}, F::PropEvent, {High(HighestLateralG)}, M::Straights,
     {InAll(Low(HighestForwardG)), InARow(High(RideTime))}},
    {"Grand", 7, "Jubilee", {39, 40, 15, kRight}, Mountains, kDusk, Gorge(85, kEast, 12),
     {P::TwoSTurns, P::Loop}, F::LoopRing, {High(HighestVerticalG), Low(LowestVerticalG)}, M::Faster,
     {Top(Low(HighestLateralG)), Top(High(LowestForwardG))}},
    {"Grand", 8, "Grand Finale", {40, 28, 24, kLeft}, Cavern, 0, CavernFloor(759, 205, -9),
     {P::RightTurn, P::None}, F::Prop, {High(HighestLateralG)}, M::Straights,
     {InARow(High(RideTime)), InAll(Low(HighestLateralG))}},
    {"Final", 1, "Championship", {37, 40, 14, kLeft}, Mountains, kDay, SlopeSide(30, kWest, -9),
     {P::STurn, P::Loop}, F::PropOrder, {High(AverageSpeed)}, M::Speed,
     {Average(Low(HighestLateralG)), Average(High(LowestForwardG))}},
    {"Final", 2, "Masterpiece", {38, 37, 12, kRight}, Mountains, kDay, SlopeSide(-60, kEast, 15),
     {P::RightTurn, P::Corkscrew}, F::PropEvent, {Low(LowestVerticalG), High(HighestPoint)}, M::Straights,
     {InAll(High(RideTime)), InARow(Low(HighestLateralG))}},
    };
    // clang-format on
    return recipes;
}
