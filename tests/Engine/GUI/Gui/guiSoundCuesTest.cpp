#include "Engine/GUI/Gui/guiSoundCues.h"
#include "Engine/App/Fs/fsExceptions.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Audio/Sn/snWaveBuilder.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "guiTestFrame.h"

#include <string>
#include <vector>

namespace {

// The cues with the real sound manager on the mixer's test backend. Sound k is 100 samples of the value
// 1000 (k + 1), so the mixed output tells which one played; two windows side by side.
class guiSoundCuesTest : public guiTestGui {
  protected:
    void SetUp() override {
        guiTestGui::SetUp();
        plInstallServices({.time = &time,
                           .window = &window,
                           .messageBox = &messageBox,
                           .sound = &sound,
                           .input = &input,
                           .d3d = &d3d});
        snStartSoundSystem();
        snSoundManager::Init();
        a = Add("a", maVector3d{0.0f, 0.0f, 1.0f});
        b = Add("b", maVector3d{200.0f, 0.0f, 1.0f});
    }
    void TearDown() override {
        guiSoundCues::Clear();
        snSoundManager::Shutdown();
        snStopSoundSystem();
        guiTestGui::TearDown();
    }

    fsLocator Sound(i32 k) {
        const std::string name = "s" + std::to_string(k) + ".wav";
        return folder.Write(name,
                            snWaveBuilder::Wave16(std::vector<i16>(100, static_cast<i16>(1000 * (k + 1)))));
    }
    // A GUI frame, the cues' step and the sound pump, then the sound it made: the number of the sound, or -1
    // for none.
    i32 Step(f32 x, f32 y, bool down = false) {
        Update(x, y, down);
        guiSoundCues::Update(0.0f);
        snSoundManager::Update(0.0f);
        sound.ClearOutput();
        sound.Render(200);
        i16 loudest = 0;
        for (i16 sample : sound.GetOutput())
            loudest = std::max(loudest, sample);
        return loudest == 0 ? -1 : loudest / 1000 - 1;
    }

    plTestSoundDevice sound;
    fsTestFolder folder;
    guiTestWindow* a = nullptr;
    guiTestWindow* b = nullptr;
};

TEST_F(guiSoundCuesTest, HoverAndPressPlayOnceEachAndTheReturnToOverIsSilent) {
    guiSoundCues::AddCue(guiStateOver, Sound(0), 1.0f);
    guiSoundCues::AddCue(guiStatePressed, Sound(1), 1.0f);
    const struct {
        f32 x;
        bool down;
        i32 played;
    } steps[] = {
        {50, false, 0},   {250, false, 0},  // over a, over b
        {250, true, 1},   {250, true, -1},  // pressed, held
        {250, false, -1}, {250, false, -1}, // released, over again
        {500, false, -1}, {50, false, 0},   // nowhere, over a
    };
    for (const auto& step : steps)
        EXPECT_EQ(Step(step.x, 10, step.down), step.played) << step.x << (step.down ? " down" : "");

    b->SetSoundEnabled(false);
    EXPECT_EQ(Step(250, 10), -1);
    guiSoundCues::SetMuted(true);
    EXPECT_EQ(Step(50, 10), -1);
    // Muted, the move to a was not tracked: unmuted, a still sounds.
    guiSoundCues::SetMuted(false);
    EXPECT_EQ(Step(50, 10), 0);
}

TEST_F(guiSoundCuesTest, PicksNeverRepeatAndFollowTheProgramGenerator) {
    const struct {
        i32 count;
        std::vector<i32> played;
    } sets[] = {{1, {0, 0, 0}}, {2, {1, 0, 1, 0, 1}}, {3, {2, 0, 1, 2, 0}}};
    for (const auto& set : sets) {
        guiSoundCues::Clear();
        for (i32 k = 0; k < set.count; ++k)
            guiSoundCues::AddCue(guiStateOver, Sound(k), 1.0f);
        maRandomSeed(1);
        std::vector<i32> played;
        for (size_t i = 0; i < set.played.size(); ++i) {
            Step(500, 10);
            played.push_back(Step(50, 10));
        }
        EXPECT_EQ(played, set.played) << set.count;
    }
}

TEST_F(guiSoundCuesTest, AMissingFileThrowsNamingItAndTheSetKeepsItsSounds) {
    guiSoundCues::AddCue(guiStateOver, Sound(0), 1.0f);
    const fsLocator named = CaughtLocator<fsFileDoesntExistX>(
        [&] { guiSoundCues::AddCue(guiStateOver, folder.Locator("missing.wav"), 1.0f); });
    EXPECT_EQ(envStringToNarrow(named.GetLastComponent()), "missing.wav");
    EXPECT_EQ(guiSoundCues::GetCueCount(guiStateOver), 1u);
    EXPECT_EQ(snSoundManager::GetActiveCount(), 1u);
    EXPECT_EQ(Step(50, 10), 0);

    // A GUI restart clears the cues and unmutes.
    guiSoundCues::SetMuted(true);
    guiShutdown();
    guiInit();
    guiWindowMgr::GetRoot()->SetSize(800, 600);
    EXPECT_EQ(guiSoundCues::GetCueCount(guiStateOver), 0u);
    EXPECT_FALSE(guiSoundCues::IsMuted());
    EXPECT_EQ(snSoundManager::GetActiveCount(), 0u);
}

} // namespace
