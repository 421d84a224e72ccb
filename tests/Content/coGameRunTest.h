#pragma once
#include "Engine/App/App/appStartupTestServices.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/Window/plTestInputSource.h"

// The test devices for a run of the game in this process (coRunProgram) on the built installation tree,
// the player's data in a fresh user folder.
struct coGameRunTest : appStartupTestServices {
    plTestSoundDevice sound;
    plTestInputSource input;
    plFakeD3d d3d;
    plFreeTypeFonts fonts;

    void SetUp() override {
        appStartupTestServices::SetUp();
        folders.programPath = LV_DATA_DIR "/loopvane";
        folders.commonAppDataFolder = folder.Path();
        input.AddDevice(plInputDeviceKind::Keyboard, u"Keyboard");
        plServices services = plGetServices();
        services.sound = &sound;
        services.input = &input;
        services.d3d = &d3d;
        services.fonts = &fonts;
        plInstallServices(services);
    }
};
