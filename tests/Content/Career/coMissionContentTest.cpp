#include "Content/coBuiltTree.h"
#include "Content/coGameRunTest.h"
#include "Engine/App/Ch/chBinReader.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfFile.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Ma/maConstants.h"
#include "Source/App/coProgram.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Modes/coModeFlythrough.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPiece.h"
#include "Source/Track/coPlacement.h"
#include "Source/Track/coTrackChunks.h"
#include "Source/World/coProp.h"
#include "Tools/Mission/lvMissionRecipes.h"
#include "Tools/World/toolParkWorld.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <ranges>
#include <set>
#include <string>
#include <tuple>
#include <typeinfo>
#include <vector>

namespace {

// Lays the free sides as the mission's solution does from its start (each side's own piece, its
// straights in at least the given number, a left turn, all on the chain lift as the locked pieces are but
// for the accelerators its medal asks on the last straights), then "Finish Coaster". Returns the pieces
// laid per budget code.
std::map<int, int> LayAsAPlayer(const lvMissionRecipe& recipe, int straightsPerSide) {
    lvLayMissionFreePieces(recipe, straightsPerSide);
    std::map<int, int> laid;
    for (int i = lvMissionStartPieces; i < coCircuitPieceCount(); ++i)
        ++laid[coObjectivePieceKind(*coCircuitPieceAt(i))];
    coCircuitTryClose();
    return laid;
}

// A voice-over's length in seconds, as the game's wave reader sees it.
double VoiceSeconds(const fsLocator& file) {
    snWaveFile wave;
    snWaveOpenForPlayback(file, wave);
    const double seconds = static_cast<double>(wave.dataTotal) / wave.format->avgBytesPerSec;
    snWaveClose(wave);
    return seconds;
}

std::string Text(const std::string& textSet, u32 id) {
    const gfTextSet set(coBuiltTreeLocator("Data/Text/Eng/" + textSet), 32, true);
    return envStringToNarrow(set.GetText(id));
}

std::string MissionVoice(const lvMissionRecipe& recipe) {
    return std::string(recipe.type) + "/mvo" + std::to_string(recipe.number) + ".wav";
}

// Speech takes about a fifteenth of a second a character; silence, a clipped sound or the wrong text
// falls outside these bounds.
void ExpectSpoken(const std::string& voice, const std::string& words) {
    const double perCharacter = VoiceSeconds(coBuiltTreeLocator("Data/Voice/Eng/" + voice)) / words.size();
    EXPECT_GT(perCharacter, 0.03) << voice << ": " << words;
    EXPECT_LT(perCharacter, 0.12) << voice << ": " << words;
}

// The descriptions of the objectives not met up to the level.
std::string Unmet(const coObjectiveSet& objectives, int level) {
    std::string unmet;
    for (int below = 0; below <= level; ++below)
        for (const auto& objective : objectives.GetLevel(below))
            if (!objective->IsMet())
                unmet += " \"" + envStringToNarrow(objective->GetDescription()) + "\"";
    return unmet;
}

std::string MissionName(const lvMissionRecipe& recipe) {
    return std::string(recipe.type) + "/Mission" + std::to_string(recipe.number);
}

bool IsOpener(const lvMissionRecipe& recipe) {
    return recipe.number == 1 && recipe.type != std::string("Final");
}

// A mission's objectives of a level, each named by its class with its statistic kind or piece code.
std::set<std::string> ObjectiveKeys(const std::vector<std::unique_ptr<coMissionObjective>>& objectives);

// What the missions' silver and gold ask, in words without their numbers, with how many missions ask each;
// and how many missions' win levels ask a speed that the plain closing misses.
struct Asked {
    std::map<std::string, int> silver, gold;
    int speeds = 0;
};

// Loads the mission as the career builder does, without a line in the log, and finds half its circuit
// given, of which nothing it asks is met yet; a plain closing of it wins nothing after the track type's
// first mission; a player who closes it within the budgets, in straights no longer than the builder allows,
// wins bronze, and in more straights and with more accelerators silver and gold; the coaster of each medal
// wins no more than it. Returns the kinds of its win level's objectives; adds what it asks to the tally.
std::set<std::string> ExpectWinnable(const lvMissionRecipe& recipe, const std::vector<std::string>& log,
                                     Asked* asked = nullptr) {
    const std::string name = MissionName(recipe);
    coMissionBudgets budgets{};
    coObjectiveSet objectives;
    coMissionLocks locks;
    coFlythroughPath path;
    const size_t logged = log.size();
    coLoadMission(fsRootedLocator(coRootMissions, name + ".cmi"), budgets, objectives, locks, path);
    EXPECT_EQ(log.size(), logged) << name << ": " << log.back();
    coRideSetPropTracking(true);
    // The briefing is heard whole before the fly-through ends.
    EXPECT_LE(VoiceSeconds(coBuiltTreeLocator("Data/Voice/Eng/" + MissionVoice(recipe))),
              path.GetWaitBefore() + path.GetFlightTime() + path.GetWaitAfter())
        << name;
    EXPECT_EQ(
        std::tuple(coCircuitPieceCount(), locks.lockedPieces, path.GetPointCount(), objectives.AllMet(0)),
        std::tuple(lvMissionStartPieces, lvMissionStartPieces, 3, false))
        << name;
    // Nothing the mission asks of the player is met by the starting coaster as it loads: no fountain already
    // plays the event asked for, and no ring, prop or piece count is met; the statistics met are kept for
    // the plain closing below.
    coRideComputeStats();
    std::set<const coMissionObjective*> metAtStart;
    for (int level = 0; level < 4; ++level)
        for (const auto& objective : objectives.GetLevel(level)) {
            if (const auto* event = dynamic_cast<const coPropActivationEventObjective*>(objective.get())) {
                EXPECT_NE(event->GetProp()->GetActiveEvent(), event->GetEvent()) << name;
            }
            if (objective->IsMet())
                metAtStart.insert(objective.get());
            EXPECT_TRUE(dynamic_cast<const coStatObjective*>(objective.get()) || !objective->IsMet())
                << name << ": \"" << envStringToNarrow(objective->GetDescription())
                << "\" is met at the start";
        }
    // After the openers, silver and gold each ask a statistic of the ride beside their straights or speed.
    for (int level = 2; level <= 3 && !IsOpener(recipe); ++level)
        EXPECT_TRUE(std::ranges::any_of(objectives.GetLevel(level),
                                        [](const auto& objective) {
                                            return dynamic_cast<const coStatObjective*>(objective.get()) !=
                                                   nullptr;
                                        }))
            << name << " " << level;
    // What silver and gold ask, in words without their numbers.
    for (int level = 2; level <= 3 && asked; ++level) {
        std::string words;
        for (const auto& objective : objectives.GetLevel(level))
            for (char c : envStringToNarrow(objective->GetDescription()) + "|")
                if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.')
                    words += c;
        ++(level == 2 ? asked->silver : asked->gold)[words];
    }
    std::set<std::string> kinds;
    for (const auto& objective : objectives.GetLevel(0)) {
        EXPECT_EQ(envStringToNarrow(objective->GetDescription()).find('%'), std::string::npos) << name;
        kinds.insert(typeid(*objective).name());
        // The player sets the fountain to the event asked for.
        if (const auto* event = dynamic_cast<const coPropActivationEventObjective*>(objective.get()))
            event->GetProp()->SetActiveEvent(event->GetEvent());
    }

    // The plain closing, its fountain set as asked: the track type's first mission is the plain square;
    // after it every mission asks for something more, and no statistic it misses was met at the start.
    LayAsAPlayer(lvPlainClosing(recipe), 1);
    coRideComputeStats();
    EXPECT_TRUE(coCircuitIsClosed()) << name << ": the plain closing";
    EXPECT_TRUE(IsOpener(recipe) || !objectives.AllMet(0)) << name << ": the plain closing wins it";
    for (int level = 0; level < 4; ++level)
        for (const auto& objective : objectives.GetLevel(level))
            EXPECT_TRUE(objective->IsMet() || metAtStart.count(objective.get()) == 0)
                << name << ": \"" << envStringToNarrow(objective->GetDescription())
                << "\" is met at the start but not by the plain closing";
    if (asked && std::ranges::any_of(objectives.GetLevel(0), [](const auto& objective) {
            const auto* stat = dynamic_cast<const coStatObjective*>(objective.get());
            return stat && !stat->IsMet() &&
                   (stat->GetKind() == coStatKindTopSpeed || stat->GetKind() == coStatKindAverageSpeed);
        }))
        ++asked->speeds;

    for (const auto& [perSide, level] :
         {std::pair{1, 1}, {lvSilverStraightsPerSide, 2}, {lvGoldStraightsPerSide, 3}}) {
        while (coCircuitPieceCount() > lvMissionStartPieces)
            coCircuitRemoveLast();
        const std::map<int, int> laid = LayAsAPlayer(recipe, perSide);
        for (const auto& [code, count] : laid)
            EXPECT_TRUE(budgets[size_t(code)] < 0 || count <= budgets[size_t(code)])
                << name << " " << perSide << ": code " << code;
        coRideComputeStats();
        EXPECT_TRUE(coCircuitIsClosed() && objectives.AllMet(0) && objectives.AllMet(1) &&
                    objectives.AllMet(level))
            << name << " " << perSide << (coCircuitIsClosed() ? ":" : " (open):") << Unmet(objectives, level);
        EXPECT_EQ(laid.at(coPieceCodeStraight), 2 * perSide) << name;
        EXPECT_TRUE(level == 3 || !objectives.AllMet(level + 1)) << name << " " << perSide;
    }
    coRideSetPropTracking(false);
    return kinds;
}

class SteelDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

// The world of a mission with neither props nor rings: no environment, no coaster type folders, the
// type's defaults.
struct BareWorld : coSavedCoasterServices {
    BareWorld() {
        coSetCoasterDefinition(&definition);
        coSetSavedCoasterServices(this);
    }
    ~BareWorld() override {
        coSetSavedCoasterServices(nullptr);
        coSetCoasterDefinition(nullptr);
    }
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
    SteelDefinition definition;
};

using MissionContentInTheGame = coGameRunTest;

} // namespace

