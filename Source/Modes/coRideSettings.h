#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Source/Settings/coRideSettingsRecord.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include <string>
#include <vector>

// What the ride settings flow asks of the game screens: the ride pause dialog and the two palettes it
// touches. The screens install their own; until then the dialog is never shown and every run of it is
// cancelled at once.
class coRidePauseDialogScreens {
  public:
    virtual ~coRidePauseDialogScreens() = default;

    // Makes the dialog and its frame function and adds it to the window manager; Destroy deletes both.
    virtual void CreateDialog() {}
    virtual void DestroyDialog() {}
    // Shows the widget groups of a mode.
    virtual void SetMode(int) {}
    virtual void SetSettings(const coRideSettings&) {}
    // Reads the widgets back into the record, after an Ok.
    virtual void GetSettings(coRideSettings&) {}
    // The colour picker's schemes, which replace the stored ones after an Ok in the builders' modes.
    virtual void GetSchemes(std::vector<coColorScheme>& out) { coTrackColorizer::CopySchemes(out); }
    // Runs the dialog modally: 1 for Ok, anything else for cancel or an exit button.
    virtual int DoModal() { return 2; }
    // 0 none, 1 "Build", 2 "Load", 3 "Main": the exit button that ended the last run.
    virtual int GetExitAction() const { return 0; }
    virtual void HideFeedback() {}
    virtual void SetObjectivesCollapsed(bool) {}
};

coRidePauseDialogScreens& coGetRidePauseDialogScreens();
// Not owned; null restores the default.
void coSetRidePauseDialogScreens(coRidePauseDialogScreens* screens);

void coCreateRidePauseDialog();
void coDestroyRidePauseDialog();
int coGetRidePauseDialogResult();

// The ride camera remembered between rides, 0 to 4 (others are held to that range).
int coGetRideCameraIndex();
void coSetRideCameraIndex(int index);

// Fills the record from the game's current state; the music fields from that music context.
void coFillRideSettings(int musicContext);

// Shows the ride settings in one of the four modes and applies them on Ok; the current mode's clock
// stands still meanwhile. Returns 1 for Ok, 2 otherwise.
int coRunRidePauseDialog(int mode);

// The ride settings that a saved coaster keeps, as they stand now: a change to any of them, from
// whichever dialog, is a change to the coaster.
struct coStoredRideSettings {
    coStoredRideSettings();
    bool operator==(const coStoredRideSettings&) const = default;

    u8 drag;
    bool collisions;
    int cars;
    std::string carType;
    std::string fanfare;
    int music;
    fsLocator musicFile;
    int timeOfDay;
    int scheme;
    coColorScheme colours;
};
