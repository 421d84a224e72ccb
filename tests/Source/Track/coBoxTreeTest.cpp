#include "Source/Track/coBoxTree.h"
#include "Source/Track/coPickPathMesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <random>
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
    if (!node)
        return 0;
    return node->items.size() + CountItems(node->upper.get()) + CountItems(node->lower.get());
}

std::vector<coPickPathMesh*> Brute(const std::vector<coPickPathMesh*>& stored, const maBoundingBox& box) {
    std::vector<coPickPathMesh*> out;
    for (coPickPathMesh* m : stored)
        if (coBoxesOverlap(m->GetBounds(), box))
            out.push_back(m);
    return out;
}

} // namespace

TEST(coBoxTree, BoxOperations) {
    const maBoundingBox a = Box(0, 1, 0, 1, 0, 1);
    EXPECT_TRUE(coBoxEqual(a, Box(0, 1, 0, 1, 0, 1)));
    EXPECT_FALSE(coBoxEqual(a, Box(0, 1, 0, 1, 0, 1.0001f)));
    EXPECT_TRUE(coBoxEqual(maBoundingBox(), maBoundingBox()));

    const maBoundingBox grown = coBoxGrow(a, 2.0f);
    EXPECT_TRUE(coBoxEqual(grown, Box(-2, 3, -2, 3, -2, 3)));
    // Growing an empty box rebuilds it from its two corners: it then spans everything.
    const maBoundingBox everything = coBoxGrow(maBoundingBox(), 1.0f);
    EXPECT_LT(everything.minX, -1e38f);
    EXPECT_GT(everything.maxX, 1e38f);

    EXPECT_TRUE(coBoxesOverlap(a, Box(1, 2, 1, 2, 1, 2))); // touching at a corner
    EXPECT_TRUE(coBoxesOverlap(a, a));
    EXPECT_FALSE(coBoxesOverlap(a, Box(1.001f, 2, 0, 1, 0, 1)));
    EXPECT_FALSE(coBoxesOverlap(a, Box(0, 1, -2, -0.5f, 0, 1)));
    EXPECT_FALSE(coBoxesOverlap(a, Box(0, 1, 0, 1, 5, 6)));
    EXPECT_FALSE(coBoxesOverlap(a, maBoundingBox()));
}

TEST(coBoxTree, FifthItemSplitsOnlyALargeLeaf) {
    MeshPool pool;
    coBoxTree small;
    small.SetWorldBox(Box(0, 50, 0, 100, 0, 50)); // exactly the leaf size: never split
    for (int i = 0; i < 8; ++i)
        small.Insert(pool.At(5.0f + i, 5, 5));
    ASSERT_NE(small.GetRoot(), nullptr);
    EXPECT_FALSE(small.GetRoot()->HasChildren());
    EXPECT_EQ(small.GetRoot()->items.size(), 8u);

    coBoxTree tree;
    tree.SetWorldBox(Box(0, 200, 0, 50, 0, 40));
    for (int i = 0; i < 4; ++i)
        tree.Insert(pool.At(10.0f + 40 * i, 10, 10));
    EXPECT_FALSE(tree.GetRoot()->HasChildren());
    tree.Insert(pool.At(190, 10, 10));
    const coBoxTreeNode* root = tree.GetRoot();
    ASSERT_TRUE(root->HasChildren());
    EXPECT_EQ(root->axis, 0);
    EXPECT_EQ(root->split, 100.0f);
    EXPECT_EQ(root->upper->items.size(), 2u); // x 130, 190
    EXPECT_EQ(root->lower->items.size(), 3u); // x 10, 50, 90
    EXPECT_TRUE(root->items.empty());
    EXPECT_FALSE(root->upper->HasChildren()); // children wait for a later insertion
}

