#include "Source/Modes/coRideModeHost.h"

#include "Source/Settings/coSeam.h"

namespace {
i32 g_rideCamera = 0;
coRideModeHost g_default;
constinit coSeam<coRideModeHost> g_host(g_default);
} // namespace

coRideModeHost& coGetRideModeHost() {
    return g_host.Get();
}

void coSetRideModeHost(coRideModeHost* host) {
    g_host.Set(host);
}

i32 coRideModeHost::GetRideCamera() {
    return g_rideCamera;
}

void coRideModeHost::SetRideCamera(i32 camera) {
    g_rideCamera = camera;
}
