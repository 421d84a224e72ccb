#include "Engine/Graphics/G3d/g3dLightManager.h"

#include "Engine/Graphics/G3d/private/g3dLightManagerPAC.h"

void g3dLightManager::Initialize() {
    g3dLightManagerPAC::Initialize();
}

void g3dLightManager::Shutdown() {
    g3dLightManagerPAC::Shutdown();
}

g3dPointLight* g3dLightManager::CreatePointLight() {
    return g3dLightManagerPAC::Add(std::make_unique<g3dPointLight>());
}

g3dDirectionalLight* g3dLightManager::CreateDirectionalLight() {
    return g3dLightManagerPAC::Add(std::make_unique<g3dDirectionalLight>());
}

void g3dLightManager::RemoveLight(g3dLight* light) {
    g3dLightManagerPAC::RemoveLight(light);
}

void g3dLightManager::SetAmbientColor(float r, float g, float b, float a) {
    g3dLightManagerPAC::SetAmbientColor({r, g, b, a});
}

void g3dLightManager::UpdateLights() {
    g3dLightManagerPAC::UpdateLights();
}
