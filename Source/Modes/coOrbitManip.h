#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Graphics/Sc/scCameraManip.h"

// What the game's two orbit cameras share over the engine's orbit: the ranges that pitch and
// distance keep when changed through the add operations, the move and turn speeds, and the mouse
// drags that turn, pan and zoom the view.
class coOrbitManip : public scCameraManipOrbit {
  public:
    struct Limits {
        float minDistance;
        float maxDistance;
        float minPitch;
        float maxPitch;
    };

    coOrbitManip(const maVector3d& centre, float pitch, float yaw, float distance, const Limits& limits);

    g3dCamera* GetCamera() const { return m_camera; }
    // centre + distance x (sin yaw cos pitch, sin pitch, cos yaw cos pitch).
    maVector3d GetEye() const;

    void AddPitch(float delta);
    void AddYaw(float delta) { SetYaw(GetYaw() + delta); }
    void AddDistance(float delta);

  protected:
    // Places the camera from the orbit and hands it to the renderer.
    void ApplyCamera();
    // Left drag turns (or, when panning is on and Shift is down, moves the centre through MoveCentre),
    // right drag zooms; a drag belongs to the view from its first step until its button is released.
    void HandleDrags(bool pans);
    // The centre a pan asks for; the free camera keeps it clear of the ground and inside the world.
    virtual void MoveCentre(const maVector3d& centre) { SetCenter(centre); }
    // Move and turn speeds in units and radians a second, faster while Shift is down.
    float MoveSpeed() const;
    float TurnSpeed() const;

  private:
    Limits m_limits;
    u8 m_leftDragging = 0;
    u8 m_rightDragging = 0;
};
