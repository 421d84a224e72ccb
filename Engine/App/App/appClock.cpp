#include "Engine/App/App/appClock.h"

#include "Engine/App/App/private/appTimer.h"

namespace {

f32 g_startTime = 0.0f;

f32 g_last = 0.0f;
f32 g_dt = 0.0f;
f32 g_total = 0.0f;

} // namespace

void appInitTime() {
    appTimerInit();
    g_startTime = static_cast<f32>(appTimerGetSeconds());
}

f64 appGetTime() {
    return appTimerGetSeconds() - g_startTime;
}

void appClock::Tick(f32 scale) {
    const f64 now = appGetTime();
    const auto step = static_cast<f32>(now - g_last);
    g_last = static_cast<f32>(now);
    g_dt = step * scale;
    if (g_dt > 1.0f)
        g_dt = 1.0f;
    // SetTime stores game time where the last application time belongs, so the next step can come out
    // negative; no frame runs backwards (nor takes a meaningless scale's NaN).
    if (!(g_dt >= 0.0f))
        g_dt = 0.0f;
    g_total += g_dt;
}

f32 appClock::GetDeltaTime() {
    return g_dt;
}

f32 appClock::GetTime() {
    return g_total;
}

void appClock::SetTime(f32 time, f32 step) {
    g_last = time;
    g_total = time + step;
    g_dt = g_total - time;
}
