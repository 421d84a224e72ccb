#include "Engine/Graphics/An/anKeyAnimation.h"

template <class T> void anKeyAnimation<T>::AddKey(float time, const T& value) {
    m_keys.Add(time, value);
    if (this->GetDuration() < time)
        this->SetDuration(time);
}

template <class T> T anKeyAnimation<T>::Evaluate(float time) const {
    const float t = this->MapTime(time);
    const auto [a, b] = m_keys.Find(t);
    if (!a)
        return T{};
    if (a->time == b->time)
        return a->value;
    return a->value + (b->value - a->value) * ((t - a->time) / (b->time - a->time));
}

template <class T> std::unique_ptr<anAnimation> anKeyAnimation<T>::Clone() const {
    return std::make_unique<anKeyAnimation<T>>(*this);
}

template <class T> void anKeyAnimation<T>::ScaleTime(float factor) {
    this->SetDuration(m_keys.Scale(factor));
}

template class anKeyAnimation<float>;
template class anKeyAnimation<g3dARGBColor>;
