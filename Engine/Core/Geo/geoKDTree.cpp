#include "Engine/Core/Geo/geoKDTree.h"

#include "Engine/Core/Env/dbgLog.h"
#include "Engine/Core/Geo/geoIntersection.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Deep enough for any world the cell size allows (2^21 cells a side); it stops the build where float
// rounding can no longer split a box.
constexpr u32 kMaxDepth = 64;
// A box narrower than this on every axis is not split further.
constexpr float kCellSize = 100.0f;

struct Triangle {
    maVector3d v[3];
    maVector3d n;
};

struct Node {
    std::unique_ptr<Node> upper;
    std::unique_ptr<Node> lower;
    std::vector<u32> triangles; // leaves only
    int axis = 0;
    float split = 0.0f;

    bool IsLeaf() const { return !upper && !lower; }
};

float Quantise(float c) {
    return static_cast<float>(std::floor(static_cast<double>(c) * 10000.0) / 10000.0);
}

bool IsFinite(const maVector3d& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Coarse overlap: the triangle's bounds against the box, then its plane against the box's corners.
// Edges are not tested, so a triangle near a box corner may be counted. A plane touching the box
// counts, so that a flat triangle lying on a box face is kept.
bool TriangleOverlapsBox(const Triangle& tri, const maVector3d& L, const maVector3d& H) {
    for (int k = 0; k < 3; ++k) {
        if (tri.v[0][k] < L[k] && tri.v[1][k] < L[k] && tri.v[2][k] < L[k])
            return false;
        if (tri.v[0][k] > H[k] && tri.v[1][k] > H[k] && tri.v[2][k] > H[k])
            return false;
    }
    const float d = maDot(tri.n, tri.v[0]);
    bool front = false, back = false;
    for (int i = 0; i < 8; ++i) {
        const maVector3d corner((i & 1) ? L.x : H.x, (i & 2) ? L.y : H.y, (i & 4) ? L.z : H.z);
        const float s = maDot(tri.n, corner) - d;
        if (s >= 0.0f)
            front = true;
        if (s <= 0.0f)
            back = true;
    }
    return front && back;
}

struct Builder {
    const std::vector<Triangle>& triangles;

    std::unique_ptr<Node> BuildNode(std::vector<u32>&& list, int axis, const maVector3d& L,
                                    const maVector3d& H, u32 depth) const {
        if (list.empty())
            return nullptr;
        auto node = std::make_unique<Node>();
        const maVector3d size = H - L;
        // The split axis: the first from `axis` on that is still at least a cell wide.
        int k = -1;
        for (int i = 0; i < 3 && k < 0; ++i)
            if (size[(axis + i) % 3] >= kCellSize)
                k = (axis + i) % 3;
        if (list.size() < 4 || k < 0 || depth >= kMaxDepth) {
            node->triangles = std::move(list);
            return node;
        }

        const float s = L[k] + size[k] * 0.5f;
        maVector3d lowerH = H, upperL = L;
        lowerH[k] = s;
        upperL[k] = s;
        std::vector<u32> lowerList, upperList;
        for (u32 index : list) {
            const Triangle& tri = triangles[index];
            // A triangle lying in the split plane goes to both sides: a segment crossing the plane tests the
            // lower side from the plane on and the upper side only up to it.
            const bool allAbove = tri.v[0][k] > s && tri.v[1][k] > s && tri.v[2][k] > s;
            const bool allBelow = tri.v[0][k] < s && tri.v[1][k] < s && tri.v[2][k] < s;
            if (!allAbove && TriangleOverlapsBox(tri, L, lowerH))
                lowerList.push_back(index);
            if (!allBelow && TriangleOverlapsBox(tri, upperL, H))
                upperList.push_back(index);
        }
        list = {};
        node->axis = k;
        node->split = s;
        const int next = (k + 1) % 3;
        node->upper = BuildNode(std::move(upperList), next, upperL, H, depth + 1);
        node->lower = BuildNode(std::move(lowerList), next, L, lowerH, depth + 1);
        return node;
    }
};

struct SegmentSearch {
    const std::vector<Triangle>& triangles;
    geoKDTreeHit& hit;

    bool Leaf(const Node& node, const maVector3d& a, const maVector3d& b) const {
        const maVector3d d = b - a;
        const bool vertical = d.x == 0.0f && d.z == 0.0f;
        bool recorded = false;
        for (u32 index : node.triangles) {
            const Triangle& tri = triangles[index];
            if (vertical && (Outside(a.x, tri.v[0].x, tri.v[1].x, tri.v[2].x) ||
                             Outside(a.z, tri.v[0].z, tri.v[1].z, tri.v[2].z)))
                continue;
            // Only a crossing from the front counts.
            if (maDot(a - tri.v[0], tri.n) < 0.0f || maDot(b - tri.v[0], tri.n) > 0.0f)
                continue;
            float t;
            if (!geoIntersectLinePlane(a, d, tri.v[0], tri.n, t) || !(t >= 0.0f && t < 1.0f))
                continue;
            if (hit.found && t > hit.t)
                continue;
            const maVector3d p = a + d * t;
            float u = 0.0f, v = 0.0f;
            if (!geoPointInTriangle(tri.v[0], tri.v[1], tri.v[2], p, tri.n, u, v))
                continue;
            hit.found = 1;
            hit.t = t;
            hit.point = p;
            hit.triangle = index;
            hit.u = u;
            hit.v = v;
            recorded = true;
            if (!hit.findNearest)
                return true;
        }
        return recorded;
    }

    static bool Outside(float c, float c0, float c1, float c2) {
        return (c > c0 && c > c1 && c > c2) || (c < c0 && c < c1 && c < c2);
    }

    bool Search(const Node* node, const maVector3d& a, const maVector3d& b) const {
        while (!node->IsLeaf()) {
            const int k = node->axis;
            const float s = node->split;
            if (a[k] < s && b[k] < s)
                node = node->lower.get();
            else if (a[k] >= s && b[k] >= s)
                node = node->upper.get();
            else
                return Straddle(*node, a, b);
            if (!node)
                return false;
        }
        return Leaf(*node, a, b);
    }

    // The segment crosses the node's split plane: search the near side up to the plane, then the far side.
    bool Straddle(const Node& node, const maVector3d& a, const maVector3d& b) const {
        const int k = node.axis;
        const float s = node.split;
        const float dk = b[k] - a[k];
        if (dk == 0.0f)
            return node.upper && Search(node.upper.get(), a, b);
        const maVector3d m = a + (b - a) * (s - a[k]) / dk;
        const Node* first = a[k] >= s ? node.upper.get() : node.lower.get();
        const Node* second = a[k] >= s ? node.lower.get() : node.upper.get();
        if (first && Search(first, a, m))
            return true;
        return second && Search(second, m, b);
    }
};

void CollectInBox(const std::vector<Triangle>& triangles, const Node& node, const maVector3d& L,
                  const maVector3d& H, std::vector<maVector3d>& points) {
    if (node.IsLeaf()) {
        for (u32 index : node.triangles) {
            const Triangle& tri = triangles[index];
            if (TriangleOverlapsBox(tri, L, H))
                points.insert(points.end(), {tri.v[0], tri.v[1], tri.v[2], tri.n});
        }
        return;
    }
    const int k = node.axis;
    const float s = node.split;
    if (H[k] < s) {
        if (node.lower)
            CollectInBox(triangles, *node.lower, L, H, points);
    } else if (L[k] >= s) {
        if (node.upper)
            CollectInBox(triangles, *node.upper, L, H, points);
    } else {
        maVector3d lowerH = H, upperL = L;
        lowerH[k] = s;
        upperL[k] = s;
        if (node.lower)
            CollectInBox(triangles, *node.lower, L, lowerH, points);
        if (node.upper)
            CollectInBox(triangles, *node.upper, upperL, H, points);
    }
}

u32 CountNodes(const Node* node) {
    return node ? 1 + CountNodes(node->upper.get()) + CountNodes(node->lower.get()) : 0;
}

u32 Depth(const Node* node) {
    return node ? 1 + std::max(Depth(node->upper.get()), Depth(node->lower.get())) : 0;
}

} // namespace

