#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

#include <string>

class g3dCamera;

// What the ride modes ask of the game's palettes, the ride pause dialog, the pointer and the parts of the
// park they drive each frame. The palette manager, the dialogs and the park install their parts; until
// then the default shows nothing, the pause dialog is closed at once without an exit button, and
// nothing is captured.
class coRideModeHost {
  public:
    virtual ~coRideModeHost() = default;

    // The statistics palette: speed and lead car height of train 0, its felt acceleration, the time since
    // its launch and the ride time of the statistics.
    virtual void SetStats(float /*speed*/, float /*height*/, const maVector3d& /*acceleration*/,
                          float /*elapsed*/, float /*rideTime*/) {}
    // The main palette: its buttons, a feedback line for that many seconds, the feedback box, and the
    // coaster name with its background.
    virtual void ShowMainButtons(bool /*shown*/) {}
    virtual void ShowFeedback(u32 /*message*/, float /*seconds*/) {}
    virtual void HideFeedback() {}
    virtual void ShowCoasterName() {}
    // The track palette's constraint counters, shown only in the career builder.
    virtual void HideConstraintCounters() {}
    // The head-up display, enabled and visible together.
    virtual void ShowHud(bool /*shown*/) {}
    virtual void ShowPointer(bool /*shown*/) {}
    virtual void SetPointerShape(i32 /*shape*/) {}

    // The ride pause dialog: made on entering the ride, run modally in a dialog mode (1 Ok, 2 otherwise),
    // and the exit button that closed it (0 none, 1 "Build", 2 "Load", 3 "Main").
    virtual void CreatePauseDialog() {}
    virtual void DestroyPauseDialog() {}
    virtual i32 RunPauseDialog(i32 /*mode*/) { return 2; }
    virtual i32 GetPauseDialogExit() { return 0; }

    // The ride camera remembered between rides (0 to 4), which the pause dialog also sets.
    virtual i32 GetRideCamera();
    virtual void SetRideCamera(i32 camera);
    // The fanfare set of the ride sounds (a folder of the themes folder); empty for none.
    virtual std::string GetFanfareSet() { return std::string(); }

    virtual void HideTrackObjects() {}
    // The placed props: animated or still, stepped to the game time, their sounds paused or resumed.
    virtual void SetPropsActive(bool /*active*/) {}
    virtual void UpdateProps(float /*time*/) {}
    virtual void PausePropSounds() {}
    virtual void ResumePropSounds() {}
    // The collision objects' per-frame step from the camera's eye.
    virtual void UpdateCollisions(const maVector3d& /*eye*/) {}
    // Lens-flare visibility and the sky, from the camera.
    virtual void UpdateEnvironment(g3dCamera& /*camera*/, float /*time*/) {}
    // The frame's 3D drawing: cleared to the environment's background first, in wireframe.
    virtual void SetClearToBackground(bool /*clear*/) {}
    virtual void SetWireframe(bool /*wireframe*/) {}
    virtual void ResetFrameRateCounter() {}

    // Writes the frame shown last as the next movie frame, its size divided by shrink; throws when it
    // cannot be written.
    virtual void CaptureMovieFrame(i32 /*shrink*/) {}
};

coRideModeHost& coGetRideModeHost();
// Not owned; null restores the default.
void coSetRideModeHost(coRideModeHost* host);
