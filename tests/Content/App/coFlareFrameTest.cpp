// The sun's flare as the game's frame judges it, on a coaster ridden in the mountains at dusk: hidden
// behind the hill and behind the station, shown in the open.
#include "Content/coGameRunTest.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Engine/Graphics/Sc/scLensFlare.h"
#include "Source/App/coProgram.h"
#include "Source/Modes/coMode.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/World/coEnvironment.h"
#include "Source/World/coLoadingDock.h"

#include "Source/Track/coCircuitTestSupport.h"

#include <filesystem>
#include <functional>
#include <string>

namespace {

// An oval at dusk with the Ironvale station over its first straight.
struct DuskServices : coSavedCoasterServices {
    DuskServices() { coSetSavedCoasterServices(this); }
    ~DuskServices() override { coSetSavedCoasterServices(nullptr); }
    std::string GetEnvironmentName() const override { return "Mountain"; }
    int GetEnvironmentIndex() const override { return 1; }
    bool GetDock(maVector3d& position, float& heading, std::string& type) const override {
        position = coCircuitFirstPiece()->GetStart() + maVector3d(0.0f, 0.0f, 20.0f);
        heading = 0.0f;
        type = "Ironvale";
        return true;
    }
};

struct coFlareFrameTest : coGameRunTest {
    void SetUp() override {
        coGameRunTest::SetUp();
        DuskServices services;
        SaveOvalCoaster("Dusk");
    }
};

TEST_F(coFlareFrameTest, TheHillAndTheStationHideTheSunInTheBuildersAndTheRidesFrames) {
    // Outlives the run: the flares' test keeps the camera it was last given.
    g3dCamera camera;
    std::string seen;
    coProgramSwitches switches;
    switches.frames = 10;
    switches.frameStart = [this] { time.Advance(0.033); };
    switches.lastFrame = [&] {
        ASSERT_EQ(scGetLensFlares().size(), 1u);
        const scLensFlare& flare = *scGetLensFlares().front();
        const maVector3d sun = coGetEnvironment().GetLensFlare().sun;
        ASSERT_NE(coGetDock(), nullptr);
        coPrefs::SetBool(coPrefLensFlare, true);
        // Eyes looking at the sun: one on the line from the sun through the middle of the station's roof,
        // one above that roof, one beyond the hill, and open ground beside the start.
        const maVector3d roof = coGetDock()->GetPosition() + maVector3d(0.0f, 4.45f, 0.0f);
        const maVector3d towardSun = sun - roof;
        const maVector3d underRoof = roof - towardSun * (10.0f / towardSun.Length());
        const struct {
            const char* where;
            maVector3d eye;
        } eyes[] = {{"under the roof", underRoof},
                    {"over the roof", underRoof + maVector3d(0.0f, 8.0f, 0.0f)},
                    {"beyond the hill", {180.0f, 8.0f, 180.0f}},
                    {"in the open", {20.0f, 10.0f, -20.0f}}};
        // The builder's frame and the ride's each judge the flare from the camera they draw with.
        const std::function<void()> frames[] = {[&] { coGetModeHost().UpdateScene(camera, 1.0f); },
                                                [&] { coGetRideModeHost().UpdateEnvironment(camera, 1.0f); },
                                                [&] {
                                                    camera.Apply();
                                                    coGetModeHost().RenderFrame(&camera, nullptr);
                                                }};
        for (const auto& frame : frames) {
            for (const auto& [where, eye] : eyes) {
                camera.LookAt(eye, sun, {0.0f, 1.0f, 0.0f});
                frame();
                seen += flare.GetElements().front()->IsShown() ? '+' : '-';
            }
            seen += ' ';
        }
    };
    EXPECT_EQ(coRunProgram("/w /skipvideos /ride \"Dusk\"", switches), 0)
        << (log.lines.empty() ? "" : log.lines.back());
    EXPECT_EQ(seen, "-+-+ -+-+ -+-+ ");
}

} // namespace
