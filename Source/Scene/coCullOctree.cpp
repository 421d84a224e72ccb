#include "Source/Scene/coCullOctree.h"

#include "Source/Scene/coSceneObjectSet.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMaxDepth = 4;
constexpr size_t kLeafSets = 4;

bool IsFinite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

bool EraseFirst(std::vector<coSceneObjectSet*>& sets, coSceneObjectSet* set) {
    const auto found = std::find(sets.begin(), sets.end(), set);
    if (found == sets.end())
        return false;
    sets.erase(found);
    return true;
}

// Gives the children's sets back to the node when only leaves hold at most one set in all.
void Collapse(coCullOctreeNode& node) {
    size_t held = 0;
    for (const auto& child : node.children) {
        if (!child)
            continue;
        if (child->HasChildren())
            return;
        held += child->sets.size();
    }
    if (!node.HasChildren() || held > 1)
        return;
    for (auto& child : node.children) {
        if (!child)
            continue;
        node.sets.insert(node.sets.end(), child->sets.begin(), child->sets.end());
        child.reset();
    }
}

bool RemoveAnywhere(coCullOctreeNode& node, coSceneObjectSet* set) {
    bool removed = EraseFirst(node.sets, set);
    for (auto& child : node.children) {
        if (removed)
            break;
        if (child)
            removed = RemoveAnywhere(*child, set);
    }
    if (removed)
        Collapse(node);
    return removed;
}

void MarkSubtree(const coCullOctreeNode& node, bool culled) {
    for (coSceneObjectSet* set : node.sets)
        set->MarkCulled(culled);
    for (const auto& child : node.children)
        if (child)
            MarkSubtree(*child, culled);
}

maVector4d Add(const maVector4d& a, const maVector4d& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}

maVector4d Half(const maVector4d& a) {
    return {a.x * 0.5f, a.y * 0.5f, a.z * 0.5f, a.w * 0.5f};
}

// The clip-space outcode of a corner: which side of each frustum plane it lies beyond.
int ClipCode(const maVector4d& c) {
    int code = 0;
    if (c.w >= 0.0f) {
        code |= c.z < 0.0f ? 1 : c.z > c.w ? 2 : 0;
        code |= c.y < -c.w ? 8 : c.y > c.w ? 4 : 0;
        code |= c.x > c.w ? 16 : c.x < -c.w ? 32 : 0;
    } else {
        code |= c.z > 0.0f ? 1 : c.z < c.w ? 2 : 0;
        code |= c.y < c.w ? 8 : c.y > -c.w ? 4 : 0;
        code |= c.x < c.w ? 32 : c.x > -c.w ? 16 : 0;
    }
    return code;
}

void CullNode(const coCullOctreeNode& node, const maVector4d& o, const maVector4d& ex, const maVector4d& ey,
              const maVector4d& ez) {
    int all = ~0, any = 0;
    for (int i = 0; i < 8; ++i) {
        maVector4d corner = o;
        if (i & 4)
            corner = Add(corner, ex);
        if (i & 2)
            corner = Add(corner, ey);
        if (i & 1)
            corner = Add(corner, ez);
        const int code = ClipCode(corner);
        all &= code;
        any |= code;
    }
    if (all != 0) {
        MarkSubtree(node, true);
        return;
    }
    if (any == 0) {
        MarkSubtree(node, false);
        return;
    }
    const maVector4d hx = Half(ex), hy = Half(ey), hz = Half(ez);
    for (int i = 0; i < 8; ++i) {
        if (!node.children[static_cast<size_t>(i)])
            continue;
        maVector4d corner = o;
        if (i & 4)
            corner = Add(corner, hx);
        if (i & 2)
            corner = Add(corner, hy);
        if (i & 1)
            corner = Add(corner, hz);
        CullNode(*node.children[static_cast<size_t>(i)], corner, hx, hy, hz);
    }
}

} // namespace

bool coCullOctreeNode::HasChildren() const {
    return std::any_of(children.begin(), children.end(), [](const auto& child) { return child != nullptr; });
}

int coCullChildIndex(const coCullCell& cell, int depth) {
    const int bit = kMaxDepth - depth;
    return ((cell.x >> bit) & 1) * 4 + ((cell.y >> bit) & 1) * 2 + ((cell.z >> bit) & 1);
}

