#include "Source/Scene/coDetailSets.h"
#include "Engine/Graphics/G3d/g3dCamera.h"
#include "Source/Scene/coCullOctree.h"
#include "Source/Scene/coSceneObjectSet.h"

#include "Source/Collision/coCollisionTestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <tuple>

namespace {

// A set of one object with the box.
std::unique_ptr<coSceneObjectSet> MakeSet(const maVector3d& low, const maVector3d& high) {
    auto set = std::make_unique<coSceneObjectSet>();
    set->Add(0, coMakeObject(low, high));
    return set;
}

// The cube of the box (0,0,0)-(64,0,0): origin (0, -32, -32), size 64, cells of 2 units.
void SetTestCube(coCullOctree& octree) {
    octree.SetCube(maBoundingBox({0, 0, 0}, {64, 0, 0}));
    ASSERT_TRUE(octree.HasCube());
    ASSERT_EQ(octree.GetSize(), 64.0f);
    ASSERT_EQ(octree.GetOrigin().y, -32.0f);
}

// Row-vector orthographic projection of x in [l, r], y in [b, t], z in [n, f] to the clip box
// [-1, 1] x [-1, 1] x [0, 1].
maMatrix4d Orthographic(float l, float r, float b, float t, float n, float f) {
    maMatrix4d m;
    m.m[0] = 2.0f / (r - l);
    m.m[5] = 2.0f / (t - b);
    m.m[10] = 1.0f / (f - n);
    m.m[12] = -(r + l) / (r - l);
    m.m[13] = -(t + b) / (t - b);
    m.m[14] = -n / (f - n);
    return m;
}

// Sets kept alive for a test, each inserted into the octree as it is made.
struct SetPool {
    std::deque<std::unique_ptr<coSceneObjectSet>> sets;
    coSceneObjectSet* Insert(coCullOctree& octree, const maVector3d& low, const maVector3d& high) {
        sets.push_back(MakeSet(low, high));
        EXPECT_TRUE(octree.Insert(sets.back().get()));
        return sets.back().get();
    }
};

bool Culled(const coSceneObjectSet& set) {
    return set.GetGroup(0).front()->IsCulled();
}
bool Marked(const coSceneObjectSet& set) {
    return set.GetGroup(0).front()->GetSkipCullOnce();
}

// On the update list, as the track's objects are.
std::unique_ptr<scObject> Listed(std::unique_ptr<scObject> object) {
    scAddToUpdateList(object.get());
    return object;
}

class coSceneObjectSetTest : public coEngineSceneTest {};
class coDetailSetsTest : public coEngineSceneTest {};

} // namespace

TEST_F(coSceneObjectSetTest, GroupsVisibilityAndBox) {
    // Its objects leave the update list with it, and its fragments are freed.
    {
        coSceneObjectSet set;
        set.Add(0, Listed(coMakeObject({0, 0, 0}, {1, 1, 1})));
        set.Add(1, Listed(coMakeObject({5, 0, 0}, {6, 1, 1})));
        EXPECT_EQ(scGetUpdateListCount(), 2u);
    }
    EXPECT_EQ(scGetUpdateListCount(), 0u);
    {
        coSceneObjectSet set;
        EXPECT_FALSE(set.IsVisible()); // no group at all
        set.Add(0, nullptr);
        EXPECT_EQ(set.GetGroupCount(), 0);
        set.Add(2, coMakeObject({0, 0, 0}, {2, 2, 2}));
        set.Add(0, coMakeObject({-2, 0, 0}, {0, 4, 2}));
        EXPECT_EQ(std::tuple(set.GetGroupCount(), set.GetGroup(2).front()->IsVisible(), set.IsVisible(),
                             set.GetCentre().y, set.GetSquaredRadius()),
                  std::tuple(3, false, true, 2.0f, 4.0f + 4.0f + 1.0f));

        // An empty group and a group the set lacks show nothing, and IsVisible answers false.
        for (int group : {1, 7}) {
            set.ChooseGroup(group);
            EXPECT_FALSE(set.IsVisible()) << group;
            EXPECT_FALSE(set.GetGroup(0).front()->IsVisible()) << group;
            set.SetVisible(true); // nothing to show
            EXPECT_FALSE(set.IsVisible()) << group;
        }
        set.ChooseGroup(0);
        set.SetVisible(false);
        EXPECT_FALSE(set.IsVisible());
        set.SetVisible(true);
        EXPECT_EQ(std::tuple(set.IsVisible(), set.GetGroup(2).front()->IsVisible()), std::tuple(true, false));

        set.AddFragment(g3dFragmentManager::CreateBox(1, 1, 1));
    }
    EXPECT_EQ(FragmentCount(), 0u);
}

