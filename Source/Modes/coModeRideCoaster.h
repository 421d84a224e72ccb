#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coHeadlightCaster.h"
#include "Source/Modes/coMode.h"
#include "Source/Modes/coModeSounds.h"
#include "Source/Modes/coRideModeOptions.h"
#include "Source/Park/coWorldSwitches.h"

#include <memory>
#include <optional>
#include <vector>

class scCameraManip;

// Ride camera numbers, in the order the ride builds its cameras.
inline constexpr i32 coRideCameraSeat = 0;
inline constexpr i32 coRideCameraTether = 1;
inline constexpr i32 coRideCameraFixed = 2;
inline constexpr i32 coRideCameraFree = 3;
inline constexpr i32 coRideCameraCloseSeat = 4;
inline constexpr i32 coRideCameraCount = 5;

// The player rides the finished coaster: each frame the ride steps, the chosen camera follows, the
// statistics and the sound listener follow the train and the park is drawn; Escape pauses behind the ride
// pause dialog, whose exit buttons lead to the builder, the load menu or the main menu. Unattended, the
// ride starts again when it ends ("/perpetual") and every frame is written to disc at a fixed time step
// (movie capture).
class coModeRideCoaster : public coMode, public appCharEventHandler, public coRideModeOptions {
  public:
    coModeRideCoaster();
    ~coModeRideCoaster() override;

    void SetPerpetual(bool perpetual) override { m_perpetual = perpetual; }
    void SetMovieFrameRate(f32 rate) override { m_movieFrameRate = rate; }
    void SetMovieShrink(i32 divisor) override { m_movieShrink = divisor; }
    void SetMovieCapture(bool capture) override { m_movieCapture = capture; }
    bool IsMovieCapture() const { return m_movieCapture != 0; }

    void Think() override;
    void Enter() override;
    void Exit() override;
    void OnChar(appCharEvent* event) override;
    // A ride started from the builder holds the builder's unsaved work; any ride holds the changes its
    // pause made to the coaster.
    bool IsModified() override { return m_coasterChanged || IsModifiedBelow(); }

    void RestartRide();
    i32 GetCurrentCamera() const { return m_currentCamera; }
    scCameraManip* GetCamera(i32 index) const;

  private:
    // The pause behind the dialog; true when an exit button ended the ride and with it the frame.
    bool Pause();
    void Resume();
    void ShowRidingMessage(float seconds);
    // Train 0 of as many cars as the coaster now has, set off from the station.
    void StartTrain();
    void SwitchCamera(i32 index);
    void HandleCameraKeys();
    void UpdateSoundPositioning();
    void PlayFanfare(float time);
    void CaptureMovieFrame();

    g3dCamera m_sceneCamera;
    std::vector<std::unique_ptr<scCameraManip>> m_cameras;
    i32 m_currentCamera = 0;
    // The cars of the train the ride was started with.
    i32 m_trainCars = 0;
    // The pause changed a setting that the saved coaster keeps (the cars, the ride's music).
    bool m_coasterChanged = false;
    coRideAmbientSound m_ambient;
    std::optional<coTexturedWorld> m_textured;
    u8 m_perpetual = 0;
    u8 m_hudHidden = 0;
    // Game time at which "Now riding" goes, and what was left of it when the pause began.
    f32 m_ridingMessageUntil = 0.0f;
    f32 m_ridingMessageLeft = 0.0f;
    coHeadlightCaster m_headlight;
    u8 m_movieCapture = 0;
    f32 m_movieFrameRate = 24.0f;
    i32 m_movieShrink = 1;
};
