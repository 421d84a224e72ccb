#pragma once
#include "Engine/App/App/appStartupTestServices.h"
#include "Engine/App/Fs/fsNativePath.h"
#include "Engine/Platform/Font/plFreeTypeFonts.h"
#include "Engine/Platform/Graphics/plFakeD3d.h"
#include "Engine/Platform/Sound/plTestSoundDevice.h"
#include "Engine/Platform/Window/plTestInputSource.h"
#include "Source/SavedCoaster/coSavedCoaster.h"
#include "Source/Track/coCircuitTestSupport.h"
#include "Source/Track/coCoasterDefinition.h"

#include <filesystem>
#include <string>

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

    // A 40 by 20 steel oval in the player's saves as "<name>.csa", its world from the saved-coaster
    // services the test installed.
    void SaveOvalCoaster(const std::string& name) {
        const std::filesystem::path saves =
            std::filesystem::path(folder.Path()) / "Zandrel Trackwrighting" / "Loopvane" / "Saves";
        std::filesystem::create_directories(saves);
        coRecordingTrackBuilder builder;
        coCoasterDefinitionStore().SetCoasterTypeName("Steel");
        coSetThemeName("Ironvale");
        coBuildR1({40.0f, 20.0f, 40.0f, 20.0f});
        coCircuitClose();
        fsLocator locator;
        fsLocatorFromNativePath((saves / (name + ".csa")).string().c_str(), locator);
        coSaveCoasterFile(locator);
        coCircuitClear();
    }
};
