#include "Source/Modes/coRideModeHost.h"

namespace {
i32 g_rideCamera = 0;
coRideModeHost g_default;
coRideModeHost* g_host = &g_default;
} // namespace

coRideModeHost& coGetRideModeHost() {
    return *g_host;
}

void coSetRideModeHost(coRideModeHost* host) {
    g_host = host != nullptr ? host : &g_default;
}

i32 coRideModeHost::GetRideCamera() {
    return g_rideCamera;
}

void coRideModeHost::SetRideCamera(i32 camera) {
    g_rideCamera = camera;
}