// Each shipped mission has its voice-over where the mission's fly-through finds it, speaking the mission's
// title and briefing; each of the builder's first eleven hints has its own, speaking the hint.
TEST(MissionContent, VoiceOversSpeakTheirTexts) {
    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        const std::string voice = MissionVoice(recipe);
        coModeFlythrough flight;
        flight.SetVoiceFile(coBuiltTreeLocator("Data/Voice/Eng/" + voice));
        EXPECT_TRUE(flight.HasVoice()) << voice;
        const std::string texts = std::string(recipe.type) + ".tsf";
        const u32 number = static_cast<u32>(recipe.number);
        ExpectSpoken(voice, Text(texts, coCoasterNameOffset + number) + ". " + Text(texts, number));
    }
    for (u32 hint = 0; hint <= 10; ++hint) {
        char voice[16];
        std::snprintf(voice, sizeof voice, "fbvo%02u.wav", hint);
        ExpectSpoken(voice, Text("uimpfb.tsf", hint));
    }
}

// Each shipped mission without props or rings is winnable; the medal question's texts and the track
// type's hint and title are there.
TEST(MissionContent, EveryMissionLoadsCleanlyAndItsSolutionMeetsTheWinLevel) {
    fsResetRootTable();
    for (const auto& [root, folder] :
         {std::pair{coRootText, "Data/Text/Eng"}, {coRootMissions, "Data/Missions"}})
        fsAddRootDirectory(root, coBuiltTreeLocator(folder));
    dbgLogCapture log;
    BareWorld world;
    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        const std::string name = MissionName(recipe);
        if (recipe.feature == lvMissionFeature::None) {
            ExpectWinnable(recipe, log.lines);
            coCircuitClear();
        }
        // The medal question's texts, completed to gold: each names the mission and its own result.
        const char* const results[4] = {"complete", "bronze", "silver", "gold"};
        for (u32 level = 0; level < 4; ++level)
            for (const std::string& word : {std::string(recipe.title), std::string(results[level])})
                EXPECT_NE(Text("Missions/" + name + ".tsf", level).find(word), std::string::npos)
                    << name << " " << level;
        // The hint at the mission's number, its title (the coaster's name) further on.
        const std::string typeTexts = std::string(recipe.type) + ".tsf";
        EXPECT_EQ(Text(typeTexts, coCoasterNameOffset + static_cast<u32>(recipe.number)), recipe.title)
            << name;
        const std::string hint = Text(typeTexts, static_cast<u32>(recipe.number));
        EXPECT_GT(hint.size(), 40u) << name;
        // It reads as a guide's: how far a turn turns, where the chain lift goes, no "a high highest".
        const auto asks = [&](lvMissionPiece piece) { return std::ranges::count(recipe.pieces, piece) > 0; };
        EXPECT_EQ(hint.find("45 degrees: nine presses") != std::string::npos, asks(lvMissionPiece::RightTurn))
            << name;
        EXPECT_EQ(hint.find("chain lift on the loop") != std::string::npos, asks(lvMissionPiece::Loop))
            << name;
        for (const char* odd :
             {"high highest", "low lowest", "high lowest", "low highest", "an S-turn and two S-turns"})
            EXPECT_EQ(hint.find(odd), std::string::npos) << name << ": " << hint;
    }
    fsResetRootTable();
}

