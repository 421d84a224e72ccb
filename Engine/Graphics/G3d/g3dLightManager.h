#pragma once
#include "Engine/Graphics/G3d/g3dLight.h"

// Keeps the scene's lights. Each light that is on takes a device light index while indices are free,
// in creation order, and keeps it until it goes off or is removed; a light is sent again only when its
// parameters changed. The lights it makes are its own: callers hand them back to RemoveLight.
namespace g3dLightManager {

// Registers the reset handler that lights every light again after a reset; the ambient colour becomes
// white (not sent). A new device knows no lights: every light waits for its next update.
void Initialize();
// Deletes every light.
void Shutdown();

g3dPointLight* CreatePointLight();
g3dDirectionalLight* CreateDirectionalLight();
// Darkens and deletes the light; a light the manager does not hold is ignored.
void RemoveLight(g3dLight* light);
// Sent at once as the ambient render state, each component clamped to 0..1; kept for resets.
void SetAmbientColor(float r, float g, float b, float a);

// Once a frame, before anything lit is drawn: switches lights off and on and sends what changed.
void UpdateLights();

} // namespace g3dLightManager
