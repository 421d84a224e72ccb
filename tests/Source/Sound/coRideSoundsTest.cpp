#include "Engine/Audio/Sn/private/snSoundJob2DPAC.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideTestSupport.h"
#include "Source/Sound/coAudioTestSupport.h"
#include "Source/Sound/coRideAudioHooks.h"

#include <string>
#include <vector>

namespace {

class coSteelDefinition : public coRideTestDefinition {
  public:
    std::string GetCoasterTypeName() const override { return "Steel"; }
};

// The "Steel" ride sounds (a second each) and five screams of a fifth of a second; the ride's audio hooks
// installed and screams on, on an empty circuit without drag.
class coRideSoundsTest : public coAudioTest {
  protected:
    void SetUp() override {
        coAudioTest::SetUp();
        for (const char* name : {"START", "END", "RUN", "TURN", "GFORCE", "CLIMB", "GRAB_CHAIN",
                                 "RELEASE_CHAIN", "BRAKES", "ACCEL", "TUBE", "RETARDER", "RETARDER_END"})
            WriteSound(std::string("Tracks/Steel/") + name + ".wav", 1.0f);
        for (int i = 1; i <= 5; ++i)
            WriteSound("Tracks/SCREAMS" + std::to_string(i) + ".wav", 0.2f);
        coPrefs::SetBool(coPrefScreamsOff, false);
        coSetRideAudio(&hooks);
        coSetTrainDragOn(0);
    }
    void TearDown() override {
        coRideClear();
        coSetRideAudio(nullptr);
        coCircuitClear();
        coSetTrainDragOn(1);
        coAudioTest::TearDown();
    }

    static const snSoundJob2D& Job(coRideSoundId id) { return *coGetRideSound(id)->job; }
    // The files of the ride sounds asked to start since the sound manager's last update, in load order.
    static std::vector<std::string> Started() {
        std::vector<std::string> names;
        for (int id = 0; id < coRideSoundCount; ++id)
            if (Job(static_cast<coRideSoundId>(id)).GetPlatformHalf().IsPlayRequested())
                names.push_back(envStringToNarrow(Job(static_cast<coRideSoundId>(id)).GetName()));
        return names;
    }
    static int ScreamStarted() {
        for (int i = 0; i < coGetScreamCount(); ++i)
            if (coGetScream(i).job->GetPlatformHalf().IsPlayRequested())
                return i;
        return -1;
    }
    static void Add(float run, i32 element, float slopeDegrees = 0.0f, i32 tube = 0) {
        coRideCircuitTest::AddStraight(run, element, slopeDegrees)->SetTube(tube);
    }
    // The screams that start over frames of 0.04 s at a distance and descent.
    std::vector<int> ScreamFrames(float seconds, float distance, float descent) {
        std::vector<int> screams;
        for (int f = 0; f < static_cast<int>(seconds / 0.04f + 0.5f); ++f) {
            Advance(0.04f);
            coScreamUpdate(distance, descent);
            if (const int k = ScreamStarted(); k >= 0)
                screams.push_back(k);
            Pump(0.04f);
        }
        return screams;
    }

    coSteelDefinition definition;
    coRideAudioHooks hooks;
};

} // namespace

TEST_F(coRideSoundsTest, SpeedAndTurnSetPitchesAndVolumes) {
    coLoadRideEventSounds();
    coRideSoundsStart(0.0f);
    EXPECT_EQ(Started(), (std::vector<std::string>{"START.wav", "RUN.wav", "TURN.wav", "GFORCE.wav"}));
    // Speed: RUN pitch and volume, GFORCE volume and pitch. TURN stays at the 0.2 of the start throughout.
    const struct {
        float speed, runPitch, runVolume, gforceVolume, gforcePitch;
    } cases[] = {{0.0f, 0.5f, 0.8f, 0.2f, 1.0f},
                 {40.0f, 40.0f / 60.0f + 0.5f, 1.0f, 0.84f, 1.0f},
                 {-150.0f, 3.0f, 1.0f, 1.0f, 1.5f},
                 {300.0f, 5.5f, 1.0f, 1.0f, 2.0f},
                 {600.0f, 10.0f, 1.0f, 1.0f, 2.0f}};
    for (const auto& c : cases) {
        coRideSoundsUpdate(c.speed, 0.0f, 0.0f, maVector3d());
        Frame(0.02f);
        EXPECT_NEAR(Job(coRideSoundRun).GetPlatformHalf().GetPitch(), c.runPitch, 1e-5f) << c.speed;
        EXPECT_FLOAT_EQ(Job(coRideSoundRun).GetFadeFactor(), c.runVolume) << c.speed;
        EXPECT_FLOAT_EQ(Job(coRideSoundGForce).GetFadeTarget(), c.gforceVolume) << c.speed;
        EXPECT_FLOAT_EQ(Job(coRideSoundGForce).GetPlatformHalf().GetPitch(), c.gforcePitch) << c.speed;
        EXPECT_FLOAT_EQ(Job(coRideSoundTurn).GetFadeFactor(), 0.2f) << c.speed;
    }
    // A hard turn brings TURN up; once it is loud, going straight at rest takes it to 0.3 over 2 s.
    coRideSoundsUpdate(0.0f, 3.0f, 0.0f, maVector3d());
    Frame(1.0f);
    EXPECT_FLOAT_EQ(Job(coRideSoundTurn).GetFadeFactor(), 1.0f);
    coRideSoundsUpdate(0.0f, 0.0f, 0.0f, maVector3d());
    Frame(1.0f);
    EXPECT_NEAR(Job(coRideSoundTurn).GetFadeFactor(), 0.65f, 1e-4f);
}

