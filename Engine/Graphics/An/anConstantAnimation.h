#pragma once
#include "Engine/Graphics/An/anTypedAnimation.h"

// A template whose value never changes. Built for float.
template <class T> class anConstantAnimation : public anTypedAnimation<T> {
  public:
    void SetValue(const T& value) { m_value = value; }

    T Evaluate(float time) const override;
    std::unique_ptr<anAnimation> Clone() const override;
    // Scales the duration only: the value has no times.
    void ScaleTime(float factor) override;

  private:
    T m_value{};
};

extern template class anConstantAnimation<float>;
