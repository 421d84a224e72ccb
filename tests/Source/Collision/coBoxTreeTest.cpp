#include "Source/Collision/coBoxTree.h"
#include "Source/Collision/coPickPathMesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <random>
#include <tuple>
#include <vector>

namespace {

// Meshes whose bounds are exactly the given boxes (two centre points at opposite corners).
struct MeshPool {
    std::deque<coPickPathMesh> meshes;
    coPickPathMesh* Add(const maVector3d& low, const maVector3d& high) {
        meshes.emplace_back();
        const maVector3d points[2] = {low, high};
        meshes.back().SetPoints(points, 2);
        return &meshes.back();
    }
    // A small box around (x, y, z).
    coPickPathMesh* At(float x, float y, float z) {
        return Add({x - 1, y - 1, z - 1}, {x + 1, y + 1, z + 1});
    }
};

maBoundingBox Box(float x0, float x1, float y0, float y1, float z0, float z1) {
    return maBoundingBox({x0, y0, z0}, {x1, y1, z1});
}

size_t CountItems(const coBoxTreeNode* node) {
    return node ? node->items.size() + CountItems(node->upper.get()) + CountItems(node->lower.get()) : 0;
}

} // namespace

TEST(coBoxTree, BoxOperations) {
    const maBoundingBox a = Box(0, 1, 0, 1, 0, 1);
    EXPECT_TRUE(coBoxEqual(coBoxGrow(a, 2.0f), Box(-2, 3, -2, 3, -2, 3)));
    EXPECT_FALSE(coBoxEqual(a, Box(0, 1, 0, 1, 0, 1.0001f)));
    // Growing an empty box rebuilds it from its two corners: it then spans everything.
    EXPECT_LT(coBoxGrow(maBoundingBox(), 1.0f).minX, -1e38f);
    // Touching counts as overlapping; an empty box overlaps nothing.
    for (const auto& [other, overlaps] : {std::pair{Box(1, 2, 1, 2, 1, 2), true},
                                          {a, true},
                                          {Box(1.001f, 2, 0, 1, 0, 1), false},
                                          {Box(0, 1, -2, -0.5f, 0, 1), false},
                                          {Box(0, 1, 0, 1, 5, 6), false},
                                          {maBoundingBox(), false}})
        EXPECT_EQ(coBoxesOverlap(a, other), overlaps) << other.minX << " " << other.minY << " " << other.minZ;
}

TEST(coBoxTree, TheFifthItemSplitsALargeLeafAlongTheNextLargeAxis) {
    MeshPool pool;
    // A leaf of exactly the leaf size (50 x 100 x 50) is never split, however many items it holds.
    coBoxTree exact;
    exact.SetWorldBox(Box(0, 50, 0, 100, 0, 50));
    for (int i = 0; i < 8; ++i)
        exact.Insert(pool.At(5.0f + i, 10.0f * i, 5));
    EXPECT_FALSE(exact.GetRoot()->HasChildren());

    coBoxTree tree;
    tree.SetWorldBox(Box(0, 200, 0, 50, 0, 40));
    for (int i = 0; i < 4; ++i)
        tree.Insert(pool.At(10.0f + 40 * i, 10, 10));
    EXPECT_FALSE(tree.GetRoot()->HasChildren());
    tree.Insert(pool.At(190, 10, 10));
    const coBoxTreeNode* root = tree.GetRoot();
    ASSERT_TRUE(root->HasChildren());
    EXPECT_EQ(std::tuple(root->axis, root->split), std::tuple(0, 100.0f));
    EXPECT_EQ(root->upper->items.size(), 2u); // x 130, 190
    EXPECT_EQ(root->lower->items.size(), 3u); // x 10, 50, 90
    EXPECT_TRUE(root->items.empty());
    EXPECT_FALSE(root->upper->HasChildren()); // children wait for a later insertion

    // The root splits x (previous axis -1); its lower child (x 0..100) tries y next, which is split from
    // an extent of 100 and passed over at 99.9.
    for (const float height : {100.0f, 99.9f}) {
        coBoxTree cycling;
        cycling.SetWorldBox(Box(0, 200, 0, height, 0, 10));
        for (int i = 0; i < 6; ++i)
            cycling.Insert(pool.At(5.0f + 10 * i, 10.0f + 15 * i, 5));
        const coBoxTreeNode* lower = cycling.GetRoot()->lower.get();
        ASSERT_TRUE(lower && lower->HasChildren()) << height;
        EXPECT_EQ(lower->axis, height == 100.0f ? 1 : 0) << height;
        EXPECT_EQ(lower->split, 50.0f) << height;
    }
    // Only y is large: y is split at the root.
    coBoxTree tall;
    tall.SetWorldBox(Box(0, 10, 0, 150, 0, 10));
    for (int i = 0; i < 5; ++i)
        tall.Insert(pool.At(5, 10.0f + 30 * i, 5));
    EXPECT_EQ(std::tuple(tall.GetRoot()->axis, tall.GetRoot()->split), std::tuple(1, 75.0f));

    // Degenerate world boxes never split.
    for (const maBoundingBox& world : {maBoundingBox(), Box(NAN, NAN, 0, 1, 0, 1)}) {
        coBoxTree degenerate;
        degenerate.SetWorldBox(world);
        for (int i = 0; i < 10; ++i)
            degenerate.Insert(pool.At(10.0f * i, 0, 0));
        EXPECT_FALSE(degenerate.GetRoot()->HasChildren());
        EXPECT_EQ(degenerate.GetRoot()->items.size(), 10u);
    }
}

