#include "Source/TrackGeom/coTrackObjects.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dMaterial.h"
#include "Source/Scene/coSceneObjectSet.h"
#include "Source/Settings/coSeam.h"

namespace {

coTrackObjectMaker g_defaultMaker;
constinit coSeam<coTrackObjectMaker> g_maker(g_defaultMaker);

// The box round the eight corners of the fragment's box, scaled, rotated, then moved.
maBoundingBox PlacedBox(const maBoundingBox& local, const coTrackObjectPlacement& placement) {
    maBoundingBox box;
    if (local.minX > local.maxX)
        return box;
    maMatrix4d transform = placement.rotation.GetMatrix();
    maMatrix4d scale;
    scale.SetScale(placement.scale.x, placement.scale.y, placement.scale.z);
    transform = scale * transform;
    transform.Translate(placement.position.x, placement.position.y, placement.position.z);
    for (int i = 0; i < 8; ++i)
        box.AddPoint(transform.TransformPoint(local.GetCorner(i)));
    return box;
}

} // namespace

std::unique_ptr<scObject> coTrackObjectMaker::Make(coTrackObjectKind kind, g3dFragment* fragment,
                                                   int renderList, const coTrackObjectPlacement& placement) {
    return std::make_unique<coTrackObject>(kind, fragment, renderList, placement);
}

coTrackObject::coTrackObject(coTrackObjectKind kind, g3dFragment* fragment, int renderList,
                             const coTrackObjectPlacement& placement)
    : m_kind(kind), m_fragment(fragment), m_renderList(renderList), m_placement(placement) {
    if (fragment)
        SetBoundingBox(PlacedBox(fragment->GetBoundingBox(), placement));
}

void coSetTrackObjectMaker(coTrackObjectMaker* maker) {
    g_maker.Set(maker);
}

const coTrackObjectMaker& coGetTrackObjectMaker() {
    return g_maker.Get();
}

void coAddTrackObject(coSceneObjectSet& set, int g, coTrackObjectKind kind, g3dFragment* fragment,
                      const coTrackObjectPlacement& placement, int renderList) {
    // The set keeps no negative group: nothing is made that would only be dropped.
    if (g < 0)
        return;
    std::unique_ptr<scObject> object = g_maker.Get().Make(kind, fragment, renderList, placement);
    if (!object)
        return;
    object->SetVisible(true);
    set.Add(g, std::move(object));
}

void coAddTrackFragment(coSceneObjectSet& set, g3dFragment* fragment, int g, const g3dMaterial* material) {
    if (!fragment)
        return;
    set.AddFragment(fragment);
    const bool transparent = material && material->IsTransparent();
    coAddTrackObject(set, g, transparent ? coTrackObjectKind::Movable : coTrackObjectKind::Static, fragment);
}

g3dMaterial* coDefaultTrackMaterial() {
    static g3dMaterial white;
    return &white;
}

g3dMaterial* coMaterialOrDefault(g3dMaterial* material) {
    return material ? material : coDefaultTrackMaterial();
}
