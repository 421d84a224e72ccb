#pragma once
#include "Engine/Core/Ma/maBoundingBox.h"
#include "Engine/Core/Ma/maRotation.h"
#include "Engine/Core/Ma/maVector.h"
#include "Engine/Graphics/Sc/scObject.h"

#include <memory>

class g3dFragment;
class g3dMaterial;
class coSceneObjectSet;

// The render list of the track, its supports and crossbars.
inline constexpr int coTrackRenderList = 2;

// How a track object shows its fragment: where it stands, never moved (static); with its own position,
// rotation and scale (placed); or as a movable object, which the renderer sorts (transparent sections).
enum class coTrackObjectKind { Static, Placed, Movable };

struct coTrackObjectPlacement {
    maVector3d position{0.0f, 0.0f, 0.0f};
    maRotation rotation;
    maVector3d scale{1.0f, 1.0f, 1.0f};
};

// What the track geometry hands to the scene: one fragment shown in a render list, of a kind, placed.
// The default maker makes a coTrackObject; the scene installs one that makes its own objects, already
// on its update list and visible.
class coTrackObjectMaker {
  public:
    virtual ~coTrackObjectMaker() = default;
    virtual std::unique_ptr<scObject> Make(coTrackObjectKind kind, g3dFragment* fragment, int renderList,
                                           const coTrackObjectPlacement& placement);
};

// The object the default maker makes: it keeps what it was made from, and its box is the fragment's box
// carried by the placement.
class coTrackObject : public scObject {
  public:
    coTrackObject(coTrackObjectKind kind, g3dFragment* fragment, int renderList,
                  const coTrackObjectPlacement& placement);

    coTrackObjectKind GetKind() const { return m_kind; }
    g3dFragment* GetFragment() const { return m_fragment; }
    int GetRenderList() const { return m_renderList; }
    const coTrackObjectPlacement& GetPlacement() const { return m_placement; }
    void Update(float /*time*/) override {}

  private:
    coTrackObjectKind m_kind;
    g3dFragment* m_fragment;
    int m_renderList;
    coTrackObjectPlacement m_placement;
};

// Not owned; null restores the default maker.
void coSetTrackObjectMaker(coTrackObjectMaker* maker);
const coTrackObjectMaker& coGetTrackObjectMaker();

// An object of the fragment in the render list, made visible and added to the set's group g (nothing for a
// negative g, which the set would not keep). The set does not take the fragment: model fragments stay
// their holder's.
void coAddTrackObject(coSceneObjectSet& set, int g, coTrackObjectKind kind, g3dFragment* fragment,
                      const coTrackObjectPlacement& placement = {}, int renderList = coTrackRenderList);
// A fragment made for the set: the set keeps it, and it is shown by a movable object when the material
// is transparent, else by a static one. Nothing for a null fragment.
void coAddTrackFragment(coSceneObjectSet& set, g3dFragment* fragment, int g, const g3dMaterial* material);

// The material of sections, poles and planes read without one: opaque white, shared, owned here.
g3dMaterial* coDefaultTrackMaterial();
// The section's material, or the shared default.
g3dMaterial* coMaterialOrDefault(g3dMaterial* material);
