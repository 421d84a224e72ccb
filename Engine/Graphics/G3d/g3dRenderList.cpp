#include "Engine/Graphics/G3d/g3dRenderList.h"

#include "Engine/Graphics/G3d/g3dFragment.h"
#include "Engine/Graphics/G3d/g3dModel.h"
#include "Engine/Graphics/G3d/g3dTransformTreeNode.h"

#include <functional>

namespace {

g3dHFragment* TreeOf(const g3dSortItem& item) {
    return item.dynamicModel ? dynamic_cast<g3dHFragment*>(item.dynamicModel->GetNode()) : nullptr;
}

f32 Dot(const maVector3d& a, const maVector3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// The centre of the root fragment's box placed by the root's matrix; a fragment whose vertices are
// rewritten during play has no box worth reading, so it stands at the root's origin.
maVector3d PositionOf(const g3dHFragment& root) {
    const g3dFragment* fragment = root.GetFragment();
    const maVector3d centre =
        fragment && !fragment->IsDynamic() ? fragment->GetBoundingBox().GetCenter() : maVector3d(0, 0, 0);
    return root.GetLocalMatrix().TransformPoint(centre);
}

const g3dMaterial* FirstMaterial(const g3dFragment& fragment) {
    return fragment.GetMaterialCount() ? fragment.GetMaterial(0) : nullptr;
}

void ComputeKey(g3dSortItem& item, const g3dRenderListConfig& config, const maVector3d& eye,
                const maVector3d& direction) {
    if (item.spriteGroup) {
        item.key = Dot(direction, item.spriteGroup->GetPosition() - eye);
        item.transparent = true;
        return;
    }
    const g3dHFragment* root = TreeOf(item);
    const g3dFragment* fragment = root ? root->GetFragment() : nullptr;
    item.key = 0.0f;
    item.transparent = config.depthMode == 1 || (root && root->HasTransparentMaterial());
    item.opaqueRank = !root ? 0 : !fragment ? 1 : 2;
    item.firstMaterial = fragment ? FirstMaterial(*fragment) : nullptr;
    if (!root)
        return;
    const maVector3d p = PositionOf(*root);
    switch (config.transformMode) {
    case 0:
        item.key = p.z * p.z;
        break;
    case 1:
        item.key = Dot(p, p);
        break;
    default:
        item.key = Dot(direction, p - eye);
        break;
    }
}

// Opaque items by kind, then by first material; transparent ones far to near.
bool DrawnBefore(const g3dSortItem& a, const g3dSortItem& b) {
    if (a.transparent != b.transparent)
        return !a.transparent;
    if (a.transparent)
        return a.key > b.key;
    if (a.opaqueRank != b.opaqueRank || a.opaqueRank < 2)
        return a.opaqueRank < b.opaqueRank;
    return std::less<const g3dMaterial*>()(a.firstMaterial, b.firstMaterial);
}

template <class Model>
bool AtHigherAddress(const std::unique_ptr<Model>& a, const std::unique_ptr<Model>& b) {
    return std::greater<const Model*>()(a.get(), b.get());
}

} // namespace

const std::vector<g3dRenderListConfig>& g3dDefaultRenderLists() {
    static const std::vector<g3dRenderListConfig> lists = {
        {0, 2, 0, true}, {0, 1, 0, true}, {0, 0, 1, false}, {1, 0, 0, false}};
    return lists;
}

void g3dSortRenderList(g3dRenderListEntry& entry, const maVector3d& eye, const maVector3d& direction) {
    for (g3dSortItem& item : entry.sortItems)
        ComputeKey(item, entry.config, eye, direction);
    // A stable merge sort that relinks the nodes.
    entry.sortItems.sort(DrawnBefore);
    entry.worldStatic.sort(AtHigherAddress<g3dWorldStaticModel>);
    entry.placedStatic.sort(AtHigherAddress<g3dStaticModel>);
}
