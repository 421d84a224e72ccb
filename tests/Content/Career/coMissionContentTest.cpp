#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Gf/gfTextSet.h"
#include "Engine/Core/Env/dbgLog.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/Modes/coModeFlythrough.h"
#include "Source/Ride/coRideStats.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Tools/Mission/lvMissionRecipes.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace {

class SteelDefinition : public coCoasterDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

// The missions' coaster type is not this test's matter: its definitions stay as they are.
struct NoDefinitions : coSavedCoasterServices {
    void LoadCoasterDefinitions(const std::string&, const std::string&, int) override {}
};

fsLocator InRoot(i32 root, const std::string& relative) {
    fsLocator locator;
    fsLocatorFromNativePath(relative.c_str(), locator);
    locator.SetRoot(root);
    return locator;
}

} // namespace

// Each shipped mission has its voice-over where the mission's fly-through finds it.
TEST(MissionContent, EveryMissionHasItsVoiceOver) {
    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        fsLocator voice;
        fsLocatorFromNativePath((std::string(LV_DATA_DIR) + "/Data/Voice/Eng/" + recipe.type + "/mvo" +
                                 std::to_string(recipe.number) + ".wav")
                                    .c_str(),
                                voice);
        coModeFlythrough flight;
        flight.SetVoiceFile(voice);
        EXPECT_TRUE(flight.HasVoice()) << recipe.type << " " << recipe.number;
    }
}

// Each shipped mission loads without a warning, gives half its circuit, and the whole circuit that its
// writer laid meets its win level and, in more straights, its medals.
TEST(MissionContent, EveryMissionLoadsCleanlyAndItsSolutionMeetsTheWinLevel) {
    fsResetRootTable();
    for (const auto& [root, folder] :
         {std::pair{coRootText, "/Data/Text/Eng"}, {coRootMissions, "/Data/Missions"}}) {
        fsLocator directory;
        fsLocatorFromNativePath((std::string(LV_DATA_DIR) + folder).c_str(), directory);
        fsAddRootDirectory(root, directory);
    }
    SteelDefinition definition;
    coSetCoasterDefinition(&definition);
    NoDefinitions services;
    coSetSavedCoasterServices(&services);
    std::vector<std::string> warnings;
    dbgSetLogSink([&](const std::string& line) { warnings.push_back(line); });

    for (const lvMissionRecipe& recipe : lvMissionRecipes()) {
        const std::string name = std::string(recipe.type) + "/Mission" + std::to_string(recipe.number);
        coMissionBudgets budgets{};
        coObjectiveSet objectives;
        coMissionLocks locks;
        coFlythroughPath path;
        coLoadMission(InRoot(coRootMissions, name + ".cmi"), budgets, objectives, locks, path);
        EXPECT_TRUE(warnings.empty()) << name << ": " << (warnings.empty() ? "" : warnings[0]);
        warnings.clear();
        EXPECT_EQ(
            std::tuple(coCircuitPieceCount(), locks.lockedPieces, path.GetPointCount(), objectives.AllMet(0)),
            std::tuple(lvMissionStartPieces, lvMissionStartPieces, 3, false))
            << name;
        for (const auto& objective : objectives.GetLevel(0))
            EXPECT_EQ(envStringToNarrow(objective->GetDescription()).find('%'), std::string::npos) << name;

        // Each medal is won within the budgets: the free sides in one straight each win, in more straights
        // silver and gold.
        for (const auto& [perSide, level] :
             {std::pair{1, 0}, {lvSilverStraightsPerSide, 2}, {lvGoldStraightsPerSide, 3}}) {
            coCircuitClear();
            lvLayMissionSolution(recipe, perSide);
            coRideComputeStats();
            EXPECT_TRUE(coCircuitIsClosed() && objectives.AllMet(0) && objectives.AllMet(level))
                << name << " " << perSide;
            EXPECT_LE(2 * perSide, budgets[0]) << name << " " << perSide;
        }
        coCircuitClear();

        const gfTextSet texts(InRoot(coRootText, "Missions/" + name + ".tsf"), 32, true);
        // The medal question's texts, completed to gold: each names the mission and its own result.
        const char* const results[4] = {"complete", "bronze", "silver", "gold"};
        for (u32 level = 0; level < 4; ++level)
            for (const std::string& word : {std::string(recipe.title), std::string(results[level])})
                EXPECT_NE(envStringToNarrow(texts.GetText(level)).find(word), std::string::npos)
                    << name << " " << level;
        const gfTextSet typeTexts(InRoot(coRootText, std::string(recipe.type) + ".tsf"), 32, true);
        // The hint at the mission's number, its title (the coaster's name) 32 further.
        EXPECT_EQ(envStringToNarrow(typeTexts.GetText(32u + static_cast<u32>(recipe.number))), recipe.title)
            << name;
        EXPECT_GT(typeTexts.GetText(static_cast<u32>(recipe.number)).GetLength(), 40u) << name;
    }
    dbgSetLogSink({});
    coSetSavedCoasterServices(nullptr);
    coSetCoasterDefinition(nullptr);
    fsResetRootTable();
}

TEST(MissionContent, TheDamagedCareerSaveHasItsErrorText) {
    fsLocator file;
    fsLocatorFromNativePath(LV_DATA_DIR "/Errors/Eng/coErrors.tsf", file);
    const gfTextSet texts(file, 32, true);
    EXPECT_NE(envStringToNarrow(texts.GetText(7)).find("SaveFile.isf.bad"), std::string::npos);
}

// The career builder heads its objectives list with this text; an empty one leaves a blank red row.
TEST(MissionContent, TheObjectivesListHasItsTitle) {
    fsLocator file;
    fsLocatorFromNativePath(LV_DATA_DIR "/Data/Text/Eng/uiop.tsf", file);
    const gfTextSet texts(file, 32, true);
    EXPECT_GT(texts.GetText(46).GetLength(), 0u);
}
