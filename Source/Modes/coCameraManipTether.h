#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scCameraManip.h"

// Ride camera 1: follows the train from behind and above at a smoothed distance, swung sideways with the
// mouse; it never drops below its aim and swings less near the station.
class coCameraManipTether : public scCameraManip {
  public:
    void Attach(g3dCamera* camera, bool keepView) override;
    void Update() override;

    const maVector3d& GetPosition() const { return m_position; }
    const maVector3d& GetTarget() const { return m_target; }
    const maVector3d& GetOffset() const { return m_offset; }

  private:
    maVector3d m_position;
    maVector3d m_target;
    maVector3d m_offset{-4.0f, 3.0f, -6.0f};
};
