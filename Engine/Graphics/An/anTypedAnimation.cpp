#include "Engine/Graphics/An/anTypedAnimation.h"

template <class T>
std::unique_ptr<anAnimInstance> anTypedAnimation<T>::CreateInstance(float startTime) const {
    return std::make_unique<anTypedAnimInstance<T>>(startTime, *this);
}

template <class T>
anTypedAnimInstance<T>::anTypedAnimInstance(float startTime, const anTypedAnimation<T>& animation)
    : anAnimInstance(startTime), m_animation(&animation) {}

template <class T> std::unique_ptr<anAnimInstance> anTypedAnimInstance<T>::Clone() const {
    return m_animation->CreateInstance(GetStartTime());
}

template class anTypedAnimation<float>;
template class anTypedAnimation<maVector2d>;
template class anTypedAnimation<g3dARGBColor>;
template class anTypedAnimInstance<float>;
template class anTypedAnimInstance<maVector2d>;
template class anTypedAnimInstance<g3dARGBColor>;