TEST(coBoxTree, AxisChoiceCyclesFromThePreviousAxisAndSplitsYFromAnExtentOf100) {
    MeshPool pool;
    // The root splits x (previous axis -1); its lower child (x 0..100) then tries y first, whose extent is
    // exactly 100.
    coBoxTree tree;
    tree.SetWorldBox(Box(0, 200, 0, 100, 0, 10));
    for (int i = 0; i < 5; ++i)
        tree.Insert(pool.At(5.0f + 2 * i, 10.0f + 20 * i, 5));
    const coBoxTreeNode* root = tree.GetRoot();
    ASSERT_TRUE(root->HasChildren());
    EXPECT_EQ(root->axis, 0);
    EXPECT_EQ(root->lower->items.size(), 5u);
    tree.Insert(pool.At(7, 30, 5));
    ASSERT_TRUE(root->lower->HasChildren());
    EXPECT_EQ(root->lower->axis, 1);
    EXPECT_EQ(root->lower->split, 50.0f);

    // With a y extent of 99.9 the lower child passes y and z over and splits x again.
    coBoxTree lowRoof;
    lowRoof.SetWorldBox(Box(0, 200, 0, 99.9f, 0, 10));
    for (int i = 0; i < 6; ++i)
        lowRoof.Insert(pool.At(5.0f + 10 * i, 10, 5));
    ASSERT_TRUE(lowRoof.GetRoot()->lower->HasChildren());
    EXPECT_EQ(lowRoof.GetRoot()->lower->axis, 0);
    EXPECT_EQ(lowRoof.GetRoot()->lower->split, 50.0f);

    // A leaf of exactly the leaf size is never split, however many items it holds.
    coBoxTree exact;
    exact.SetWorldBox(Box(0, 50, 0, 100, 0, 50));
    for (int i = 0; i < 8; ++i)
        exact.Insert(pool.At(5.0f + i, 10.0f * i, 5));
    EXPECT_FALSE(exact.GetRoot()->HasChildren());

    // Only y is large: y is split at the root.
    coBoxTree tall;
    tall.SetWorldBox(Box(0, 10, 0, 150, 0, 10));
    for (int i = 0; i < 5; ++i)
        tall.Insert(pool.At(5, 10.0f + 30 * i, 5));
    ASSERT_TRUE(tall.GetRoot()->HasChildren());
    EXPECT_EQ(tall.GetRoot()->axis, 1);
    EXPECT_EQ(tall.GetRoot()->split, 75.0f);
}

TEST(coBoxTree, ItemsTouchingTheSplitStayInTheNode) {
    MeshPool pool;
    coBoxTree tree;
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    coPickPathMesh* endsOnSplit = pool.Add({80, 1, 1}, {100, 2, 2});
    coPickPathMesh* startsOnSplit = pool.Add({100, 1, 1}, {120, 2, 2});
    tree.Insert(endsOnSplit);
    tree.Insert(pool.At(10, 5, 5));
    tree.Insert(startsOnSplit);
    tree.Insert(pool.At(150, 5, 5));
    tree.Insert(pool.At(20, 5, 5));
    const coBoxTreeNode* root = tree.GetRoot();
    ASSERT_TRUE(root->HasChildren());
    EXPECT_EQ(root->split, 100.0f);
    EXPECT_EQ(root->items, (std::vector<coPickPathMesh*>{endsOnSplit, startsOnSplit}));
    // Later straddling insertions stop at the node too.
    coPickPathMesh* across = pool.Add({90, 1, 1}, {110, 2, 2});
    tree.Insert(across);
    EXPECT_EQ(root->items.back(), across);
}

TEST(coBoxTree, RemovalMergesAndIgnoresStrangers) {
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

    for (int i = 0; i < 4; ++i)
        tree.Remove(items[static_cast<size_t>(i)]);
    // Left: the middle item in the root and one item (x 170) in the upper child: 2 items, no merge.
    ASSERT_TRUE(tree.GetRoot()->HasChildren());
    tree.Remove(items[4]);
    // One item in the parent and none below: the children merge into it.
    EXPECT_FALSE(tree.GetRoot()->HasChildren());
    EXPECT_EQ(tree.GetRoot()->items, (std::vector<coPickPathMesh*>{middle}));
    tree.Remove(middle);
    EXPECT_TRUE(tree.GetRoot()->items.empty());
}

