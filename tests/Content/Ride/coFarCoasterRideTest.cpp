// The game started as the program starts it, on the built tree and the test platform, riding a coaster
// that reaches far from its seat: the track's detail groups switch as the seat moves and as the graphics
// option moves the switch, and the car flames play their flip book.
#include "Content/coGameRunTest.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dUVATexture.h"
#include "Engine/Graphics/Sc/scParticleGenerator.h"
#include "Source/App/coProgram.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Ride/coRideServices.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Scene/coDetailSets.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coAngles.h"
#include "Source/Track/coCoasterDefinition.h"

#include "Source/Track/coCircuitTestSupport.h"

#include <filesystem>
#include <map>
#include <set>

namespace {

struct MountainServices : coSavedCoasterServices {
    MountainServices() { coSetSavedCoasterServices(this); }
    ~MountainServices() override { coSetSavedCoasterServices(nullptr); }
    std::string GetEnvironmentName() const override { return "Mountain"; }
};

// A closed square of 52 chained pieces, about 170 units a side, saved by the game's writer as "Far" and
// the type's name.
void WriteSquare(const std::filesystem::path& saves, const std::string& type) {
    coRecordingTrackBuilder builder;
    MountainServices services;
    coCoasterDefinitionStore().SetCoasterTypeName(type);
    coSetThemeName("Ironvale");
    for (int side = 0; side < 4; ++side) {
        for (int i = 0; i < 12; ++i)
            coAppendStraight(12.0f, coElementChainLift);
        coAppendTurn(coDegrees(-90.0f), 15.0f, coElementChainLift);
    }
    coCircuitClose();
    fsLocator locator;
    fsLocatorFromNativePath((saves / ("Far" + type + ".csa")).string().c_str(), locator);
    coSaveCoasterFile(locator);
    coCircuitClear();
}

struct coFarCoasterRideTest : coGameRunTest {
    void SetUp() override {
        coGameRunTest::SetUp();
        const std::filesystem::path saves =
            std::filesystem::path(folder.Path()) / "Zandrel Trackwrighting" / "Loopvane" / "Saves";
        std::filesystem::create_directories(saves);
        for (const char* type : {"Steel", "Wooden"})
            WriteSquare(saves, type);
    }
    bool Riding() const { return coCurrentMode() == coGetMode(coModeIdRide); }
};

// The sets of the track whose coarse group the game chose.
int FarSets() {
    int far = 0;
    for (const coSceneObjectSet* set : coGetObjectSets())
        far += set->GetCurrentGroup() > 0;
    return far;
}

TEST_F(coFarCoasterRideTest, FarPiecesDrawTheirCoarseGroupAndTheOptionMovesTheSwitch) {
    for (const std::string type : {"Steel", "Wooden"}) {
        // Every group each set showed during the ride and how many it has, and the far sets at the option's
        // lowest, middle and highest value, each counted in the frame after the option changed.
        std::map<const coSceneObjectSet*, std::set<int>> shown;
        std::map<const coSceneObjectSet*, int> groupCounts;
        int far[3] = {-1, -1, -1};
        int rideFrames = 0;
        coProgramSwitches switches;
        switches.frames = 120;
        switches.frameStart = [&] {
            time.Advance(0.1);
            if (!Riding())
                return;
            for (const coSceneObjectSet* set : coGetObjectSets()) {
                shown[set].insert(set->GetCurrentGroup());
                groupCounts[set] = set->GetGroupCount();
            }
            const int step = ++rideFrames - 100;
            if (step >= 0 && step < 6) {
                if (step % 2 == 1)
                    far[step / 2] = FarSets();
                else
                    coPrefs::SetFloat(coPrefDetailDistance, 0.5f * static_cast<float>(step / 2));
            }
        };
        EXPECT_EQ(coRunProgram("/w /skipvideos /ride \"Far" + type + "\"", switches), 0)
            << (log.lines.empty() ? "" : log.lines.back());

        // Each piece's track and supports have a near and a far group, and some switched as the seat moved.
        int twoGroups = 0, switched = 0;
        for (const auto& [set, groups] : shown) {
            twoGroups += groupCounts[set] == 2;
            switched += groups.size() == 2;
        }
        EXPECT_GE(twoGroups, 52) << type;
        EXPECT_GT(switched, 0) << type;
        // The higher the option, the farther the switch: fewer sets draw their far group.
        EXPECT_GT(far[0], far[1]) << type;
        EXPECT_GT(far[1], far[2]) << type;
        EXPECT_GT(far[2], 0) << type;
    }
}

// With "rampglow" the cars' flames play the flame's flip book over their lives, and the sorted pass draws
// them as a UV-animated sprite group: a sprite's cell is set as the stage's texture transform just
// before its square is drawn.
TEST_F(coFarCoasterRideTest, TheCarFlamesPlayTheirFlipBook) {
    std::set<i32> frames;
    size_t flames = 0;
    bool logging = false;
    coProgramSwitches switches;
    switches.frames = 40;
    switches.frameStart = [&] {
        time.Advance(0.033);
        if (Riding() && !logging) {
            d3d.GetLog().clear();
            logging = true;
        }
    };
    switches.lastFrame = [&] {
        const auto* cars = dynamic_cast<const coRideCars*>(&coGetRideCarScene());
        ASSERT_NE(cars, nullptr);
        flames = cars->GetFlames().size();
        for (const scSpriteGroupParticleGenerator* flame : cars->GetFlames()) {
            ASSERT_NE(flame->GetUVATexture(), nullptr);
            EXPECT_EQ(flame->GetUVATexture()->GetFrameCount(), 8);
            for (const g3dSprite* sprite = flame->GetModel().GetFirstSprite(); sprite; sprite = sprite->next)
                frames.insert(sprite->frame);
        }
    };
    EXPECT_EQ(coRunProgram("/w /skipvideos /cheat rampglow /ride \"FarSteel\"", switches), 0)
        << (log.lines.empty() ? "" : log.lines.back());
    EXPECT_GT(flames, 0u);
    EXPECT_GE(frames.size(), 4u);
    EXPECT_GE(*frames.begin(), 0);
    EXPECT_LE(*frames.rbegin(), 7);

    const std::vector<std::string>& calls = d3d.GetLog();
    int flipBookSprites = 0;
    for (size_t i = 1; i < calls.size(); ++i)
        flipBookSprites += calls[i - 1] == "SetTransform 16" && calls[i].rfind("DrawPrimitive 6 ", 0) == 0;
    EXPECT_GT(flipBookSprites, 0);
}

} // namespace