TEST(coBoxTree, ItemsOnTheSplitStayInTheNodeAndQueriesFindTouchingBoxes) {
    MeshPool pool;
    coBoxTree tree;
    std::vector<coPickPathMesh*> out{pool.At(0, 0, 0)};
    tree.Query(Box(0, 1, 0, 1, 0, 1), out); // no root: cleared, empty
    EXPECT_TRUE(out.empty());
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    coPickPathMesh* endsOnSplit = pool.Add({80, 1, 1}, {100, 2, 2});
    coPickPathMesh* startsOnSplit = pool.Add({100, 1, 1}, {120, 2, 2});
    coPickPathMesh* high = pool.At(150, 5, 5);
    for (coPickPathMesh* item : {endsOnSplit, pool.At(10, 5, 5), startsOnSplit, high, pool.At(20, 5, 5)})
        tree.Insert(item);
    const coBoxTreeNode* root = tree.GetRoot();
    ASSERT_TRUE(root->HasChildren());
    EXPECT_EQ(root->split, 100.0f);
    EXPECT_EQ(root->items, (std::vector<coPickPathMesh*>{endsOnSplit, startsOnSplit}));
    // Later straddling insertions stop at the node too.
    coPickPathMesh* across = pool.Add({90, 1, 1}, {110, 2, 2});
    tree.Insert(across);
    EXPECT_EQ(root->items.back(), across);

    // The upper subtree first, then the lower, then the node's own; a box that only touches is found.
    tree.Query(Box(0, 200, 0, 10, 0, 10), out);
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(std::tuple(out[0], out[5]), std::tuple(high, across));
    tree.Query(Box(151, 160, 0, 10, 0, 10), out);
    EXPECT_EQ(out, (std::vector<coPickPathMesh*>{high}));

    // A new world box discards the nodes; the same one keeps them.
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    EXPECT_NE(tree.GetRoot(), nullptr);
    tree.SetWorldBox(Box(0, 300, 0, 10, 0, 10));
    EXPECT_EQ(tree.GetRoot(), nullptr);
}

TEST(coBoxTree, RemovalMergesFindsMovedItemsAndIgnoresStrangers) {
    MeshPool pool;
    coBoxTree tree;
    tree.Remove(pool.At(0, 0, 0)); // no root: nothing
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    std::vector<coPickPathMesh*> items;
    for (float x : {10.0f, 30.0f, 50.0f, 150.0f, 170.0f})
        items.push_back(pool.At(x, 5, 5));
    coPickPathMesh* middle = pool.Add({90, 1, 1}, {110, 2, 2});
    for (coPickPathMesh* item : items)
        tree.Insert(item);
    tree.Insert(middle);
    ASSERT_TRUE(tree.GetRoot()->HasChildren());
    tree.Remove(pool.At(60, 5, 5)); // never stored
    EXPECT_EQ(CountItems(tree.GetRoot()), 6u);

    // The item stored in the upper child moves to the lower half before it is removed.
    const maVector3d moved[2] = {{20, 1, 1}, {22, 2, 2}};
    items[3]->SetPoints(moved, 2);
    tree.Remove(items[3]);
    std::vector<coPickPathMesh*> found;
    tree.Query(Box(-1e30f, 1e30f, -1e30f, 1e30f, -1e30f, 1e30f), found);
    EXPECT_EQ(std::count(found.begin(), found.end(), items[3]), 0);
    EXPECT_EQ(CountItems(tree.GetRoot()), 5u);

    for (int i : {0, 1, 2})
        tree.Remove(items[static_cast<size_t>(i)]);
    // Left: the middle item in the root and x 170 in the upper child: 2 items, no merge.
    ASSERT_TRUE(tree.GetRoot()->HasChildren());
    tree.Remove(items[4]);
    // One item in the parent and none below: the children merge into it.
    EXPECT_FALSE(tree.GetRoot()->HasChildren());
    EXPECT_EQ(tree.GetRoot()->items, (std::vector<coPickPathMesh*>{middle}));
}

TEST(coBoxTree, RandomInsertRemoveMatchesBruteForce) {
    MeshPool pool;
    coBoxTree tree;
    tree.SetWorldBox(Box(-500, 500, -50, 250, -500, 500));
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coord(-480, 480), height(-40, 240), extent(0.5f, 30);
    std::vector<coPickPathMesh*> stored;
    for (int step = 0; step < 600; ++step) {
        if (stored.empty() || random() % 3 != 0) {
            const maVector3d low(coord(random), height(random), coord(random));
            stored.push_back(pool.Add(low, low + maVector3d(extent(random), extent(random), extent(random))));
            tree.Insert(stored.back());
        } else {
            const size_t i = random() % stored.size();
            tree.Remove(stored[i]);
            stored.erase(stored.begin() + static_cast<long>(i));
        }
        ASSERT_EQ(CountItems(tree.GetRoot()), stored.size());
        const maVector3d q(coord(random), height(random), coord(random));
        const maBoundingBox box(q, q + maVector3d(60, 60, 60));
        std::vector<coPickPathMesh*> found, expected;
        tree.Query(box, found);
        for (coPickPathMesh* m : stored)
            if (coBoxesOverlap(m->GetBounds(), box))
                expected.push_back(m);
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(found, expected) << "step " << step;
    }
}
