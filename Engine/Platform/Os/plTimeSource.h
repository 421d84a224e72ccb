#pragma once
#include "Engine/Core/Env/envTypes.h"

// The clocks the engine reads, shaped like the performance counter and the millisecond tick count.
class plTimeSource {
  public:
    virtual ~plTimeSource() = default;
    // The high-resolution counter, in counts of GetFrequency per second.
    virtual i64 GetCounter() = 0;
    // Counts per second; 0 when the system has no high-resolution counter.
    virtual i64 GetFrequency() = 0;
    // Milliseconds since an arbitrary start, wrapping at 2^32.
    virtual u32 GetTickCount() = 0;
};

// CLOCK_MONOTONIC: nanosecond counts, and its milliseconds as the tick count.
class plMonotonicTimeSource : public plTimeSource {
  public:
    i64 GetCounter() override;
    i64 GetFrequency() override { return 1'000'000'000; }
    u32 GetTickCount() override;
};

// Values that tests set; nothing moves unless the test moves it.
class plTestTimeSource : public plTimeSource {
  public:
    i64 GetCounter() override { return m_counter; }
    i64 GetFrequency() override { return m_frequency; }
    u32 GetTickCount() override { return m_ticks; }

    void SetCounter(i64 counter) { m_counter = counter; }
    void SetFrequency(i64 frequency) { m_frequency = frequency; }
    void SetTickCount(u32 ticks) { m_ticks = ticks; }
    // Moves the counter and the tick count together, as real time passing does.
    void Advance(f64 seconds);

  private:
    i64 m_counter = 0;
    i64 m_frequency = 1'000'000;
    u32 m_ticks = 0;
};
