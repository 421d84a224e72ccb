#include "Engine/Graphics/An/anKeyData.h"

namespace {

maVector3d Blend(const maVector3d& a, const maVector3d& b, float s) {
    return a * (1.0f - s) + b * s;
}

maRotation Blend(const maRotation& a, const maRotation& b, float s) {
    const float r = 1.0f - s;
    return {r * a.x + s * b.x, r * a.y + s * b.y, r * a.z + s * b.z, r * a.w + s * b.w};
}

} // namespace

template <class T> T anKeyData<T>::Evaluate(float time) const {
    const auto [a, b] = m_keys.Find(time);
    if (!a)
        return T{};
    if (a->time == b->time)
        return a->value;
    return Blend(a->value, b->value, (time - a->time) / (b->time - a->time));
}

template class anKeyData<maVector3d>;
template class anKeyData<maRotation>;