TEST_F(coRideSoundsTest, ATubeHoldsTheLevelsWhateverTheSpeed) {
    Add(40.0f, coElementNone, 0.0f, 1);
    for (float speed : {0.0f, 80.0f, 400.0f}) {
        coLoadRideEventSounds();
        coRideSoundsStart(10.0f);
        for (int f = 0; f < 100; ++f) {
            coRideSoundsUpdate(speed, 2.0f, 10.0f, maVector3d());
            Frame(0.04f);
        }
        for (const auto& [id, level] :
             {std::pair{coRideSoundTurn, 0.45f}, {coRideSoundGForce, 0.45f}, {coRideSoundRun, 0.3f}})
            EXPECT_NEAR(Job(id).GetFadeFactor(), level, 1e-3f) << speed << " " << id;
    }
}

TEST_F(coRideSoundsTest, ARideThroughEveryDecorationPlaysItsSoundsInOrderAndPausesByTheFlag) {
    Add(40.0f, coElementChainLift);
    Add(40.0f, coElementNone, -30.0f);
    coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop& p) { p.SetHeight(12.0f); }, false);
    Add(30.0f, coElementBooster);
    Add(30.0f, coElementNone, 0.0f, 1);
    Add(30.0f, coElementRetarder);
    Add(30.0f, coElementBrakes);
    Add(40.0f, coElementNone);
    coRideStart(1, false, 1);
    // A pause before the launch, and one asked twice, leave the sounds as they were.
    for (bool paused : {true, true, false})
        coRideSetPaused(paused);
    coRideLaunchTrain(0);
    std::vector<std::string> heard;
    std::vector<int> screams;
    for (int f = 0; f < 2000 && coRideIsRunning(); ++f) {
        Advance(0.04f);
        coRideUpdate(maVector3d());
        for (const std::string& name : Started())
            heard.push_back(name.substr(0, name.size() - 4));
        if (const int k = ScreamStarted(); k >= 0)
            screams.push_back(k);
        Pump(0.04f);
        if (f == 10) {
            for (bool paused : {true, true, false, false}) {
                coRideSetPaused(paused);
                EXPECT_EQ(Job(coRideSoundRun).IsPaused(), paused);
            }
        }
    }
    // The pause on the chain resumes the loops, not the one-shots; leaving the retarder and reaching the
    // brakes fall in one frame; the lap ends back on the chain.
    EXPECT_EQ(heard,
              (std::vector<std::string>{"START", "RUN", "TURN", "GFORCE", "CLIMB", "GRAB_CHAIN", "RUN",
                                        "TURN", "GFORCE", "CLIMB", "RELEASE_CHAIN", "ACCEL", "TUBE",
                                        "RETARDER", "BRAKES", "RETARDER_END", "CLIMB", "GRAB_CHAIN", "END"}));
    ASSERT_GE(screams.size(), 2u);
    for (size_t i = 1; i < screams.size(); ++i)
        EXPECT_NE(screams[i], screams[i - 1]);
}

TEST_F(coRideSoundsTest, ScreamsFollowLongDescentsAndLoopsWithAnyNumberLoaded) {
    coLoadScreams();
    ASSERT_EQ(coGetScreamCount(), 3);
    // Seconds of steep descent: screams.
    for (const auto& [seconds, count] : {std::pair{2.4f, 0u}, {6.0f, 2u}, {7.6f, 3u}}) {
        EXPECT_EQ(ScreamFrames(seconds, 0.0f, -0.5f).size(), count) << seconds;
        ScreamFrames(0.04f, 0.0f, 0.0f);
    }
    EXPECT_TRUE(ScreamFrames(6.0f, 0.0f, -0.2f).empty());
    // The options' "Screams" slider sets the level a scream starts at.
    const float level = coPrefs::GetFloat(coPrefScreamsVolume);
    coPrefs::SetFloat(coPrefScreamsVolume, 0.3f);
    const std::vector<int> quiet = ScreamFrames(3.0f, 0.0f, -0.5f);
    coPrefs::SetFloat(coPrefScreamsVolume, level);
    ASSERT_EQ(quiet.size(), 1u);
    EXPECT_FLOAT_EQ(coGetScream(quiet[0]).job->GetFadeFactor(), 0.3f);

    // On a Loop each finished scream is followed by another, never the same entry twice running; with one
    // scream loaded it repeats, with none there is nothing.
    coAppendPiece<coCoasterPieceLoop>([](coCoasterPieceLoop&) {}, false);
    for (const char* name : {"SCREAMS2", "SCREAMS3", "SCREAMS4", "SCREAMS5"})
        std::filesystem::remove(folder.Path(std::string("Tracks/") + name + ".wav"));
    for (int loaded : {3, 1, 0}) {
        for (u32 seed = 1; coGetScreamCount() != loaded; ++seed) {
            maRandomSeed(seed);
            coLoadScreams();
        }
        const std::vector<int> screams = ScreamFrames(1.0f, 10.0f, 0.0f);
        EXPECT_EQ(screams.size(), loaded ? 5u : 0u) << loaded;
        for (size_t i = 1; loaded > 1 && i < screams.size(); ++i)
            EXPECT_NE(screams[i], screams[i - 1]);
    }
}
