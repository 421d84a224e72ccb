#pragma once
#include <memory>
#include <vector>

// An owner of device resources: it releases them when the device is lost and makes them again after
// the device is reset.
class g2dD3DResetHandler {
  public:
    virtual ~g2dD3DResetHandler() = default;
    virtual void OnDeviceLost() = 0;
    virtual void OnDeviceReset() = 0;
};

// The list keeps its handlers, in registration order, until g2dFreeResetHandlers.
void g2dRegisterResetHandler(std::unique_ptr<g2dD3DResetHandler> handler);
// Each calls the handlers registered before it started, first registered first. A handler that throws
// is reported in the debug log and the broadcast goes on with the next one.
void g2dBroadcastDeviceLost();
void g2dBroadcastDeviceReset();
// The handlers in call order, for a look at what the start-ups registered.
std::vector<const g2dD3DResetHandler*> g2dGetResetHandlers();
// Deletes every handler and empties the list (the screen's shut-down).
void g2dFreeResetHandlers();
