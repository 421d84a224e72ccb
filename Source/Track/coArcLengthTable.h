#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <vector>

// Normalised chord lengths of a sampled centre line: maps a fraction of the length to a curve parameter.
class coArcLengthTable {
  public:
    // One entry per chord between consecutive points. Points that all coincide give total 0 and
    // equal fractions, so a zero-length piece still maps its fractions linearly.
    void Build(const maVector3d* points, int count);
    // The curve parameter in [0, 1] at fraction s of the length; linear inside each chord.
    // A fraction on a chord boundary starts the next chord; past the last chord (or on an empty
    // table) it is 1.
    float ParamAt(float s) const;

    float GetTotal() const { return m_total; }
    const std::vector<float>& GetFractions() const { return m_fractions; }

  private:
    std::vector<float> m_fractions;
    float m_total = 0.0f;
};
