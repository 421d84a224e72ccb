#include "Engine/Platform/Os/plTimeSource.h"

#include <cmath>
#include <ctime>

namespace {

i64 MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<i64>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

} // namespace

i64 plMonotonicTimeSource::GetCounter() {
    return MonotonicNanoseconds();
}

u32 plMonotonicTimeSource::GetTickCount() {
    return static_cast<u32>(MonotonicNanoseconds() / 1'000'000);
}

void plTestTimeSource::Advance(f64 seconds) {
    m_counter += std::llround(seconds * static_cast<f64>(m_frequency));
    m_ticks += static_cast<u32>(std::llround(seconds * 1000.0));
}
