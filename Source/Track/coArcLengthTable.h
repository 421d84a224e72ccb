#pragma once
#include "Engine/Core/Ma/maVector.h"

#include <vector>

// Normalised chord lengths of a sampled centre line: maps a fraction of the length to a curve parameter.
class coArcLengthTable {
  public:
    // One entry per chord between consecutive points.
    void Build(const maVector3d* points, int count);
    // The curve parameter in [0, 1] at fraction s of the length, each chord taking an equal share of the
    // parameter and mapping linearly inside it; a fraction on a chord boundary starts the next chord, and
    // one past the last chord (or any, without chords) gives 1.
    float ParamAt(float s) const;

    float GetTotal() const { return m_total; }
    const std::vector<float>& GetFractions() const { return m_fractions; }

  private:
    std::vector<float> m_fractions;
    std::vector<float> m_ends; // the running sum of the fractions: where each chord ends
    float m_total = 0.0f;
};