struct geoKDTree::Body {
    std::vector<Triangle> triangles;
    std::unique_ptr<Node> root;
    maBoundingBox bounds;
};

geoKDTree::geoKDTree() : m_body(std::make_unique<Body>()) {}

geoKDTree::~geoKDTree() = default;

void geoKDTree::AddTriangles(const maVector3d* vertices, u32 vertexCount, const u16* indices,
                             u32 indexCount) {
    u32 badIndex = 0, notFinite = 0;
    for (u32 i = 0; i + 3 <= indexCount; i += 3) {
        if (indices[i] >= vertexCount || indices[i + 1] >= vertexCount || indices[i + 2] >= vertexCount) {
            ++badIndex;
            continue;
        }
        Triangle tri;
        for (int c = 0; c < 3; ++c) {
            const maVector3d& p = vertices[indices[i + c]];
            tri.v[c] = maVector3d(Quantise(p.x), Quantise(p.y), Quantise(p.z));
        }
        (tri.v[1] - tri.v[0]).Cross(tri.v[2] - tri.v[0], tri.n);
        const float nn = maDot(tri.n, tri.n);
        tri.n = nn == 0.0f ? maVector3d(0.0f, 1.0f, 0.0f) : tri.n / tri.n.Length();
        // Such a triangle has no usable plane and would leave the build no box to split.
        if (!IsFinite(tri.v[0]) || !IsFinite(tri.v[1]) || !IsFinite(tri.v[2]) || !IsFinite(tri.n)) {
            ++notFinite;
            continue;
        }
        m_body->triangles.push_back(tri);
    }
    if (badIndex)
        DBG_WARNING("geoKDTree: %u triangles skipped, an index past the %u vertices", badIndex, vertexCount);
    if (notFinite)
        DBG_WARNING("geoKDTree: %u triangles skipped, a corner or normal not finite", notFinite);
}

