#include "Source/Track/coArcLengthTable.h"

#include <algorithm>

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
} // namespace

void coArcLengthTable::Build(const maVector3d* points, int count) {
    m_fractions.resize(count > 1 ? static_cast<size_t>(count - 1) : 0);
    for (size_t i = 0; i < m_fractions.size(); ++i)
        m_fractions[i] = (points[i + 1] - points[i]).Length();
    m_total = ChordFractions(m_fractions.data(), static_cast<int>(m_fractions.size()));
    m_ends.resize(m_fractions.size());
    float end = 0.0f;
    for (size_t i = 0; i < m_fractions.size(); ++i)
        m_ends[i] = end += m_fractions[i];
}

float coArcLengthTable::ParamAt(float s) const {
    // The first chord that ends beyond s: a fraction on a chord boundary starts the next chord.
    const auto end = std::upper_bound(m_ends.begin(), m_ends.end(), s);
    if (end == m_ends.end())
        return 1.0f;
    const size_t chord = static_cast<size_t>(end - m_ends.begin());
    const float share = m_fractions[chord];
    // A zero chord can only hold a negative fraction: it maps to the chord's start.
    const float start = chord > 0 ? end[-1] : 0.0f;
    const float within = share > 0.0f ? (s - start) / share : 0.0f;
    return (static_cast<float>(chord) + within) / static_cast<float>(m_ends.size());
}