// The table's rows keep the rules the writer checks; a row that breaks one is refused.
TEST(MissionContent, ARowThatBreaksARuleIsRefused) {
    for (const lvMissionRecipe& recipe : lvMissionRecipes())
        EXPECT_NO_THROW(lvCheckMissionRecipe(recipe)) << MissionName(recipe);
    const lvMissionRecipe& gorge =
        *std::ranges::find_if(lvMissionRecipes(), [](const lvMissionRecipe& recipe) {
            return recipe.place.ground == lvMissionGround::Gorge && recipe.medal == lvMissionMedal::Straights;
        });
    std::vector<lvMissionRecipe> broken(4, gorge);
    broken[0].square.sideA = 45.0f;
    broken[1].square.cornerRadius = 5.0f;
    broken[2].medals[0].more = lvMedalMore::TopSpeed;
    broken[3].number = 9;
    for (const lvMissionRecipe& recipe : broken)
        EXPECT_THROW(lvCheckMissionRecipe(recipe), std::runtime_error);
}

// The missions with rings or props, loaded by the running game: the props are the themes' own, placed
// in the park; the rings are the ring list's, passed when the track's collision paths cross them, as the
// career builder finds them. Each is winnable.
TEST_F(MissionContentInTheGame, TheRingAndPropMissionsAreWinnable) {
    std::multiset<std::string> kinds;
    Asked asked;
    coProgramSwitches switches;
    switches.frames = 1;
    switches.lastFrame = [&] {
        for (const lvMissionRecipe& recipe : lvMissionRecipes())
            if (recipe.feature != lvMissionFeature::None)
                kinds.merge(ExpectWinnable(recipe, log.lines, &asked));
    };
    EXPECT_EQ(coRunProgram("/w /skipvideos", switches), 0) << (log.lines.empty() ? "" : log.lines.back());
    // A fifth of the missions and more ask a speed that only accelerators give; the medals ask different
    // things from one mission to the next, none the same of more than a few.
    EXPECT_GE(asked.speeds, 10);
    for (const auto* lists : {&asked.silver, &asked.gold}) {
        EXPECT_GE(lists->size(), 14u);
        EXPECT_LE(std::ranges::max(*lists | std::views::values), 4);
    }
    EXPECT_EQ(std::tuple(kinds.count(typeid(coRingObjective).name()),
                         kinds.count(typeid(coPropProximityObjective).name()),
                         kinds.count(typeid(coPropOrderingObjective).name()),
                         kinds.count(typeid(coPropActivationEventObjective).name())),
              std::tuple(11u, 11u, 11u, 11u));
}

