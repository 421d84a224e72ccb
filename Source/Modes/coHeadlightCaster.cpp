#include "Source/Modes/coHeadlightCaster.h"

#include "Engine/Graphics/G3d/g3dLight.h"
#include "Engine/Graphics/G3d/g3dLightManager.h"
#include "Engine/Graphics/G3d/g3dTexture.h"
#include "Engine/Graphics/Sc/scProjectedTexture.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/Modes/coCameraManipRide.h"
#include "Source/Ride/coRideCars.h"
#include "Source/Track/coParkWorld.h"
#include "Source/TrackGeom/coTrackShadows.h"

#include <cmath>
#include <vector>

namespace {

// The headlight's beam leaves the lead car this far below its heading and lights the floor where it
// lands, within this reach; the lamp hangs over that spot and fades as 1 / (a2 d^2).
const float kBeamDip = std::sin(0.35f);
constexpr float kBeamReach = 150.0f;
constexpr float kLampHeight = 14.0f;
constexpr float kLampFade = 1.0f / (kLampHeight * kLampHeight);
constexpr float kLampColour[3] = {2.0f, 1.6f, 1.0f};

} // namespace

void coHeadlightCaster::Cast() {
    if (!coCavernHeadlightShown()) {
        Stop();
        return;
    }
    const coCavernHeadlight light = coRenderCavernHeadlight();
    if (light.cars != nullptr && light.texture != nullptr) {
        // The train drawn flat into the texture from the light's side, then laid over what lies below it.
        std::vector<scObject*> casters;
        for (const auto& car : *light.cars)
            casters.push_back(car.get());
        scSetUpProjector(light.radius, light.centre, coGetShadowDirection(), *light.camera);
        light.camera->Apply();
        scRenderCastersToTexture(*light.texture, casters, light.material);
        scApplyProjectedTexture(*light.camera, light.texture);
        m_cast = true;
    }
    AimLamp();
}

// The projected texture is the train's shadow, which only darkens: the light ahead is a lamp's, held over
// the floor where the beam lands, so that the floor there is lit whatever the cavern's own dim lights.
void coHeadlightCaster::AimLamp() {
    if (!m_lamp) {
        m_lamp = g3dLightManager::CreatePointLight();
        m_lamp->SetColor(kLampColour[0], kLampColour[1], kLampColour[2], 0.0f);
        m_lamp->SetConstantAttenuation(0.0f);
        m_lamp->SetQuadraticAttenuation(kLampFade);
    }
    maMatrix4d lead;
    maVector3d floor;
    bool lands = coGetTrainCarMatrix(false, lead);
    if (lands) {
        const maVector3d nose = lead.GetTranslation();
        const maVector3d beam =
            lead.GetZAxis() * std::sqrt(1.0f - kBeamDip * kBeamDip) - lead.GetYAxis() * kBeamDip;
        lands = coGetParkWorld().IntersectSegment(nose, nose + beam * kBeamReach, floor);
    }
    // A beam that meets no floor (climbing, or out over the edge) lights nothing.
    m_lamp->SetEnabled(lands);
    if (lands)
        m_lamp->SetPosition(floor + maVector3d(0.0f, kLampHeight, 0.0f));
}

void coHeadlightCaster::Stop() {
    if (m_cast)
        scClearProjectedTexture();
    m_cast = false;
    if (m_lamp)
        g3dLightManager::RemoveLight(m_lamp);
    m_lamp = nullptr;
}
