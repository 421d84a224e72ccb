#pragma once
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/An/anAnimation.h"
#include "Engine/Graphics/G3d/g3dARGBColor.h"

// A template that computes a value of type T. Built for float, maVector2d and g3dARGBColor.
template <class T> class anTypedAnimation : public anAnimation {
  public:
    // An anTypedAnimInstance<T> of this template.
    std::unique_ptr<anAnimInstance> CreateInstance(float startTime) const override;
    // The value at a time on the template's own clock (for example the age of a particle).
    virtual T Evaluate(float time) const = 0;
};

// An instance of a typed template; it carries the start time and the template for its holder.
template <class T> class anTypedAnimInstance : public anAnimInstance {
  public:
    anTypedAnimInstance(float startTime, const anTypedAnimation<T>& animation);

    std::unique_ptr<anAnimInstance> Clone() const override;

    const anTypedAnimation<T>& GetAnimation() const { return *m_animation; }

  private:
    const anTypedAnimation<T>* m_animation;
};

extern template class anTypedAnimation<float>;
extern template class anTypedAnimation<maVector2d>;
extern template class anTypedAnimation<g3dARGBColor>;
extern template class anTypedAnimInstance<float>;
extern template class anTypedAnimInstance<maVector2d>;
extern template class anTypedAnimInstance<g3dARGBColor>;