namespace {

// A mission's objectives, each named by its class with its statistic kind or piece code.
std::set<std::string> ObjectiveKeys(const std::vector<std::unique_ptr<coMissionObjective>>& objectives) {
    std::set<std::string> keys;
    for (const auto& pointer : objectives) {
        const coMissionObjective* objective = pointer.get();
        std::string key = typeid(*objective).name();
        if (const auto* stat = dynamic_cast<const coStatObjective*>(objective))
            key += " " + std::to_string(stat->GetKind());
        if (const auto* count = dynamic_cast<const coTrackCountObjective*>(objective))
            key += " " + std::to_string(count->GetCode());
        keys.insert(key);
    }
    return keys;
}

// The coaster setting of a mission file (its environment, its variant and its dock) and its starting
// track: the rounded length and kind of each piece.
std::pair<coCoasterData, std::vector<int>> StartOf(const fsLocator& mission) {
    gfFile file(mission, gfFileRead, gfByteOrderData);
    file.ReadBinHeaderBeforeChunks(nullptr);
    chBinReader reader(&file);
    std::pair<coCoasterData, std::vector<int>> start{};
    u32 id, size;
    u16 version;
    while (reader.BeginChunk(&id, &version, &size)) {
        if (id == coChunkCoasterData) {
            coReadCoasterData(reader, version, size, start.first);
        } else if (id == coChunkPieceList) {
            std::vector<std::unique_ptr<coCoasterPiece>> pieces;
            coReadCoasterPieces(reader, version, size, pieces);
            for (const auto& piece : pieces)
                start.second.insert(start.second.end(),
                                    {static_cast<int>(std::lround(piece->GetLength() * 10.0f)),
                                     coObjectivePieceKind(*piece)});
        }
        reader.EndChunk();
    }
    return start;
}

} // namespace

