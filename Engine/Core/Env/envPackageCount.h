#pragma once
#include "Engine/Core/Env/envTypes.h"

// The reference count of an engine package's start and stop pair. A stop with nothing started
// is refused with a warning instead of wrapping the count and disabling every later start.
class envPackageCount {
public:
    explicit envPackageCount(const char* package) : m_package(package) {}

    // True when this is the first start (the count was 0); the caller starts the package first.
    bool IsFirstStart() const { return m_count == 0; }
    void CountUp() { ++m_count; }
    // Counts down; true when this was the last stop. False, with a warning, when nothing was started.
    bool CountDown();
    u32 GetCount() const { return m_count; }

private:
    const char* m_package;
    u32 m_count = 0;
};
