#include "Content/coBuiltTree.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Audio/Sn/private/snWaveFile.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coMissionObjective.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Modes/coModeFlythrough.h"
#include "Source/Ride/coRideServices.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coCoasterPieceStraight.h"
#include "Source/Track/coCoasterPieceTurn.h"
#include "Source/Track/coPieceLimits.h"
#include "Source/Track/coPlacement.h"
#include "Source/World/coPropList.h"
#include "Source/World/coTargetRingList.h"
#include "Tools/Mission/lvMissionRecipes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <typeinfo>

namespace {

class SteelDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

// The missions' world without a device: no coaster type folders; props are their records (the
// fountain's trigger distance and a 2-unit box), rings are tested against the track alone.
struct MissionWorld : coSavedCoasterServices, coMissionWorld, coRideProps {
    MissionWorld() {
        coSetSavedCoasterServices(this);
        coSetMissionWorld(this);
        coSetRideProps(this);
        coRideSetPropTracking(true);
    }
    ~MissionWorld() override {
        coRideSetPropTracking(false);
        coSetRideProps(nullptr);
        coSetMissionWorld(nullptr);
        coSetSavedCoasterServices(nullptr);
    }
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
    void PlaceProps(coPendingProps&) override {}
    void ListProps(coPendingProps& pending, std::vector<coProp*>& out) const override {
        out.clear();
        for (const coPropRecord& record : dynamic_cast<coPropRecords&>(pending).records) {
            props.push_back(record);
            out.push_back(reinterpret_cast<coProp*>(&props.back()));
        }
    }
    maVector3d GetPropPosition(const coProp* prop) const override { return Of(prop).position; }
    envString GetPropName(const coProp* prop) const override { return Of(prop).name; }
    void AddRings(coPendingRings& pending) override {
        for (const coRingRecord& ring : dynamic_cast<coRingRecords&>(pending).rings)
            rings.push_back({ring.position, coRingNormal(ring.heading, ring.pitch), ring.radius, ring.kind});
    }
    void PrepareRings() override {}
    bool AllRingsPassed() override { return std::all_of(rings.begin(), rings.end(), Passed); }
    // A point of the centre line, in half-unit steps, lies in the ring's disc.
    static bool Passed(const coRingShape& ring) {
        for (int i = 0; i < coCircuitPieceCount(); ++i)
            for (float s = 0.0f; s < coCircuitPieceAt(i)->GetLength(); s += 0.5f) {
                const maVector3d gap = coCircuitPieceAt(i)->PointAt(s) - ring.centre;
                if (maDot(gap, gap) < ring.radius * ring.radius && std::fabs(maDot(gap, ring.normal)) < 0.5f)
                    return true;
            }
        return false;
    }
    void CollectAll(std::vector<const coProp*>& out) const override {
        out.clear();
        for (const coPropRecord& record : props)
            out.push_back(reinterpret_cast<const coProp*>(&record));
    }
    float GetProximityRadius(const coProp*) const override { return 12.0f; }
    maBoundingBox GetBounds(const coProp* prop) const override {
        const maVector3d at = Of(prop).position;
        return maBoundingBox(at - maVector3d(1.0f, 0.0f, 1.0f), at + maVector3d(1.0f, 2.0f, 1.0f));
    }
    static const coPropRecord& Of(const coProp* prop) { return *reinterpret_cast<const coPropRecord*>(prop); }

