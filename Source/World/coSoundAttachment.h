#pragma once
#include "Engine/Graphics/Sc/scAttachment.h"

class snSoundJob2D;

// Carries a sound along with a node of a scene object. The job is not owned; without one the attachment
// moves nothing and reports itself finished, so the scene's list lets it go.
class coSoundAttachment : public scAttachment {
  public:
    explicit coSoundAttachment(snSoundJob2D* job) : m_job(job) {}

    void UpdateTransform(const maVector3d& position, const maRotation& rotation) override;
    bool IsFinished() override { return m_job == nullptr; }

  private:
    snSoundJob2D* m_job;
};
