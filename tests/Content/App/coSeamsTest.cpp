// The game started as the program starts it, on the built tree and the test platform, riding a saved
// coaster with a prop: every seam the game answers holds the game's own implementation.
#include "Content/coGameRunTest.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/GUI/Gui/guiCursor.h"
#include "Source/App/coApp.h"
#include "Source/App/coInjector.h"
#include "Source/App/coProgram.h"
#include "Source/Career/coFlythroughPath.h"
#include "Source/Career/coMissionWorld.h"
#include "Source/Collision/coCollisionPark.h"
#include "Source/Modes/coCareerPalettes.h"
#include "Source/Modes/coEditorHost.h"
#include "Source/Modes/coEditorInput.h"
#include "Source/Modes/coEditorWorld.h"
#include "Source/Modes/coMenuWorld.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Modes/coRideModeHost.h"
#include "Source/Modes/coRideSettings.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Ride/coRideServices.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/SavedCoaster/coSavedCoasterServices.h"
#include "Source/Scene/coModelHolder.h"
#include "Source/Scene/coTextureCache.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCoasterDefinition.h"
#include "Source/Track/coParkWorld.h"
#include "Source/Track/coTrackBuilder.h"
#include "Source/TrackGeom/coTrackDefinitionSource.h"
#include "Source/TrackGeom/coTrackObjects.h"
#include "Source/World/coProp.h"
#include "Source/World/coPropList.h"
#include "Source/World/coPropListChunk.h"
#include "Source/World/coPropScreens.h"

#include "Source/Track/coCircuitTestSupport.h"

#include <filesystem>
#include <typeinfo>

namespace {

// A closed oval with a fountain beside its first straight, written by the game's writer.
struct OvalServices : coSavedCoasterServices {
    OvalServices() { coSetSavedCoasterServices(this); }
    ~OvalServices() override { coSetSavedCoasterServices(nullptr); }
    std::string GetEnvironmentName() const override { return "Mountain"; }
    void WriteProps(chWriter& writer) const override {
        coPropRecord fountain;
        fountain.name = envString("fountain");
        fountain.position = coCircuitFirstPiece()->GetStart() + maVector3d(6.0f, 0.0f, 46.0f);
        coWritePropRecords(writer, {fountain});
    }
};

// Whether a seam, got as its interface, answers with something other than the interface's own fallback.
template <class Seam> bool Replaced(const Seam& seam) {
    return typeid(seam) != typeid(Seam);
}

struct coSeamsTest : coGameRunTest {
    void SetUp() override {
        coGameRunTest::SetUp();
        OvalServices services;
        SaveOvalCoaster("Seams");
    }
};

TEST_F(coSeamsTest, EverySeamHoldsTheGamesOwnAndTheRideIsHeard) {
    // The ride's own sounds, switched off for the second run before its first frame.
    for (const bool eventSoundsOff : {false, true}) {
        bool heard = false;
        bool positional = true;
        coProgramSwitches switches;
        switches.frames = 20;
        int frame = 0;
        switches.frameStart = [&] {
            time.Advance(0.033);
            if (frame++ == 0)
                coPrefs::SetBool(coPrefSoundEffectsOff, eventSoundsOff);
        };
        switches.lastFrame = [&] {
            const coRideSound* run = coGetRideSound(coRideSoundRun);
            heard = run && run->job->IsPlaying();
            positional = run && run->job->IsPositional();
            if (eventSoundsOff)
                return;
            const std::pair<const char*, bool> replaced[] = {
                {"ride audio", Replaced(coGetRideAudio())},
                {"ride car scene", Replaced(coGetRideCarScene())},
                {"ride props", Replaced(coGetRideProps())},
                {"park world", Replaced(coGetParkWorld())},
                {"collision park", Replaced(coGetCollisionPark())},
                {"track builder", Replaced(coGetTrackBuilder())},
                {"track objects", Replaced(coGetTrackObjectMaker())},
                {"track definitions", Replaced(coGetTrackDefinitionSource())},
                {"saved-coaster services", Replaced(coGetSavedCoasterServices())},
                {"coaster package hooks", Replaced(coGetCoasterPackageHooks())},
                {"ride mode host", Replaced(coGetRideModeHost())},
                {"editor host", Replaced(coGetEditorHost())},
                {"editor input", Replaced(*coGetEditorInput())},
                {"editor world", Replaced(coGetEditorWorld())},
                {"menu world", Replaced(coGetMenuWorld())},
                {"career palettes", Replaced(coGetCareerPalettes())},
                {"prop screens", Replaced(coGetPropScreens())},
                {"ride pause screens", Replaced(coGetRidePauseDialogScreens())},
            };
            for (const auto& [seam, isReplaced] : replaced)
                EXPECT_TRUE(isReplaced) << seam;
            // These exist for tests and the game leaves them alone: the mission world's own answers are the
            // game's, the prop list's props and the ring list's rings; the coaster definition is the store's.
            const std::pair<const char*, bool> kept[] = {
                {"mission world", Replaced(coGetMissionWorld())},
                {"texture cache", Replaced(coGetTextureCache())},
                {"model holder loader", Replaced(coGetModelHolderLoader())},
                {"fly-through scene", coGetFlythroughScene() != nullptr},
                {"coaster definition", &coGetCoasterDefinition() != &coCoasterDefinitionStore()},
            };
            for (const auto& [seam, isReplaced] : kept)
                EXPECT_FALSE(isReplaced) << seam;
            EXPECT_EQ(typeid(coGetModeHost()), typeid(coApp));

            // The park answers with its placed prop, and the missions name the prop's events.
            std::vector<coProp*> props;
            coPropList::CollectAll(props);
            ASSERT_EQ(props.size(), 1u);
            std::vector<coCollisionProp> found;
            coGetCollisionPark().FindPropsInBox(props[0]->GetBounds(), found);
            EXPECT_EQ(found.size(), 1u);
            EXPECT_NE(coGetMissionWorld().GetPropEventName(props[0], 0).GetLength(), 0u);
        };
        EXPECT_EQ(coRunProgram("/w /skipvideos /ride \"Seams\"", switches), 0)
            << (log.lines.empty() ? "" : log.lines.back());
        // From the seat the sounds are heard plain, not placed.
        EXPECT_EQ(heard, !eventSoundsOff);
        EXPECT_FALSE(positional);
        // The ride's end freed them.
        EXPECT_EQ(coGetRideSound(coRideSoundRun), nullptr);
    }
}

TEST_F(coSeamsTest, TheQuitQuestionOverARideShowsThePointer) {
    // The pointer seen in each frame: the ride hides it, the question shows it (the last frame confirms it).
    std::string seen;
    int rideFrames = 0;
    coProgramSwitches switches;
    switches.frames = 60;
    switches.frameStart = [&] {
        time.Advance(0.033);
        // The window closed ten frames into the ride.
        if (coCurrentMode() == coGetMode(coModeIdRide) && ++rideFrames == 10)
            coCurrentMode()->OnQuitRequest(nullptr);
        const char now = coInjector::FindWidget("Dialog") ? (guiCursorMgr::IsVisible() ? 'Q' : 'q')
                                                          : (guiCursorMgr::IsVisible() ? 'P' : '-');
        if (seen.empty() || seen.back() != now)
            seen += now;
    };
    EXPECT_EQ(coRunProgram("/w /skipvideos /ride \"Seams\"", switches), 0);
    EXPECT_NE(seen.find("-Q"), std::string::npos) << seen;
    EXPECT_EQ(seen.find('q'), std::string::npos) << seen;
}

} // namespace
