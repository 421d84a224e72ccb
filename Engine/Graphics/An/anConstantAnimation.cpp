#include "Engine/Graphics/An/anConstantAnimation.h"

template <class T> T anConstantAnimation<T>::Evaluate(float) const {
    return m_value;
}

template <class T> std::unique_ptr<anAnimation> anConstantAnimation<T>::Clone() const {
    return std::make_unique<anConstantAnimation<T>>(*this);
}

template <class T> void anConstantAnimation<T>::ScaleTime(float factor) {
    this->SetDuration(this->GetDuration() * factor);
}

template class anConstantAnimation<float>;
