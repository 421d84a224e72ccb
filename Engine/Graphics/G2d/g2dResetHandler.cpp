#include "Engine/Graphics/G2d/g2dResetHandler.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Env/envExceptionX.h"

#include <exception>
#include <vector>

namespace {

std::vector<std::unique_ptr<g2dD3DResetHandler>> g_handlers;

// By index over the count taken at the start, so a handler registered meanwhile waits for the next one.
template <class Call> void Broadcast(const char* what, Call call) {
    const size_t count = g_handlers.size();
    for (size_t i = 0; i < count; ++i) {
        try {
            call(*g_handlers[i]);
        } catch (const envExceptionX& exception) {
            DBG_WARNING("reset handler %zu failed on device %s: error 0x%08X", i, what, exception.GetCode());
        } catch (const std::exception& exception) {
            DBG_WARNING("reset handler %zu failed on device %s: %s", i, what, exception.what());
        }
    }
}

} // namespace

std::vector<const g2dD3DResetHandler*> g2dGetResetHandlers() {
    std::vector<const g2dD3DResetHandler*> handlers;
    for (const auto& handler : g_handlers)
        handlers.push_back(handler.get());
    return handlers;
}

void g2dRegisterResetHandler(std::unique_ptr<g2dD3DResetHandler> handler) {
    g_handlers.push_back(std::move(handler));
}

void g2dBroadcastDeviceLost() {
    Broadcast("lost", [](g2dD3DResetHandler& handler) { handler.OnDeviceLost(); });
}

void g2dBroadcastDeviceReset() {
    Broadcast("reset", [](g2dD3DResetHandler& handler) { handler.OnDeviceReset(); });
}

void g2dFreeResetHandlers() {
    g_handlers.clear();
}
