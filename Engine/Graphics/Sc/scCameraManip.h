#pragma once
#include "Engine/Core/Ma/maVector.h"

class g3dCamera;

// Drives one camera (not owned): places it from its own parameters, and on Update hands the camera's
// matrices to the renderer. The game's cameras derive from it and are deleted through it.
class scCameraManip {
  public:
    virtual ~scCameraManip() = default;
    virtual void Attach(g3dCamera* camera, bool /*keepView*/) { m_camera = camera; }
    virtual void Detach() { m_camera = nullptr; }
    // Nothing without a camera.
    virtual void Update();

  protected:
    g3dCamera* m_camera = nullptr;
};

// Places the camera on a sphere around a centre, looking at it: yaw 0 and pitch 0 put the eye on the
// +z side; positive pitch raises it, positive yaw swings it toward +x. No limits: a caller that needs
// them applies them.
class scCameraManipOrbit : public scCameraManip {
  public:
    // Without keepView the camera is placed from the stored orbit; with it, the orbit is taken from the
    // camera's view at the current distance and the camera stays where it is.
    void Attach(g3dCamera* camera, bool keepView) override;

    // Each stores its value and places the camera.
    void SetCenter(const maVector3d& centre);
    void SetYaw(float yaw);
    void SetPitch(float pitch);
    void SetDistance(float distance);
    const maVector3d& GetCenter() const { return m_centre; }
    float GetYaw() const { return m_yaw; }
    float GetPitch() const { return m_pitch; }
    float GetDistance() const { return m_distance; }

    void PlaceCamera();

  private:
    maVector3d m_centre{0.0f, 0.0f, 0.0f};
    float m_yaw = 0.0f;
    float m_pitch = 0.0f;
    float m_distance = 1.0f;
};
