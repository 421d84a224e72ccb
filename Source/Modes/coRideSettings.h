#pragma once
#include "Engine/App/Fs/fsLocator.h"
#include "Source/TrackGeom/coTrackColorizer.h"

#include <string>
#include <vector>

// What the ride pause dialog edits: filled from the game before each showing, applied after an Ok.
struct coRideSettings {
    u8 frictionOn = 1;
    u8 collisionsOff = 0;
    // Ride camera 0 to 4.
    i32 camera = 0;
    // The car type: the theme folder of the train's models.
    std::string carType;
    // Cars of the train minus one.
    i32 carCountIndex = 0;
    // 0 to 3 the dialog's music context's playlists, 4 the player's own track (musicFile).
    i32 music = 0;
    fsLocator musicFile;
    // The car the ride camera sits in.
    i32 viewCar = 0;
    i32 environment = 0;
    // The fanfare set: a folder of the themes root.
    std::string fanfare;
    // The selected stored scheme; schemeCount while the colours match none.
    i32 colourScheme = 0;
    i32 schemeCount = 0;
    u8 customColours = 0;
};

// The dialog's modes: the builder's options, the career builder's options, the builder's ride request
// and the pause of a running ride.
inline constexpr int coRideDialogBuilder = 0;
inline constexpr int coRideDialogCareerBuilder = 1;
inline constexpr int coRideDialogRideRequest = 2;
inline constexpr int coRideDialogRidePause = 3;

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

// The program-wide record the dialog edits.
coRideSettings& coGetRideSettings();
// Fills the record from the game's current state; the music fields from that music context.
void coFillRideSettings(int musicContext);

// Shows the ride settings in one of the four modes and applies them on Ok; the current mode's clock
// stands still meanwhile. Returns 1 for Ok, 2 otherwise.
int coRunRidePauseDialog(int mode);
