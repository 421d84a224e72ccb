#pragma once
#include "Engine/Graphics/Sc/scLensFlare.h"

class g3dCamera;

// Shows the sun's flare only while the "Lens Flare" preference is on and neither the dock nor the
// terrain stands between the sun and the eye.
class coLFVisCompute : public scLFVisCompute {
  public:
    void SetCamera(g3dCamera* camera) override { m_camera = camera; }
    g3dCamera* GetCamera() const { return m_camera; }
    bool IsVisible(const scLensFlare& flare) override;

  private:
    g3dCamera* m_camera = nullptr;
};