// The career is fifty challenges, not one: nearly every mission asks for its own set of objectives of
// every kind, among them many of the ride's statistics; a third and more ask for right turns, S-turns,
// loops or corkscrews; a fifth of them are built in the cavern; each has its own site and start.
TEST(MissionContent, TheMissionsAskForDifferentThings) {
    BareWorld world;
    fsResetRootTable();
    fsAddRootDirectory(coRootText, coBuiltTreeLocator("Data/Text/Eng"));
    std::map<std::set<std::string>, int> sets;
    std::set<std::string> all, classes;
    std::set<std::tuple<std::string, int, int, int, int, int, std::vector<int>>> starts; // site and start
    std::set<int> headings;
    std::vector<std::pair<std::string, coCoasterData>> docks;
    std::set<int> pieceCodes;
    int beyondTheSquare = 0;
    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        std::vector<std::unique_ptr<coMissionObjective>> objectives;
        coReadMissionObjectives(coBuiltTreeLocator("Data/Missions/" + MissionName(recipe) + ".cmi"),
                                objectives);
        const std::set<std::string> keys = ObjectiveKeys(objectives);
        const auto [data, track] =
            StartOf(coBuiltTreeLocator("Data/Missions/" + MissionName(recipe) + ".cmi"));
        const auto round = [](float value) { return static_cast<int>(std::lround(value * 10.0f)); };
        starts.insert({data.environment, data.environmentIndex, round(data.dockPosition.x),
                       round(data.dockPosition.y), round(data.dockPosition.z), round(data.dockHeading),
                       track});
        headings.insert(round(data.dockHeading));
        docks.emplace_back(MissionName(recipe), data);
        ++sets[keys];
        all.insert(keys.begin(), keys.end());
        bool beyond = false;
        for (const auto& objective : objectives) {
            classes.insert(typeid(*objective).name());
            if (const auto* count = dynamic_cast<const coTrackCountObjective*>(objective.get())) {
                pieceCodes.insert(count->GetCode());
                beyond = beyond || count->GetCode() != coPieceCodeTurnLeft;
            }
        }
        beyondTheSquare += beyond ? 1 : 0;
    }
    EXPECT_EQ(classes.size(), 6u);
    EXPECT_EQ(pieceCodes, (std::set<int>{coPieceCodeTurnRight, coPieceCodeTurnLeft, coPieceCodeSTurn,
                                         coPieceCodeLoop, coPieceCodeCorkscrew}));
    EXPECT_GE(beyondTheSquare * 3, static_cast<int>(lvMissionRecipes().size()));
    const auto statKinds = std::count_if(all.begin(), all.end(), [](const std::string& key) {
        return key.starts_with(typeid(coStatObjective).name());
    });
    const auto unique =
        std::count_if(sets.begin(), sets.end(), [](const auto& set) { return set.second == 1; });
    const auto caverns =
        std::count_if(lvMissionRecipes().begin(), lvMissionRecipes().end(),
                      [](const lvMissionRecipe& recipe) { return recipe.site == lvMissionSite::Cavern; });
    fsResetRootTable();
    // Beside the ground, the pieces, the ring or fountains, what is counted: most missions' win levels.
    EXPECT_GE(unique, 20);
    EXPECT_GE(statKinds, 8);
    EXPECT_GE(caverns * 5, static_cast<long>(lvMissionRecipes().size()));
    // No two missions share their site and starting track; their docks face many ways, each as its ground
    // has it (along the gorge, across or down the slope, away from the hill or the cavern's wall).
    EXPECT_EQ(starts.size(), lvMissionRecipes().size());
    EXPECT_GE(headings.size(), 25u);
    // Nor their dock: on the same site two docks stand well apart or face clearly different ways.
    for (size_t i = 0; i < docks.size(); ++i)
        for (size_t j = 0; j < i; ++j) {
            const coCoasterData &one = docks[i].second, &other = docks[j].second;
            const float turn = std::remainder(one.dockHeading - other.dockHeading, 2.0f * maPiF);
            EXPECT_TRUE(one.environment != other.environment ||
                        (one.dockPosition - other.dockPosition).Length() > 5.0f ||
                        std::fabs(turn) > coDegrees(15.0f))
                << docks[i].first << " and " << docks[j].first;
        }
}

