#include "Source/Track/coArcLengthTable.h"

void coArcLengthTable::Build(const maVector3d* points, int count) {
    m_total = 0.0f;
    const int chords = count - 1;
    m_fractions.resize(chords > 0 ? static_cast<size_t>(chords) : 0);
    for (size_t i = 0; i < m_fractions.size(); ++i) {
        const float length = (points[i + 1] - points[i]).Length();
        m_fractions[i] = length;
        m_total += length;
    }
    if (m_total > 0.0f) {
        for (float& fraction : m_fractions)
            fraction = fraction / m_total;
    } else {
        for (float& fraction : m_fractions)
            fraction = 1.0f / static_cast<float>(m_fractions.size());
    }
}

float coArcLengthTable::ParamAt(float s) const {
    if (m_fractions.empty())
        return 1.0f;
    const float step = 1.0f / static_cast<float>(m_fractions.size());
    float acc = 0.0f;
    for (float fraction : m_fractions) {
        // A zero chord can only hold a negative fraction: it maps to the chord's start.
        if (s < fraction)
            return fraction > 0.0f ? acc + (s / fraction) * step : acc;
        s -= fraction;
        acc += step;
    }
    return 1.0f;
}
