#pragma once
#include "Engine/Graphics/G3d/g3dARGBColor.h"
#include "Engine/Graphics/G3d/g3dLight.h"

#include <memory>

// The device side of the light manager: one slot a light in creation order, the set of device light
// indices in use, the device's light limit and the reset handler.
namespace g3dLightManagerPAC {

void Initialize();
void Shutdown();
// Appends a slot, dark and without an index, and answers the light.
g3dLight* AddLight(std::unique_ptr<g3dLight> light);
template <class Light> Light* Add(std::unique_ptr<Light> light) {
    return static_cast<Light*>(AddLight(std::move(light)));
}
void RemoveLight(g3dLight* light);
void SetAmbientColor(const g3dARGBColor& color);
void UpdateLights();

} // namespace g3dLightManagerPAC