    mutable std::deque<coPropRecord> props; // handles point into it
    std::vector<coRingShape> rings;
};

// Lays the two free sides as a player would from the mission's start (a straight, a turn, a straight, a
// turn): each as long as the locked side across from it, in at least the given number of straights and
// as many more as the longest straight needs, each followed by the locked turn, then "Finish Coaster".
// Returns the pieces laid per budget code.
std::map<int, int> LayAsAPlayer(int straightsPerSide) {
    std::map<int, int> laid;
    for (int side = 0; side < 2; ++side) {
        const auto& locked = dynamic_cast<const coCoasterPieceStraight&>(*coCircuitPieceAt(2 * side));
        const auto& corner = dynamic_cast<const coCoasterPieceTurn&>(*coCircuitPieceAt(2 * side + 1));
        const float length = locked.GetRunLength();
        const int straights =
            std::max(straightsPerSide, static_cast<int>(std::ceil(length / GetStraightLengthMax())));
        for (int i = 0; i < straights; ++i) {
            auto straight = std::make_unique<coCoasterPieceStraight>();
            straight->SetRunLength(length / static_cast<float>(straights));
            ++laid[coObjectivePieceKind(*straight)];
            coCircuitAppend(std::move(straight), true);
        }
        auto turn = std::make_unique<coCoasterPieceTurn>();
        turn->SetAngle(corner.GetAngle());
        turn->SetRadius(corner.GetRadius());
        ++laid[coObjectivePieceKind(*turn)];
        coCircuitAppend(std::move(turn), true);
    }
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

// Each shipped mission loads without a warning and gives half its circuit; a player who closes it within
// the budgets, in straights no longer than the builder allows, wins bronze, and in more straights silver
// and gold. A ring and a prop mission are among them.
TEST(MissionContent, EveryMissionLoadsCleanlyAndItsSolutionMeetsTheWinLevel) {
    fsResetRootTable();
    for (const auto& [root, folder] :
         {std::pair{coRootText, "Data/Text/Eng"}, {coRootMissions, "Data/Missions"}})
        fsAddRootDirectory(root, coBuiltTreeLocator(folder));
    SteelDefinition definition;
    coSetCoasterDefinition(&definition);
    MissionWorld world;
    std::set<std::string> kinds;
    std::vector<std::string> warnings;
    dbgSetLogSink([&](const std::string& line) { warnings.push_back(line); });

    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        const std::string name = std::string(recipe.type) + "/Mission" + std::to_string(recipe.number);
        coMissionBudgets budgets{};
        coObjectiveSet objectives;
        coMissionLocks locks;
        coFlythroughPath path;
        world.props.clear();
        world.rings.clear();
        coLoadMission(fsRootedLocator(coRootMissions, name + ".cmi"), budgets, objectives, locks, path);
        EXPECT_TRUE(warnings.empty()) << name << ": " << (warnings.empty() ? "" : warnings[0]);
        warnings.clear();
        // The briefing is heard whole before the fly-through ends.
        EXPECT_LE(VoiceSeconds(coBuiltTreeLocator("Data/Voice/Eng/" + MissionVoice(recipe))),
                  path.GetWaitBefore() + path.GetFlightTime() + path.GetWaitAfter())
            << name;
        EXPECT_EQ(
            std::tuple(coCircuitPieceCount(), locks.lockedPieces, path.GetPointCount(), objectives.AllMet(0)),
            std::tuple(lvMissionStartPieces, lvMissionStartPieces, 3, false))
            << name;
        for (const auto& objective : objectives.GetLevel(0))
            EXPECT_EQ(envStringToNarrow(objective->GetDescription()).find('%'), std::string::npos) << name;

        for (const auto& [perSide, level] :
             {std::pair{1, 1}, {lvSilverStraightsPerSide, 2}, {lvGoldStraightsPerSide, 3}}) {
            while (coCircuitPieceCount() > lvMissionStartPieces)
                coCircuitRemoveLast();
            for (const auto& [code, count] : LayAsAPlayer(perSide))
                EXPECT_TRUE(budgets[size_t(code)] < 0 || count <= budgets[size_t(code)])
                    << name << " " << perSide << ": code " << code;
            coRideComputeStats();
            EXPECT_TRUE(coCircuitIsClosed() && objectives.AllMet(0) && objectives.AllMet(1) &&
                        objectives.AllMet(level))
                << name << " " << perSide;
        }
        for (const auto& objective : objectives.GetLevel(0))
            kinds.insert(typeid(*objective).name());
        coCircuitClear();

        const gfTextSet texts(fsRootedLocator(coRootText, "Missions/" + name + ".tsf"), 32, true);
        // The medal question's texts, completed to gold: each names the mission and its own result.
        const char* const results[4] = {"complete", "bronze", "silver", "gold"};
        for (u32 level = 0; level < 4; ++level)
            for (const std::string& word : {std::string(recipe.title), std::string(results[level])})
                EXPECT_NE(envStringToNarrow(texts.GetText(level)).find(word), std::string::npos)
                    << name << " " << level;
        const gfTextSet typeTexts(fsRootedLocator(coRootText, std::string(recipe.type) + ".tsf"), 32, true);
        // The hint at the mission's number, its title (the coaster's name) 32 further.
        EXPECT_EQ(envStringToNarrow(typeTexts.GetText(32u + static_cast<u32>(recipe.number))), recipe.title)
            << name;
        EXPECT_GT(typeTexts.GetText(static_cast<u32>(recipe.number)).GetLength(), 40u) << name;
    }
    EXPECT_EQ(kinds.count(typeid(coRingObjective).name()) +
                  kinds.count(typeid(coPropProximityObjective).name()),
              2u);
    dbgSetLogSink({});
    coSetCoasterDefinition(nullptr);
    fsResetRootTable();
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
