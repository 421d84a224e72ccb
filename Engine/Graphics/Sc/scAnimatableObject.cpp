#include "Engine/Graphics/Sc/scAnimatableObject.h"

namespace {

// The instance when it is a frame instance of a track tree; any other is deleted here.
std::unique_ptr<scGeoFrameAnimInstance> GeoInstance(const anAnimation& animation, float startTime) {
    std::unique_ptr<anAnimInstance> instance = animation.CreateInstance(startTime);
    if (auto* geo = dynamic_cast<scGeoFrameAnimInstance*>(instance.get())) {
        instance.release();
        return std::unique_ptr<scGeoFrameAnimInstance>(geo);
    }
    return nullptr;
}

} // namespace

void scAnimatableObject::PlayAnimation(const anAnimation& animation, float startTime) {
    StopAnimation();
    m_current = GeoInstance(animation, startTime);
    m_currentStart = startTime;
}

void scAnimatableObject::CrossFadeAnimation(const anAnimation& animation, float startTime,
                                            float blendDuration) {
    if (!m_current) {
        PlayAnimation(animation, startTime);
        return;
    }
    m_next = GeoInstance(animation, startTime);
    m_blendStart = startTime;
    m_blendDuration = blendDuration;
}

void scAnimatableObject::FinishBlend() {
    m_current = std::move(m_next);
    m_currentStart = m_blendStart;
}

void scAnimatableObject::StopAnimation() {
    m_next.reset();
    m_current.reset();
}

bool scAnimatableObject::GetPose(float time, scPose& pose) {
    if (!m_current)
        return false;
    pose = {};
    pose.a = m_current->GetAnimation().GetFrames();
    pose.fa = m_current->GetFrame(time);
    if (!m_next)
        return true;
    const float fb = m_next->GetFrame(time);
    const float s = m_blendDuration > 0.0f ? (time - m_blendStart) / m_blendDuration : 1.0f;
    if (m_blendStart - time > m_blendDuration || s >= 1.0f) {
        pose.a = m_next->GetAnimation().GetFrames();
        pose.fa = fb;
        FinishBlend();
    } else if (s > 0.0f) {
        pose.crossFade = true;
        pose.b = m_next->GetAnimation().GetFrames();
        pose.fb = fb;
        pose.s = s;
    }
    return true;
}
