#include "Source/Modes/coRideSettings.h"

#include "Source/Collision/coTrackCollision.h"
#include "Source/Modes/coModeStack.h"
#include "Source/Park/coCoasterPackage.h"
#include "Source/Ride/coRide.h"
#include "Source/Ride/coRideStats.h"
#include "Source/Ride/coTrain.h"
#include "Source/Screens/coReportException.h"
#include "Source/Settings/coSeam.h"
#include "Source/Sound/coMusic.h"
#include "Source/Sound/coRideSounds.h"
#include "Source/Track/coCircuit.h"
#include "Source/Track/coCoasterDefinition.h"

#include <algorithm>

namespace {

constexpr int kCameraCount = 5;
constexpr int kOk = 1;
constexpr int kCancel = 2;

coRidePauseDialogScreens g_defaultScreens;
constinit coSeam<coRidePauseDialogScreens> g_screens(g_defaultScreens);
coRideSettings g_settings;
int g_cameraIndex = 0;

// While the dialog is up the current mode's clock stands still and the objectives palette is collapsed;
// both come back however the dialog ends.
class DialogShowing {
  public:
    explicit DialogShowing(coRidePauseDialogScreens& screens) : m_screens(screens), m_mode(coCurrentMode()) {
        m_screens.SetObjectivesCollapsed(true);
        if (m_mode)
            m_mode->SetClockFrozen(true);
    }
    ~DialogShowing() {
        if (m_mode)
            m_mode->SetClockFrozen(false);
        m_screens.SetObjectivesCollapsed(false);
    }
    DialogShowing(const DialogShowing&) = delete;
    DialogShowing& operator=(const DialogShowing&) = delete;

  private:
    coRidePauseDialogScreens& m_screens;
    coMode* m_mode;
};

// The music resumes, except after pausing a ride while the builder's music is current.
void ResumeMusic(int mode) {
    if (!(mode == coRideDialogRidePause && coMusicGetContext() == coMusicBuilder))
        coMusicResume();
}

void ApplyTrain(int mode, const coRideSettings& settings) {
    if (mode == coRideDialogRideRequest || mode == coRideDialogRidePause) {
        coSetRideCameraIndex(settings.camera);
        coRideSetViewCar(settings.viewCar);
    }
    if (mode == coRideDialogRideRequest) {
        coSetThemeName(settings.carType);
        coSelectRideSoundSet(settings.fanfare);
    }
    // Every mode that shows "Cars" takes its choice; a running ride starts again with the new train.
    const int cars = std::max(settings.carCountIndex, 0) + 1;
    if (cars != coGetCoasterDefinition().GetNumCars()) {
        coCoasterDefinitionStore().SetNumCars(cars);
        // The statistics describe the train that rides.
        coRideComputeStats();
    }
    // Cars count from 0: a camera in car `cars` would sit past the end of the train.
    if (coRideGetViewCar() >= cars)
        coRideSetViewCar(0);
    if (mode == coRideDialogBuilder) {
        coSetTrainDragOn(settings.frictionOn);
        coSetCollisionChecks(settings.collisionsOff == 0);
    }
}

void ApplyWorld(const coRideSettings& settings, coRidePauseDialogScreens& screens) {
    coGetCoasterPackageHooks().LoadEnvironment(settings.environment);
    std::vector<coColorScheme> schemes;
    screens.GetSchemes(schemes);
    coTrackColorizer::AssignSchemes(schemes);
    try {
        coSaveTrackColors();
    } catch (...) {
        // The schemes stay in use for this run; only the player's copy of them is missing.
        coReportCurrentException();
    }
    if (!settings.customColours)
        coTrackColorizer::SelectScheme(settings.colourScheme);
}

void ApplyMusic(int mode, int context, const coRideSettings& settings) {
    const bool ownTrackChanged =
        settings.music == coMusicOwnTrack && !(settings.musicFile == coMusicGetOwnTrack(context));
    if (ownTrackChanged) {
        coMusicClearChoicePlaylist(coMusicOwnTrack, context);
        coMusicAddTrack(settings.musicFile, context, coMusicOwnTrack);
        coMusicSetOwnTrack(context, settings.musicFile);
    }
    if (mode == coRideDialogRideRequest) {
        // The ride about to start applies its context itself.
        coMusicSetChoice(context, settings.music);
        coMusicStop();
    } else if (ownTrackChanged || settings.music != coMusicGetChoice(context)) {
        coMusicSetChoice(context, settings.music);
        coMusicStop();
        coMusicApplyContext(true);
    } else {
        ResumeMusic(mode);
    }
}

} // namespace

