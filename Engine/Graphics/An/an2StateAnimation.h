#pragma once
#include "Engine/Graphics/An/anTypedAnimation.h"

// A template that blends linearly from one value to another over its duration, component by
// component. Built for float, maVector2d and g3dARGBColor.
template <class T> class an2StateAnimation : public anTypedAnimation<T> {
  public:
    void SetStates(const T& from, const T& to) {
        m_from = from;
        m_to = to;
    }

    // Without a positive duration there is no way between the states: the value is the second.
    T Evaluate(float time) const override;
    std::unique_ptr<anAnimation> Clone() const override;
    void ScaleTime(float factor) override;

  private:
    T m_from{};
    T m_to{};
};

extern template class an2StateAnimation<float>;
extern template class an2StateAnimation<maVector2d>;
extern template class an2StateAnimation<g3dARGBColor>;