namespace {

// The ground under a mission's solved circuit: at its station, its lowest and highest, the least the track
// stands over it, and the plane that fits it best: how steep it is and how far the ground strays from it.
struct GroundUnder {
    float station = 0.0f, low = maMaxFloat, high = -maMaxFloat, clearance = maMaxFloat;
    float steepness = 0.0f, stray = 0.0f;
};

GroundUnder MeasureGround(const lvMissionRecipe& recipe) {
    const auto ground = [&](const maVector3d& at) {
        return recipe.site == lvMissionSite::Cavern ? toolCavernHeight(at.x, at.z)
                                                    : toolMountainHeight(at.x, at.z);
    };
    GroundUnder under;
    std::vector<maVector3d> points; // the ground under the track, each a unit or so apart
    for (int i = 0; i < coCircuitPieceCount(); ++i) {
        const coCoasterPiece& piece = *coCircuitPieceAt(i);
        for (float s = 0.0f; s <= piece.GetLength(); s += 1.0f) {
            const maVector3d at = piece.PointAt(s / piece.GetLength());
            points.emplace_back(at.x, ground(at), at.z);
            under.low = std::min(under.low, points.back().y);
            under.high = std::max(under.high, points.back().y);
            under.clearance = std::min(under.clearance, at.y - points.back().y);
        }
    }
    const coCoasterPiece& station = *coCircuitFirstPiece();
    under.station = ground(station.PointAt(0.5f));
    // The plane by least squares about the points' mean.
    maVector3d mean(0.0f, 0.0f, 0.0f);
    for (const maVector3d& point : points)
        mean = mean + point * (1.0f / static_cast<float>(points.size()));
    float xx = 0, xz = 0, zz = 0, xy = 0, zy = 0;
    for (const maVector3d& point : points) {
        const maVector3d d = point - mean;
        xx += d.x * d.x, xz += d.x * d.z, zz += d.z * d.z, xy += d.x * d.y, zy += d.z * d.y;
    }
    const float det = xx * zz - xz * xz, bx = (xy * zz - zy * xz) / det, bz = (zy * xx - xy * xz) / det;
    under.steepness = std::hypot(bx, bz);
    for (const maVector3d& point : points) {
        const maVector3d d = point - mean;
        under.stray = std::max(under.stray, std::fabs(d.y - bx * d.x - bz * d.z));
    }
    return under;
}

} // namespace

