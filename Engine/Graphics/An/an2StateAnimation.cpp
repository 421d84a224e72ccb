#include "Engine/Graphics/An/an2StateAnimation.h"

template <class T> T an2StateAnimation<T>::Evaluate(float time) const {
    const float d = this->GetDuration();
    if (!(d > 0.0f))
        return m_to;
    return m_from + (m_to - m_from) * (this->MapTime(time) / d);
}

template <class T> std::unique_ptr<anAnimation> an2StateAnimation<T>::Clone() const {
    return std::make_unique<an2StateAnimation<T>>(*this);
}

template <class T> void an2StateAnimation<T>::ScaleTime(float factor) {
    this->SetDuration(this->GetDuration() * factor);
}

template class an2StateAnimation<float>;
template class an2StateAnimation<maVector2d>;
template class an2StateAnimation<g3dARGBColor>;
