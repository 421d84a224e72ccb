#include "Engine/App/App/private/appTimer.h"

#include "Engine/Platform/Os/plTimeSource.h"
#include "Engine/Platform/plServices.h"

namespace {

f64 g_frequency = 0.0;
i64 g_startCount = 0;
f64 g_lastReading = 0.0;
u32 g_startTicks = 0;

f64 TickSeconds(plTimeSource& source) {
    return static_cast<u32>(source.GetTickCount() - g_startTicks) * 0.001;
}

} // namespace

void appTimerInit() {
    plTimeSource& source = plGetTimeSource();
    g_frequency = static_cast<f64>(source.GetFrequency());
    g_startCount = source.GetCounter();
    g_lastReading = 0.0;
    g_startTicks = source.GetTickCount();
}

f64 appTimerGetSeconds() {
    plTimeSource& source = plGetTimeSource();
    // Without a counter (frequency 0) the tick count is the only clock; dividing by 0 would poison it.
    if (g_frequency <= 0.0) {
        g_lastReading = TickSeconds(source);
        return g_lastReading;
    }
    // The counter difference is taken modulo 2^64, as a signed 64-bit number.
    const auto elapsed =
        static_cast<i64>(static_cast<u64>(source.GetCounter()) - static_cast<u64>(g_startCount));
    f64 t = static_cast<f64>(elapsed) / g_frequency;
    // A leap of more than half a second is checked against the tick count, and the start count absorbs
    // the difference so that later readings go on smoothly from the tick count's view. The difference is
    // taken in whole counts modulo 2^64: as seconds times the frequency it could leave the 64-bit range.
    if (t - g_lastReading > 0.5) {
        const f64 tickSeconds = TickSeconds(source);
        const auto tickCounts = static_cast<u64>(tickSeconds * g_frequency);
        g_startCount =
            static_cast<i64>(static_cast<u64>(g_startCount) + static_cast<u64>(elapsed) - tickCounts);
        t = tickSeconds;
    }
    g_lastReading = t;
    return t;
}