coRidePauseDialogScreens& coGetRidePauseDialogScreens() {
    return g_screens.Get();
}

void coSetRidePauseDialogScreens(coRidePauseDialogScreens* screens) {
    g_screens.Set(screens);
}

void coCreateRidePauseDialog() {
    g_screens.Get().CreateDialog();
}

void coDestroyRidePauseDialog() {
    g_screens.Get().DestroyDialog();
}

int coGetRidePauseDialogResult() {
    return g_screens.Get().GetExitAction();
}

int coGetRideCameraIndex() {
    return g_cameraIndex;
}

void coSetRideCameraIndex(int index) {
    g_cameraIndex = std::clamp(index, 0, kCameraCount - 1);
}

void coFillRideSettings(int musicContext) {
    coRideSettings& s = g_settings;
    s.frictionOn = coGetTrainDragOn();
    s.collisionsOff = coGetCollisionChecks() ? 0 : 1;
    s.camera = g_cameraIndex;
    s.carType = coGetThemeName();
    s.carCountIndex = std::max(coGetCoasterDefinition().GetNumCars() - 1, 0);
    s.music = coMusicGetChoice(musicContext);
    s.musicFile = coMusicGetOwnTrack(musicContext);
    s.viewCar = coRideGetViewCar();
    s.environment = coGetCoasterPackageHooks().GetEnvironmentIndex();
    s.fanfare = coGetRideSoundSet();
    s.schemeCount = coTrackColorizer::GetSchemeCount();
    s.colourScheme = coTrackColorizer::GetSelectedIndex();
    s.customColours = s.colourScheme >= s.schemeCount ? 1 : 0;
}

int coRunRidePauseDialog(int mode) {
    coRidePauseDialogScreens& screens = g_screens.Get();
    const int context = mode <= coRideDialogCareerBuilder ? coMusicBuilder : coMusicRide;
    screens.SetMode(mode);
    coFillRideSettings(context);
    screens.SetSettings(g_settings);
    screens.HideFeedback();
    coMusicPause();
    int result = kCancel;
    {
        const DialogShowing showing(screens);
        result = screens.DoModal();
    }
    const bool builder = mode <= coRideDialogCareerBuilder;
    if (result != kOk) {
        ResumeMusic(mode);
        // Undoes a colour preview: the current colours, or the selected scheme while there are none.
        if (builder && coTrackColorizer::GetCurrentScheme().empty())
            coTrackColorizer::ApplySchemeByIndex(coTrackColorizer::GetSelectedIndex());
        else if (builder)
            coTrackColorizer::ApplyScheme(coTrackColorizer::GetCurrentScheme());
        return kCancel;
    }
    screens.GetSettings(g_settings);
    ApplyTrain(mode, g_settings);
    if (builder)
        ApplyWorld(g_settings, screens);
    ApplyMusic(mode, context, g_settings);
    return kOk;
}

coStoredRideSettings::coStoredRideSettings()
    : drag(coGetTrainDragOn()), collisions(coGetCollisionChecks()),
      cars(coGetCoasterDefinition().GetNumCars()), carType(coGetThemeName()), fanfare(coGetRideSoundSet()),
      music(coMusicGetChoice(coMusicRide)), musicFile(coMusicGetOwnTrack(coMusicRide)),
      timeOfDay(coGetCoasterPackageHooks().GetEnvironmentIndex()),
      scheme(coTrackColorizer::GetSelectedIndex()), colours(coTrackColorizer::GetCurrentScheme()) {}
