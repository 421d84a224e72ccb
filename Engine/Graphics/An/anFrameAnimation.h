#pragma once
#include "Engine/Graphics/An/anAnimation.h"

// An animation counted in frames: its duration is a frame number, and an instance turns a time into a
// frame at the frame rate, from the first frame to the last (-1: to the duration).
class anFrameAnimation : public anAnimation {
  public:
    anFrameAnimation() = default;

    std::unique_ptr<anAnimInstance> CreateInstance(float startTime) const override;
    std::unique_ptr<anAnimation> Clone() const override;
    void ScaleTime(float factor) override { m_rate /= factor; }

    void SetFrames(float first, float last) {
        m_first = first;
        m_last = last;
    }
    float GetFrameRate() const { return m_rate; }
    float GetFirstFrame() const { return m_first; }
    float GetLastFrame() const { return m_last; }

  private:
    float m_rate = 24.0f;
    float m_first = 0.0f;
    float m_last = -1.0f;
};

class anFrameAnimInstance : public anAnimInstance {
  public:
    anFrameAnimInstance(float startTime, const anFrameAnimation& animation)
        : anAnimInstance(startTime), m_animation(animation) {}

    std::unique_ptr<anAnimInstance> Clone() const override;
    // The frame at time t: past the end the last frame, or, looping, the frame as far into the range.
    float GetFrame(float t) const;

  private:
    const anFrameAnimation& m_animation;
};
