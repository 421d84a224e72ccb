// The player's saves cut to their first bytes: each is told as damaged and kept aside as its other damage
// is, never read as an empty coaster, mission, career or set of settings.
#include "Engine/App/Fs/fsFileSystem.h"
#include "Source/Career/coCareerSave.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionFile.h"
#include "Source/Career/coObjectiveSet.h"
#include "Source/SavedCoaster/coLoadCache.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCircuit.h"

#include "Source/Career/coCareerTestSupport.h"
#include "Source/SavedCoaster/coSavedCoasterTestSupport.h"
#include "Source/Track/coCircuitTestSupport.h"

#include <functional>

namespace {

// Every one of these files starts with the 8-byte binary header.
constexpr size_t kHeader = 8;

class coSavesCutShortTest : public coCircuitFixture {
  protected:
    // Whether the read fails as the game's boxes tell a damaged file.
    static bool RefusedAsDamaged(const std::function<void()>& read) {
        try {
            read();
        } catch (...) {
            return coIsDamagedFileFailure(std::current_exception());
        }
        return false;
    }

    coCareerEnvironment career;
    coFileTestDefinition definition;
    coFakeMissionWorld world;
    std::unique_ptr<gfTextSet> texts = coWriteObjectiveTexts(career.folder, {});
};

} // namespace

TEST_F(coSavesCutShortTest, ASaveCutBeforeItsFirstChunkIsToldAsDamaged) {
    coBuildR1();
    coCircuitClose();
    const fsLocator coaster = career.folder.Locator("Saves/Loop.csa");
    const fsLocator mission = career.folder.Locator("Saves/Ann/Classic/Mission1.cmi");
    career.folder.MakeFolder("Saves/Ann/Classic");
    coSaveCoasterFile(coaster);
    coWriteMissionFile(mission, coMissionBudgets{}, coObjectiveSet(), coMissionLocks(), coFlythroughPath());
    coCareerSave::Write(0, u"Ann", u"Classic", 0, 2);
    coPrefs::Load(); // none yet: the defaults are written
    const i32 pieces = coCircuitPieceCount();

    const struct {
        const char* file;
        std::function<bool()> told;
    } saves[] = {
        // Refused, the world kept, and left out of the load menu as a file that is no coaster.
        {"Saves/Loop.csa",
         [&] {
             coLoadCacheMap listed;
             return RefusedAsDamaged([&] { coLoadCoasterFile(coaster); }) &&
                    coCircuitPieceCount() == pieces && !coScanLoadCacheFile(coaster, listed) &&
                    listed.empty();
         }},
        {"Saves/Ann/Classic/Mission1.cmi",
         [&] {
             coMissionBudgets budgets{};
             coObjectiveSet objectives;
             coMissionLocks locks;
             coFlythroughPath path;
             std::vector<std::unique_ptr<coMissionObjective>> win;
             const int clears = world.clears;
             return RefusedAsDamaged([&] { coLoadMission(mission, budgets, objectives, locks, path); }) &&
                    RefusedAsDamaged([&] { coReadMissionObjectives(mission, win); }) &&
                    world.clears == clears;
         }},
        // Told once loaded, and kept as ".bad" by the next save.
        {"Saves/Ann/SaveFile.isf",
         [&] {
             const std::string cut = career.folder.Read("Saves/Ann/SaveFile.isf");
             std::vector<i32> counts;
             career.displayer.shown.clear();
             coCareerSave::Load(u"Ann", nullptr, counts);
             coCareerSave::ShowReports();
             coCareerSave::Write(0, u"Ann", u"Classic", 1, 3);
             return career.displayer.shown.size() == 1 &&
                    career.displayer.shown[0].message.find("#7 ") != std::string::npos &&
                    career.folder.Read("Saves/Ann/SaveFile.isf.bad") == cut;
         }},
        // Kept as ".bad" at once, the defaults saved in its place.
        {"Saves/prefs.bin",
         [&] {
             const std::string cut = career.folder.Read("Saves/prefs.bin");
             coPrefs::Load();
             return career.Warned("prefs.bin is damaged") && career.folder.Read("Saves/prefs.bin.bad") == cut;
         }},
    };
    for (const auto& save : saves) {
        const std::string whole = career.folder.Read(save.file);
        ASSERT_GT(whole.size(), kHeader + 1) << save.file;
        for (const size_t length : {size_t{0}, size_t{1}, size_t{4}, kHeader, kHeader + 1}) {
            career.folder.Write(save.file, whole.substr(0, length));
            EXPECT_TRUE(save.told()) << save.file << " cut at " << length;
        }
    }
}
