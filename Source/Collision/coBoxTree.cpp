#include "Source/Collision/coBoxTree.h"

#include "Source/Collision/coPickPathMesh.h"

#include <algorithm>

namespace {

// Removes the first occurrence; false when absent.
bool EraseFirst(std::vector<coPickPathMesh*>& items, coPickPathMesh* item) {
    const auto found = std::find(items.begin(), items.end(), item);
    if (found == items.end())
        return false;
    items.erase(found);
    return true;
}

// Merges two leaf children back into the node once they and it hold fewer than 2 items together.
void Collapse(coBoxTreeNode& node) {
    if (!node.HasChildren() || node.upper->HasChildren() || node.lower->HasChildren())
        return;
    if (node.items.size() + node.upper->items.size() + node.lower->items.size() >= 2)
        return;
    node.items.insert(node.items.end(), node.upper->items.begin(), node.upper->items.end());
    node.items.insert(node.items.end(), node.lower->items.begin(), node.lower->items.end());
    node.upper.reset();
    node.lower.reset();
}

bool RemoveKeyed(coBoxTreeNode& node, coPickPathMesh* item, const maVector3d& low, const maVector3d& high) {
    if (node.HasChildren() && low[node.axis] > node.split) {
        const bool removed = RemoveKeyed(*node.upper, item, low, high);
        Collapse(node);
        return removed;
    }
    if (node.HasChildren() && high[node.axis] < node.split) {
        const bool removed = RemoveKeyed(*node.lower, item, low, high);
        Collapse(node);
        return removed;
    }
    return EraseFirst(node.items, item);
}

bool RemoveAnywhere(coBoxTreeNode& node, coPickPathMesh* item) {
    bool removed = EraseFirst(node.items, item);
    if (!removed && node.HasChildren())
        removed = RemoveAnywhere(*node.upper, item) || RemoveAnywhere(*node.lower, item);
    if (removed)
        Collapse(node);
    return removed;
}

void QueryNode(const coBoxTreeNode& node, const maBoundingBox& box, std::vector<coPickPathMesh*>& out) {
    if (node.HasChildren()) {
        if (box.GetMax()[node.axis] > node.split)
            QueryNode(*node.upper, box, out);
        if (box.GetMin()[node.axis] < node.split)
            QueryNode(*node.lower, box, out);
    }
    for (coPickPathMesh* item : node.items) {
        if (coBoxesOverlap(item->GetBounds(), box))
            out.push_back(item);
    }
}

} // namespace

bool coBoxEqual(const maBoundingBox& a, const maBoundingBox& b) {
    return a.minX == b.minX && a.maxX == b.maxX && a.minY == b.minY && a.maxY == b.maxY && a.minZ == b.minZ &&
           a.maxZ == b.maxZ;
}

maBoundingBox coBoxGrow(const maBoundingBox& box, float margin) {
    const maVector3d grow(margin, margin, margin);
    return maBoundingBox(box.GetMin() - grow, box.GetMax() + grow);
}

bool coBoxesOverlap(const maBoundingBox& a, const maBoundingBox& b) {
    return a.maxX >= b.minX && b.maxX >= a.minX && a.maxZ >= b.minZ && b.maxZ >= a.minZ && a.maxY >= b.minY &&
           b.maxY >= a.minY;
}

coBoxTree::coBoxTree() = default;

coBoxTree::~coBoxTree() {
    Clear();
}

void coBoxTree::SetWorldBox(const maBoundingBox& box) {
    if (m_root && !coBoxEqual(box, m_worldBox))
        Clear();
    m_worldBox = box;
}

void coBoxTree::Insert(coPickPathMesh* item) {
    if (!m_root)
        m_root = std::make_unique<coBoxTreeNode>();
    const maVector3d low = item->GetBounds().GetMin();
    const maVector3d high = item->GetBounds().GetMax();
    maVector3d nodeMin = m_worldBox.GetMin();
    maVector3d nodeMax = m_worldBox.GetMax();
    int previousAxis = -1;
    coBoxTreeNode* node = m_root.get();
    while (node->HasChildren()) {
        const int axis = node->axis;
        if (low[axis] > node->split) {
            nodeMin[axis] = node->split;
            node = node->upper.get();
        } else if (high[axis] < node->split) {
            nodeMax[axis] = node->split;
            node = node->lower.get();
        } else {
            node->items.push_back(item); // straddles the split
            return;
        }
        previousAxis = axis;
    }
    node->items.push_back(item);
    if (node->items.size() <= 4)
        return;
    const maVector3d size = nodeMax - nodeMin;
    if (size.x <= m_leafSize.x && size.y <= m_leafSize.y && size.z <= m_leafSize.z)
        return;
    int axis = -1;
    for (int step = 1; step <= 3 && axis < 0; ++step) {
        const int candidate = (previousAxis + step) % 3;
        if (size[candidate] >= m_leafSize[candidate])
            axis = candidate;
    }
    if (axis < 0) // a box that is not a number
        return;

    node->axis = axis;
    node->split = (nodeMin[axis] + nodeMax[axis]) * 0.5f;
    node->upper = std::make_unique<coBoxTreeNode>();
    node->lower = std::make_unique<coBoxTreeNode>();
    std::vector<coPickPathMesh*> kept;
    for (coPickPathMesh* stored : node->items) {
        if (stored->GetBounds().GetMin()[axis] > node->split)
            node->upper->items.push_back(stored);
        else if (stored->GetBounds().GetMax()[axis] < node->split)
            node->lower->items.push_back(stored);
        else
            kept.push_back(stored);
    }
    node->items = std::move(kept);
}

void coBoxTree::Remove(coPickPathMesh* item) {
    if (!m_root)
        return;
    const maBoundingBox& bounds = item->GetBounds();
    if (!RemoveKeyed(*m_root, item, bounds.GetMin(), bounds.GetMax()))
        RemoveAnywhere(*m_root, item);
}

void coBoxTree::Query(const maBoundingBox& box, std::vector<coPickPathMesh*>& out) const {
    out.clear();
    if (m_root)
        QueryNode(*m_root, box, out);
}

void coBoxTree::Clear() {
    m_root.reset();
}
