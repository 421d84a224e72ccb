#pragma once
#include "Engine/Graphics/Sc/scGeoFrameAnimation.h"
#include "Engine/Graphics/Sc/scObject.h"

#include <memory>

class anAnimation;

// An object posed by frame animations of key-track trees, cross-fading from one to the next. Only
// animations whose instances are frame instances of track trees play.
class scAnimatableObject : public scMovableObject {
  public:
    void PlayAnimation(const anAnimation& animation, float startTime);
    // Plays when nothing plays; otherwise fades the new instance in over the blend duration.
    void CrossFadeAnimation(const anAnimation& animation, float startTime, float blendDuration);
    // The faded-in instance becomes the current one.
    void FinishBlend();
    void StopAnimation();

    bool IsPlaying() const { return m_current != nullptr; }
    bool IsBlending() const { return m_next != nullptr; }

  protected:
    // The pose at the time, false when nothing plays. A blend that is over (or has no duration)
    // finishes here and poses the new animation alone.
    bool GetPose(float time, scPose& pose);

  private:
    std::unique_ptr<scGeoFrameAnimInstance> m_current;
    std::unique_ptr<scGeoFrameAnimInstance> m_next;
    float m_currentStart = 0.0f;
    float m_blendStart = 0.0f;
    float m_blendDuration = 0.0f;
};
