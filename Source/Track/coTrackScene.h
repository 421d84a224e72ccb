#pragma once
#include "Engine/Core/Env/envTypes.h"
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"

#include <memory>

// A scene object as the track's registries handle it: shown or hidden, culled or not, with its world box.
// The scene's objects derive from it; they are deleted through the virtual destructor.
class coSceneObject {
  public:
    virtual ~coSceneObject() = default;

    virtual void SetVisible(bool visible) { m_visible = visible; }
    bool IsVisible() const { return m_visible; }
    virtual void SetCulled(bool culled) { m_culled = culled; }
    bool IsCulled() const { return m_culled; }
    // Set by the culling pass so that the scene keeps that pass's decision for the frame.
    void SetSkipCullOnce(bool skip) { m_skipCullOnce = skip; }
    bool GetSkipCullOnce() const { return m_skipCullOnce; }
    virtual maBoundingBox GetBox() const = 0;

  private:
    bool m_visible = true;
    bool m_culled = false;
    bool m_skipCullOnce = false;
};

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
    virtual std::unique_ptr<coSceneObject> CreateMovableObject(u32 /*fragment*/, const maVector3d& /*scale*/,
                                                               const maRotation& /*rotation*/,
                                                               const maVector3d& /*position*/) {
        return nullptr;
    }
    // Takes an object off the scene update list before it is deleted.
    virtual void RemoveFromUpdateList(coSceneObject&) {}
    virtual void SetDebugLine(int /*line*/, const char* /*text*/) {}
};

coTrackScene& coGetTrackScene();
// Not owned; null restores the scene that makes nothing.
void coSetTrackScene(coTrackScene* scene);
