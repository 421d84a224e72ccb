#pragma once
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/An/anKeyTrack.h"

// A plain key track without duration or looping, as joint animations use: positions or rotations
// blended linearly between keys. Rotations blend component by component and are not normalised.
// Built for maVector3d and maRotation.
template <class T> class anKeyData {
  public:
    void AddKey(float time, const T& value) { m_keys.Add(time, value); }

    // Before the first key the first key's value, after the last the last key's; without keys zero,
    // or the identity for rotations.
    T Evaluate(float time) const;
    void ScaleTime(float factor) { m_keys.Scale(factor); }
    // The keys either side of a time, for blends of another kind (anKeyTrack::Find).
    auto FindKeys(float time) const { return m_keys.Find(time); }
    float GetLastTime() const { return m_keys.GetLastTime(); }

  private:
    anKeyTrack<T> m_keys;
};

extern template class anKeyData<maVector3d>;
extern template class anKeyData<maRotation>;
