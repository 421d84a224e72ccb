#include "Source/Track/coArcLengthTable.h"

namespace {
// Turns chord lengths into their shares of the sum and returns the sum; chords that add up to nothing
// share equally, so that fractions still map linearly.
float ChordFractions(float* lengths, int count) {
    float total = 0.0f;
    for (int i = 0; i < count; ++i)
        total += lengths[i];
    for (int i = 0; i < count; ++i)
        lengths[i] = total > 0.0f ? lengths[i] / total : 1.0f / static_cast<float>(count);
    return total;
}

float ParamAtFraction(const float* fractions, int count, float s) {
    if (count <= 0)
        return 1.0f;
    const float step = 1.0f / static_cast<float>(count);
    float acc = 0.0f;
    for (int i = 0; i < count; ++i) {
        // A zero chord can only hold a negative fraction: it maps to the chord's start.
        if (s < fractions[i])
            return fractions[i] > 0.0f ? acc + (s / fractions[i]) * step : acc;
        s -= fractions[i];
        acc += step;
    }
    return 1.0f;
}
} // namespace

void coArcLengthTable::Build(const maVector3d* points, int count) {
    m_fractions.resize(count > 1 ? static_cast<size_t>(count - 1) : 0);
    for (size_t i = 0; i < m_fractions.size(); ++i)
        m_fractions[i] = (points[i + 1] - points[i]).Length();
    m_total = ChordFractions(m_fractions.data(), static_cast<int>(m_fractions.size()));
}

float coArcLengthTable::ParamAt(float s) const {
    return ParamAtFraction(m_fractions.data(), static_cast<int>(m_fractions.size()), s);
}