TEST(coBoxTree, RemovalFindsItemsWhoseBoundsChanged) {
    MeshPool pool;
    coBoxTree tree;
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    std::vector<coPickPathMesh*> items;
    for (float x : {10.0f, 30.0f, 150.0f, 170.0f, 190.0f})
        items.push_back(pool.At(x, 5, 5));
    for (coPickPathMesh* item : items)
        tree.Insert(item);
    ASSERT_TRUE(tree.GetRoot()->HasChildren());
    // The item stored in the upper child moves to the lower half before it is removed.
    const maVector3d moved[2] = {{20, 1, 1}, {22, 2, 2}};
    items[3]->SetPoints(moved, 2);
    tree.Remove(items[3]);
    EXPECT_EQ(CountItems(tree.GetRoot()), 4u);
    std::vector<coPickPathMesh*> found;
    tree.Query(Box(-1e30f, 1e30f, -1e30f, 1e30f, -1e30f, 1e30f), found);
    EXPECT_EQ(std::count(found.begin(), found.end(), items[3]), 0);
}

TEST(coBoxTree, QueryOrderAndTouchingBoxes) {
    MeshPool pool;
    coBoxTree tree;
    std::vector<coPickPathMesh*> out{pool.At(0, 0, 0)};
    tree.Query(Box(0, 1, 0, 1, 0, 1), out); // no root: cleared, empty
    EXPECT_TRUE(out.empty());

    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    coPickPathMesh* low = pool.At(10, 5, 5);
    coPickPathMesh* high = pool.At(150, 5, 5);
    coPickPathMesh* across = pool.Add({90, 1, 1}, {110, 2, 2});
    tree.Insert(low);
    tree.Insert(across);
    tree.Insert(high);
    tree.Insert(pool.At(30, 5, 5));
    tree.Insert(pool.At(170, 5, 5));
    tree.Query(Box(0, 200, 0, 10, 0, 10), out);
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], high); // upper subtree first, then lower, then the root's own
    EXPECT_EQ(out[2], low);
    EXPECT_EQ(out[4], across);

    // A box that only touches an item's bounds finds it.
    tree.Query(Box(151, 160, 0, 10, 0, 10), out);
    EXPECT_EQ(out, (std::vector<coPickPathMesh*>{high}));
}

TEST(coBoxTree, WorldBoxChangeDiscardsTheNodes) {
    MeshPool pool;
    coBoxTree tree;
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    tree.Insert(pool.At(1, 1, 1));
    tree.SetWorldBox(Box(0, 200, 0, 10, 0, 10));
    EXPECT_NE(tree.GetRoot(), nullptr);
    tree.SetWorldBox(Box(0, 300, 0, 10, 0, 10));
    EXPECT_EQ(tree.GetRoot(), nullptr);
    EXPECT_TRUE(coBoxEqual(tree.GetWorldBox(), Box(0, 300, 0, 10, 0, 10)));
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
            coPickPathMesh* m =
                pool.Add(low, low + maVector3d(extent(random), extent(random), extent(random)));
            tree.Insert(m);
            stored.push_back(m);
        } else {
            const size_t i = random() % stored.size();
            tree.Remove(stored[i]);
            stored.erase(stored.begin() + static_cast<long>(i));
        }
        ASSERT_EQ(CountItems(tree.GetRoot()), stored.size());
        const maVector3d q(coord(random), height(random), coord(random));
        const maBoundingBox box(q, q + maVector3d(60, 60, 60));
        std::vector<coPickPathMesh*> found;
        tree.Query(box, found);
        std::vector<coPickPathMesh*> expected = Brute(stored, box);
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        ASSERT_EQ(found, expected) << "step " << step;
    }
}

TEST(coBoxTree, DegenerateWorldBoxesNeverSplit) {
    MeshPool pool;
    for (const maBoundingBox& world : {maBoundingBox(), Box(NAN, NAN, 0, 1, 0, 1)}) {
        coBoxTree tree;
        tree.SetWorldBox(world);
        for (int i = 0; i < 10; ++i)
            tree.Insert(pool.At(10.0f * i, 0, 0));
        EXPECT_FALSE(tree.GetRoot()->HasChildren());
        EXPECT_EQ(tree.GetRoot()->items.size(), 10u);
    }
}
