#pragma once
#include "Engine/App/App/appEventHandler.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Modes/coHeadlightCaster.h"
#include "Source/Modes/coMode.h"
#include "Source/Modes/coModeSounds.h"
#include "Source/Park/coWorldSwitches.h"

#include <memory>
#include <optional>

class coCameraManipCloseRide;

// The builder's quick ride of the circuit as it stands: the close seat camera only, no pause dialog,
// "-" and "=" change the simulation speed, Escape goes back to the builder.
class coModeTestRideCoaster : public coMode, public appCharEventHandler {
  public:
    coModeTestRideCoaster();
    ~coModeTestRideCoaster() override;

    void Think() override;
    void Enter() override;
    void Exit() override;
    void OnChar(appCharEvent* event) override;
    // The builder's unsaved work rides along.
    bool IsModified() override { return IsModifiedBelow(); }

  private:
    g3dCamera m_sceneCamera;
    std::unique_ptr<coCameraManipCloseRide> m_closeCamera;
    i32 m_savedViewCar = 0;
    coRideAmbientSound m_ambient;
    std::optional<coTexturedWorld> m_textured;
    coHeadlightCaster m_headlight;
};
