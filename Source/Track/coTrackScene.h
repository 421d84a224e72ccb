#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scObject.h"

#include <memory>

// A colour of four floats: red, green, blue, alpha.
struct coColor {
    float r, g, b, a;
};

// What the track asks of the renderer and the scene: materials and fragments (opaque handles, 0 for
// none), movable objects that show a fragment, the scene update list and the debug text lines. The
// renderer installs its own; until then nothing is made and every handle is 0.
class coTrackScene {
  public:
    virtual ~coTrackScene() = default;

    // A material with the emissive, ambient and diffuse colours, set in that order.
    virtual u32 CreateMaterial(const coColor& /*emissive*/, const coColor& /*ambient*/,
                               const coColor& /*diffuse*/) {
        return 0;
    }
    virtual void DestroyMaterial(u32) {}
    // A fragment drawing the indexed triangle list with the material; the caller owns it.
    virtual u32 CreateFragment(const maVector3d* /*positions*/, const maVector3d* /*normals*/,
                               int /*vertexCount*/, const u16* /*indices*/, int /*indexCount*/,
                               u32 /*material*/) {
        return 0;
    }
    // A box fragment of the size, centred on the origin, with the material.
    virtual u32 CreateBox(const maVector3d& /*size*/, u32 /*material*/) { return 0; }
    virtual void DestroyFragment(u32) {}
    // A movable object showing the fragment with the scale, rotation and position, already on the scene
    // update list; null when the scene makes none.
    virtual std::unique_ptr<scObject> CreateMovableObject(u32 /*fragment*/, const maVector3d& /*scale*/,
                                                          const maRotation& /*rotation*/,
                                                          const maVector3d& /*position*/) {
        return nullptr;
    }
    // Takes an object off the scene update list before it is deleted.
    virtual void RemoveFromUpdateList(scObject&) {}
    virtual void SetDebugLine(int /*line*/, const char* /*text*/) {}
};

coTrackScene& coGetTrackScene();
// Not owned; null restores the scene that makes nothing.
void coSetTrackScene(coTrackScene* scene);
