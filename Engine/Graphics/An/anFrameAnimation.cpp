#include "Engine/Graphics/An/anFrameAnimation.h"

#include <cmath>

std::unique_ptr<anAnimInstance> anFrameAnimation::CreateInstance(float startTime) const {
    return std::make_unique<anFrameAnimInstance>(startTime, *this);
}

std::unique_ptr<anAnimation> anFrameAnimation::Clone() const {
    return std::make_unique<anFrameAnimation>(*this);
}

std::unique_ptr<anAnimInstance> anFrameAnimInstance::Clone() const {
    return m_animation.CreateInstance(GetStartTime());
}

float anFrameAnimInstance::GetFrame(float t) const {
    const float first = m_animation.GetFirstFrame() < 0.0f ? 0.0f : m_animation.GetFirstFrame();
    const float f = m_animation.GetFrameRate() * (t - GetStartTime()) + first;
    const float last = m_animation.GetLastFrame();
    const float end = last >= 0.0f ? last : m_animation.GetDuration();
    if (f <= end)
        return f;
    const float length = end - first;
    if (!m_animation.IsLooping() || length == 0.0f)
        return end;
    return f - std::trunc((f - first) / length) * length;
}