coCullOctree::~coCullOctree() {
    Clear();
}

void coCullOctree::SetCube(const maBoundingBox& box) {
    Clear();
    const maVector3d centre = box.GetCenter();
    const float h = (box.GetMax() - centre).Length();
    m_size = 2.0f * h;
    m_origin = centre - maVector3d(h, h, h);
    m_hasCube = box.minX <= box.maxX && box.minY <= box.maxY && box.minZ <= box.maxZ &&
                std::isfinite(m_size) && IsFinite(m_origin);
}

bool coCullOctree::CellOf(const maVector3d& p, coCullCell& cell) const {
    int* out[3] = {&cell.x, &cell.y, &cell.z};
    for (int axis = 0; axis < 3; ++axis) {
        const float n = (p[axis] - m_origin[axis]) / m_size;
        if (!(n >= 0.0f && n <= 1.0f))
            return false;
        *out[axis] = static_cast<int>(n * 32.0f);
    }
    return true;
}

bool coCullOctree::Insert(coSceneObjectSet* set) {
    coCullCell low, high;
    if (!m_hasCube || !CellOf(set->GetBox().GetMin(), low) || !CellOf(set->GetBox().GetMax(), high))
        return false;
    if (!m_root)
        m_root = std::make_unique<coCullOctreeNode>();
    InsertAt(*m_root, set, low, high, 0);
    return true;
}

void coCullOctree::InsertAt(coCullOctreeNode& node, coSceneObjectSet* set, const coCullCell& low,
                            const coCullCell& high, int depth) {
    const int index = coCullChildIndex(low, depth);
    if (index != coCullChildIndex(high, depth)) {
        node.sets.push_back(set);
        return;
    }
    auto& child = node.children[static_cast<size_t>(index)];
    if (node.HasChildren()) {
        if (!child)
            child = std::make_unique<coCullOctreeNode>();
        InsertAt(*child, set, low, high, depth + 1);
        return;
    }
    if (node.sets.size() < kLeafSets || depth >= kMaxDepth) {
        node.sets.push_back(set);
        return;
    }
    // The leaf is full: the set opens a child, and the leaf's sets go down again where their cells allow.
    child = std::make_unique<coCullOctreeNode>();
    child->sets.push_back(set);
    std::vector<coSceneObjectSet*> held;
    held.swap(node.sets);
    for (coSceneObjectSet* again : held) {
        coCullCell againLow, againHigh;
        if (CellOf(again->GetBox().GetMin(), againLow) && CellOf(again->GetBox().GetMax(), againHigh))
            InsertAt(node, again, againLow, againHigh, depth);
        else
            node.sets.push_back(again); // its box has left the cube since it was inserted
    }
}

void coCullOctree::Remove(coSceneObjectSet* set) {
    if (!m_root)
        return;
    coCullCell low, high;
    const bool keyed = CellOf(set->GetBox().GetMin(), low) && CellOf(set->GetBox().GetMax(), high);
    if (!keyed || !RemoveAt(*m_root, set, low, high, 0))
        RemoveAnywhere(*m_root, set);
}

bool coCullOctree::RemoveAt(coCullOctreeNode& node, coSceneObjectSet* set, const coCullCell& low,
                            const coCullCell& high, int depth) {
    const int index = coCullChildIndex(low, depth);
    auto& child = node.children[static_cast<size_t>(index)];
    if (index == coCullChildIndex(high, depth) && child) {
        const bool removed = RemoveAt(*child, set, low, high, depth + 1);
        Collapse(node);
        return removed;
    }
    return EraseFirst(node.sets, set);
}

void coCullOctree::Cull(const maMatrix4d& viewProjection) const {
    if (!m_root)
        return;
    const maVector4d o =
        viewProjection.TransformVector4d(maVector4d(m_origin.x, m_origin.y, m_origin.z, 1.0f));
    CullNode(*m_root, o, viewProjection.GetRow(0) * m_size, viewProjection.GetRow(1) * m_size,
             viewProjection.GetRow(2) * m_size);
}

void coCullOctree::Clear() {
    m_root.reset();
}