void geoKDTree::Build() {
    Body& body = *m_body;
    if (body.triangles.empty())
        return;
    body.bounds = maBoundingBox();
    for (const Triangle& tri : body.triangles)
        for (const maVector3d& corner : tri.v)
            body.bounds.AddPoint(corner);
    body.bounds.minX -= 1.0f;
    body.bounds.minY -= 1.0f;
    body.bounds.minZ -= 1.0f;
    body.bounds.maxX += 1.0f;
    body.bounds.maxY += 1.0f;
    body.bounds.maxZ += 1.0f;

    std::vector<u32> all(body.triangles.size());
    for (u32 i = 0; i < all.size(); ++i)
        all[i] = i;
    const Builder builder{body.triangles};
    body.root = builder.BuildNode(std::move(all), 0, body.bounds.GetMin(), body.bounds.GetMax(), 1);
}

const maBoundingBox& geoKDTree::GetBounds() const {
    return m_body->bounds;
}

bool geoKDTree::IntersectSegment(const maVector3d& from, const maVector3d& to, geoKDTreeHit& hit) const {
    if (!m_body->root || !IsFinite(from) || !IsFinite(to))
        return false;
    const SegmentSearch search{m_body->triangles, hit};
    return search.Search(m_body->root.get(), from, to);
}

void geoKDTree::GetTrianglesInBox(const maVector3d& boxMin, const maVector3d& boxMax,
                                  std::vector<maVector3d>& points) const {
    points.clear();
    if (m_body->root)
        CollectInBox(m_body->triangles, *m_body->root, boxMin, boxMax, points);
}

void geoKDTree::Clear() {
    m_body->root.reset();
    m_body->triangles.clear();
}

u32 geoKDTree::GetTriangleCount() const {
    return static_cast<u32>(m_body->triangles.size());
}

u32 geoKDTree::GetNodeCount() const {
    return CountNodes(m_body->root.get());
}

u32 geoKDTree::GetDepth() const {
    return Depth(m_body->root.get());
}
