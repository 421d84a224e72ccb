#include "Source/App/coSelectionMarker.h"

#include "Engine/Graphics/An/an2StateAnimation.h"
#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dFragmentManager.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Engine/Graphics/G3d/g3dMaterialAnimation.h"
#include "Engine/Graphics/G3d/g3dShapes.h"
#include "Engine/Graphics/Sc/scSceneManager.h"
#include "Engine/Graphics/Sc/scSimpleMovableObject.h"
#include "Source/SavedCoaster/coCoasterThumbnail.h"

#include <cmath>

namespace {

// Drawn with the world's translucent objects, as the target rings are.
constexpr u32 kRenderList = 2;

} // namespace

coSelectionMarker::coSelectionMarker() : m_material(std::make_unique<g3dMaterial>()) {
    const g3dARGBColor white(1.0f, 1.0f, 1.0f, 0.7f);
    m_material->SetAmbient(white);
    m_material->SetDiffuse(white);
    // The ambient pulses with the diffuse: a white ambient would wash the tints out to grey wherever the
    // sun does not reach.
    for (const u32 channel : {g3dMaterialChannel::Diffuse, g3dMaterialChannel::Ambient}) {
        auto pulse = std::make_unique<an2StateAnimation<g3dARGBColor>>();
        pulse->SetStates({1.0f, 0.5f, 0.8f, 0.7f}, {0.5f, 1.0f, 0.4f, 0.7f});
        pulse->SetDuration(1.0f);
        pulse->SetLooping(true);
        pulse->SetPingPong(true);
        m_material->AddAnimation(std::make_unique<g3dMaterialAnimation>(std::move(pulse), channel, 0.0f));
    }
}

coSelectionMarker::~coSelectionMarker() {
    Free();
}

void coSelectionMarker::Show(bool shown, const maVector3d& position, const maVector3d& scale) {
    if (!m_object) {
        if (!shown)
            return;
        m_fragment = g3dMakeSphere(1.0f, 15, 15);
        if (!m_fragment)
            return;
        m_fragment->SetMaterial(m_material.get(), 0);
        m_object = std::make_unique<scSimpleMovableObject>(m_fragment, kRenderList);
        scAddToUpdateList(m_object.get());
        coSetThumbnailHiddenMarker(m_object.get());
    }
    if (shown) {
        m_object->SetPosition(position);
        // The editor mirrors the marker in x; mirrored, the sphere would turn its inside to the camera
        // and show as a dark flat disc, and a sphere mirrored is the same sphere.
        m_object->SetScale({std::abs(scale.x), std::abs(scale.y), std::abs(scale.z)});
    }
    m_object->SetVisible(shown);
}

void coSelectionMarker::Free() {
    if (m_object) {
        coSetThumbnailHiddenMarker(nullptr);
        scRemoveFromUpdateList(m_object.get());
        m_object.reset();
    }
    g3dFragmentManager::DestroyFragment(m_fragment);
    m_fragment = nullptr;
}
