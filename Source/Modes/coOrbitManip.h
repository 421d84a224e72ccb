#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maVector.h"

class g3dCamera;

// A camera circling a centre: the eye is centre + distance x (sin yaw cos pitch, sin pitch, cos yaw cos
// pitch), looking at the centre with +y up. Pitch and distance keep to the ranges given at construction
// when changed through the add operations. This is the least orbit manipulator the game's cameras need
// until the scene package offers its own; the mouse drags both game cameras share live here too.
class coOrbitManip {
  public:
    struct Limits {
        float minDistance;
        float maxDistance;
        float minPitch;
        float maxPitch;
    };

    coOrbitManip(const maVector3d& centre, float pitch, float yaw, float distance, const Limits& limits);
    virtual ~coOrbitManip() = default;
    coOrbitManip(const coOrbitManip&) = delete;
    coOrbitManip& operator=(const coOrbitManip&) = delete;

    // Not owned.
    void Attach(g3dCamera* camera) { m_camera = camera; }
    void Detach() { m_camera = nullptr; }
    g3dCamera* GetCamera() const { return m_camera; }

    // Moves the camera for this frame; does nothing while no camera is attached.
    virtual void Update() = 0;

    const maVector3d& GetCentre() const { return m_centre; }
    void SetCentre(const maVector3d& centre) { m_centre = centre; }
    float GetPitch() const { return m_pitch; }
    void SetPitch(float pitch) { m_pitch = pitch; }
    float GetYaw() const { return m_yaw; }
    void SetYaw(float yaw) { m_yaw = yaw; }
    float GetDistance() const { return m_distance; }
    void SetDistance(float distance) { m_distance = distance; }
    const Limits& GetLimits() const { return m_limits; }
    maVector3d GetEye() const;

    void AddPitch(float delta);
    void AddYaw(float delta) { m_yaw += delta; }
    void AddDistance(float delta);

  protected:
    // Puts the eye and view on the attached camera.
    void ApplyCamera();
    // Left drag turns (or, when panning is on and Shift is down, moves the centre through MoveCentre),
    // right drag zooms; a drag belongs to the view from its first step until its button is released.
    void HandleDrags(bool pans);
    // The centre a pan asks for; the free camera keeps it clear of the ground and inside the world.
    virtual void MoveCentre(const maVector3d& centre) { m_centre = centre; }
    // Move and turn speeds in units and radians a second, faster while Shift is down.
    float MoveSpeed() const;
    float TurnSpeed() const;

  private:
    g3dCamera* m_camera = nullptr;
    maVector3d m_centre;
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    float m_distance = 0.0f;
    Limits m_limits;
    u8 m_leftDragging = 0;
    u8 m_rightDragging = 0;
};