// The missions stand on different ground, each of its kind as the shipped dock has it: across the gorge the
// ground falls far below the station between rims; on the slope it falls evenly; on the hill's flank and the
// cavern's rising floor it falls away from the station; the openers stay on the flat. The track clears the
// ground everywhere and the station stands on it; each track type meets several kinds.
TEST(MissionContent, TheMissionsStandOnDifferentGround) {
    BareWorld world;
    std::map<lvMissionGround, int> counts;
    std::map<std::string, std::set<lvMissionGround>> perType;
    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        const std::string name = MissionName(recipe);
        lvLayMissionSolution(recipe, lvGoldStraightsPerSide);
        const coCoasterPiece& station = *coCircuitFirstPiece();
        const maVector3d dock = station.PointAt(0.5f);
        EXPECT_LT((StartOf(coBuiltTreeLocator("Data/Missions/" + name + ".cmi")).first.dockPosition - dock)
                      .Length(),
                  0.1f)
            << name;
        const GroundUnder under = MeasureGround(recipe);
        coCircuitClear();
        EXPECT_GT(under.clearance, 2.9f) << name;
        EXPECT_LT(dock.y - under.station, 8.1f) << name;
        const float drop = under.station - under.low;
        switch (recipe.place.ground) {
        case lvMissionGround::Flat:
            EXPECT_LT(under.high - under.low, 6.0f) << name;
            break;
        case lvMissionGround::Gorge:
            EXPECT_TRUE(drop > 18.0f && under.stray > 6.0f) << name << ": " << drop << ", " << under.stray;
            break;
        case lvMissionGround::Slope:
            EXPECT_TRUE(under.high - under.low > 8.0f && under.steepness > 0.08f && under.stray < 4.0f)
                << name << ": " << under.high - under.low << ", " << under.steepness << ", " << under.stray;
            break;
        case lvMissionGround::Hill:
            EXPECT_TRUE(under.station > under.high - 1.0f && drop > 12.0f)
                << name << ": " << under.station << ", " << under.high << ", " << drop;
            break;
        case lvMissionGround::CavernFloor: // the station's own side follows the floor round
            EXPECT_TRUE(under.station > under.high - 2.5f && drop > 4.0f)
                << name << ": " << under.station << ", " << under.high << ", " << drop;
            break;
        }
        ++counts[recipe.place.ground];
        perType[recipe.type].insert(recipe.place.ground);
    }
    EXPECT_EQ(counts.size(), 5u);
    for (const auto& [ground, count] : counts)
        EXPECT_GE(count, 3) << static_cast<int>(ground);
    for (const auto& [type, grounds] : perType)
        EXPECT_TRUE(type == "Final" || grounds.size() >= 4u) << type;
}

TEST(MissionContent, TheDamagedCareerSaveHasItsErrorText) {
    const gfTextSet texts(coBuiltTreeLocator("Errors/Eng/coErrors.tsf"), 32, true);
    EXPECT_NE(envStringToNarrow(texts.GetText(7)).find("SaveFile.isf.bad"), std::string::npos);
}

// The career builder heads its objectives list with this text; an empty one leaves a blank red row.
TEST(MissionContent, TheObjectivesListHasItsTitle) {
    const gfTextSet texts(coBuiltTreeLocator("Data/Text/Eng/uiop.tsf"), 32, true);
    EXPECT_GT(texts.GetText(46).GetLength(), 0u);
}

// Every statistic objective ends in its unit, in the units the player chose, and a ride time (10 s here)
// in minutes and seconds alone; none shows a bare format.
TEST(MissionContent, StatisticObjectivesNameTheirUnits) {
    const gfTextSet texts(coBuiltTreeLocator("Data/Text/Eng/uiop.tsf"), 32, true);
    const bool chosen = coPrefs::GetBool(coPrefMetricUnits);
    const std::string speed[] = {"mph", "km/h"}, length[] = {"ft", "m"}, g[] = {"G", "G"},
                      time[] = {"than 0:10.0", "than 0:10.0"};
    const std::string* units[coStatObjectiveKindCount] = {speed, speed,  speed, g, g, length, length,
                                                          time,  length, g,     g, g, g};
    for (const int metric : {0, 1}) {
        coPrefs::SetBool(coPrefMetricUnits, metric == 1);
        for (int kind = 0; kind < coStatObjectiveKindCount; ++kind)
            for (const bool above : {true, false}) {
                const std::string text =
                    envStringToNarrow(coStatObjective(kind, above, 10.0f, texts).GetDescription());
                EXPECT_TRUE(text.ends_with(" " + units[kind][metric])) << text;
                EXPECT_EQ(text.find('%'), std::string::npos) << text;
            }
    }
    coPrefs::SetBool(coPrefMetricUnits, chosen);
}
