#pragma once
#include "Engine/Graphics/An/anKeyTrack.h"
#include "Engine/Graphics/An/anTypedAnimation.h"

// A template that blends linearly between keys at the mapped time. Its duration grows to the latest
// key. Built for float and g3dARGBColor.
template <class T> class anKeyAnimation : public anTypedAnimation<T> {
  public:
    void AddKey(float time, const T& value);

    // Before the first key the value is the first key's, after the last the last key's; without keys
    // it is zero.
    T Evaluate(float time) const override;
    std::unique_ptr<anAnimation> Clone() const override;
    // Scales every key time; the duration becomes the latest scaled time, -1 without keys.
    void ScaleTime(float factor) override;

  private:
    anKeyTrack<T> m_keys;
};

extern template class anKeyAnimation<float>;
extern template class anKeyAnimation<g3dARGBColor>;
