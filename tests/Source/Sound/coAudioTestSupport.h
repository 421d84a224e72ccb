#pragma once
#include "Engine/App/App/appClock.h"
#include "Engine/App/Fs/fsRootTable.h"
#include "Engine/App/Fs/fsTestFolder.h"
#include "Engine/Audio/Mu/muMusicManager.h"
#include "Engine/Audio/Sn/snSoundJob2D.h"
#include "Engine/Audio/Sn/snSoundManager.h"
#include "Engine/Audio/Sn/snSoundSystem.h"
#include "Engine/Audio/Sn/snWaveBuilder.h"
#include "Engine/Core/Env/dbgLogCapture.h"
#include "Engine/Core/Ma/maRandom.h"
#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Engine/Platform/plServices.h"
#include "Source/Settings/coPaths.h"
#include "Source/Settings/coPrefs.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Sound/coScreams.h"
#include "Source/Sound/coSoundEffects.h"

#include <gtest/gtest.h>

#include <string>

// As the engine's audio fixture, without the media decoders that the headless game tests may not link:
// the test sound device, clock and input source, the sound system and manager started, the game's sound roots
// (7 tracks, 9 saves, 10 interface, 15 music) on folders of the test folder, the default preferences, a
// seeded generator and the debug log captured.
class coAudioTest : public ::testing::Test {
  protected:
    void SetUp() override {
        plInstallServices({.time = &time, .sound = &device, .input = &input});
        appInitTime();
        appClock::SetTime(0.0f, 0.0f);
        snStartSoundSystem();
        snSoundManager::Init();
        fsResetRootTable();
        for (const auto& [root, name] : {std::pair{coRootTracks, "Tracks"}, std::pair{coRootSaves, "Saves"},
                                         std::pair{coRootGui, "GUI"}, std::pair{coRootMusic, "Music"}}) {
            folder.MakeFolder(name);
            fsAddRootDirectory(root, folder.Locator(name));
        }
        coPrefs::SetDefaults();
        maRandomSeed(1);
    }
    void TearDown() override {
        coReleaseSoundEffects();
        coFreeRideEventSounds();
        coFreeScreams();
        muDestroyMusicManager();
        // The music as before it started: silence and no own track everywhere, no context.
        for (int c = 0; c < coMusicContextCount; ++c) {
            coMusicSetChoice(c, coMusicSilence);
            coMusicSetOwnTrack(c, fsLocator());
        }
        coMusicRequestContext(-1);
        coMusicRequestContext(-1);
        snSoundManager::Shutdown();
        snStopSoundSystem();
        fsResetRootTable();
        plInstallServices({});
    }

    // A sound of a tenth of a second (or as long as asked) at a path of the test folder.
    void WriteSound(const std::string& relative, float seconds = 0.1f) {
        folder.Write(relative, snWaveBuilder::Wave16(snWaveBuilder::Ramp(static_cast<u32>(seconds * 22050))));
    }
    // The game time moves on by the step.
    static void Advance(float step) { appClock::SetTime(appClock::GetTime(), step); }
    // The device plays for the step and the sound manager runs.
    void Pump(float step) {
        device.Render(static_cast<u32>(step * 22050.0f));
        device.ClearOutput();
        snSoundManager::Update(appClock::GetTime());
    }
    void Frame(float step) {
        Advance(step);
        Pump(step);
    }

    plTestTimeSource time;
    plTestSoundDevice device;
    plTestInputSource input;
    fsTestFolder folder;
    dbgLogCapture log;
};