TEST(coSceneObjectSet, DetailByDistanceUsesThePreferenceFactor) {
    coFakePrefs prefs;
    prefs.SetDetailFactor(2.0f); // thresholds: group 1 above 50800, group 2 above 168000
    coSceneObjectSet set;
    set.Add(0, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    set.Add(1, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    // q = d^2 - 3.
    set.ChooseGroupByDistance({0, 0, std::sqrt(50803.0f) - 0.01f});
    EXPECT_EQ(set.GetCurrentGroup(), 0);
    set.ChooseGroupByDistance({0, 0, std::sqrt(50803.0f) + 0.01f});
    EXPECT_EQ(std::tuple(set.GetCurrentGroup(), set.GetGroup(0).front()->IsVisible()), std::tuple(1, false));
    set.ChooseGroupByDistance({0, 0, 1000}); // only two groups: stays at 1
    EXPECT_EQ(set.GetCurrentGroup(), 1);
    set.Add(2, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    set.ChooseGroupByDistance({0, 0, 1000});
    EXPECT_EQ(set.GetCurrentGroup(), 2);
    set.Add(3, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    set.ChooseGroupByDistance({0, 0, 2}); // group 3 has threshold 0: any q above 0 takes it
    EXPECT_EQ(set.GetCurrentGroup(), 3);
    set.ChooseGroupByDistance({0, 0, 0}); // inside the sphere
    EXPECT_EQ(set.GetCurrentGroup(), 0);
}

// The ride without its rails hides the track: a switch of group as the camera moves must not show it
// again, nor may an object added meanwhile; showing the set shows the group chosen meanwhile.
TEST(coSceneObjectSet, AHiddenSetStaysHiddenAcrossGroups) {
    coSceneObjectSet set;
    set.Add(0, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    set.Add(1, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    set.SetVisible(false);
    set.ChooseGroup(1);
    set.Add(1, coMakeObject({-1, -1, -1}, {1, 1, 1}));
    for (int g = 0; g < 2; ++g)
        for (const auto& object : set.GetGroup(g))
            EXPECT_FALSE(object->IsVisible()) << g;
    set.SetVisible(true);
    EXPECT_EQ(std::tuple(set.GetGroup(0).front()->IsVisible(), set.GetGroup(1).front()->IsVisible(),
                         set.GetGroup(1).back()->IsVisible()),
              std::tuple(false, true, true));
}

TEST(coCullOctree, CellsAndTheFarFace) {
    coCullOctree octree;
    SetTestCube(octree);
    coCullCell cell;
    ASSERT_TRUE(octree.CellOf({64, 32, 32}, cell)); // the far face: n = 1 exactly
    EXPECT_EQ(std::tuple(cell.x, cell.y), std::tuple(32, 32));
    for (int depth = 0; depth <= 4; ++depth)
        EXPECT_EQ(coCullChildIndex(cell, depth), 0) << depth;
    ASSERT_TRUE(octree.CellOf({0, -32, 1.9f}, cell));
    EXPECT_EQ(std::tuple(cell.x, cell.z, coCullChildIndex(cell, 0)), std::tuple(0, 16, 1));
    for (const maVector3d& outside :
         {maVector3d(64.01f, 0, 0), maVector3d(0, -32.01f, 0), maVector3d(NAN, 0, 0)})
        EXPECT_FALSE(octree.CellOf(outside, cell)) << outside.x << " " << outside.y;

    // A set ending on the far face and starting just inside straddles the root's halves.
    auto set = MakeSet({63, -30, -30}, {64, -28, -28});
    ASSERT_TRUE(octree.Insert(set.get()));
    EXPECT_EQ(octree.GetRoot()->sets.size(), 1u);
    auto outside = MakeSet({63, -30, -30}, {65, -28, -28});
    EXPECT_FALSE(octree.Insert(outside.get()));
}

TEST(coCullOctree, DegenerateCubesRefuseInsertion) {
    coCullOctree octree;
    auto set = MakeSet({0, 0, 0}, {1, 1, 1});
    EXPECT_FALSE(octree.Insert(set.get())); // no cube yet
    for (const maBoundingBox& box :
         {maBoundingBox(), maBoundingBox({-maMaxFloat, 0, -maMaxFloat}, {maMaxFloat, 200, maMaxFloat}),
          maBoundingBox({NAN, 0, 0}, {1, 1, 1})}) {
        octree.SetCube(box);
        EXPECT_FALSE(octree.HasCube());
        EXPECT_FALSE(octree.Insert(set.get()));
        EXPECT_EQ(octree.GetRoot(), nullptr);
    }
}

TEST(coCullOctree, FifthSetSplitsALeafAndDepthFourAccumulates) {
    coCullOctree octree;
    SetTestCube(octree);
    SetPool pool;
    // Four sets in the lower x half, each in a different depth-1 octant of it; a fifth in the upper half.
    for (const float x : {2.0f, 20.0f})
        for (const float z : {-30.0f, -12.0f})
            pool.Insert(octree, {x, -30, z}, {x + 1, -29, z + 1});
    EXPECT_FALSE(octree.GetRoot()->HasChildren());
    pool.Insert(octree, {50, -30, -30}, {51, -29, -29});
    const coCullOctreeNode* root = octree.GetRoot();
    EXPECT_TRUE(root->sets.empty());
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(root->children[i] ? root->children[i]->sets.size() : 0u, i == 0   ? 4u
                                                                           : i == 4 ? 1u
                                                                                    : 0u)
            << i;

    // Identical small sets run down to depth 4 and pile up there; removal collapses back to one leaf.
    coCullOctree deep;
    SetTestCube(deep);
    for (int i = 0; i < 9; ++i)
        pool.Insert(deep, {40.2f, 10.2f, 10.2f}, {40.4f, 10.4f, 10.4f});
    const coCullOctreeNode* node = deep.GetRoot();
    int depth = 0;
    for (; node->HasChildren(); ++depth) {
        EXPECT_TRUE(node->sets.empty());
        for (const auto& child : node->children)
            if (child)
                node = child.get();
    }
    EXPECT_EQ(std::tuple(depth, node->sets.size()), std::tuple(4, 9u));
    for (size_t i = 5; i < pool.sets.size(); ++i)
        deep.Remove(pool.sets[i].get());
    EXPECT_EQ(std::tuple(deep.GetRoot()->HasChildren(), deep.GetRoot()->sets.empty()),
              std::tuple(false, true));
}

TEST(coCullOctree, RemovalFindsSetsWhoseBoxChanged) {
    coCullOctree octree;
    SetTestCube(octree);
    SetPool pool;
    for (int i = 0; i < 6; ++i)
        pool.Insert(octree, {2.0f + 8 * i, -30, -30}, {3.0f + 8 * i, -29, -29});
    // The last set grows into the other half after it was inserted.
    coSceneObjectSet* grown = pool.sets.back().get();
    grown->Add(0, coMakeObject({2, 20, 20}, {3, 21, 21}));
    octree.Remove(grown);
    std::function<size_t(const coCullOctreeNode&, const coSceneObjectSet*)> count =
        [&count](const coCullOctreeNode& node, const coSceneObjectSet* set) {
            size_t n = static_cast<size_t>(std::count(node.sets.begin(), node.sets.end(), set));
            for (const auto& child : node.children)
                if (child)
                    n += count(*child, set);
            return n;
        };
    EXPECT_EQ(count(*octree.GetRoot(), grown), 0u);
    EXPECT_EQ(count(*octree.GetRoot(), pool.sets.front().get()), 1u);
}

TEST(coCullOctree, OrthographicAndPerspectiveCulling) {
    coCullOctree octree;
    SetTestCube(octree);
    octree.Cull(Orthographic(-1, 32, -40, 40, -40, 40)); // no root: nothing
    SetPool left, far;
    for (int i = 0; i < 4; ++i)
        left.Insert(octree, {2.0f + i, -30, -30}, {2.5f + i, -29, -29});
    for (int i = 0; i < 5; ++i)
        far.Insert(octree, {50.0f + i, -30, -30}, {50.5f + i, -29, -29});
    const coSceneObjectSet* straddler = left.Insert(octree, {30, -30, -30}, {34, -29, -29});
    ASSERT_EQ(octree.GetRoot()->sets.size(), 1u);
    ASSERT_TRUE(octree.GetRoot()->children[4]->HasChildren());

    // The view spans x -1..32: the lower x half is wholly inside, x 48..64 wholly outside, the root and
    // the upper half partly visible.
    octree.Cull(Orthographic(-1, 32, -40, 40, -40, 40));
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Marked(*left.sets[static_cast<size_t>(i)]));
        EXPECT_FALSE(Culled(*left.sets[static_cast<size_t>(i)]));
    }
    for (auto& set : far.sets) {
        EXPECT_TRUE(Marked(*set));
        EXPECT_TRUE(Culled(*set));
    }
    EXPECT_EQ(std::tuple(Marked(*straddler), Culled(*straddler)), std::tuple(false, false));
    // A view that misses the whole cube culls everything; one that holds it culls nothing.
    octree.Cull(Orthographic(100, 200, -40, 40, -40, 40));
    EXPECT_EQ(std::tuple(Culled(*straddler), Culled(*left.sets.front())), std::tuple(true, true));
    octree.Cull(Orthographic(-10, 80, -40, 40, -40, 40));
    EXPECT_EQ(std::tuple(Culled(*straddler), Culled(*far.sets.front())), std::tuple(false, false));

    // Perspective from (40, 0, 1) along +z (near 1, far 100, 90 degrees): what lies behind is culled,
    // down to a node wholly behind the camera.
    coCullOctree perspective;
    SetTestCube(perspective);
    SetPool behind;
    for (int i = 0; i < 5; ++i)
        behind.Insert(perspective, {40.0f + i, -2, -30}, {40.5f + i, -1, -29});
    maMatrix4d view, projection;
    view.SetTranslation(-40, 0, -1);
    projection.m[10] = 100.0f / 99.0f;
    projection.m[11] = 1.0f;
    projection.m[14] = -100.0f / 99.0f;
    projection.m[15] = 0.0f;
    perspective.Cull(view * projection);
    for (auto& set : behind.sets)
        EXPECT_TRUE(Culled(*set));
}

TEST_F(coDetailSetsTest, RegistryCubeIdempotenceAndPasses) {
    coFakeCollisionPark park(0, 100, 0); // terrain bounds widen the ground by 1: lowest y -1
    coClearObjectSets();
    auto a = MakeSet({10, 0, 10}, {12, 2, 12});
    coRegisterObjectSet(a.get());
    const coCullOctree& octree = coGetCullOctree();
    ASSERT_TRUE(octree.HasCube());
    // The cube of (0, -1, 0)-(100, 200, 100).
    const maVector3d centre(50, 99.5f, 50);
    const float h = (maVector3d(100, 200, 100) - centre).Length();
    EXPECT_FLOAT_EQ(octree.GetSize(), 2 * h);
    EXPECT_FLOAT_EQ(octree.GetOrigin().y, 99.5f - h);
    ASSERT_NE(octree.GetRoot(), nullptr);

    coRegisterObjectSet(a.get()); // a second registration leaves one entry
    EXPECT_EQ(std::tuple(coGetObjectSets().size(), octree.GetRoot()->sets.size()), std::tuple(1u, 1u));

    auto b = MakeSet({50, 0, 50}, {52, 2, 52});
    b->Add(1, coMakeObject({50, 0, 50}, {52, 2, 52}));
    coRegisterObjectSet(b.get());
    coChooseDetailGroup(1); // a lacks group 1 and is left alone
    EXPECT_EQ(std::tuple(a->GetCurrentGroup(), b->GetCurrentGroup(), a->IsVisible()), std::tuple(0, 1, true));
    coChooseDetailByDistance({51, 1, 51});
    EXPECT_EQ(b->GetCurrentGroup(), 0);

    coCullObjectSets(Orthographic(0, 100, -1, 200, 0, 100));
    EXPECT_EQ(std::tuple(g2dScreen::GetDebugLine(7), Culled(*a)), std::tuple("CoasterPieces 0", false));

    coUnregisterObjectSet(a.get());
    coUnregisterObjectSet(a.get());
    EXPECT_EQ(coGetObjectSets().size(), 1u);
    coClearObjectSets();
    EXPECT_EQ(std::tuple(coGetObjectSets().empty(), coGetCullOctree().GetRoot()), std::tuple(true, nullptr));
}

TEST_F(coDetailSetsTest, WithoutTerrainSetsStayOutOfTheOctree) {
    coFakeCollisionPark park(0, 100, 0);
    park.hasTerrain = false;
    coClearObjectSets();
    auto a = MakeSet({10, 0, 10}, {12, 2, 12});
    coRegisterObjectSet(a.get());
    EXPECT_EQ(std::tuple(coGetObjectSets().size(), coGetCullOctree().HasCube(), coGetCullOctree().GetRoot()),
              std::tuple(1u, false, nullptr));
    coCullObjectSets(Orthographic(0, 100, -1, 200, 0, 100));
    EXPECT_FALSE(Marked(*a));
    coChooseDetailByDistance({0, 0, 0});
    coUnregisterObjectSet(a.get());
    EXPECT_TRUE(coGetObjectSets().empty());
}

// The game's frame culls both the track's sets and the other listed objects by the camera's view.
TEST_F(coDetailSetsTest, TheSceneIsCulledByTheCamerasView) {
    coFakeCollisionPark park(0, 100, 0);
    coClearObjectSets();
    auto track = MakeSet({10, 0, 10}, {12, 2, 12});
    coRegisterObjectSet(track.get());
    // Alone in the octree's root, the set is left to the scene's own test of its listed object.
    scAddToUpdateList(track->GetGroup(0).front().get());
    const std::unique_ptr<scObject> prop = Listed(coMakeObject({200, 0, 0}, {202, 2, 2}));
    g3dCamera camera;
    camera.SetFieldOfView(60.0f);
    camera.SetAspectRatio(4.0f / 3.0f);
    camera.SetClipPlanes(1.0f, 1000.0f);
    const struct {
        maVector3d target;
        bool trackCulled, propCulled;
    } views[] = {{{11, 1, 11}, false, true}, {{11, 1, -100}, true, true}, {{201, 1, 1}, true, false}};
    for (const auto& view : views) {
        camera.LookAt({11, 1, -20}, view.target, {0, 1, 0});
        coCullScene(camera);
        EXPECT_EQ(std::tuple(Culled(*track), prop->IsCulled()), std::tuple(view.trackCulled, view.propCulled))
            << view.target.x << "," << view.target.z;
    }
    coClearObjectSets();
}
